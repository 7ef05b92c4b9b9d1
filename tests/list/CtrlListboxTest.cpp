// The list through the headless window layer: what the parent hears, in order, for clicks and
// double clicks on rows, check boxes and the header box; the wheel, the scroll bar and sizing;
// and painted pixels computed from the layout rules.
#include "controls/list/CtrlListbox.h"

#include "../controls/ControlTestKit.h"

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
        for (auto [picture, slot] : {std::pair{header.get(), list::kHeaderBg},
                                     {row.get(), list::kRowBg},
                                     {selected.get(), list::kSelectedBg},
                                     {off.get(), list::kCheckOff},
                                     {on.get(), list::kCheckOn},
                                     {mixed.get(), list::kCheckMixed},
                                     {track.get(), list::kScrollTrack},
                                     {thumb.get(), list::kScrollThumb},
                                     {arrow.get(), list::kScrollTop},
                                     {arrow.get(), list::kScrollBottom}})
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
    driver.Click(list.m_hWnd, {100, 16});  // the header, beside the box
    driver.Click(list.m_hWnd, {100, 32});  // a gap line
    driver.Click(list.m_hWnd, {100, 295}); // the cut place
    driver.AdvanceTime(1000);
    driver.DoubleClick(list.m_hWnd, RowPoint(1));
    driver.AdvanceTime(1000);
    driver.DoubleClick(list.m_hWnd, CheckPoint(2)); // toggles twice, indicates, selects nothing
    EXPECT_EQ(list.GetCheck(2), 0);
    list.SetOption(1, 0); // indicating switched off: the double click is still told
    driver.AdvanceTime(1000);
    driver.DoubleClick(list.m_hWnd, RowPoint(3));
    list.ShowHeaderCheckbox(1);
    list.SetCheck(3, 1);
    driver.AdvanceTime(1000);
    driver.Click(list.m_hWnd, {380, 16}); // from mixed: all off
    driver.AdvanceTime(1000);
    driver.Click(list.m_hWnd, {380, 16}); // all on
    EXPECT_EQ(list.GetLastCheckedIndex(), 19);
    driver.AdvanceTime(1000);
    driver.Click(list.m_hWnd, CheckPoint(0));
    // The wheel, one row a message within the rows, tells the bar; clicks follow the new top.
    driver.Wheel(-120);
    driver.Wheel(-240);
    EXPECT_EQ(std::pair(list.GetTopIndex(), list.m_pVScroll->GetCurPos()), std::pair(2, 2));
    for (int i = 0; i < 20; ++i)
        driver.Wheel(-120);
    EXPECT_EQ(list.GetTopIndex(), 12);
    driver.AdvanceTime(1000);
    driver.Click(list.m_hWnd, RowPoint(0));
    const std::string all = std::to_string(WPARAM(-1));
    EXPECT_EQ(host.heard, "52c 1 4321 1/-1 h0; 52d 1 4321 1/1 h0; 52c 1 4321 1/1 h0; "
                          "52e 2 4321 1/1 h0; 52d 2 4321 1/2 h0; 52e 2 4321 1/2 h0; "
                          "52c 3 4321 3/2 h0; 52d 3 4321 3/2 h0; 52c 3 4321 3/2 h0; "
                          "52e " +
                              all + " 4321 3/2 h0; 52e " + all +
                              " 4321 3/2 h1; "
                              "52e 0 4321 3/2 h-1; 52c 12 4321 12/2 h-1; ");
}

TEST_F(ListBox, ScrollBarPositionTakenAsItComesAndSizing)
{
    list.SendMessage(UM_VSCROLL_POS, 40, 0);
    EXPECT_EQ(list.GetTopIndex(), 40);
    // Far outside the rows, either way: empty places, and clicks and the wheel do nothing.
    for (WPARAM far : {WPARAM{0x7FFFFFFF}, WPARAM{0x80000000}, ~WPARAM{0}}) {
        list.SetItemState(3, 1);
        list.SendMessage(UM_VSCROLL_POS, far, 0);
        EXPECT_EQ(At(list, 50, 40), kRow);
        driver.AdvanceTime(1000);
        driver.Click(list.m_hWnd, RowPoint(0));
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

// --- pixels ---

TEST_F(ListBox, RowBackgroundsCutPlaceAndCheckBoxes)
{
    list.SetItemState(1, 1);
    list.SetCheck(0, 1);
    list.SetCheck(1, -1);
    // Place 0 shows the banded row background stretched whole, place 1 the selected one; the
    // ninth place at 288 is cut to 12 pixels and shows the top 12 rows only. Boxes of place p
    // at (372, 32p + 40) .. (388, 32p + 56); the header box only when asked for.
    for (auto [x, y, colour] : {std::tuple{50, 37, kRow},
                                {50, 57, kRowLower},
                                {50, 89, kSelected},
                                {50, 5, kHeader},
                                {50, 289, kRow},
                                {50, 299, kRow},
                                {380, 48, kOn},
                                {380, 80, kMixed},
                                {380, 112, kOff},
                                {371, 112, kRowLower},
                                {380, 16, kHeader},
                                {387, 125, kRowLower}, // the picture ends where the bar begins
                                {395, 125, kTrack}})
        EXPECT_EQ(At(list, x, y), colour) << x << "," << y;
    list.SetItemState(8, 1); // a selected row scrolled into the cut place is not marked there
    EXPECT_EQ(At(list, 50, 295), kRow);
    list.ShowHeaderCheckbox(1);
    list.SetCheck(-1, 1);
    EXPECT_EQ(At(list, 380, 16), kOn);
}

// How a picture fits its box is the layout table's business; this proves the painting follows
// it. Column 1 (160 wide at 200) gets a 100 × 200 picture: box (204, 36, 152, 24) → 12 × 24.
TEST_F(ListBox, PicturesKeepTheirAspectRatio)
{
    auto tall = Solid(100, 200, kPicture);
    list.SetItemImage(0, 1, tall.get());
    list.UpdateListbox();
    for (auto [x, y, is] :
         {std::tuple{280, 40, true}, {280, 58, true}, {272, 48, false}, {288, 48, false}})
        EXPECT_EQ(At(list, x, y) == kPicture, is) << x << "," << y;
}

TEST_F(ListBox, IndicatedRowIsBoldInItsColours)
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
}

TEST_F(ListBox, WithoutABarTheWholeWidthIsPainted)
{
    CCtrlListbox plain;
    ASSERT_TRUE(
        plain.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, kId));
    plain.SetBaseRect(CRect(0, 0, 400, 100));
    plain.SetImage(row.get(), list::kRowBg);
    plain.InsertColumn(0, L"", 400, 0);
    plain.MoveWindow(0, 310, 400, 80);
    plain.InsertItem(0, L"");
    EXPECT_EQ(At(plain, 395, 50), kRowLower);
}

} // namespace
