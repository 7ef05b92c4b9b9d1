// The dialog manager (tab order, groups, Enter, Esc, mnemonics), accelerators and the system
// button's keys.
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

using platform::wnd::HeadlessDriver;

namespace {

// A host's dialog: accelerators first, then the dialog manager, from PreTranslateMessage.
class CDialogWnd : public CWnd
{
public:
    HACCEL accel = nullptr;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (accel && TranslateAcceleratorW(m_hWnd, accel, msg))
            return TRUE;
        return IsDialogMessageW(m_hWnd, msg);
    }
};

// A control that keeps some keys from the dialog manager.
class CKeenWnd : public CWnd
{
public:
    LRESULT code = 0;
    std::vector<WPARAM> chars;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETDLGCODE)
            return code;
        if (message == WM_CHAR)
            chars.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

using Command = std::pair<int, int>; // id, notification

class Dialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            dlg.CreateEx(0, nullptr, L"dlg", WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
        driver.Record(dlg.m_hWnd);
    }
    HWND Button(int id, LPCWSTR text, DWORD style, HWND parent = nullptr)
    {
        return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, 0, 0, 60, 20,
                               parent ? parent : dlg.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr,
                               nullptr);
    }
    std::vector<Command> Commands()
    {
        std::vector<Command> out;
        for (const MSG& m : driver.Recorded())
            if (m.hwnd == dlg.m_hWnd && m.message == WM_COMMAND)
                out.emplace_back(LOWORD(m.wParam), HIWORD(m.wParam));
        driver.ClearRecorded();
        return out;
    }
    HeadlessDriver driver;
    CDialogWnd dlg;
};

} // namespace

// Tab and Shift+Tab visit the shown, enabled tab stops in creation order, wrapping, opening
// WS_EX_CONTROLPARENT children in place; with no tab stop they change nothing.
TEST_F(Dialog, TabWalksTheTabStopsInOrderAndWraps)
{
    Button(102, L"label", 0); // alone: Tab changes nothing
    driver.Key(VK_TAB);
    driver.Key(VK_TAB, MOD_SHIFT);
    EXPECT_EQ(driver.Focus(), nullptr);
    const HWND b1 = Button(101, L"one", WS_TABSTOP);
    const HWND hidden = Button(103, L"hidden", WS_TABSTOP);
    ShowWindow(hidden, SW_HIDE);
    const HWND disabled = Button(104, L"off", WS_TABSTOP);
    EnableWindow(disabled, FALSE);
    const HWND panel =
        CreateWindowExW(WS_EX_CONTROLPARENT, nullptr, L"panel", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                        0, 100, 200, 50, dlg.m_hWnd, nullptr, nullptr, nullptr);
    const HWND c1 = Button(105, L"c1", WS_TABSTOP, panel);
    const HWND c2 = Button(106, L"c2", WS_TABSTOP, panel);
    const HWND b4 = Button(107, L"four", WS_TABSTOP);
    const struct
    {
        UINT mods;
        HWND expected;
    } steps[] = {{0, b1},         {0, c1},         {0, c2},         {0, b4},        {0, b1},
                 {MOD_SHIFT, b4}, {MOD_SHIFT, c2}, {MOD_SHIFT, c1}, {MOD_SHIFT, b1}};
    for (const auto& s : steps) {
        driver.Key(VK_TAB, s.mods);
        EXPECT_EQ(driver.Focus(), s.expected);
    }
    EXPECT_EQ(GetNextDlgTabItem(nullptr, b4, FALSE), nullptr);
    EXPECT_TRUE(Commands().empty());
}

