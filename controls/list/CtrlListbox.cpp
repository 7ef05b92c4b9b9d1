#include "controls/list/CtrlListbox.h"

#include "controls/KeyboardAccess.h"
#include "controls/OwnerDraw.h"
#include "controls/list/ListAccess.h"

#include <climits>

IMPLEMENT_DYNAMIC(CCtrlListbox, CWnd);

BEGIN_MESSAGE_MAP(CCtrlListbox, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_MESSAGE(UM_VSCROLL_POS, OnVScrollMessage)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCodeFor)
ON_MESSAGE(WM_ACCDESCRIBE, OnAccDescribe)
ON_MESSAGE(WM_ACCDESCRIBEROW, OnAccDescribeRow)
ON_MESSAGE(WM_ACCSELECTROW, OnAccSelectRow)
END_MESSAGE_MAP()

namespace {
constexpr int kDefaultBarWidth = 12;
}

CCtrlListbox::CCtrlListbox()
    : m_pImage{}, m_rcBase(0, 0, 564, 100), m_nRowHeight(32), m_nRowHeightHeader(32),
      m_nTopIndex(0), m_pVScroll(nullptr), m_nFontSize(0), m_nPlayStatus(0)
{
    for (Gdiplus::Color& c : m_clr)
        c = Gdiplus::Color(0xFF000000u);
}

CCtrlListbox::~CCtrlListbox()
{
    delete m_pVScroll;
    m_pVScroll = nullptr;
    m_model.DeleteAllItems();
    // The window goes while this object is still a list, so that OnDestroy frees the columns.
    ownerdraw::DestroyOwnWindow(*this);
}

// --- helpers ---

list::Design CCtrlListbox::DesignNow() const
{
    return {static_cast<long long>(m_rcBase.right) - m_rcBase.left, m_nRowHeight,
            m_nRowHeightHeader};
}

list::HitQuery CCtrlListbox::Query() const
{
    return {m_model, m_layout, m_nTopIndex};
}

int CCtrlListbox::BarWidth() const
{
    if (!m_pVScroll)
        return 0;
    Gdiplus::Image* track = m_pImage[list::kScrollTrack];
    return track ? static_cast<int>(track->GetWidth()) : kDefaultBarWidth;
}

void CCtrlListbox::Relayout(int cx, int cy, bool placeBar)
{
    const int barWidth = BarWidth();
    if (!list::ComputeLayout(m_model, DesignNow(), cx, cy, m_layout, barWidth))
        return;
    m_nTopIndex = list::CorrectTopIndex(m_nTopIndex, m_model.GetItemCount(), m_layout.maxRowCount);
    if (!m_pVScroll)
        return;
    m_pVScroll->SetCurPos(m_nTopIndex, 0);
    if (placeBar)
        m_pVScroll->MoveWindow(cx - barWidth, 0, barWidth, cy, TRUE);
    m_pVScroll->SetMaxRowCount(m_layout.maxRowCount);
}

