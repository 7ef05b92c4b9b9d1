// The list through the headless window layer: what the parent hears, in order, for clicks and
// double clicks on rows, check boxes and the header box; the wheel, the scroll bar and sizing;
// and painted pixels computed from the layout rules.
#include "controls/list/CtrlListbox.h"

#include "controls/KeyboardAccess.h"

#include "../controls/ControlTestKit.h"

#include <climits>
#include <functional>
#include <tuple>

namespace {

constexpr UINT kId = 4321;
constexpr Gdiplus::ARGB kHeader = 0xFF303030u, kRow = 0xFF2040A0u, kRowLower = 0xFFA04020u,
                        kSelected = 0xFF20A040u, kOff = 0xFF808080u, kOn = 0xFFF0F0F0u,
                        kMixed = 0xFF808000u, kPicture = 0xFFFF0000u, kTrack = 0xFF101010u;

// A 400 x 300 list (its design size) of three columns 200, 160 and 40 wide, check boxes in the
// last, 20 rows in 8 places of 32 below a 32-high header, and a 12-wide scroll bar.
class ListBox : public HostedTest
{
protected:
    void SetUp() override
    {
        HostedTest::SetUp();
        host.MoveWindow(0, 0, 500, 400);
        ASSERT_TRUE(
            list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, kId));
        list.SetBaseRect(CRect(0, 0, 400, 300));
        const std::pair<Gdiplus::Bitmap*, int> images[] = {
            {header.get(), list::kHeaderBg},     {row.get(), list::kRowBg},
            {selected.get(), list::kSelectedBg}, {off.get(), list::kCheckOff},
            {on.get(), list::kCheckOn},          {mixed.get(), list::kCheckMixed},
            {track.get(), list::kScrollTrack},   {thumb.get(), list::kScrollThumb},
            {arrow.get(), list::kScrollTop},     {arrow.get(), list::kScrollBottom}};
        for (auto [picture, slot] : images)
            list.SetImage(picture, slot);
        list.SetInitFont(L"DejaVu Sans", 14);
        list.InsertColumn(0, L"#", 200, 0);
        list.InsertColumn(1, L"name", 160, 0);
        list.InsertColumn(2, L"", 40, 0);
        list.ActivateCheckbox();
        list.ActivateVScroll(0);
        list.MoveWindow(0, 0, 400, 300);
        for (int i = 0; i < 20; ++i)
            list.InsertItem(i, L"");
        driver.Pump();
    }
    // Row place p's centre, outside the check-box column, and its check box.
    static POINT RowPoint(int p) { return {100, 32 + p * 32 + 16}; }
    static POINT CheckPoint(int p) { return {380, 32 + p * 32 + 16}; }
    // A click, or a double click, a second after what came before: never half of a double click.
    void Click(POINT p, bool twice = false)
    {
        driver.AdvanceTime(1000);
        twice ? driver.DoubleClick(list.m_hWnd, p) : driver.Click(list.m_hWnd, p);
    }

    CCtrlListbox list;
    std::unique_ptr<Gdiplus::Bitmap> header = Solid(8, 8, kHeader),
                                     row = TopBand(8, 32, 12, kRow, kRowLower),
                                     selected = Solid(8, 8, kSelected), off = Solid(16, 16, kOff),
                                     on = Solid(16, 16, kOn), mixed = Solid(16, 16, kMixed),
                                     track = Solid(12, 30, kTrack),
                                     thumb = Solid(12, 16, 0xFFC0C0C0u),
                                     arrow = Solid(48, 12, 0xFF606060u);
};

TEST_F(ListBox, Session)
{
    // Each notification with the row, the list's id, then the selected and indicated rows and
    // the header box as the parent sees them.
    host.state = [this] {
        return std::to_string(list.GetSelectedItem()) + "/" +
               std::to_string(list.GetIndicatedItem()) + " h" + std::to_string(list.GetCheck(-1));
    };
    Click({100, 32}); // a gap line: nothing (the other misses are ListInput's)
    Click(RowPoint(1), true);
    Click(CheckPoint(2), true); // toggles twice, indicates, selects nothing
    EXPECT_EQ(list.GetCheck(2), 0);
    list.SetOption(1, 0); // indicating switched off: the double click is still told
    Click(RowPoint(3), true);
    list.ShowHeaderCheckbox(1);
    list.SetCheck(3, 1);
    Click({380, 16}); // from mixed: all off
    Click({380, 16}); // all on
    EXPECT_EQ(list.GetLastCheckedIndex(), 19);
    Click(CheckPoint(0));
    // The wheel, one row a message (ListInput's table has its edges), tells the bar; clicks
    // follow the new top.
    driver.Wheel(-240);
    EXPECT_EQ(std::pair(list.GetTopIndex(), list.m_pVScroll->GetCurPos()), std::pair(1, 1));
    Click(RowPoint(0));
    const std::string all = std::to_string(WPARAM(-1)); // the header box's row
    EXPECT_EQ(host.heard, "52c 1 4321 1/-1 h0; 52d 1 4321 1/1 h0; 52c 1 4321 1/1 h0; "
                          "52e 2 4321 1/1 h0; 52d 2 4321 1/2 h0; 52e 2 4321 1/2 h0; "
                          "52c 3 4321 3/2 h0; 52d 3 4321 3/2 h0; 52c 3 4321 3/2 h0; 52e " +
                              all + " 4321 3/2 h0; 52e " + all +
                              " 4321 3/2 h1; 52e 0 4321 3/2 h-1; 52c 1 4321 1/2 h-1; ");
}

