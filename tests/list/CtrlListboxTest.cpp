// The list through the headless window layer: the order of notifications for clicks and
// double clicks, the header check box, the wheel and the scroll bar, and painted pixels
// computed from the layout rules.
#include "controls/list/CtrlListbox.h"

#include "ListTestSkin.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <vector>

using platform::wnd::HeadlessDriver;

namespace {

constexpr UINT kId = 4321;
constexpr Gdiplus::ARGB kHeader = 0xFF303030u;
constexpr Gdiplus::ARGB kRow = 0xFF2040A0u;
constexpr Gdiplus::ARGB kRowLower = 0xFFA04020u;
constexpr Gdiplus::ARGB kSelected = 0xFF20A040u;
constexpr Gdiplus::ARGB kOff = 0xFF808080u;
constexpr Gdiplus::ARGB kOn = 0xFFF0F0F0u;
constexpr Gdiplus::ARGB kMixed = 0xFF808000u;
constexpr Gdiplus::ARGB kPicture = 0xFFFF0000u;

struct Note
{
    UINT message;
    long long row;
};

class ListBox : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 500, 400), nullptr, 0));
        ASSERT_TRUE(
            list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, kId));
        list.SetBaseRect(CRect(0, 0, 400, 300));
        list.SetImage(header.get(), list::kHeaderBg);
        list.SetImage(row.get(), list::kRowBg);
        list.SetImage(selected.get(), list::kSelectedBg);
        list.SetImage(off.get(), list::kCheckOff);
        list.SetImage(on.get(), list::kCheckOn);
        list.SetImage(mixed.get(), list::kCheckMixed);
        list.SetImage(track.get(), list::kScrollTrack);
        list.SetImage(thumb.get(), list::kScrollThumb);
        list.SetImage(arrow.get(), list::kScrollTop);
        list.SetImage(arrow.get(), list::kScrollBottom);
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
        driver.Record(host.m_hWnd);
    }
    // The list's notifications to the parent, in order; each must carry the list's id.
    std::vector<Note> Notes() const
    {
        std::vector<Note> out;
        for (const MSG& m : driver.Recorded())
            if (m.message >= UM_LISTBOX_CLICK && m.message <= UM_LISTBOX_CHECK) {
                EXPECT_EQ(m.lParam, static_cast<LPARAM>(kId));
                out.push_back({m.message, static_cast<long long>(static_cast<LONG_PTR>(m.wParam))});
            }
        return out;
    }
    // Row place p's centre, outside the check-box column.
    static POINT RowPoint(int p) { return {100, 32 + p * 32 + 16}; }
    static POINT CheckPoint(int p) { return {380, 32 + p * 32 + 16}; }

    HeadlessDriver driver;
    CWnd host;
    CCtrlListbox list;
    std::unique_ptr<Gdiplus::Bitmap> header = listtest::Solid(8, 8, kHeader);
    std::unique_ptr<Gdiplus::Bitmap> row = listtest::Banded(8, 32, 12, kRow, kRowLower);
    std::unique_ptr<Gdiplus::Bitmap> selected = listtest::Solid(8, 8, kSelected);
    std::unique_ptr<Gdiplus::Bitmap> off = listtest::Solid(16, 16, kOff);
    std::unique_ptr<Gdiplus::Bitmap> on = listtest::Solid(16, 16, kOn);
    std::unique_ptr<Gdiplus::Bitmap> mixed = listtest::Solid(16, 16, kMixed);
    std::unique_ptr<Gdiplus::Bitmap> track = listtest::Solid(12, 30, 0xFF101010u);
    std::unique_ptr<Gdiplus::Bitmap> thumb = listtest::Solid(12, 16, 0xFFC0C0C0u);
    std::unique_ptr<Gdiplus::Bitmap> arrow = listtest::Solid(48, 12, 0xFF606060u);
};

bool operator==(const Note& a, const Note& b)
{
    return a.message == b.message && a.row == b.row;
}
std::ostream& operator<<(std::ostream& os, const Note& n)
{
    return os << "{" << n.message << ", " << n.row << "}";
}
using Sequence = std::vector<Note>;

