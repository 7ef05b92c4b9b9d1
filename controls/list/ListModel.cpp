#include "controls/list/ListModel.h"

#include <algorithm>

namespace list {

namespace {

// The model owns the records its maps point at.
template <typename Record> void DeleteRecords(CMap<int, int, Record*, Record*>& map)
{
    POSITION pos = map.GetStartPosition();
    while (pos) {
        int key;
        Record* record;
        map.GetNextAssoc(pos, key, record);
        delete record;
    }
    map.RemoveAll();
}

} // namespace

Item::~Item()
{
    for (Gdiplus::Bitmap*& b : pImage) {
        delete b;
        b = nullptr;
    }
}

int SummaryA(int rows, int checked, int mixed)
{
    if (checked == rows)
        return 1;
    if (checked == 0 && mixed == 0)
        return 0;
    return -1;
}

int SummaryB(int rows, int checked)
{
    if (checked == rows)
        return 1;
    return checked == 0 ? 0 : -1;
}

Model::~Model()
{
    DeleteAllItems();
    DeleteColumns();
}

// --- columns ---

void Model::InsertColumn(int column, CString text, int width, int separator)
{
    auto* c =
        new Column{width, std::move(text), separator,
                   column == 1 ? Gdiplus::StringAlignmentNear : Gdiplus::StringAlignmentCenter};
    Column*& slot = m_columns[column];
    delete slot;
    slot = c;
}

Column* Model::GetColumn(int column) const
{
    Column* c = nullptr;
    m_columns.Lookup(column, c);
    return c;
}

void Model::DeleteColumns()
{
    DeleteRecords(m_columns);
}

// --- rows ---

bool Model::InsertItem(int row, CString text)
{
    Item*& slot = m_items[row];
    if (slot) {
        slot->strText[0] = std::move(text);
        return false;
    }
    slot = new Item;
    slot->strText[0] = std::move(text);
    if (m_items.GetCount() == 1) {
        m_minKey = m_maxKey = row;
    } else {
        m_minKey = std::min(m_minKey, row);
        m_maxKey = std::max(m_maxKey, row);
    }
    if (m_bShowHeaderCheckbox)
        m_nHeaderCheck = SummaryRuleA();
    return true;
}

Item* Model::GetItem(int row) const
{
    Item* item = nullptr;
    m_items.Lookup(row, item);
    return item;
}

void Model::SetItemText(int row, int column, CString text)
{
    if (column < 0 || column >= kCells)
        return;
    if (Item* item = GetItem(row))
        item->strText[column] = std::move(text);
}

void Model::SetItemImage(int row, int column, Gdiplus::Bitmap* bitmap)
{
    if (column < 0 || column >= kCells)
        return;
    Item* item = GetItem(row);
    if (!item || !bitmap)
        return;
    const INT w = static_cast<INT>(bitmap->GetWidth());
    const INT h = static_cast<INT>(bitmap->GetHeight());
    Gdiplus::Bitmap* copy = bitmap->Clone(0, 0, w, h, Gdiplus::PixelFormatDontCare);
    if (copy && copy->GetLastStatus() != Gdiplus::Ok) {
        delete copy;
        copy = nullptr;
    }
    delete item->pImage[column];
    item->pImage[column] = copy;
    item->fitted[column].reset();
}

void Model::SetItemImage(int row, int column, const CString& path)
{
    if (column < 0 || column >= kCells)
        return;
    Item* item = GetItem(row);
    if (!item)
        return;
    // Read as every other picture is: only a regular file, and only up to the size a picture
    // file may have, so that a folder, a device or a FIFO named by a playlist can neither
    // exhaust memory nor block.
    auto picture = std::make_unique<Gdiplus::Bitmap>(path.GetString());
    if (picture->GetLastStatus() == Gdiplus::FileNotFound)
        return;
    delete item->pImage[column];
    item->pImage[column] = picture.release();
    item->fitted[column].reset();
}

int Model::AddItemData(int row, DWORD value)
{
    Item* item = GetItem(row);
    if (!item)
        return 0;
    item->arrData.Add(value);
    return 1;
}

DWORD Model::GetItemData(int row, int position) const
{
    const Item* item = GetItem(row);
    if (!item || position < 0 || position >= item->arrData.GetSize())
        return 0xFFFFFFFF;
    return item->arrData[position];
}

void Model::DeleteAllItems()
{
    DeleteRecords(m_items);
    m_minKey = 0;
    m_maxKey = -1;
    m_checked = m_mixed = 0;
    m_nSelectedItem = -1;
    m_nIndicatedItem = -1;
    m_nHeaderCheck = 0;
    ++m_generation;
}

// --- checks ---

bool Model::KeysDense() const
{
    return m_items.GetCount() == 0 || (m_minKey == 0 && m_maxKey == GetItemCount() - 1);
}

Model::Counts Model::CountChecks() const
{
    if (KeysDense())
        return {m_checked, m_mixed};
    Counts c{0, 0};
    for (int i = 0, n = GetItemCount(); i < n; ++i)
        if (const Item* item = GetItem(i)) {
            c.checked += IsChecked(item->nCheck) ? 1 : 0;
            c.mixed += item->nCheck < 0 ? 1 : 0;
        }
    return c;
}

int Model::SummaryRuleA() const
{
    const Counts c = CountChecks();
    return SummaryA(GetItemCount(), c.checked, c.mixed);
}

int Model::SummaryRuleB() const
{
    return SummaryB(GetItemCount(), CountChecks().checked);
}

void Model::SetRowCheck(Item& item, int state)
{
    m_checked += (IsChecked(state) ? 1 : 0) - (IsChecked(item.nCheck) ? 1 : 0);
    m_mixed += (state < 0 ? 1 : 0) - (item.nCheck < 0 ? 1 : 0);
    item.nCheck = state;
}

void Model::ShowHeaderCheckbox(int show)
{
    m_bShowHeaderCheckbox = show;
    if (show)
        m_nHeaderCheck = SummaryRuleA();
}

int Model::GetCheck(int row) const
{
    if (row < 0)
        return m_nHeaderCheck;
    const Item* item = GetItem(row);
    return item ? item->nCheck : 0;
}

void Model::SetCheck(int row, int state)
{
    if (row >= 0) {
        if (Item* item = GetItem(row))
            SetRowCheck(*item, state);
        if (m_bShowHeaderCheckbox)
            m_nHeaderCheck = SummaryRuleA();
        return;
    }
    if (state < 0)
        return;
    m_nHeaderCheck = state;
    for (int i = 0, n = GetItemCount(); i < n; ++i)
        if (Item* item = GetItem(i))
            SetRowCheck(*item, state);
}

int Model::GetCheckedCount() const
{
    // Counted, not read from the header: rows inserted since, or changed while the header was
    // hidden, would make the header's answer wrong.
    return CountChecks().checked;
}

int Model::GetNextCheckedIndex(int row) const
{
    // Rows start at 0, so a search from far below starts there; one from the last row or past
    // it finds nothing (row + 1 must not be worked out for INT_MAX).
    const int n = GetItemCount();
    if (row >= n - 1)
        return -1;
    for (int i = std::max(row, -1) + 1; i < n; ++i)
        if (const Item* item = GetItem(i); item && IsChecked(item->nCheck))
            return i;
    return -1;
}

int Model::GetPrevCheckedIndex(int row) const
{
    if (row <= 0) // row − 1 must not be worked out for INT_MIN
        return -1;
    for (int i = std::min(row, GetItemCount()) - 1; i >= 0; --i)
        if (const Item* item = GetItem(i); item && IsChecked(item->nCheck))
            return i;
    return -1;
}

void Model::ToggleHeaderCheck()
{
    m_nHeaderCheck = m_nHeaderCheck == 0 ? 1 : 0;
    for (int i = 0, n = GetItemCount(); i < n; ++i)
        if (Item* item = GetItem(i))
            SetRowCheck(*item, m_nHeaderCheck);
}

void Model::ToggleRowCheck(int row)
{
    Item* item = GetItem(row);
    if (!item)
        return;
    SetRowCheck(*item, item->nCheck == 0 ? 1 : 0);
    if (m_bShowHeaderCheckbox)
        m_nHeaderCheck = SummaryRuleB();
}

// --- selection and indication ---

void Model::SetItemState(int row, UINT state)
{
    if (state == 1)
        m_nSelectedItem = row;
    else if (state == 2 && m_bIndicateEnable)
        m_nIndicatedItem = row;
}

void Model::SetOption(int showIndicator, int indicateEnable)
{
    m_bShowIndicator = showIndicator;
    m_bIndicateEnable = indicateEnable;
    if (indicateEnable)
        m_nIndicatedItem = -1;
}

} // namespace list