TEST_F(ListBox, ScrollBarPositionTakenAsItComesAndSizing)
{
    // A top taken as it comes, far outside the rows either way: empty places, and clicks and
    // the wheel do nothing.
    for (WPARAM far : {WPARAM{0x7FFFFFFF}, WPARAM{0x80000000}, ~WPARAM{0}}) {
        list.SetItemState(3, 1);
        list.SendMessage(UM_VSCROLL_POS, far, 0);
        EXPECT_EQ(At(list, 50, 40), kRow);
        Click(RowPoint(0));
        driver.Wheel(-120);
    }
    EXPECT_EQ(host.heard, "");
    // The bar's own arrow reaches the list through the same message.
    list.SendMessage(UM_VSCROLL_POS, 0, 0);
    list.m_pVScroll->SetCurPos(0, 0);
    driver.Click(list.m_pVScroll->m_btnBottom.m_hWnd, {5, 5});
    EXPECT_EQ(list.GetTopIndex(), 1);
    list.EnsureVisible(15);
    EXPECT_EQ(std::pair(list.GetTopIndex(), list.m_pVScroll->GetCurPos()), std::pair(8, 8));
    // Sizing corrects the top so the last page is full and places the bar at the right.
    list.SendMessage(UM_VSCROLL_POS, 15, 0);
    list.MoveWindow(0, 0, 400, 301);
    EXPECT_EQ(list.GetTopIndex(), 12);
    CRect bar;
    list.m_pVScroll->GetWindowRect(&bar);
    list.ScreenToClient(&bar);
    EXPECT_EQ(Str({bar}), "388,0 12x301");
    EXPECT_EQ(std::pair(list.m_pVScroll->m_nMaxRowCount, list.m_pVScroll->m_nItemCount),
              std::pair(8, 20));
    list.DeleteAllItems();
    EXPECT_EQ(std::pair(list.m_pVScroll->m_nItemCount, list.m_pVScroll->GetCurPos()),
              std::pair(0, 0));
}

// Hit rectangles were once worked out only at a size change while painting followed each
// setter at once: until the next resize a click landed on the row or box painted elsewhere.
// After each setter a click on row place 1 selects the row painted there, and a click on that
// place's check box checks the box painted there.
TEST_F(ListBox, ClicksLandWhereTheSettersPaintThings)
{
    // The setter; the header and row heights and the check-box column's middle by the rule.
    // Rows 20 high: boxes 10 wide, centred in the 40-wide last column at 360.
    const std::tuple<std::function<void()>, int, int, int> steps[] = {
        {[&] { list.SetRowHeight(20); }, 32, 20, 380},
        {[&] { list.SetRowHeightHeader(40); }, 40, 20, 380},
        // Column 0 at 100: the last column starts at 260.
        {[&] { list.SetColumnWidth(0, 100, TRUE); }, 40, 20, 280},
        // Designed twice as wide: columns, rows and header halve; the last column is 20 wide
        // at 130 and its boxes 6 wide in places 10 high.
        {[&] { list.SetBaseRect(CRect(0, 0, 800, 300)); }, 20, 10, 140},
    };
    for (const auto& [set, header, row, boxX] : steps) {
        set();
        const int y = header + row + row / 2; // the middle of place 1
        list.SetItemState(-1, 1);
        list.SetCheck(1, 0);
        Click({100, y});
        Click({boxX, y});
        EXPECT_EQ(std::pair(list.GetSelectedItem(), list.GetCheck(1)), std::pair(1, 1)) << y;
        EXPECT_EQ(std::pair(At(list, 100, y), At(list, boxX, y)), std::pair(kSelected, kOn)) << y;
    }
}