void CCtrlListbox::Relayout(bool redraw)
{
    if (!m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    Relayout(rc.Width(), rc.Height(), false);
    if (redraw)
        Redraw();
}

void CCtrlListbox::Redraw()
{
    if (!m_hWnd)
        return;
    // The attached bar repaints itself when its own state changes; leaving its strip out
    // keeps a list repaint from repainting the bar and its arrows as well.
    CRect rc;
    GetClientRect(&rc);
    if (m_pVScroll && m_layout.width == rc.Width() && m_layout.contentWidth > 0)
        rc.right = rc.left + m_layout.contentWidth;
    InvalidateRect(&rc, TRUE);
}

void CCtrlListbox::TellBar()
{
    if (m_pVScroll)
        m_pVScroll->SetCurPos(m_nTopIndex, 0);
}

void CCtrlListbox::Notify(UINT message, int row)
{
    ownerdraw::SendToParent(*this, message, static_cast<WPARAM>(static_cast<LONG_PTR>(row)),
                            static_cast<LPARAM>(GetDlgCtrlID()));
}

// --- settings ---

void CCtrlListbox::SetBaseRect(CRect rc)
{
    m_rcBase = rc;
    Relayout(false);
}
void CCtrlListbox::SetRowHeight(int height)
{
    m_nRowHeight = height;
    Relayout(false);
}
void CCtrlListbox::SetRowHeightHeader(int height)
{
    m_nRowHeightHeader = height;
    Relayout(false);
}

void CCtrlListbox::SetColor(int index, Gdiplus::Color colour)
{
    if (index >= 0 && index < list::kColourCount)
        m_clr[index] = colour;
}

void CCtrlListbox::SetImage(Gdiplus::Image* image, int slot)
{
    if (slot >= 0 && slot < list::kSlotCount)
        m_pImage[slot] = image;
}

void CCtrlListbox::SetInitFont(CString family, int size)
{
    m_strFontName = std::move(family);
    m_nFontSize = size;
}

void CCtrlListbox::ActivateCheckbox()
{
    m_model.m_bCheckbox = 1;
}

void CCtrlListbox::ShowHeaderCheckbox(int show)
{
    m_model.ShowHeaderCheckbox(show);
}

void CCtrlListbox::SetOption(int showIndicator, int indicateEnable)
{
    m_model.SetOption(showIndicator, indicateEnable);
}

void CCtrlListbox::SetPlayStatus(int status)
{
    m_nPlayStatus = status;
    Redraw();
}

void CCtrlListbox::UpdateListbox()
{
    Redraw();
}

void CCtrlListbox::ActivateVScroll(int scrollType)
{
    if (m_pVScroll || !m_hWnd)
        return;
    auto* bar = new CCtrlVScroll;
    if (!bar->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, 0)) {
        delete bar;
        return;
    }
    m_pVScroll = bar;
    bar->SetImage(m_pImage[list::kScrollTop], 0);
    bar->SetImage(m_pImage[list::kScrollBottom], 1);
    bar->SetImage(m_pImage[list::kScrollTrack], 2);
    bar->SetImage(m_pImage[list::kScrollThumb], 3);
    bar->SetScrollType(scrollType);
}

// --- columns ---

void CCtrlListbox::InsertColumn(int column, CString text, int width, int separator)
{
    m_model.InsertColumn(column, std::move(text), width, separator);
    Relayout(false);
}

void CCtrlListbox::SetColumnAlign(int column, Gdiplus::StringAlignment align, int redraw)
{
    if (list::Column* c = m_model.GetColumn(column))
        c->nAlign = align;
    if (redraw)
        Redraw();
}

void CCtrlListbox::SetColumnWidth(int column, int width, int redraw)
{
    if (list::Column* c = m_model.GetColumn(column))
        c->nWidth = width;
    Relayout(redraw != 0);
}

void CCtrlListbox::SetColumnText(int column, CString text, int redraw)
{
    if (list::Column* c = m_model.GetColumn(column))
        c->strText = std::move(text);
    if (redraw)
        Redraw();
}

// --- rows and cells ---

void CCtrlListbox::InsertItem(int row, CString text)
{
    if (!m_model.InsertItem(row, std::move(text)))
        return;
    if (m_pVScroll)
        m_pVScroll->SetItemCount(m_model.GetItemCount());
    // Hosts repaint once after filling the list; a screen reader hears of the rows at once.
    if (m_hWnd)
        platform::wnd::AccessibleChanged(m_hWnd);
}

void CCtrlListbox::SetItemText(int row, int column, CString text)
{
    m_model.SetItemText(row, column, std::move(text));
}

void CCtrlListbox::SetItemDisabled(int row, int disabled)
{
    list::Item* item = m_model.GetItem(row);
    if (!item || item->bDisabled == (disabled != 0))
        return;
    item->bDisabled = disabled != 0;
    Redraw();
}

int CCtrlListbox::IsItemDisabled(int row)
{
    const list::Item* item = m_model.GetItem(row);
    return item && item->bDisabled ? 1 : 0;
}

void CCtrlListbox::SetItemToolTip(int row, CString text)
{
    list::Item* item = m_model.GetItem(row);
    if (!item)
        return;
    item->strToolTip = std::move(text);
    if (row != m_nToolTipRow || !m_toolTip)
        return;
    const UINT_PTR tool = static_cast<UINT_PTR>(row) + 1;
    if (item->strToolTip.IsEmpty()) {
        m_toolTip->DelTool(this, tool);
        m_nToolTipRow = -1;
    } else {
        m_toolTip->UpdateTipText(item->strToolTip, this, tool);
    }
}

CString CCtrlListbox::GetItemToolTip(int row)
{
    const list::Item* item = m_model.GetItem(row);
    return item ? item->strToolTip : CString();
}

void CCtrlListbox::SetItemImage(int row, int column, Gdiplus::Bitmap* bitmap)
{
    m_model.SetItemImage(row, column, bitmap);
}

