// What each control family tells assistive technology (WM_ACCDESCRIBE), and that its action
// and value setting reach the parent exactly as the mouse's click does.
#include "controls/CtrlButton.h"
#include "controls/CtrlButtonEx.h"
#include "controls/CtrlGroupBox.h"
#include "controls/CtrlImage.h"
#include "controls/CtrlNumber.h"
#include "controls/CtrlSlider.h"
#include "controls/CtrlSliderEx.h"
#include "controls/CtrlStatic.h"
#include "controls/HyperLink.h"
#include "controls/list/CtrlVScroll.h"
#include "tests/controls/ControlTestKit.h"

#include <limits>

using platform::wnd::AccDescription;
using platform::wnd::AccRole;
namespace acc = platform::wnd::acc;

namespace {

AccDescription Describe(CWnd& w)
{
    AccDescription d;
    EXPECT_TRUE(w.SendMessage(WM_ACCDESCRIBE, 0, reinterpret_cast<LPARAM>(&d)));
    return d;
}

bool SetValue(CWnd& w, double v)
{
    return w.SendMessage(WM_ACCSETVALUE, 0, reinterpret_cast<LPARAM>(&v)) != 0;
}

using Accessible = HostedTest;

enum class Kind { System, Skinned, SkinnedEx };

std::unique_ptr<CWnd> MakeButton(Kind kind, CWnd& host, DWORD style, LPCWSTR text, UINT id)
{
    std::unique_ptr<CButton> b = kind == Kind::System    ? std::make_unique<CButton>()
                                 : kind == Kind::Skinned ? std::make_unique<CCtrlButton>()
                                                         : std::make_unique<CCtrlButtonEx>();
    b->Create(text, style | WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &host, id);
    return b;
}

} // namespace

// Names are the texts (taking the mnemonics out is the window layer's test's); the states are
// exact.
TEST_F(Accessible, ButtonsByKindAndStyle)
{
    const unsigned base = acc::Enabled | acc::Focusable | acc::Visible | acc::Showing,
                   box = base | acc::Checkable, shown = acc::Visible | acc::Showing;
    // Rows: kind, style, text, checked, role, states.
    const std::tuple<Kind, DWORD, const char*, bool, AccRole, unsigned> rows[] = {
        {Kind::System, BS_PUSHBUTTON, "Play", false, AccRole::PushButton, base},
        {Kind::System, BS_AUTOCHECKBOX, "Subtitles", true, AccRole::CheckBox, box | acc::Checked},
        {Kind::System, BS_AUTORADIOBUTTON, "One", false, AccRole::RadioButton, box},
        {Kind::System, BS_AUTOCHECKBOX | BS_PUSHLIKE, "Loop", true, AccRole::ToggleButton,
         box | acc::Checked | acc::Pressed},
        {Kind::System, BS_PUSHBUTTON | WS_DISABLED, "Rec", false, AccRole::PushButton,
         shown | acc::Focusable},
        {Kind::System, BS_GROUPBOX, "Group", false, AccRole::Panel, shown | acc::Enabled},
        {Kind::Skinned, BS_AUTOCHECKBOX, "Mute", true, AccRole::CheckBox, box | acc::Checked},
        {Kind::Skinned, BS_AUTOCHECKBOX | BS_PUSHLIKE, "Repeat", false, AccRole::ToggleButton, box},
        {Kind::SkinnedEx, BS_PUSHBUTTON, "Open", false, AccRole::PushButton, base},
    };
    int id = 100;
    for (auto [kind, style, name, check, role, states] : rows) {
        auto b = MakeButton(kind, host, style, CString::FromUtf8(name), static_cast<UINT>(++id));
        if (check)
            b->SendMessage(BM_SETCHECK, BST_CHECKED);
        const AccDescription d = Describe(*b);
        const std::vector<std::string> actions(role != AccRole::Panel, "click");
        EXPECT_EQ(std::tuple(d.role, d.name.ToUtf8(), d.states, d.actions),
                  std::tuple(role, name, states, actions))
            << id;
        b->DestroyWindow();
    }
}

// A button without text is named by a tooltip over the whole of it; its own text comes first.
TEST_F(Accessible, AButtonWithoutTextIsNamedByItsTooltip)
{
    auto mute = MakeButton(Kind::Skinned, host, BS_AUTOCHECKBOX | BS_PUSHLIKE, L"", 5);
    auto play = MakeButton(Kind::Skinned, host, BS_PUSHBUTTON, L"&Play", 6);
    auto open = MakeButton(Kind::Skinned, host, BS_PUSHBUTTON, L"", 7);
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&host));
    tips.AddTool(mute.get(), L"Mute");
    tips.AddTool(play.get(), L"Start playing");
    const RECT part{0, 0, 10, 10}; // a tool over part of the button does not name it
    tips.AddTool(open.get(), L"Corner", &part);
    EXPECT_EQ(std::tuple(Describe(*mute).name, Describe(*play).name, Describe(*open).name),
              std::tuple(CString(L"Mute"), CString(L"Play"), CString()));
    tips.DestroyWindow();
}