// Host values at the limits through every geometry setter, each followed by a size change,
// once made the list lay out or paint billions of places, or overflow int. The list lays out
// only the places that fit and still answers clicks, the wheel and EnsureVisible.
TEST_F(ListBox, GeometrySettersAtTheLimits)
{
    const std::function<void(int)> setters[] = {
        [&](int v) { list.SetRowHeight(v); },
        [&](int v) { list.SetRowHeightHeader(v); },
        [&](int v) {
            list.SetRowHeight(1);
            list.SetRowHeightHeader(v);
        },
        [&](int v) {
            list.SetColumnWidth(0, v, TRUE);
            list.SetColumnWidth(2, v, TRUE);
        },
        [&](int v) { list.SetBaseRect(CRect(0, 0, v, 300)); },
        [&](int v) { list.SetBaseRect(CRect(v, 0, INT_MAX, 300)); },
    };
    for (const auto& set : setters)
        for (int v : {INT_MIN, -1000000000, -1, 0, 1, INT_MAX}) {
            set(v);
            list.MoveWindow(0, 0, 400, 299);
            list.MoveWindow(0, 0, 400, 300);
            ASSERT_LE(list.m_layout.rowRects.size(), 300u) << v;
            At(list, 50, 150); // painted
            Click(RowPoint(1));
            driver.Wheel(-120);
            list.EnsureVisible(19);
            list.SetRowHeight(32);
            list.SetRowHeightHeader(32);
            list.SetColumnWidth(0, 200, TRUE);
            list.SetColumnWidth(2, 40, TRUE);
            list.SetBaseRect(CRect(0, 0, 400, 300));
        }
    list.SendMessage(UM_VSCROLL_POS, 0, 0);
    list.SetItemState(1, 1);
    // Back to the design's numbers, the list paints as before.
    for (auto [x, y, colour] : {std::tuple{50, 37, kRow}, {50, 89, kSelected}, {380, 48, kOff}})
        EXPECT_EQ(At(list, x, y), colour) << x << "," << y;
}

// Shown again, the header box sums up the rows as they are now, and the count is theirs.
TEST_F(ListBox, HeaderBoxShownAgainFollowsTheRows)
{
    list.ShowHeaderCheckbox(1);
    list.SetCheck(-1, 1);
    list.ShowHeaderCheckbox(0);
    list.SetCheck(4, 0);
    list.InsertItem(20, L"");
    list.ShowHeaderCheckbox(1);
    EXPECT_EQ(std::pair(list.GetCheck(-1), list.GetCheckedCount()), std::pair(-1, 19));
    EXPECT_EQ(At(list, 380, 16), kMixed);
}

// --- keys ---

// With keyboard access on, the focused list's keys select rows and scroll them into view, open
// and check them, each telling the parent what the matching click or double click tells it.
// Off, or while the mouse is captured, nothing happens.
TEST_F(ListBox, KeysSelectOpenAndCheckRows)
{
    list.SetItemText(7, 0, L"\u00C9mile");
    list.SetItemDisabled(3, 1); // a greyed row is checked as a click checks it
    list.SetFocus();
    host.state = [this] {
        return std::to_string(list.GetSelectedItem()) + "/" +
               std::to_string(list.GetIndicatedItem()) + " t" + std::to_string(list.GetTopIndex()) +
               " c" + std::to_string(list.GetCheck(3));
    };
    // on, key (0: type é), presses
    const std::tuple<bool, UINT, int, const char*> steps[] = {
        {false, VK_DOWN, 1, ""},
        {true, VK_DOWN, 1, "52c 0 4321 0/-1 t0 c0; "}, // from no selection: the first visible row
        {true, VK_END, 1, "52c 19 4321 19/-1 t12 c0; "},
        {true, VK_PRIOR, 1, "52c 11 4321 11/-1 t11 c0; "},
        {true, VK_HOME, 1, "52c 0 4321 0/-1 t0 c0; "},
        {true, VK_HOME, 1, ""},
        {true, VK_DOWN, 3, "52c 1 4321 1/-1 t0 c0; 52c 2 4321 2/-1 t0 c0; 52c 3 4321 3/-1 t0 c0; "},
        {true, VK_SPACE, 1, "52e 3 4321 3/-1 t0 c1; "},
        {true, VK_RETURN, 1, "52c 3 4321 3/-1 t0 c1; 52d 3 4321 3/3 t0 c1; 52c 3 4321 3/3 t0 c1; "},
        {true, 0, 1, "52c 7 4321 7/3 t0 c1; "},
        {true, VK_NEXT, 1, "52c 15 4321 15/3 t8 c1; "}};
    for (auto [on, vk, presses, heard] : steps) {
        skinkit::EnableKeyboardAccess(on);
        host.heard.clear();
        for (int i = 0; vk && i < presses; ++i)
            driver.KeyDown(vk);
        vk ? driver.KeyUp(vk) : driver.Type("\xC3\xA9");
        EXPECT_EQ(host.heard, heard) << vk;
    }
    host.heard.clear();
    host.SetCapture();
    driver.Key(VK_UP);
    driver.Type("a");
    ReleaseCapture();
    list.m_model.m_bCheckbox = 0; // rows without boxes: Space checks nothing
    driver.AdvanceTime(1000);
    driver.Key(VK_SPACE);
    EXPECT_EQ(host.heard, "");
    // Enter is the list's only while it has the focus; the dialog manager asks with the key.
    MSG enter{list.m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    const auto code = [&] { return list.SendMessage(WM_GETDLGCODE, VK_RETURN, LPARAM(&enter)); };
    EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTMESSAGE);
    host.SetFocus();
    EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTCHARS);
    skinkit::EnableKeyboardAccess(false);
}