// Arrows move within the group (WS_GROUP to the next WS_GROUP), wrapping; an automatic radio
// button reached this way is checked.
TEST_F(Dialog, ArrowsMoveWithinAGroupAndCheckRadioButtons)
{
    const HWND r1 = Button(101, L"a", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP);
    const HWND r2 = Button(102, L"b", BS_AUTORADIOBUTTON);
    const HWND r3 = Button(103, L"c", BS_AUTORADIOBUTTON);
    const HWND next = Button(104, L"next", WS_GROUP | WS_TABSTOP);
    SetFocus(r1);
    Commands();
    driver.Key(VK_DOWN);
    EXPECT_EQ(driver.Focus(), r2);
    EXPECT_EQ(SendMessageW(r2, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Commands(), (std::vector<Command>{{102, BN_CLICKED}}));
    driver.Key(VK_RIGHT);
    EXPECT_EQ(driver.Focus(), r3);
    driver.Key(VK_DOWN);
    EXPECT_EQ(driver.Focus(), r1);
    driver.Key(VK_UP);
    EXPECT_EQ(driver.Focus(), r3);
    SetFocus(next);
    driver.Key(VK_DOWN); // alone in its group
    EXPECT_EQ(driver.Focus(), next);
}

TEST_F(Dialog, EnterClicksTheFocusedOrDefaultButtonEscCancels)
{
    const HWND push = Button(101, L"push", WS_TABSTOP);
    const HWND owner = Button(102, L"owner", BS_OWNERDRAW | WS_TABSTOP);
    SetFocus(push);
    Commands();
    driver.Key(VK_RETURN);
    EXPECT_EQ(Commands(), (std::vector<Command>{{101, BN_CLICKED}}));
    // Without a default button Enter is IDOK, and Esc is always IDCANCEL.
    SetFocus(owner);
    driver.Key(VK_RETURN);
    driver.Key(VK_ESCAPE);
    EXPECT_EQ(Commands(), (std::vector<Command>{{IDOK, 0}, {IDCANCEL, 0}}));
    const HWND def = Button(105, L"def", BS_DEFPUSHBUTTON | WS_TABSTOP);
    driver.Key(VK_RETURN);
    EXPECT_EQ(Commands(), (std::vector<Command>{{105, BN_CLICKED}}));
    // A disabled default button is not pressed.
    EnableWindow(def, FALSE);
    driver.Key(VK_RETURN);
    EXPECT_EQ(Commands(), (std::vector<Command>{{IDOK, 0}}));
}

TEST_F(Dialog, ControlsKeepTheKeysTheyAskFor)
{
    CKeenWnd keen;
    ASSERT_TRUE(keen.Create(nullptr, L"k", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 10, 10),
                            &dlg, 120));
    const HWND other = Button(101, L"&Play", WS_TABSTOP);
    // Without a code the dialog manager takes Tab and arrows (the walk and group tests).
    for (const auto& [code, vk] : {std::pair<LRESULT, UINT>{DLGC_WANTTAB, VK_TAB},
                                   {DLGC_WANTALLKEYS, VK_TAB},
                                   {DLGC_WANTARROWS, VK_DOWN}}) {
        keen.SetFocus();
        keen.code = code;
        driver.Key(vk);
        EXPECT_EQ(driver.Focus(), keen.m_hWnd) << code << " " << vk;
    }
    // A plain letter is the mnemonic unless the focus control wants characters.
    keen.SetFocus();
    keen.code = DLGC_WANTCHARS;
    keen.chars.clear();
    Commands();
    driver.Type("p");
    EXPECT_EQ(keen.chars, (std::vector<WPARAM>{'p'}));
    EXPECT_TRUE(Commands().empty());
    keen.code = 0;
    driver.Type("P");
    EXPECT_EQ(Commands(), (std::vector<Command>{{101, BN_CLICKED}}));
    EXPECT_EQ(driver.Focus(), other);
}

TEST_F(Dialog, AltAndTheMnemonicClickItsButton)
{
    Button(101, L"Save && &quit", WS_TABSTOP);
    const HWND play = Button(102, L"&Play", WS_TABSTOP);
    const HWND off = Button(103, L"&Off", WS_TABSTOP);
    EnableWindow(off, FALSE);
    driver.Key('P', MOD_ALT);
    EXPECT_EQ(Commands(), (std::vector<Command>{{102, BN_CLICKED}}));
    EXPECT_EQ(driver.Focus(), play);
    driver.Key('Q', MOD_ALT);
    driver.Key('O', MOD_ALT); // disabled: nothing
    driver.Key('S', MOD_ALT); // "&&" is a plain ampersand
    EXPECT_EQ(Commands(), (std::vector<Command>{{101, BN_CLICKED}}));
    // A label's mnemonic hands the focus to the tab stop after it, clicking nothing; a label
    // with SS_NOPREFIX has none.
    for (const auto& [text, style] :
         {std::pair<LPCWSTR, DWORD>{L"&Name", 0}, std::pair<LPCWSTR, DWORD>{L"&Xtra", SS_NOPREFIX}})
        CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 0, 0, 60, 20, dlg.m_hWnd,
                        nullptr, nullptr, nullptr);
    const HWND entry = Button(104, L"Entry", WS_TABSTOP);
    driver.Key('X', MOD_ALT);
    EXPECT_EQ(driver.Focus(), GetDlgItem(dlg.m_hWnd, 101));
    driver.Key('N', MOD_ALT);
    EXPECT_EQ(driver.Focus(), entry);
    EXPECT_TRUE(Commands().empty());
}