void CCtrlListbox::SetItemImage(int row, int column, CString path)
{
    m_model.SetItemImage(row, column, path);
}

int CCtrlListbox::AddItemData(int row, DWORD value)
{
    return m_model.AddItemData(row, value);
}

DWORD CCtrlListbox::GetItemData(int row, int position)
{
    return m_model.GetItemData(row, position);
}

int CCtrlListbox::GetItemCount()
{
    return m_model.GetItemCount();
}

void CCtrlListbox::DeleteAllItems()
{
    m_model.DeleteAllItems();
    m_nTopIndex = 0;
    if (m_toolTip && m_nToolTipRow >= 0)
        m_toolTip->DelTool(this, static_cast<UINT_PTR>(m_nToolTipRow) + 1);
    m_nToolTipRow = -1;
    if (m_pVScroll) {
        m_pVScroll->SetItemCount(0);
        m_pVScroll->SetCurPos(0, 0);
    }
    if (m_hWnd)
        platform::wnd::AccessibleChanged(m_hWnd);
}

// --- selection, indication, checks ---

int CCtrlListbox::GetSelectedItem()
{
    return m_model.m_nSelectedItem;
}

int CCtrlListbox::GetIndicatedItem()
{
    return m_model.m_nIndicatedItem;
}

void CCtrlListbox::SetItemState(int row, UINT state)
{
    m_model.SetItemState(row, state);
    Redraw();
}

int CCtrlListbox::GetCheck(int row)
{
    return m_model.GetCheck(row);
}

void CCtrlListbox::SetCheck(int row, int state)
{
    if (row < 0 && state < 0)
        return;
    m_model.SetCheck(row, state);
    Redraw();
}

int CCtrlListbox::GetCheckedCount()
{
    return m_model.GetCheckedCount();
}

int CCtrlListbox::GetFirstCheckedIndex()
{
    return m_model.GetNextCheckedIndex(-1);
}

int CCtrlListbox::GetNextCheckedIndex(int row)
{
    return m_model.GetNextCheckedIndex(row);
}

int CCtrlListbox::GetLastCheckedIndex()
{
    return m_model.GetPrevCheckedIndex(m_model.GetItemCount());
}

int CCtrlListbox::GetPrevCheckedIndex(int row)
{
    return m_model.GetPrevCheckedIndex(row);
}

// --- scrolling ---

void CCtrlListbox::EnsureVisible(int row)
{
    const int top =
        list::EnsureVisibleTop(m_nTopIndex, m_layout.maxRowCount, m_model.GetItemCount(), row);
    if (top == m_nTopIndex)
        return;
    m_nTopIndex = top;
    TellBar();
    Redraw();
}

// --- handlers ---

int CCtrlListbox::OnCreate(LPCREATESTRUCT createStruct)
{
    return CWnd::OnCreate(createStruct) == -1 ? -1 : 0;
}

void CCtrlListbox::TrackToolTip(CPoint point)
{
    const list::Hit hit = list::HitTestDoubleClick(Query(), point);
    const list::Item* item = hit.part == list::HitPart::Row ? m_model.GetItem(hit.row) : nullptr;
    const int row = item && !item->strToolTip.IsEmpty() ? hit.row : -1;
    if (row == m_nToolTipRow)
        return;
    if (m_nToolTipRow >= 0 && m_toolTip)
        m_toolTip->DelTool(this, static_cast<UINT_PTR>(m_nToolTipRow) + 1);
    m_nToolTipRow = -1;
    if (row < 0)
        return;
    if (!m_toolTip) {
        auto tip = std::make_unique<CToolTipCtrl>();
        if (!tip->Create(this))
            return;
        m_toolTip = std::move(tip);
    }
    // The place's rectangle: a move off the row (or a scroll under a resting mouse, at the
    // next move) ends the tool.
    const size_t place = static_cast<size_t>(static_cast<long long>(row) - m_nTopIndex);
    if (place >= m_layout.rowRects.size())
        return;
    const CRect rect = m_layout.rowRects[place];
    if (m_toolTip->AddTool(this, item->strToolTip, &rect, static_cast<UINT_PTR>(row) + 1))
        m_nToolTipRow = row;
}

BOOL CCtrlListbox::PreTranslateMessage(MSG* msg)
{
    if (msg && msg->hwnd == m_hWnd && msg->message == WM_MOUSEMOVE)
        TrackToolTip(CPoint(msg->lParam));
    if (m_toolTip)
        m_toolTip->RelayEvent(msg);
    return CWnd::PreTranslateMessage(msg);
}