TEST_F(ListBox, DoubleClickOnARowClicksTwiceAroundIt)
{
    driver.DoubleClick(list.m_hWnd, RowPoint(1));
    EXPECT_EQ(Notes(),
              (Sequence{{UM_LISTBOX_CLICK, 1}, {UM_LISTBOX_DBLCLK, 1}, {UM_LISTBOX_CLICK, 1}}));
    EXPECT_EQ(list.GetSelectedItem(), 1);
    EXPECT_EQ(list.GetIndicatedItem(), 1);
}

TEST_F(ListBox, DoubleClickOnACheckBoxTogglesTwiceAndIndicates)
{
    driver.DoubleClick(list.m_hWnd, CheckPoint(2));
    EXPECT_EQ(Notes(),
              (Sequence{{UM_LISTBOX_CHECK, 2}, {UM_LISTBOX_DBLCLK, 2}, {UM_LISTBOX_CHECK, 2}}));
    EXPECT_EQ(list.GetCheck(2), 0);
    EXPECT_EQ(list.GetIndicatedItem(), 2);
    EXPECT_EQ(list.GetSelectedItem(), -1);
}

TEST_F(ListBox, IndicatingSwitchedOffStillReportsTheDoubleClick)
{
    list.SetItemState(4, 2);
    list.SetOption(1, 0);
    driver.DoubleClick(list.m_hWnd, RowPoint(1));
    EXPECT_EQ(Notes().size(), 3u);
    EXPECT_EQ(list.GetIndicatedItem(), 4);
}

TEST_F(ListBox, HeaderCheckBoxSetsEveryRow)
{
    list.ShowHeaderCheckbox(1);
    list.SetCheck(3, 1);
    ASSERT_EQ(list.GetCheck(-1), -1);
    driver.Click(list.m_hWnd, {380, 16});
    EXPECT_EQ(list.GetCheck(-1), 0);
    EXPECT_EQ(list.GetFirstCheckedIndex(), -1);
    driver.Click(list.m_hWnd, {380, 16});
    EXPECT_EQ(list.GetCheckedCount(), 20);
    EXPECT_EQ(list.GetLastCheckedIndex(), 19);
    driver.Click(list.m_hWnd, CheckPoint(0));
    EXPECT_EQ(list.GetCheck(-1), -1);
    EXPECT_EQ(Notes(),
              (Sequence{{UM_LISTBOX_CHECK, -1}, {UM_LISTBOX_CHECK, -1}, {UM_LISTBOX_CHECK, 0}}));
}

TEST_F(ListBox, ClicksOnNothingSendNothing)
{
    driver.Click(list.m_hWnd, {100, 16});  // header, no box shown
    driver.Click(list.m_hWnd, {100, 32});  // the gap line
    driver.Click(list.m_hWnd, {100, 295}); // the cut place
    EXPECT_TRUE(Notes().empty());
    EXPECT_EQ(list.GetSelectedItem(), -1);
}

TEST_F(ListBox, WheelMovesOneRowAndTellsTheBar)
{
    driver.Click(list.m_hWnd, RowPoint(0)); // takes the focus
    driver.Wheel(-120);
    driver.Wheel(-240);
    EXPECT_EQ(list.GetTopIndex(), 2);
    EXPECT_EQ(list.m_pVScroll->GetCurPos(), 2);
    driver.Wheel(120);
    EXPECT_EQ(list.GetTopIndex(), 1);
    for (int i = 0; i < 20; ++i)
        driver.Wheel(-120);
    EXPECT_EQ(list.GetTopIndex(), 12); // 20 rows, 8 places
    // Clicks now hit rows by the new top.
    driver.ClearRecorded();
    driver.AdvanceTime(1000); // not a double click with the first
    driver.Click(list.m_hWnd, RowPoint(0));
    EXPECT_EQ(Notes(), (Sequence{{UM_LISTBOX_CLICK, 12}}));
}