// Keys the list cannot use: codes out of range, a top far outside the rows (the row selected
// still comes into view), an empty list, and a parent that empties or destroys the list while
// it hears Enter's first click (the rest of the sequence is not sent).
TEST_F(ListBox, KeysAtTheLimits)
{
    skinkit::EnableKeyboardAccess(true);
    list.SetFocus();
    for (WPARAM code : {WPARAM{0}, WPARAM{0xFF}, WPARAM{0xFFFF}, WPARAM{0x110000}, ~WPARAM{0}}) {
        list.SendMessage(WM_KEYDOWN, code, 0);
        list.SendMessage(WM_CHAR, code, 0);
    }
    EXPECT_EQ(host.heard, "");
    for (WPARAM far : {WPARAM{INT_MAX}, WPARAM{0x80000000}})
        for (UINT vk : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END}) {
            list.SendMessage(UM_VSCROLL_POS, far, 0);
            driver.Key(vk);
            const int row = list.GetSelectedItem(), top = list.GetTopIndex();
            EXPECT_TRUE(row >= top && row < top + 8) << vk << ": " << row << " at " << top;
        }
    for (bool destroy : {false, true}) {
        for (int i = 0; i < 20; ++i)
            list.InsertItem(i, L"");
        list.SetItemState(2, 1);
        host.heard.clear();
        host.state = [&] {
            destroy ? void(list.DestroyWindow()) : list.DeleteAllItems();
            return std::string();
        };
        driver.Key(VK_RETURN);
        host.state = [] { return std::string(); };
        for (UINT vk : {VK_DOWN, VK_END, VK_RETURN, VK_SPACE, UINT{'A'}})
            list.SendMessage(WM_KEYDOWN, vk, 0);
        driver.Type("a");
        EXPECT_EQ(host.heard, "52c 2 4321 ; ");
    }
    skinkit::EnableKeyboardAccess(false);
}

// --- pixels ---

TEST_F(ListBox, RowBackgroundsCutPlaceCheckBoxesAndPictures)
{
    list.SetItemState(1, 1);
    list.SetCheck(0, 1);
    list.SetCheck(1, -1);
    list.SetItemImage(0, 1, Solid(100, 200, kPicture).get()); // the list keeps a copy
    // Place 0 shows the banded row background stretched whole, place 1 the selected one; the
    // ninth place at 288 is cut to 12 pixels and shows the top 12 rows only. Boxes of place p
    // at (372, 32p + 40) .. (388, 32p + 56); the header box only when asked for. How a picture
    // fits its box is the layout table's; the painting follows it: column 1 (160 wide at 200)
    // gets the 100 × 200 picture in box (204, 36, 152, 24) as 12 × 24 at 274.
    const std::tuple<int, int, Gdiplus::ARGB> pixels[] = {
        {50, 37, kRow},        {50, 57, kRowLower},   {50, 89, kSelected},  {50, 5, kHeader},
        {50, 289, kRow},       {50, 299, kRow},       {380, 48, kOn},       {380, 80, kMixed},
        {380, 112, kOff},      {371, 112, kRowLower}, {380, 16, kHeader},   {395, 125, kTrack},
        {387, 125, kRowLower}, // the picture ends where the bar begins
        {280, 40, kPicture},   {280, 58, kPicture},   {272, 48, kRowLower}, {288, 48, kRowLower}};
    for (auto [x, y, colour] : pixels)
        EXPECT_EQ(At(list, x, y), colour) << x << "," << y;
    list.SetItemState(8, 1); // a selected row scrolled into the cut place is not marked there
    EXPECT_EQ(At(list, 50, 295), kRow);
    list.ShowHeaderCheckbox(1);
    list.SetCheck(-1, 1);
    EXPECT_EQ(At(list, 380, 16), kOn);
}