void CCtrlListbox::OnDestroy()
{
    if (m_toolTip && m_toolTip->m_hWnd)
        m_toolTip->DestroyWindow();
    m_toolTip.reset();
    m_nToolTipRow = -1;
    CWnd::OnDestroy();
    m_model.DeleteColumns();
}

void CCtrlListbox::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    Relayout(cx, cy, true);
}

void CCtrlListbox::OnPaint()
{
    CPaintDC dc(this);
    const int fontSize = list::ScaledFontSize(m_nFontSize, m_layout.scale.s);
    m_regular.SetInit(m_strFontName, fontSize, Gdiplus::FontStyleRegular);
    m_bold.SetInit(m_strFontName, fontSize, Gdiplus::FontStyleBold);
    const list::PaintInput in{m_model, m_layout, m_pImage, m_clr, m_nTopIndex, m_nPlayStatus};
    ownerdraw::Compose(
        dc, CSize(m_layout.contentWidth, m_layout.height), ownerdraw::kPixelExact,
        [&](Gdiplus::Graphics& g, int, int h) { list::PaintList(g, in, h, m_regular, m_bold); });
    ownerdraw::PaintFocus(*this, dc, CSize(m_layout.contentWidth, m_layout.height), m_focusLook);
}

void CCtrlListbox::OnLButtonDown(UINT flags, CPoint point)
{
    SetFocus();
    CWnd::OnLButtonDown(flags, point);
}

void CCtrlListbox::OnLButtonUp(UINT flags, CPoint point)
{
    const list::Hit hit = list::HitTestClick(Query(), point);
    switch (hit.part) {
    case list::HitPart::HeaderCheck:
        m_model.ToggleHeaderCheck();
        Redraw();
        Notify(UM_LISTBOX_CHECK, -1);
        break;
    case list::HitPart::RowCheck:
        m_model.ToggleRowCheck(hit.row);
        Redraw();
        Notify(UM_LISTBOX_CHECK, hit.row);
        break;
    case list::HitPart::Row:
        ClickRow(hit.row);
        break;
    case list::HitPart::Nothing:
        break;
    }
    CWnd::OnLButtonUp(flags, point);
}

void CCtrlListbox::OnLButtonDblClk(UINT flags, CPoint point)
{
    const list::Hit hit = list::HitTestDoubleClick(Query(), point);
    if (hit.part == list::HitPart::Row) {
        if (m_model.m_bIndicateEnable) {
            m_model.m_nIndicatedItem = hit.row;
            Redraw();
        }
        Notify(UM_LISTBOX_DBLCLK, hit.row);
    }
    CWnd::OnLButtonDblClk(flags, point);
}

BOOL CCtrlListbox::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    const int top =
        list::WheelTop(m_nTopIndex, m_layout.maxRowCount, m_model.GetItemCount(), delta);
    if (top != m_nTopIndex) {
        m_nTopIndex = top;
        Redraw();
        TellBar();
    }
    return CWnd::OnMouseWheel(flags, delta, point);
}

LRESULT CCtrlListbox::OnVScrollMessage(WPARAM position, LPARAM)
{
    m_nTopIndex = static_cast<int>(position);
    Redraw();
    return 0;
}

// --- keys ---

namespace {

bool MoveKey(UINT vk, list::Key* key)
{
    return skinkit::KeyFor<list::Key>(vk,
                                      {{VK_UP, list::Key::Up},
                                       {VK_DOWN, list::Key::Down},
                                       {VK_PRIOR, list::Key::PageUp},
                                       {VK_NEXT, list::Key::PageDown},
                                       {VK_HOME, list::Key::Home},
                                       {VK_END, list::Key::End}},
                                      key);
}

} // namespace

void CCtrlListbox::ClickRow(int row)
{
    m_model.m_nSelectedItem = row;
    Redraw();
    Notify(UM_LISTBOX_CLICK, row);
}

bool CCtrlListbox::TakesKeys() const
{
    return skinkit::KeyboardAccessEnabled() && !::GetCapture();
}

void CCtrlListbox::SelectFromKey(int row)
{
    if (!m_model.GetItem(row))
        return;
    EnsureVisible(row);
    if (row == m_model.m_nSelectedItem)
        return;
    ClickRow(row);
}