// An accelerator's command reaches the dialog whatever has the focus, and the key goes no
// further.
TEST_F(Dialog, AcceleratorsSendTheirCommandWhateverHasTheFocus)
{
    ACCEL table[] = {{FVIRTKEY, VK_SPACE, 900}, {FVIRTKEY | FCONTROL, 'P', 901}, {0, '+', 902}};
    dlg.accel = CreateAcceleratorTableW(table, 3);
    ASSERT_NE(dlg.accel, nullptr);
    const HWND push = Button(101, L"push", WS_TABSTOP);
    SetFocus(push);
    Commands();
    driver.Key(VK_SPACE);
    driver.Key('P', MOD_CONTROL);
    driver.Key('P');                 // Ctrl not held: not the entry
    driver.Key(VK_SPACE, MOD_SHIFT); // Shift held: not the entry, the button takes it
    driver.Type("+");
    EXPECT_EQ(Commands(), (std::vector<Command>{{900, 1}, {901, 1}, {101, BN_CLICKED}, {902, 1}}));
    // Text follows its key: a press the dialog manager passes on keeps its text, a press an
    // accelerator took loses it.
    CKeenWnd keen;
    ASSERT_TRUE(keen.Create(nullptr, L"k", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 10, 10),
                            &dlg, 120));
    keen.code = DLGC_WANTCHARS;
    keen.SetFocus();
    for (const auto& [vk, text] : {std::pair<UINT, const char*>{VK_SHIFT, nullptr},
                                   {'A', "A"},
                                   {VK_SPACE, " "},
                                   {'B', "b"}}) {
        driver.KeyDown(vk);
        if (text)
            driver.Type(text);
        driver.KeyUp(vk);
    }
    EXPECT_EQ(keen.chars, (std::vector<WPARAM>{'A', 'b'}));
    EXPECT_EQ(Commands(), (std::vector<Command>{{900, 1}}));
    EXPECT_TRUE(DestroyAcceleratorTable(dlg.accel));
    dlg.accel = nullptr;
    EXPECT_EQ(CreateAcceleratorTableW(table, 0), nullptr);
    MSG none{};
    EXPECT_EQ(TranslateAcceleratorW(dlg.m_hWnd, nullptr, &none), 0);
}

TEST_F(Dialog, SpacePressesAndReleaseClicksUnlessTheFocusLeftMeanwhile)
{
    const HWND push = Button(101, L"push", WS_TABSTOP);
    const HWND check = Button(102, L"check", BS_AUTOCHECKBOX | WS_TABSTOP);
    SetFocus(push);
    Commands();
    driver.KeyDown(VK_SPACE);
    EXPECT_EQ(SendMessageW(push, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    EXPECT_TRUE(Commands().empty());
    driver.KeyDown(VK_SPACE); // held: still one click
    driver.KeyUp(VK_SPACE);
    EXPECT_EQ(SendMessageW(push, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_EQ(Commands(), (std::vector<Command>{{101, BN_CLICKED}}));
    EXPECT_EQ(GetCapture(), nullptr);

    driver.KeyDown(VK_SPACE);
    SetFocus(check);
    EXPECT_EQ(SendMessageW(push, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    driver.KeyUp(VK_SPACE);
    EXPECT_TRUE(Commands().empty());

    driver.Key(VK_SPACE);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    driver.Key(VK_SPACE);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Commands(), (std::vector<Command>{{102, BN_CLICKED}, {102, BN_CLICKED}}));
}

TEST_F(Dialog, ButtonsTellTheirDialogCodeAndFocusWithNotify)
{
    for (const auto& [style, code] : {std::pair<DWORD, LRESULT>{BS_AUTOCHECKBOX, DLGC_BUTTON},
                                      {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
                                      {BS_GROUPBOX, DLGC_STATIC}})
        EXPECT_EQ(SendMessageW(Button(150, L"x", style), WM_GETDLGCODE, 0, 0), code) << style;
    const HWND quiet = Button(101, L"q", 0);
    const HWND notify = Button(102, L"n", BS_NOTIFY);
    Commands();
    SetFocus(quiet);
    SetFocus(notify);
    SetFocus(quiet);
    EXPECT_EQ(Commands(), (std::vector<Command>{{102, BN_SETFOCUS}, {102, BN_KILLFOCUS}}));
}

// Focus rectangles stay hidden while the window is used with the mouse; the first Tab shows
// them in the whole top-level (a dotted, inverted outline 3 pixels inside the push button),
// and Alt shows the mnemonics too.
TEST_F(Dialog, TheFocusShowsOnlyAfterTheKeyboardIsUsed)
{
    const HWND a = Button(101, L"", WS_TABSTOP);
    const HWND b = Button(102, L"", WS_TABSTOP);
    MoveWindow(b, 70, 0, 60, 20, TRUE);
    const DWORD face = 0xFFF0F0F0, inverted = 0xFF0F0F0F;
    driver.Click(a, {30, 10});
    EXPECT_EQ(std::tuple(driver.Focus(), driver.PixelAt(a, {3, 3}),
                         SendMessageW(a, WM_QUERYUISTATE, 0, 0)),
              std::tuple(a, face, LRESULT{UISF_HIDEFOCUS | UISF_HIDEACCEL}));

    driver.Key(VK_TAB);
    EXPECT_EQ(driver.Focus(), b);
    for (HWND h : {dlg.m_hWnd, a, b})
        EXPECT_EQ(SendMessageW(h, WM_QUERYUISTATE, 0, 0), UISF_HIDEACCEL);
    const struct
    {
        HWND window;
        POINT at;
        DWORD expected;
    } probes[] = {
        {b, {3, 3}, inverted}, {b, {4, 3}, face}, {b, {56, 16}, inverted},
        {b, {2, 2}, face},     {a, {3, 3}, face},
    };
    for (const auto& p : probes)
        EXPECT_EQ(driver.PixelAt(p.window, p.at), p.expected) << p.at.x << "," << p.at.y;
    driver.Key(VK_MENU);
    EXPECT_EQ(SendMessageW(a, WM_QUERYUISTATE, 0, 0), 0);
}
