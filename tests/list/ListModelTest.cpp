// The list's data model without a window: rows and their cells, item data, the header check
// box under both summary rules, the checked-row searches, selection and indication.
#include "controls/list/ListModel.h"

#include "../controls/ControlTestKit.h"
#include "platform/gdiplus/Gdi.h"
#include "tests/TestKit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <climits>
#include <fstream>
#include <future>
#include <tuple>

namespace {

class ListModel : public ::testing::Test
{
protected:
    void Rows(int n)
    {
        m.m_bShowHeaderCheckbox = 1;
        for (int i = 0; i < n; ++i)
            m.InsertItem(i, L"row");
    }
    list::Model m;
};

TEST(ListSummary, Rules)
{
    // Rows, checked, mixed → rule A (mixed rows count), rule B (mixed rows are unchecked).
    const std::array<int, 5> cases[] = {{0, 0, 0, 1, 1},  {3, 3, 0, 1, 1},   {3, 0, 0, 0, 0},
                                        {3, 0, 1, -1, 0}, {3, 1, 0, -1, -1}, {3, 2, 1, -1, -1}};
    for (auto [rows, checked, mixed, a, b] : cases) {
        EXPECT_EQ(list::SummaryA(rows, checked, mixed), a) << rows << checked << mixed;
        EXPECT_EQ(list::SummaryB(rows, checked), b) << rows << checked;
    }
}

TEST_F(ListModel, RowsCellsAndItemData)
{
    Rows(2);
    m.SetItemText(1, 3, L"third");
    m.SetItemText(1, 10, L"past"); // cells outside the ten are rejected
    m.SetItemText(1, -1, L"past");
    EXPECT_EQ(m.AddItemData(1, 7), 1);
    EXPECT_EQ(m.AddItemData(1, 9), 1);
    EXPECT_EQ(m.AddItemData(5, 1), 0);
    m.SetCheck(1, 1);
    EXPECT_FALSE(m.InsertItem(1, L"again")); // replaces only the first text
    const list::Item* item = m.GetItem(1);
    EXPECT_EQ(std::tuple(m.GetItemCount(), item->strText[0], item->strText[3], m.GetCheck(1)),
              std::tuple(2, CString(L"again"), CString(L"third"), 1));
    for (const CString& t : item->strText)
        EXPECT_NE(t, CString(L"past"));
    const std::tuple<int, int, DWORD> itemData[] = {{1, 0, 7u},          {1, 1, 9u},
                                                    {1, 2, 0xFFFFFFFFu}, {1, -1, 0xFFFFFFFFu},
                                                    {0, 0, 0xFFFFFFFFu}, {5, 0, 0xFFFFFFFFu}};
    for (auto [row, position, data] : itemData)
        EXPECT_EQ(m.GetItemData(row, position), data) << row << " " << position;
    // Columns: the first and the last centred, the others near; the same index replaces.
    for (int c = 0; c < 3; ++c)
        m.InsertColumn(c, L"c", 10, 0);
    m.InsertColumn(1, L"b2", 20, 1);
    EXPECT_EQ(std::tuple(m.ColumnCount(), m.GetColumn(1)->nWidth, m.GetColumn(0)->nAlign,
                         m.GetColumn(1)->nAlign, m.GetColumn(2)->nAlign),
              std::tuple(3, 20, Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentNear,
                         Gdiplus::StringAlignmentCenter));
}

// The header sums the rows up by rule A while shown and keeps its stale state while hidden.
// The count was once answered from the header: rows inserted after the header summed them up,
// or changed while it was hidden, were miscounted.
TEST_F(ListModel, CheckedCountIsTheCheckedRowsWhateverTheHeaderShows)
{
    Rows(3);
    m.SetCheck(2, 1);
    EXPECT_EQ(m.GetCheck(-1), -1);
    m.SetCheck(-1, 1);
    m.InsertItem(3, L"new");
    m.InsertItem(4, L"new");
    m.SetCheck(-1, -1); // changes nothing at all
    EXPECT_EQ(std::pair(m.GetCheckedCount(), m.GetCheck(-1)), std::pair(3, -1));
    m.SetCheck(-1, 0);
    EXPECT_EQ(std::pair(m.GetCheck(-1), m.GetNextCheckedIndex(-1)), std::pair(0, -1));
    m.m_bShowHeaderCheckbox = 0;
    m.SetCheck(1, 1);
    m.SetCheck(0, -1); // a mixed row is not counted
    EXPECT_EQ(std::pair(m.GetCheckedCount(), m.GetCheck(-1)), std::pair(1, 0));
    m.m_bShowHeaderCheckbox = 1;
    m.SetCheck(2, 0);
    EXPECT_EQ(m.GetCheck(-1), -1); // but makes the header mixed
    m.SetCheck(-1, 1);
    m.m_bShowHeaderCheckbox = 0;
    m.SetCheck(0, 0);
    m.m_bShowHeaderCheckbox = 1;
    m.InsertItem(9, L"sparse"); // keys no longer 0 .. count − 1: the rows are walked
    EXPECT_EQ(m.GetCheckedCount(), 4);
    for (int i = 1; i < 5; ++i)
        m.SetCheck(i, 0);
    EXPECT_EQ(m.GetCheck(-1), 0); // the row once mixed is counted so no more
}

// The header clicked from mixed, then all on, is in the list box's session.
TEST_F(ListModel, RowClicksSummariseByRuleB)
{
    Rows(3);
    m.SetCheck(1, -1);
    m.ToggleRowCheck(1); // mixed becomes unchecked, not checked
    m.ToggleRowCheck(2);
    EXPECT_EQ(std::pair(m.GetCheck(1), m.m_nHeaderCheck), std::pair(0, -1));
    m.SetCheck(0, -1);
    m.ToggleRowCheck(2); // no row checked: rule B says unchecked where rule A says mixed
    EXPECT_EQ(std::pair(m.m_nHeaderCheck, m.SummaryRuleA()), std::pair(0, -1));
}

// Rows under keys that are not 0 .. count − 1: the walks visit only those keys, and the
// counts kept for dense lists must not be used.
TEST_F(ListModel, CheckedSearchesAndSparseKeys)
{
    EXPECT_EQ(m.GetNextCheckedIndex(-1), -1);
    Rows(3);
    m.SetCheck(1, 1);
    m.SetCheck(2, 2); // 2 counts as checked
    // The searches start from any int: neither row + 1 nor row − 1 may leave the range.
    const std::array<int, 3> searches[] = {{-1, 1, -1}, {1, 2, -1},       {2, -1, 1},
                                           {3, -1, 2},  {INT_MAX, -1, 2}, {INT_MIN, 1, -1}};
    for (auto [from, next, prev] : searches)
        EXPECT_EQ(std::pair(m.GetNextCheckedIndex(from), m.GetPrevCheckedIndex(from)),
                  std::pair(next, prev))
            << from;
    list::Model sparse;
    sparse.m_bShowHeaderCheckbox = 1;
    sparse.InsertItem(0, L"a");
    sparse.InsertItem(5, L"far"); // count 2: key 5 is never visited
    sparse.SetCheck(5, 1);
    EXPECT_EQ(sparse.GetCheck(-1), 0);
    sparse.SetCheck(0, 1);
    EXPECT_EQ(sparse.GetCheck(-1), -1); // 1 of 2 checked
    EXPECT_EQ(sparse.GetCheckedCount(), 1);
    EXPECT_EQ(sparse.GetNextCheckedIndex(0), -1);
}

TEST_F(ListModel, IndicationSelectionAndDeleteAll)
{
    m.InsertColumn(0, L"a", 10, 0);
    Rows(3);
    m.SetItemState(2, 2);
    m.SetOption(1, 1);    // enabling clears the indicated row
    m.SetItemState(0, 3); // neither selects nor indicates
    EXPECT_EQ(std::pair(m.m_nSelectedItem, m.m_nIndicatedItem), std::pair(-1, -1));
    m.SetItemState(1, 1);
    m.SetItemState(1, 2);
    m.SetCheck(0, 1);
    m.DeleteAllItems();
    EXPECT_EQ(std::tuple(m.GetItemCount(), m.ColumnCount(), m.m_nSelectedItem, m.m_nIndicatedItem,
                         m.m_nHeaderCheck),
              std::tuple(0, 1, -1, -1, 0));
    Rows(2);
    m.SetCheck(0, 1);
    EXPECT_EQ(m.m_nHeaderCheck, -1); // counts start again from the new rows
}

// Cell pictures are read as every other picture is: a folder once made the list ask for
// LLONG_MAX bytes and abort, a FIFO without a writer blocked it. Only regular files are read,
// and only up to the size a picture file may have.
TEST_F(ListModel, CellPicturesAreReadOnlyFromRegularFilesOfAPictureSize)
{
    platform::wnd::HeadlessDriver driver; // graphics started
    Rows(1);
    const testkit::TempDir tmp;
    const std::string dir = tmp.Path() + "/";
    auto pic = Solid(6, 3, 0xFF00FF00u);
    ASSERT_EQ(platform::SaveImageAsPng(Solid(5, 3, 0xFF0000FFu).get(),
                                       CString((dir + "cell.png").c_str())),
              Gdiplus::Ok);
    std::ofstream(dir + "junk.png") << "not a picture";
    ASSERT_EQ(::mkdir((dir + "folder.png").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo((dir + "fifo.png").c_str(), 0600), 0);
    std::ofstream(dir + "empty.png").close();
    std::ofstream(dir + "huge.png").close();
    ASSERT_EQ(::truncate((dir + "huge.png").c_str(), (64LL << 20) + 1), 0); // sparse
    // Path → the cell's picture width after it: the picture it had (6) when there is no file to
    // read, a picture without pixels (0) for a file that is no picture.
    for (auto [path, width] : {std::pair{dir + "cell.png", 5u},
                               {dir + "no-such.png", 6u},
                               {dir + "junk.png", 0u},
                               {dir + "folder.png", 6u},
                               {dir + "fifo.png", 6u},
                               {std::string("/dev/zero"), 6u},
                               {dir + "empty.png", 0u},
                               {dir + "huge.png", 0u}}) {
        m.SetItemImage(0, 1, pic.get());
        const Gdiplus::Bitmap* before = m.GetItem(0)->pImage[1];
        ASSERT_TRUE(before && before != pic.get()); // a copy
        // A reader that blocks on the FIFO is let go by opening its other end.
        auto load = std::async(std::launch::async,
                               [&, p = path] { m.SetItemImage(0, 1, CString(p.c_str())); });
        if (load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ADD_FAILURE() << path << " blocked";
            const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            load.wait();
            ::close(writer);
        }
        EXPECT_NO_THROW(load.get()) << path; // a throw here would end a host
        Gdiplus::Bitmap* after = m.GetItem(0)->pImage[1];
        EXPECT_EQ(after == before, width == 6u) << path;
        EXPECT_EQ(after->GetWidth(), width) << path;
    }
    m.SetItemImage(0, 10, pic.get()); // outside the ten: rejected
}

} // namespace