void CCtrlListbox::OpenSelected()
{
    const int row = m_model.m_nSelectedItem;
    if (!m_model.GetItem(row))
        return;
    EnsureVisible(row);
    // The parent may empty the list or destroy it while it hears each message; what a mouse
    // would then hit is gone, so the rest of the sequence is not sent.
    auto stillThere = [this, row] { return m_hWnd && m_model.GetItem(row); };
    ClickRow(row);
    if (!stillThere())
        return;
    if (m_model.m_bIndicateEnable) {
        m_model.m_nIndicatedItem = row;
        Redraw();
    }
    Notify(UM_LISTBOX_DBLCLK, row);
    if (!stillThere())
        return;
    ClickRow(row);
}

void CCtrlListbox::ToggleSelectedCheck()
{
    const int row = m_model.m_nSelectedItem;
    // Every place's box has the same size: one of no size takes no click.
    if (!m_model.m_bCheckbox || !m_model.GetItem(row) || m_layout.checkRects.empty() ||
        m_layout.checkRects.front().IsRectEmpty())
        return;
    EnsureVisible(row);
    m_model.ToggleRowCheck(row);
    Redraw();
    Notify(UM_LISTBOX_CHECK, row);
}

// The focus look comes and goes with the focus, where the keys are on.
void CCtrlListbox::OnSetFocus(CWnd*)
{
    ownerdraw::RepaintForFocus(*this);
    Default();
}

void CCtrlListbox::OnKillFocus(CWnd*)
{
    ownerdraw::RepaintForFocus(*this);
    Default();
}

void CCtrlListbox::OnKeyDown(UINT vk, UINT, UINT)
{
    list::Key key;
    if (!TakesKeys()) {
        Default();
    } else if (MoveKey(vk, &key)) {
        SelectFromKey(list::RowForKey(key, m_model.m_nSelectedItem, m_nTopIndex,
                                      m_layout.maxRowCount, m_model.GetItemCount()));
    } else if (vk == VK_RETURN) {
        OpenSelected();
    } else if (vk == VK_SPACE && !m_typeAhead.Typing(GetMessageTime())) {
        // A space typed inside a type-ahead text is part of the text (OnChar), not a toggle.
        ToggleSelectedCheck();
    } else {
        Default();
    }
}

void CCtrlListbox::OnChar(UINT ch, UINT, UINT)
{
    if (!TakesKeys()) {
        Default();
        return;
    }
    const int row = m_typeAhead.Type(m_model, ch, GetMessageTime(), m_model.m_nSelectedItem);
    if (row >= 0)
        SelectFromKey(row);
}

LRESULT CCtrlListbox::OnGetDlgCodeFor(WPARAM, LPARAM msg)
{
    if (!skinkit::KeyboardAccessEnabled())
        return Default();
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    // Enter opens the focused list's row instead of pressing the dialog's default button.
    const MSG* m = reinterpret_cast<const MSG*>(msg);
    if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && ::GetFocus() == m_hWnd)
        code |= DLGC_WANTMESSAGE;
    return code;
}

// --- assistive technology ---

LRESULT CCtrlListbox::OnAccDescribe(WPARAM, LPARAM lParam)
{
    Default();
    if (auto* d = reinterpret_cast<platform::wnd::AccDescription*>(lParam)) {
        d->role = platform::wnd::AccRole::Table;
        if (skinkit::KeyboardAccessEnabled())
            d->states |= platform::wnd::acc::Focusable;
        d->table = list::DescribeTable(m_model, m_nTopIndex, m_layout.maxRowCount);
    }
    return TRUE;
}

namespace {

// A row index passed as a WPARAM; -1 for one no row can have.
int RowOf(WPARAM row)
{
    return row <= static_cast<WPARAM>(INT_MAX) ? static_cast<int>(row) : -1;
}

} // namespace

LRESULT CCtrlListbox::OnAccDescribeRow(WPARAM row, LPARAM lParam)
{
    auto* out = reinterpret_cast<platform::wnd::AccRow*>(lParam);
    return out && list::DescribeRow(m_model, RowOf(row), *out);
}

LRESULT CCtrlListbox::OnAccSelectRow(WPARAM wParam, LPARAM)
{
    const int row = RowOf(wParam);
    if (!m_model.GetItem(row))
        return FALSE;
    // The row is brought into view first, as the keys bring it, so that what is selected
    // is also what the screen shows; then exactly what a click on it does.
    EnsureVisible(row);
    ClickRow(row);
    return TRUE;
}
