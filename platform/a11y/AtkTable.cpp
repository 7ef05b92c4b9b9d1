// A table's column headers and cells: the table's own AtkTable and AtkSelection, and one object
// type for its headers and cells (AtkTableCell). See TableCache in AtkPrivate.h for which
// objects are kept.
//
// A table's children after its windows: column header c at c, cell (r, c) at
// columns + r × columns + c. A cell stands for its row of one generation of the table: once the
// row is gone (the table emptied, or fewer rows) the object is defunct and answers nothing.
// Selecting a cell selects its row; the table has one selected row at most, and no selection
// can be taken away, since a click cannot take it away either.
#include "platform/a11y/AtkPrivate.h"
#include "platform/wnd/WinUser.h"

#if SKINKIT_HAVE_ATK
#include <algorithm>

namespace platform::a11y {

using wnd::AccDescription;
using wnd::AccRole;
using wnd::AccRow;
using wnd::AccTable;

namespace {

const AtkLibrary* g_lib = nullptr;
GType g_cellType = 0;

struct Cell
{
    HWND list = nullptr; // null once let go with its table
    int row = -1;        // -1 for a column header
    int column = 0;
    unsigned generation = 0;
    std::string name; // for the const string get_name hands out
};
struct CellObject
{
    AtkObject parent;
    Cell* cell;
};
struct CellObjectClass
{
    AtkObjectClass parent;
};
GObjectClass* g_cellParentClass = nullptr;

template <typename T> Cell* CellOf(T* o)
{
    return o ? reinterpret_cast<CellObject*>(o)->cell : nullptr;
}

long long ChildIndex(const AccTable& t, int row, int column)
{
    return row < 0 ? column : t.columns + static_cast<long long>(row) * t.columns + column;
}

bool Shown(const AccTable& t, int row)
{
    return row >= t.firstShown && row - t.firstShown < t.shownRows;
}

bool InTable(const AccTable& t, int row, int column)
{
    return row >= 0 && row < t.rows && column >= 0 && column < t.columns;
}

bool DescribeRow(HWND list, int row, AccRow& out)
{
    return row >= 0 && ::SendMessageW(list, WM_ACCDESCRIBEROW, static_cast<WPARAM>(row),
                                      reinterpret_cast<LPARAM>(&out)) != 0;
}

// The table's description, when the cell still stands for a header or a row of it.
bool CellLive(const Cell* c, AccDescription& d)
{
    if (!c || !c->list || !FindNode(c->list) || !::IsWindow(c->list))
        return false;
    d = Describe(c->list);
    const AccTable& t = d.table;
    if (d.role != AccRole::Table || c->column < 0 || c->column >= t.columns)
        return false;
    return c->row < 0 || (c->row < t.rows && c->generation == t.generation);
}

gint WindowCount(HWND list)
{
    return static_cast<gint>(ChildWindows(list).size());
}

AtkObject* NewCell(HWND list, const AccTable& t, int row, int column)
{
    auto* o = static_cast<AtkObject*>(g_object_new(g_cellType, nullptr));
    reinterpret_cast<CellObject*>(o)->cell = new Cell{list, row, column, t.generation, {}};
    g_lib->atk_object_initialize(o, nullptr);
    CountObjectMade();
    return o;
}

AtkObject* Ref(AtkObject* o)
{
    return o ? static_cast<AtkObject*>(g_object_ref(o)) : nullptr;
}

// The kept object goes; `defunct` when what it stood for went too.
void LetGo(AtkObject* o, bool defunct)
{
    if (defunct) {
        CellOf(o)->list = nullptr;
        g_lib->atk_object_notify_state_change(o, ATK_STATE_DEFUNCT, TRUE);
    }
    g_object_unref(o);
}

AtkObject* RefHeader(Node* table, const AccTable& t, int column)
{
    if (column < 0 || column >= t.columns)
        return nullptr;
    std::vector<AtkObject*>& headers = table->table.headers;
    if (headers.size() < static_cast<size_t>(t.columns))
        headers.resize(static_cast<size_t>(t.columns), nullptr);
    AtkObject*& h = headers[static_cast<size_t>(column)];
    if (!h)
        h = NewCell(table->hwnd, t, -1, column);
    return Ref(h);
}

// A new reference to the cell: kept, and the same object each time, for a row on the screen;
// made afresh for any other.
AtkObject* RefCell(Node* table, const AccTable& t, int row, int column)
{
    if (!InTable(t, row, column))
        return nullptr;
    if (!Shown(t, row))
        return NewCell(table->hwnd, t, row, column);
    TableCache& cache = table->table;
    auto it = cache.cells.find({row, column});
    if (it != cache.cells.end() && CellOf(it->second)->generation == t.generation)
        return Ref(it->second);
    if (it != cache.cells.end()) { // a row of the table before it was emptied
        LetGo(it->second, true);
        cache.cells.erase(it);
        cache.rows.erase(row);
    }
    if (!cache.rows.count(row)) {
        AccRow r;
        DescribeRow(table->hwnd, row, r);
        cache.rows[row] = std::move(r);
    }
    AtkObject* o = NewCell(table->hwnd, t, row, column);
    cache.cells[{row, column}] = o;
    return Ref(o);
}

// --- the cell's AtkObject ---

const gchar* CellGetName(AtkObject* o)
{
    Cell* c = CellOf(o);
    AccDescription d;
    if (!CellLive(c, d))
        return nullptr;
    AccRow row;
    const CString text =
        c->row < 0 ? d.table.headers[static_cast<size_t>(c->column)]
        : DescribeRow(c->list, c->row, row) && static_cast<size_t>(c->column) < row.cells.size()
            ? row.cells[static_cast<size_t>(c->column)]
            : CString();
    c->name = text.ToUtf8();
    return c->name.c_str();
}

AtkObject* CellGetParent(AtkObject* o)
{
    AccDescription d;
    return CellLive(CellOf(o), d) ? ObjectFor(CellOf(o)->list) : nullptr;
}

gint CellGetIndexInParent(AtkObject* o)
{
    const Cell* c = CellOf(o);
    AccDescription d;
    if (!CellLive(c, d))
        return -1;
    return static_cast<gint>(std::min<long long>(
        G_MAXINT, WindowCount(c->list) + ChildIndex(d.table, c->row, c->column)));
}

AtkRole CellGetRole(AtkObject* o)
{
    AccDescription d;
    if (!CellLive(CellOf(o), d))
        return ATK_ROLE_INVALID;
    return CellOf(o)->row < 0 ? ATK_ROLE_TABLE_COLUMN_HEADER : ATK_ROLE_TABLE_CELL;
}

AtkStateSet* CellRefStateSet(AtkObject* o)
{
    const Cell* c = CellOf(o);
    AccDescription d;
    if (!CellLive(c, d)) {
        AtkStateSet* set = g_lib->atk_state_set_new();
        g_lib->atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
        return set;
    }
    namespace acc = wnd::acc;
    AccRow row;
    unsigned states = acc::Enabled;
    if (c->row >= 0 && DescribeRow(c->list, c->row, row))
        states = row.states;
    // A cell is as enabled and as shown as its table, and shown only while its row is.
    states = (states & ~acc::Enabled) | (states & d.states & acc::Enabled) | acc::Visible;
    if ((d.states & acc::Showing) && (c->row < 0 || Shown(d.table, c->row)))
        states |= acc::Showing;
    return StateSetOf(states);
}

// The table's current row (the list's playing one) says so as ARIA's aria-current does.
AtkAttributeSet* CellGetAttributes(AtkObject* o)
{
    const Cell* c = CellOf(o);
    AccDescription d;
    if (!CellLive(c, d) || c->row < 0 || c->row != d.table.current)
        return nullptr;
    auto* current = static_cast<AtkAttribute*>(g_malloc(sizeof(AtkAttribute)));
    current->name = g_strdup("current");
    current->value = g_strdup("true");
    return g_slist_prepend(nullptr, current);
}

void CellFinalize(GObject* o)
{
    auto* c = reinterpret_cast<CellObject*>(o);
    delete c->cell;
    c->cell = nullptr;
    g_cellParentClass->finalize(o);
}

void CellClassInit(gpointer klass, gpointer)
{
    auto* k = static_cast<AtkObjectClass*>(klass);
    k->get_name = CellGetName;
    k->get_parent = CellGetParent;
    k->get_index_in_parent = CellGetIndexInParent;
    k->get_role = CellGetRole;
    k->ref_state_set = CellRefStateSet;
    k->get_attributes = CellGetAttributes;
    g_cellParentClass = G_OBJECT_CLASS(g_type_class_peek_parent(klass));
    G_OBJECT_CLASS(klass)->finalize = CellFinalize;
}

// --- AtkTableCell ---

gint CellSpan(AtkTableCell* tc)
{
    AccDescription d;
    return CellLive(CellOf(tc), d) ? 1 : 0;
}

gboolean CellPosition(AtkTableCell* tc, gint* row, gint* column)
{
    const Cell* c = CellOf(tc);
    AccDescription d;
    if (!CellLive(c, d) || c->row < 0)
        return FALSE;
    *row = c->row;
    *column = c->column;
    return TRUE;
}

gboolean CellRowColumnSpan(AtkTableCell* tc, gint* row, gint* column, gint* rowSpan,
                           gint* columnSpan)
{
    if (!CellPosition(tc, row, column))
        return FALSE;
    *rowSpan = *columnSpan = 1;
    return TRUE;
}

GPtrArray* CellColumnHeaders(AtkTableCell* tc)
{
    GPtrArray* out = g_ptr_array_new_with_free_func(g_object_unref);
    const Cell* c = CellOf(tc);
    AccDescription d;
    if (CellLive(c, d) && c->row >= 0)
        if (AtkObject* h = RefHeader(FindNode(c->list), d.table, c->column))
            g_ptr_array_add(out, h);
    return out;
}

GPtrArray* CellRowHeaders(AtkTableCell*)
{
    return g_ptr_array_new_with_free_func(g_object_unref);
}

AtkObject* CellTable(AtkTableCell* tc)
{
    AccDescription d;
    return CellLive(CellOf(tc), d) ? Ref(ObjectFor(CellOf(tc)->list)) : nullptr;
}

void TableCellInit(gpointer iface, gpointer)
{
    auto* i = static_cast<AtkTableCellIface*>(iface);
    i->get_column_span = CellSpan;
    i->get_row_span = CellSpan;
    i->get_position = CellPosition;
    i->get_row_column_span = CellRowColumnSpan;
    i->get_column_header_cells = CellColumnHeaders;
    i->get_row_header_cells = CellRowHeaders;
    i->get_table = CellTable;
}

// --- the table's AtkTable and AtkSelection ---

// The table's node and description, while its window is there.
template <typename T> Node* TableOf(T* o, AccDescription& d)
{
    Node* n = NodeOfWindowObject(reinterpret_cast<AtkObject*>(o));
    if (!LiveWindow(n))
        return nullptr;
    d = Describe(n->hwnd);
    return d.role == AccRole::Table ? n : nullptr;
}

AtkObject* TableRefAt(AtkTable* t, gint row, gint column)
{
    AccDescription d;
    Node* n = TableOf(t, d);
    return n ? RefCell(n, d.table, row, column) : nullptr;
}

gint TableIndexAt(AtkTable* t, gint row, gint column)
{
    AccDescription d;
    Node* n = TableOf(t, d);
    if (!n || !InTable(d.table, row, column))
        return -1;
    return static_cast<gint>(
        std::min<long long>(G_MAXINT, WindowCount(n->hwnd) + ChildIndex(d.table, row, column)));
}

// The row and column of child `index` (-1 for a header's row); false for no cell or header.
bool PlaceOf(Node* n, const AccTable& t, gint index, int& row, int& column)
{
    const long long i = static_cast<long long>(index) - WindowCount(n->hwnd);
    if (i < 0 || t.columns <= 0)
        return false;
    row = static_cast<int>(i / t.columns) - 1;
    column = static_cast<int>(i % t.columns);
    return row < t.rows;
}

gint TableColumnAtIndex(AtkTable* t, gint index)
{
    AccDescription d;
    Node* n = TableOf(t, d);
    int row, column;
    return n && PlaceOf(n, d.table, index, row, column) ? column : -1;
}

gint TableRowAtIndex(AtkTable* t, gint index)
{
    AccDescription d;
    Node* n = TableOf(t, d);
    int row, column;
    return n && PlaceOf(n, d.table, index, row, column) ? row : -1;
}

gint TableColumns(AtkTable* t)
{
    AccDescription d;
    return TableOf(t, d) ? d.table.columns : 0;
}

gint TableRows(AtkTable* t)
{
    AccDescription d;
    return TableOf(t, d) ? d.table.rows : 0;
}

gint TableExtent(AtkTable* t, gint row, gint column)
{
    AccDescription d;
    return TableOf(t, d) && InTable(d.table, row, column) ? 1 : 0;
}

const gchar* TableColumnDescription(AtkTable* t, gint column)
{
    AccDescription d;
    Node* n = TableOf(t, d);
    if (!n || column < 0 || column >= d.table.columns)
        return nullptr;
    std::vector<std::string>& texts = n->table.headerTexts;
    texts.resize(static_cast<size_t>(d.table.columns));
    texts[static_cast<size_t>(column)] = d.table.headers[static_cast<size_t>(column)].ToUtf8();
    return texts[static_cast<size_t>(column)].c_str();
}

// Transfer none: the table keeps its headers.
AtkObject* TableColumnHeader(AtkTable* t, gint column)
{
    AccDescription d;
    Node* n = TableOf(t, d);
    AtkObject* h = n ? RefHeader(n, d.table, column) : nullptr;
    if (h)
        g_object_unref(h);
    return h;
}

gint TableSelectedRows(AtkTable* t, gint** selected)
{
    AccDescription d;
    if (selected)
        *selected = nullptr;
    if (!TableOf(t, d) || d.table.selected < 0)
        return 0;
    if (selected) {
        *selected = g_new(gint, 1);
        **selected = d.table.selected;
    }
    return 1;
}

gint TableSelectedColumns(AtkTable*, gint** selected)
{
    if (selected)
        *selected = nullptr;
    return 0;
}

gboolean TableRowSelected(AtkTable* t, gint row)
{
    AccDescription d;
    return TableOf(t, d) && row >= 0 && row == d.table.selected;
}

gboolean TableCellSelected(AtkTable* t, gint row, gint column)
{
    AccDescription d;
    return TableOf(t, d) && InTable(d.table, row, column) && row == d.table.selected;
}

// The selection is made from the message loop, as a click's would be: the caller is answered at
// once, and a parent that opens a dialog on it does not hold the accessibility bus meanwhile.
gboolean SelectRow(Node* n, const AccTable& t, int row)
{
    if (row < 0 || row >= t.rows)
        return FALSE;
    return ::PostMessageW(n->hwnd, WM_ACCSELECTROW, static_cast<WPARAM>(row), 0);
}

gboolean TableAddRowSelection(AtkTable* t, gint row)
{
    AccDescription d;
    Node* n = TableOf(t, d);
    return n && SelectRow(n, d.table, row);
}

gboolean Refuse(AtkTable*, gint)
{
    return FALSE;
}

void TableInit(gpointer iface, gpointer)
{
    auto* i = static_cast<AtkTableIface*>(iface);
    i->ref_at = TableRefAt;
    i->get_index_at = TableIndexAt;
    i->get_column_at_index = TableColumnAtIndex;
    i->get_row_at_index = TableRowAtIndex;
    i->get_n_columns = TableColumns;
    i->get_n_rows = TableRows;
    i->get_column_extent_at = TableExtent;
    i->get_row_extent_at = TableExtent;
    i->get_column_description = TableColumnDescription;
    i->get_column_header = TableColumnHeader;
    i->get_selected_rows = TableSelectedRows;
    i->get_selected_columns = TableSelectedColumns;
    i->is_row_selected = TableRowSelected;
    i->is_column_selected = Refuse;
    i->is_selected = TableCellSelected;
    i->add_row_selection = TableAddRowSelection;
    i->remove_row_selection = Refuse;
    i->add_column_selection = Refuse;
    i->remove_column_selection = Refuse;
}

gboolean SelectionAdd(AtkSelection* s, gint index)
{
    AccDescription d;
    Node* n = TableOf(s, d);
    int row, column;
    return n && PlaceOf(n, d.table, index, row, column) && SelectRow(n, d.table, row);
}

gboolean SelectionRefuse(AtkSelection*)
{
    return FALSE;
}

gboolean SelectionRemove(AtkSelection*, gint)
{
    return FALSE;
}

// The selected row's first cell stands for the one selected child.
AtkObject* SelectionRef(AtkSelection* s, gint i)
{
    AccDescription d;
    Node* n = TableOf(s, d);
    return n && i == 0 && d.table.selected >= 0 ? RefCell(n, d.table, d.table.selected, 0)
                                                : nullptr;
}

gint SelectionCount(AtkSelection* s)
{
    AccDescription d;
    return TableOf(s, d) && d.table.selected >= 0 && d.table.columns > 0 ? 1 : 0;
}

gboolean SelectionHas(AtkSelection* s, gint index)
{
    AccDescription d;
    Node* n = TableOf(s, d);
    int row, column;
    return n && PlaceOf(n, d.table, index, row, column) && row >= 0 && row == d.table.selected;
}

void SelectionInit(gpointer iface, gpointer)
{
    auto* i = static_cast<AtkSelectionIface*>(iface);
    i->add_selection = SelectionAdd;
    i->clear_selection = SelectionRefuse;
    i->ref_selection = SelectionRef;
    i->get_selection_count = SelectionCount;
    i->is_child_selected = SelectionHas;
    i->remove_selection = SelectionRemove;
    i->select_all_selection = SelectionRefuse;
}

} // namespace

gint TableChildCount(const AccTable& t)
{
    return static_cast<gint>(std::min<long long>(G_MAXINT, ChildIndex(t, t.rows, 0)));
}

AtkObject* RefTableChild(Node* table, const AccTable& t, gint index)
{
    if (index < 0 || t.columns <= 0)
        return nullptr;
    const int row = index / t.columns - 1, column = index % t.columns;
    return row < 0 ? RefHeader(table, t, column) : RefCell(table, t, row, column);
}

void AddTableInterfaces(GType tableType)
{
    g_lib = LoadAtk();
    const GInterfaceInfo table{TableInit, nullptr, nullptr};
    const GInterfaceInfo selection{SelectionInit, nullptr, nullptr};
    g_type_add_interface_static(tableType, g_lib->atk_table_get_type(), &table);
    g_type_add_interface_static(tableType, g_lib->atk_selection_get_type(), &selection);
    if (g_cellType)
        return;
    GTypeInfo cell{};
    cell.class_size = sizeof(CellObjectClass);
    cell.class_init = CellClassInit;
    cell.instance_size = sizeof(CellObject);
    g_cellType = g_type_register_static(g_lib->atk_object_get_type(), "SkinkitCellAccessible",
                                        &cell, GTypeFlags(0));
    const GInterfaceInfo tableCell{TableCellInit, nullptr, nullptr};
    g_type_add_interface_static(g_cellType, g_lib->atk_table_cell_get_type(), &tableCell);
}

void ReportTable(Node* node, const AccTable& was, const AccTable& now)
{
    TableCache& cache = node->table;
    AtkObject* table = node->object;
    const long long windows = WindowCount(node->hwnd);
    const auto index = [&](const AccTable& t, int row, int column) {
        return static_cast<gint>(
            std::min<long long>(G_MAXINT, windows + ChildIndex(t, row, column)));
    };
    const bool emptied = now.generation != was.generation;
    const bool reshaped = now.columns != was.columns;
    // Kept cells of rows that went leave, from the last so that each index is still right;
    // with new columns every index moves, and the cells are made afresh when asked.
    for (auto it = cache.cells.end(); it != cache.cells.begin();) {
        --it;
        const int row = it->first.first;
        const bool gone = emptied || row >= now.rows;
        if (!gone && !reshaped)
            continue;
        if (gone)
            g_signal_emit_by_name(table, "children-changed::remove",
                                  index(was, row, it->first.second), it->second);
        LetGo(it->second, gone);
        cache.rows.erase(row);
        it = cache.cells.erase(it);
    }
    if (emptied && was.rows > 0)
        g_signal_emit_by_name(table, "row-deleted", 0, was.rows);
    else if (now.rows < was.rows)
        g_signal_emit_by_name(table, "row-deleted", now.rows, was.rows - now.rows);
    if (reshaped) {
        for (size_t c = static_cast<size_t>(std::max(now.columns, 0)); c < cache.headers.size();
             ++c)
            if (cache.headers[c])
                LetGo(cache.headers[c], true);
        cache.headers.resize(
            std::min(cache.headers.size(), static_cast<size_t>(std::max(now.columns, 0))));
        g_signal_emit_by_name(table, "model-changed");
    }
    for (size_t c = 0; c < cache.headers.size(); ++c)
        if (cache.headers[c] && c < was.headers.size() && c < now.headers.size() &&
            was.headers[c] != now.headers[c])
            g_object_notify(G_OBJECT(cache.headers[c]), "accessible-name");
    // New rows: those on the screen are announced cell by cell, all of them by row-inserted.
    const int firstNew = emptied ? 0 : std::min(was.rows, now.rows);
    if (now.rows > firstNew) {
        g_signal_emit_by_name(table, "row-inserted", firstNew, now.rows - firstNew);
        for (int r = std::max(firstNew, now.firstShown); Shown(now, r); ++r)
            for (int c = 0; c < now.columns; ++c) {
                AtkObject* o = RefCell(node, now, r, c);
                g_signal_emit_by_name(table, "children-changed::add", index(now, r, c), o);
                g_object_unref(o);
            }
    }
    namespace acc = wnd::acc;
    const auto eachKept = [&](int row, auto&& f) {
        for (int c = 0; c < now.columns; ++c)
            if (auto it = cache.cells.find({row, c}); it != cache.cells.end())
                f(c, it->second);
    };
    if (now.selected != was.selected) {
        eachKept(was.selected, [&](int, AtkObject* o) {
            g_lib->atk_object_notify_state_change(o, ATK_STATE_SELECTED, FALSE);
        });
        eachKept(now.selected, [&](int, AtkObject* o) {
            g_lib->atk_object_notify_state_change(o, ATK_STATE_SELECTED, TRUE);
        });
        g_signal_emit_by_name(table, "selection-changed");
        // A reader following the focused table hears of the row the keys moved to.
        if (::GetFocus() == node->hwnd && Shown(now, now.selected) && now.columns > 0) {
            AtkObject* o = RefCell(node, now, now.selected, 0);
            g_signal_emit_by_name(table, "active-descendant-changed", o);
            g_object_unref(o);
        }
    }
    // The kept rows: their checks and texts.
    for (auto& kept : cache.rows) {
        const int row = kept.first;
        AccRow& told = kept.second;
        AccRow fresh;
        if (!DescribeRow(node->hwnd, row, fresh))
            continue;
        const unsigned changed = (fresh.states ^ told.states) & ~acc::Selected;
        eachKept(row, [&](int c, AtkObject* o) {
            NotifyStates(o, changed, fresh.states);
            const auto k = static_cast<size_t>(c);
            if (k < told.cells.size() && k < fresh.cells.size() && told.cells[k] != fresh.cells[k])
                g_object_notify(G_OBJECT(o), "accessible-name");
        });
        told = std::move(fresh);
    }
    // Only the rows on the screen keep their cells.
    for (auto it = cache.cells.begin(); it != cache.cells.end();) {
        if (Shown(now, it->first.first)) {
            ++it;
            continue;
        }
        LetGo(it->second, false);
        it = cache.cells.erase(it);
    }
    for (auto it = cache.rows.begin(); it != cache.rows.end();)
        it = Shown(now, it->first) ? std::next(it) : cache.rows.erase(it);
}

void DropTable(Node* node)
{
    TableCache& cache = node->table;
    for (AtkObject* h : cache.headers)
        if (h)
            LetGo(h, true);
    for (auto& [place, o] : cache.cells)
        LetGo(o, true);
    cache = TableCache{};
}

} // namespace platform::a11y
#endif