// Row texts take their state's colour: the indicated row's is bold, in the selected colour when
// it is selected too; a greyed row's is the system's grey text colour, indicated or not, and
// keeps the indicated row's boldness. A row set back is as before.
TEST_F(ListBox, RowTextsTakeTheirStatesColoursAndTheIndicatedRowIsBold)
{
    list.SetColor(0, Gdiplus::Color(0xFF404040u)); // the header's
    list.SetColor(1, Gdiplus::Color(0xFFFF0000u)); // rows
    list.SetColor(3, Gdiplus::Color(0xFF0000FFu)); // the indicated row
    list.SetColor(4, Gdiplus::Color(0xFFFFFFFFu)); // the selected row
    list.SetItemText(0, 1, L"WWWWWW");
    list.SetItemText(1, 1, L"WWWWWW");
    list.SetItemState(0, 2);
    const InkBox regular = Ink(list, Reddish), bold = Ink(list, Bluish);
    ASSERT_TRUE(regular.Any() && bold.Any());
    EXPECT_TRUE(bold.top > 32 && bold.bottom < 64 && regular.top > 64 && regular.bottom < 96);
    EXPECT_GT(bold.right - bold.left, regular.right - regular.left + 4);
    list.SetItemState(0, 1); // selected and indicated: bold in the selected colour
    EXPECT_FALSE(Ink(list, Bluish).Any());
    const InkBox selected = Ink(list, White);
    EXPECT_TRUE(selected.top > 32 && selected.bottom < 64);
    EXPECT_GT(selected.right - selected.left, regular.right - regular.left + 4);

    const ColourTest grey = [](const Gdiplus::Color& c) {
        return c.GetValue() == Argb(GetSysColor(COLOR_GRAYTEXT));
    };
    EXPECT_FALSE(Ink(list, grey).Any());
    list.SetItemDisabled(1, 1);
    list.SetItemDisabled(70, 1); // no such row: nothing changes
    const InkBox greyed = Ink(list, grey);
    EXPECT_TRUE(greyed.Any() && greyed.top > 64 && greyed.bottom < 96); // place 1 only
    EXPECT_FALSE(Ink(list, Reddish).Any());
    list.SetItemState(1, 2); // indicated: still grey, and bold
    EXPECT_FALSE(Ink(list, Bluish).Any());
    const InkBox greyBold = Ink(list, grey);
    EXPECT_GT(greyBold.right - greyBold.left, regular.right - regular.left + 4);
    list.SetItemDisabled(1, 0);
    EXPECT_FALSE(Ink(list, grey).Any());
    const InkBox after = Ink(list, Bluish);
    EXPECT_TRUE(after.Any() && after.top > 64 && after.bottom < 96);
}

// A row's tooltip shows its text once the mouse rests over that row, goes when the mouse moves
// to a row without one, and follows the mouse to another row's text; rows without texts make
// no tooltip window at all.
TEST_F(ListBox, RowToolTipShowsWhileTheMouseRestsOnItsRow)
{
    driver.MoveMouse(list.m_hWnd, RowPoint(0));
    driver.AdvanceTime(1000);
    EXPECT_TRUE(driver.ToolTips().empty());
    list.SetItemToolTip(1, L"cannot play: no video stream");
    list.SetItemToolTip(3, L"third");
    list.SetItemToolTip(40, L"no such row");
    // The row place the mouse rests on → the tip shown ("": none).
    for (auto [place, text] :
         {std::pair{1, L"cannot play: no video stream"}, {2, L""}, {3, L"third"}}) {
        driver.MoveMouse(list.m_hWnd, RowPoint(place));
        driver.AdvanceTime(CToolTipCtrl::kInitialDelay);
        ASSERT_EQ(driver.ToolTips().size(), 1u);
        EXPECT_EQ(driver.ToolTips()[0].shown, *text != 0) << place;
        EXPECT_TRUE(!*text || driver.ToolTips()[0].text == CString(text)) << place;
    }
    // The text changed while shown is the one shown; emptied, the tip goes.
    list.SetItemToolTip(3, L"3rd");
    EXPECT_EQ(driver.ToolTips()[0].text, CString(L"3rd"));
    list.SetItemToolTip(3, L"");
    driver.AdvanceTime(200);
    EXPECT_FALSE(driver.ToolTips()[0].shown);
}

} // namespace
