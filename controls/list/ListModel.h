// What the list holds, free of windows and surfaces: columns, rows with their ten cells, item
// data and check states, the header check state that summarises them, and the selected and
// indicated rows.
//
// Rows are stored under the index they were inserted with; every walk visits the keys
// 0 .. count − 1 and skips missing ones. The numbers of checked and mixed rows are kept as
// rows change, so that the header summaries and the checked count do not walk the rows while
// the keys are exactly 0 .. count − 1 (the way a host fills a list); otherwise they walk.
#pragma once

#include "platform/base/CArray.h"
#include "platform/base/CMap.h"
#include "platform/base/CString.h"
#include "platform/gdiplus/Gdiplus.h"

#include <array>
#include <memory>
#include <vector>

namespace list {

constexpr int kCells = 10;

struct Column
{
    int nWidth = 0;
    CString strText;
    int bSeparator = 0;
    Gdiplus::StringAlignment nAlign = Gdiplus::StringAlignmentCenter;
};

struct Item
{
    Item() = default;
    ~Item();
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    CString strText[kCells];
    Gdiplus::Bitmap* pImage[kCells] = {};
    int nCheck = 0;
    CArray<DWORD, DWORD> arrData;
    // A greyed row: its texts are painted in the system's grey text colour.
    bool bDisabled = false;
    // Shown by the list's tooltip while the mouse rests over the row; empty: none.
    CString strToolTip;

    // Each picture as last painted, already scaled to its box: scaling with the high-quality
    // filter costs about a millisecond a picture, copying 1:1 a few microseconds. Painting
    // fills it; replacing the picture empties it.
    mutable std::unique_ptr<Gdiplus::Bitmap> fitted[kCells];
};

// Header summaries. A: all checked 1, none checked and none mixed 0, else −1.
// B: all checked 1, none checked 0, else −1 (mixed rows count as unchecked).
// With no rows both give 1.
int SummaryA(int rows, int checked, int mixed);
int SummaryB(int rows, int checked);

constexpr bool IsChecked(int check)
{
    return check >= 1;
}

class Model
{
public:
    Model() = default;
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // --- columns ---
    // Column 1 is left-aligned, every other column centred.
    void InsertColumn(int column, CString text, int width, int separator);
    Column* GetColumn(int column) const;
    int ColumnCount() const { return static_cast<int>(m_columns.GetCount()); }
    void DeleteColumns();

    // --- rows ---
    // Answers true when a new row was made; an existing row only gets its first text. A new
    // row is unchecked, and a shown header follows it by rule A.
    bool InsertItem(int row, CString text);
    Item* GetItem(int row) const;
    int GetItemCount() const { return static_cast<int>(m_items.GetCount()); }
    // Cell columns outside 0..9 are rejected.
    void SetItemText(int row, int column, CString text);
    // A copy of `bitmap`; a failed copy leaves the cell empty. A replaced picture is freed.
    void SetItemImage(int row, int column, Gdiplus::Bitmap* bitmap);
    // The picture file decoded; a file that cannot be read (missing, or no regular file) leaves
    // the cell as it was, one that cannot be decoded (or is too large to be a picture) leaves a
    // picture without pixels.
    void SetItemImage(int row, int column, const CString& path);
    int AddItemData(int row, DWORD value);
    DWORD GetItemData(int row, int position) const;
    void DeleteAllItems();

    // --- checks ---
    // Showing the header box brings its state up to date by rule A; while hidden it keeps the
    // state it had.
    void ShowHeaderCheckbox(int show);
    int GetCheck(int row) const;
    // A row's state is stored as given; the header follows by rule A while it is shown. The
    // header (row < 0) with a state of 0 or more sets every row; a negative one does nothing.
    void SetCheck(int row, int state);
    // The number of checked rows, whatever the header shows.
    int GetCheckedCount() const;
    int GetNextCheckedIndex(int row) const;
    int GetPrevCheckedIndex(int row) const;
    // The user's clicks: a box toggles between checked and unchecked (mixed unchecks). The
    // header's click sets every row; a row's click updates the header by rule B while shown.
    void ToggleHeaderCheck();
    void ToggleRowCheck(int row);
    int SummaryRuleA() const;
    int SummaryRuleB() const;

    // --- selection and indication ---
    // State 1 selects, state 2 indicates (when indicating is allowed), others do nothing.
    void SetItemState(int row, UINT state);
    void SetOption(int showIndicator, int indicateEnable);

    int m_nSelectedItem = -1;
    int m_nIndicatedItem = -1;
    int m_bShowIndicator = 1;
    int m_bIndicateEnable = 1;
    int m_bCheckbox = 0;
    int m_bShowHeaderCheckbox = 0;
    int m_nHeaderCheck = 0;
    // Counts DeleteAllItems: rows of different generations are different rows, whatever
    // their indexes.
    unsigned m_generation = 0;

private:
    void SetRowCheck(Item& item, int state);
    // The checked and mixed counts are exact only while the keys are 0 .. count − 1.
    bool KeysDense() const;
    struct Counts
    {
        int checked;
        int mixed;
    };
    Counts CountChecks() const;

    CMap<int, int, Column*, Column*> m_columns;
    CMap<int, int, Item*, Item*> m_items;
    int m_minKey = 0;
    int m_maxKey = -1;
    int m_checked = 0; // rows stored with nCheck >= 1
    int m_mixed = 0;   // rows stored with nCheck < 0
};

} // namespace list