TEST_F(ListBox, ScrollBarPositionIsTakenAsItComes)
{
    list.SendMessage(UM_VSCROLL_POS, 4, 0);
    EXPECT_EQ(list.GetTopIndex(), 4);
    list.SendMessage(UM_VSCROLL_POS, 40, 0);
    EXPECT_EQ(list.GetTopIndex(), 40);
    // Far outside the rows, either way: empty places, and clicks hit nothing.
    for (WPARAM far : {WPARAM{0x7FFFFFFF}, WPARAM{0x80000000}, ~WPARAM{0}}) {
        list.SetItemState(3, 1);
        list.SendMessage(UM_VSCROLL_POS, far, 0);
        EXPECT_EQ(driver.PixelAt(list.m_hWnd, {50, 40}), kRow);
        driver.AdvanceTime(1000);
        driver.Click(list.m_hWnd, RowPoint(0));
        driver.Wheel(-120);
    }
    EXPECT_TRUE(Notes().empty());
    // The bar's own arrow reaches the list through the same message.
    list.SendMessage(UM_VSCROLL_POS, 0, 0);
    list.m_pVScroll->SetCurPos(0, 0);
    driver.Click(list.m_pVScroll->m_btnBottom.m_hWnd, {5, 5});
    EXPECT_EQ(list.GetTopIndex(), 1);
}

TEST_F(ListBox, EnsureVisibleScrollsAndTellsTheBar)
{
    list.EnsureVisible(15);
    EXPECT_EQ(list.GetTopIndex(), 8);
    EXPECT_EQ(list.m_pVScroll->GetCurPos(), 8);
    list.EnsureVisible(3);
    EXPECT_EQ(list.GetTopIndex(), 3);
    list.EnsureVisible(5);
    EXPECT_EQ(list.GetTopIndex(), 3);
    list.EnsureVisible(20);
    EXPECT_EQ(list.GetTopIndex(), 3);
}

TEST_F(ListBox, SizeCorrectsTheTopAndPlacesTheBar)
{
    list.SendMessage(UM_VSCROLL_POS, 15, 0);
    list.MoveWindow(0, 0, 400, 301);
    EXPECT_EQ(list.GetTopIndex(), 12);
    CRect bar;
    list.m_pVScroll->GetWindowRect(&bar);
    list.ScreenToClient(&bar);
    EXPECT_EQ(bar, CRect(400 - 12, 0, 400, 301));
    EXPECT_EQ(list.m_pVScroll->m_nMaxRowCount, 8);
    EXPECT_EQ(list.m_pVScroll->m_nItemCount, 20);
    list.DeleteAllItems();
    EXPECT_EQ(list.m_pVScroll->m_nItemCount, 0);
    EXPECT_EQ(list.m_pVScroll->GetCurPos(), 0);
}

// --- pixels ---

TEST_F(ListBox, SelectedRowAndCutPlaceFromTheRowBackground)
{
    list.SetItemState(1, 1);
    // Place 0 shows the banded row background stretched whole; place 1 the selected one.
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {50, 32 + 5}), kRow);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {50, 32 + 25}), kRowLower);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {50, 64 + 25}), kSelected);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {50, 5}), kHeader);
    // 300 high: the ninth place at 288 is cut to 12 pixels and shows the top 12 rows only.
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {50, 289}), kRow);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {50, 299}), kRow);
    // A selected row scrolled into the cut place is not marked there.
    list.SetItemState(8, 1);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {50, 295}), kRow);
}

TEST_F(ListBox, CheckBoxesByStateInTheLastColumn)
{
    list.SetCheck(0, 1);
    list.SetCheck(1, -1);
    // Box of place p at (372, 32p + 40) .. (388, 32p + 56).
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {380, 48}), kOn);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {380, 80}), kMixed);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {380, 112}), kOff);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {371, 112}), kRowLower);
    // The header box shows only while there are rows and it is asked for.
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {380, 16}), kHeader);
    list.ShowHeaderCheckbox(1);
    list.SetCheck(-1, 1);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {380, 16}), kOn);
}

