// The list's data model without a window: rows and their cells, item data, the header check
// box under both summary rules, the checked-row searches, selection and indication.
#include "controls/list/ListModel.h"

#include "ListTestSkin.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class ListModel : public ::testing::Test
{
protected:
    void Rows(int n)
    {
        for (int i = 0; i < n; ++i)
            m.InsertItem(i, L"row");
    }
    list::Model m;
};

TEST_F(ListModel, InsertingUnderAnExistingIndexReplacesOnlyTheFirstText)
{
    Rows(2);
    m.SetItemText(1, 3, L"third");
    m.AddItemData(1, 7);
    m.SetCheck(1, 1);
    EXPECT_FALSE(m.InsertItem(1, L"again"));
    EXPECT_EQ(m.GetItemCount(), 2);
    const list::Item* item = m.GetItem(1);
    EXPECT_EQ(item->strText[0], CString(L"again"));
    EXPECT_EQ(item->strText[3], CString(L"third"));
    EXPECT_EQ(m.GetItemData(1, 0), 7u);
    EXPECT_EQ(m.GetCheck(1), 1);
}

TEST_F(ListModel, ItemDataByPosition)
{
    Rows(1);
    EXPECT_EQ(m.GetItemData(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(m.AddItemData(0, 7), 1);
    EXPECT_EQ(m.AddItemData(0, 9), 1);
    EXPECT_EQ(m.GetItemData(0, 1), 9u);
    EXPECT_EQ(m.GetItemData(0, 2), 0xFFFFFFFFu);
    EXPECT_EQ(m.GetItemData(0, -1), 0xFFFFFFFFu);
    EXPECT_EQ(m.AddItemData(5, 1), 0);
    EXPECT_EQ(m.GetItemData(5, 0), 0xFFFFFFFFu);
}

TEST_F(ListModel, CellColumnsOutsideTheTenAreRejected)
{
    Rows(1);
    m.SetItemText(0, 10, L"past");
    m.SetItemText(0, -1, L"before");
    auto pic = listtest::Solid(4, 4, 0xFFFF0000u);
    m.SetItemImage(0, 10, pic.get());
    for (const CString& t : m.GetItem(0)->strText)
        EXPECT_NE(t, CString(L"past"));
    m.SetItemImage(0, 9, pic.get());
    ASSERT_NE(m.GetItem(0)->pImage[9], nullptr);
    EXPECT_NE(m.GetItem(0)->pImage[9], pic.get()); // a copy
    EXPECT_EQ(m.GetItem(0)->pImage[9]->GetWidth(), 4u);
}

TEST_F(ListModel, HeaderFollowsRuleAOnSetCheck)
{
    m.m_bShowHeaderCheckbox = 1;
    Rows(3);
    m.SetCheck(2, 1);
    EXPECT_EQ(m.GetCheck(-1), -1);
    m.SetCheck(0, 1);
    m.SetCheck(1, 1);
    EXPECT_EQ(m.GetCheck(-1), 1);
    m.SetCheck(-1, 0);
    EXPECT_EQ(m.GetCheck(-1), 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.GetCheck(i), 0);
    m.SetCheck(-1, -1); // changes nothing at all
    EXPECT_EQ(m.GetCheck(-1), 0);
}

TEST_F(ListModel, AMixedRowMakesTheHeaderMixedButIsNotCounted)
{
    m.m_bShowHeaderCheckbox = 1;
    Rows(1);
    m.SetCheck(0, -1);
    EXPECT_EQ(m.GetCheck(-1), -1);
    EXPECT_EQ(m.GetCheckedCount(), 0);
    EXPECT_EQ(m.GetCheck(0), -1); // stored as given
}

TEST_F(ListModel, HiddenHeaderKeepsItsStaleState)
{
    Rows(2);
    m.m_bShowHeaderCheckbox = 1;
    m.SetCheck(0, 1);
    EXPECT_EQ(m.GetCheck(-1), -1);
    m.m_bShowHeaderCheckbox = 0;
    m.SetCheck(1, 1);
    EXPECT_EQ(m.GetCheck(-1), -1);
}

TEST_F(ListModel, CheckedCountTrustsAShownHeader)
{
    Rows(3);
    m.SetCheck(1, 1);
    EXPECT_EQ(m.GetCheckedCount(), 1);
    m.m_bShowHeaderCheckbox = 1;
    m.m_nHeaderCheck = 1;
    EXPECT_EQ(m.GetCheckedCount(), 3);
    m.m_nHeaderCheck = 0;
    EXPECT_EQ(m.GetCheckedCount(), 0);
    m.m_nHeaderCheck = -1;
    EXPECT_EQ(m.GetCheckedCount(), 1);
}

TEST_F(ListModel, CheckedSearches)
{
    EXPECT_EQ(m.GetNextCheckedIndex(-1), -1);
    Rows(3);
    m.SetCheck(1, 1);
    m.SetCheck(2, 2); // 2 counts as checked
    EXPECT_EQ(m.GetNextCheckedIndex(-1), 1);
    EXPECT_EQ(m.GetNextCheckedIndex(1), 2);
    EXPECT_EQ(m.GetNextCheckedIndex(2), -1);
    EXPECT_EQ(m.GetPrevCheckedIndex(m.GetItemCount()), 2);
    EXPECT_EQ(m.GetPrevCheckedIndex(1), -1);
    EXPECT_EQ(m.GetPrevCheckedIndex(100), 2);
}

TEST_F(ListModel, UserClicksToggleAndSummariseByRuleB)
{
    m.m_bShowHeaderCheckbox = 1;
    Rows(3);
    m.SetCheck(0, 1);
    m.SetCheck(1, 1);
    m.ToggleRowCheck(2);
    EXPECT_EQ(m.m_nHeaderCheck, 1);
    m.ToggleRowCheck(0);
    EXPECT_EQ(m.m_nHeaderCheck, -1);
    m.SetCheck(1, -1);
    m.ToggleRowCheck(1); // mixed becomes unchecked, not checked
    EXPECT_EQ(m.GetCheck(1), 0);
    // Rule B counts mixed rows as unchecked where rule A would say mixed.
    m.SetCheck(0, -1);
    EXPECT_EQ(m.SummaryRuleA(), -1);
    EXPECT_EQ(m.SummaryRuleB(), -1); // row 2 is still checked
    m.SetCheck(2, 0);
    EXPECT_EQ(m.SummaryRuleA(), -1);
    EXPECT_EQ(m.SummaryRuleB(), 0);
}

TEST_F(ListModel, HeaderClickFromMixedClearsAllThenChecksAll)
{
    m.m_bShowHeaderCheckbox = 1;
    Rows(3);
    m.SetCheck(1, 1);
    ASSERT_EQ(m.m_nHeaderCheck, -1);
    m.ToggleHeaderCheck();
    EXPECT_EQ(m.m_nHeaderCheck, 0);
    EXPECT_EQ(m.GetNextCheckedIndex(-1), -1);
    m.ToggleHeaderCheck();
    EXPECT_EQ(m.m_nHeaderCheck, 1);
    EXPECT_EQ(m.GetCheckedCount(), 3);
}

TEST(ListSummary, Rules)
{
    struct Case
    {
        int rows, checked, mixed, a, b;
    };
    const Case cases[] = {
        {0, 0, 0, 1, 1},  {3, 3, 0, 1, 1},   {3, 0, 0, 0, 0},
        {3, 0, 1, -1, 0}, {3, 1, 0, -1, -1}, {3, 2, 1, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list::SummaryA(c.rows, c.checked, c.mixed), c.a);
        EXPECT_EQ(list::SummaryB(c.rows, c.checked), c.b);
    }
}

// Rows under keys that are not 0 .. count − 1: the walks visit only those keys, and the
// counts kept for dense lists must not be used.
TEST_F(ListModel, SparseKeysAreWalkedNotCounted)
{
    m.m_bShowHeaderCheckbox = 1;
    m.InsertItem(0, L"a");
    m.InsertItem(5, L"far"); // count 2: key 5 is never visited
    m.SetCheck(5, 1);
    EXPECT_EQ(m.GetCheck(-1), 0); // row 0 unchecked, row 1 missing, row 5 unseen
    m.SetCheck(0, 1);
    EXPECT_EQ(m.GetCheck(-1), -1); // 1 of 2 checked
    m.m_nHeaderCheck = -1;
    EXPECT_EQ(m.GetCheckedCount(), 1);
    EXPECT_EQ(m.GetNextCheckedIndex(0), -1);
}

TEST_F(ListModel, ColumnAlignmentByIndex)
{
    m.InsertColumn(0, L"a", 10, 0);
    m.InsertColumn(1, L"b", 10, 0);
    m.InsertColumn(2, L"c", 10, 0);
    EXPECT_EQ(m.GetColumn(0)->nAlign, Gdiplus::StringAlignmentCenter);
    EXPECT_EQ(m.GetColumn(1)->nAlign, Gdiplus::StringAlignmentNear);
    EXPECT_EQ(m.GetColumn(2)->nAlign, Gdiplus::StringAlignmentCenter);
    m.InsertColumn(1, L"b2", 20, 1); // replaces
    EXPECT_EQ(m.ColumnCount(), 3);
    EXPECT_EQ(m.GetColumn(1)->nWidth, 20);
}

TEST_F(ListModel, OptionsAndStates)
{
    Rows(3);
    m.SetItemState(2, 2);
    EXPECT_EQ(m.m_nIndicatedItem, 2);
    m.SetOption(1, 1); // clears the indicated row
    EXPECT_EQ(m.m_nIndicatedItem, -1);
    m.SetItemState(1, 2);
    m.SetOption(1, 0);
    EXPECT_EQ(m.m_nIndicatedItem, 1);
    m.SetItemState(0, 2);
    EXPECT_EQ(m.m_nIndicatedItem, 1);
    m.SetItemState(0, 3);
    EXPECT_EQ(m.m_nSelectedItem, -1);
    m.SetItemState(7, 1); // not checked against the count
    EXPECT_EQ(m.m_nSelectedItem, 7);
}

TEST_F(ListModel, DeleteAllKeepsColumnsAndResetsState)
{
    m.InsertColumn(0, L"a", 10, 0);
    m.m_bShowHeaderCheckbox = 1;
    Rows(3);
    m.SetCheck(0, 1);
    m.SetItemState(1, 1);
    m.SetItemState(2, 2);
    m.DeleteAllItems();
    EXPECT_EQ(m.GetItemCount(), 0);
    EXPECT_EQ(m.ColumnCount(), 1);
    EXPECT_EQ(m.m_nSelectedItem, -1);
    EXPECT_EQ(m.m_nIndicatedItem, -1);
    EXPECT_EQ(m.m_nHeaderCheck, 0);
    Rows(2);
    m.SetCheck(0, 1);
    EXPECT_EQ(m.m_nHeaderCheck, -1); // counts start again from the new rows
}

TEST_F(ListModel, PictureFilesDecodedFromMemory)
{
    platform::wnd::HeadlessDriver driver; // graphics started
    Rows(1);
    const std::string dir = ::testing::TempDir();
    const CString png = CString((dir + "list-cell.png").c_str());
    auto pic = listtest::Solid(6, 3, 0xFF00FF00u);
    ASSERT_EQ(platform::SaveImageAsPng(pic.get(), png), Gdiplus::Ok);
    m.SetItemImage(0, 2, png);
    ASSERT_NE(m.GetItem(0)->pImage[2], nullptr);
    EXPECT_EQ(m.GetItem(0)->pImage[2]->GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(m.GetItem(0)->pImage[2]->GetWidth(), 6u);

    m.SetItemImage(0, 3, CString((dir + "no-such-file.png").c_str()));
    EXPECT_EQ(m.GetItem(0)->pImage[3], nullptr);

    const std::string junkPath = dir + "list-junk.png";
    FILE* f = std::fopen(junkPath.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a picture", f);
    std::fclose(f);
    m.SetItemImage(0, 4, CString(junkPath.c_str()));
    ASSERT_NE(m.GetItem(0)->pImage[4], nullptr);
    EXPECT_NE(m.GetItem(0)->pImage[4]->GetLastStatus(), Gdiplus::Ok);
}

} // namespace