TEST_F(Accessible, TheClickActionNotifiesAsTheMouseDoes)
{
    for (Kind kind : {Kind::System, Kind::Skinned}) {
        for (DWORD style : {DWORD(BS_PUSHBUTTON), DWORD(BS_AUTOCHECKBOX)}) {
            auto byMouse = MakeButton(kind, host, style, L"x", 7);
            host.state = [&] { return std::to_string(byMouse->SendMessage(BM_GETCHECK)); };
            host.heard.clear();
            driver.Click(byMouse->m_hWnd, {5, 5});
            const std::string mouse = host.heard;
            byMouse->DestroyWindow();

            auto byAction = MakeButton(kind, host, style, L"x", 7);
            host.state = [&] { return std::to_string(byAction->SendMessage(BM_GETCHECK)); };
            host.heard.clear();
            EXPECT_TRUE(byAction->SendMessage(WM_ACCDOACTION, 0));
            EXPECT_FALSE(byAction->SendMessage(WM_ACCDOACTION, 1)); // no second action
            EXPECT_EQ(host.heard, mouse) << int(kind) << " " << style;
            EXPECT_FALSE(mouse.empty());
            byAction->DestroyWindow();
        }
    }
}

TEST_F(Accessible, SlidersAndTheScrollBarTellTheirRangeAndTakeValuesAsAClick)
{
    CCtrlVScroll bar;
    ASSERT_TRUE(bar.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 12, 120), &host, 9));
    bar.SetItemCount(50);
    bar.SetMaxRowCount(10);
    // The scroll bar's value is the first row shown, up to the last page's.
    const AccDescription scroll = Describe(bar);
    EXPECT_EQ(std::tuple(scroll.role, scroll.value.max, scroll.states & acc::Horizontal),
              std::tuple(AccRole::ScrollBar, 40.0, 0u));
    // A value is told as UM_VSCROLL_POS, as a drag of the thumb tells it; past the last page is
    // refused, unheard.
    host.heard.clear();
    EXPECT_TRUE(SetValue(bar, 5));
    EXPECT_FALSE(SetValue(bar, 41));
    EXPECT_EQ(std::pair(bar.GetCurPos(), host.heard), std::pair(5, std::string("465 5 0 ; ")));
    std::unique_ptr<Gdiplus::Bitmap> thumb = Solid(10, 16, 0xFF00FF00);
    for (bool extended : {false, true}) {
        std::unique_ptr<CCtrlSlider> s =
            extended ? std::make_unique<CCtrlSliderEx>() : std::make_unique<CCtrlSlider>();
        ASSERT_TRUE(
            s->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(20, 30, 230, 50), &host, 42));
        s->SetImage(thumb.get(), slider::Thumb);
        s->SetRange(0, 100);
        s->SetPos(70);
        const AccDescription d = Describe(*s);
        EXPECT_EQ(
            std::tuple(d.role, d.hasValue, d.states & acc::Horizontal, d.value.min, d.value.max,
                       d.value.current, d.value.step),
            std::tuple(AccRole::Slider, true, unsigned(acc::Horizontal), 0.0, 100.0, 70.0, 1.0));

        // A value: the press and the release a click there gives, the thumb already moved to
        // (210 - its width) x 30%: the plain thumb is 10 wide, the scaled one 10 x 20 / 16.
        host.state = [&] { return "@" + std::to_string(s->GetThumbRect().left); };
        host.heard.clear();
        EXPECT_TRUE(SetValue(*s, 29.6));
        const std::string at = extended ? "@59" : "@60";
        EXPECT_EQ(host.heard, "440 42 30 " + at + "; 441 42 30 " + at + "; ");

        // Outside the range, or no number: refused, nothing heard, nothing moved.
        host.heard.clear();
        for (double bad : {-1.0, 100.5, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity()})
            EXPECT_FALSE(SetValue(*s, bad)) << bad;
        EXPECT_EQ(std::tuple(host.heard, s->GetPos(), Describe(*s).value.current),
                  std::tuple("", 30, 30.0));
        s->DestroyWindow();
    }
}

TEST_F(Accessible, LabelsImagesGroupsAndLinks)
{
    CCtrlStatic label;
    CCtrlNumber number;
    CCtrlImage image;
    CCtrlGroupBox group;
    CHyperLink link;
    const DWORD child = WS_CHILD | WS_VISIBLE;
    label.Create(L"&Volume", child, CRect(0, 0, 80, 20), &host, 1);
    number.Create(L"0042", child | SS_RIGHT, CRect(0, 20, 80, 40), &host, 2);
    image.Create(L"Logo", child, CRect(0, 40, 80, 60), &host, 3);
    group.Create(L"Options", child, CRect(0, 60, 200, 160), &host, 4);
    link.Create(L"Read me", child, CRect(100, 0, 200, 20), &host, 5);
    // Rows: the control, its role, name, text and actions.
    const std::tuple<CWnd*, AccRole, std::string, std::string, std::vector<std::string>> rows[] = {
        {&label, AccRole::Label, "Volume", "Volume", {}},
        {&number, AccRole::Label, "0042", "0042", {}},
        {&image, AccRole::Image, "Logo", "", {}},
        {&group, AccRole::Panel, "Options", "", {}},
        {&link, AccRole::Link, "Read me", "Read me", {"jump"}},
    };
    for (const auto& [w, role, name, text, actions] : rows) {
        const AccDescription d = Describe(*w);
        EXPECT_EQ(std::tuple(d.role, d.name.ToUtf8(), d.text.ToUtf8(), d.actions,
                             d.states & acc::Showing),
                  std::tuple(role, name, text, actions, unsigned(acc::Showing)));
    }
}