TEST_F(ListBox, PicturesKeepTheirAspectRatio)
{
    // Column 2 (40 wide, at x 360) gets a 200 × 100 picture: box (364, 36, 32, 24) → 32 × 16
    // at y 40; column 1 (160 wide at 200) a 100 × 200 one: box (204, 36, 152, 24) → 12 × 24.
    list.m_model.m_bCheckbox = 0; // the boxes would cover the picture in the last column
    auto wide = listtest::Solid(200, 100, kPicture);
    auto tall = listtest::Solid(100, 200, kPicture);
    list.SetItemImage(0, 2, wide.get());
    list.SetItemImage(0, 1, tall.get());
    list.UpdateListbox();
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {380, 38}), kRow);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {380, 42}), kPicture);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {380, 54}), kPicture);
    EXPECT_NE(driver.PixelAt(list.m_hWnd, {380, 57}), kPicture);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {280, 40}), kPicture);
    EXPECT_EQ(driver.PixelAt(list.m_hWnd, {280, 58}), kPicture);
    EXPECT_NE(driver.PixelAt(list.m_hWnd, {272, 48}), kPicture);
    EXPECT_NE(driver.PixelAt(list.m_hWnd, {288, 48}), kPicture);
}

// Ink of text drawn in `colour` inside a cell: pixels close to it.
int Ink(HeadlessDriver& driver, HWND wnd, CRect cell, Gdiplus::ARGB colour)
{
    int n = 0;
    for (int y = cell.top; y < cell.bottom; ++y)
        for (int x = cell.left; x < cell.right; ++x) {
            const DWORD p = driver.PixelAt(wnd, {x, y});
            int d = 0;
            for (int s = 0; s < 24; s += 8)
                d += std::abs(static_cast<int>((p >> s) & 0xFF) -
                              static_cast<int>((colour >> s) & 0xFF));
            n += d < 60 ? 1 : 0;
        }
    return n;
}

TEST_F(ListBox, IndicatedRowIsBoldInItsColours)
{
    list.SetColor(1, Gdiplus::Color(0xFFFFFF00u));
    list.SetColor(3, Gdiplus::Color(0xFF00FFFFu));
    list.SetColor(4, Gdiplus::Color(0xFFFF00FFu));
    list.SetItemText(0, 1, L"WWWWWW");
    list.SetItemText(1, 1, L"WWWWWW");
    list.SetItemState(0, 2);
    const CRect cell0(200, 33, 360, 63), cell1(200, 65, 360, 95);
    const int bold = Ink(driver, list.m_hWnd, cell0, 0xFF00FFFFu);
    const int regular = Ink(driver, list.m_hWnd, cell1, 0xFFFFFF00u);
    EXPECT_GT(regular, 20);
    EXPECT_GT(bold, regular + regular / 10);
    list.SetItemState(0, 1);
    EXPECT_EQ(Ink(driver, list.m_hWnd, cell0, 0xFF00FFFFu), 0);
    EXPECT_GT(Ink(driver, list.m_hWnd, cell0, 0xFFFF00FFu), regular + regular / 10);
}

} // namespace

namespace {

// Without a bar the list paints its whole width; with one its picture ends where the bar
// begins and the bar shows there.
TEST(ListBoxWidth, OffScreenPictureEndsWhereTheBarBegins)
{
    HeadlessDriver driver;
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_VISIBLE, CRect(0, 0, 500, 300), nullptr, 0));
    auto rowBg = listtest::Solid(8, 32, kRow);
    auto track = listtest::Solid(12, 30, 0xFF101010u);
    auto arrow = listtest::Solid(48, 12, 0xFF606060u);
    CCtrlListbox plain, barred;
    for (CCtrlListbox* l : {&plain, &barred}) {
        ASSERT_TRUE(
            l->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, kId));
        l->SetBaseRect(CRect(0, 0, 400, 100));
        l->SetImage(rowBg.get(), list::kRowBg);
        l->SetImage(track.get(), list::kScrollTrack);
        l->SetImage(arrow.get(), list::kScrollTop);
        l->SetImage(arrow.get(), list::kScrollBottom);
        l->InsertColumn(0, L"", 400, 0);
    }
    barred.ActivateVScroll(0);
    plain.MoveWindow(0, 0, 400, 120);
    barred.MoveWindow(0, 150, 400, 120);
    for (CCtrlListbox* l : {&plain, &barred})
        l->InsertItem(0, L"");
    EXPECT_EQ(driver.PixelAt(plain.m_hWnd, {395, 50}), kRow);
    EXPECT_EQ(driver.PixelAt(barred.m_hWnd, {387, 50}), kRow);
    EXPECT_EQ(driver.PixelAt(barred.m_hWnd, {395, 50}), 0xFF101010u);
}

} // namespace
