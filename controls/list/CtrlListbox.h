// A skinned multi-column list: a child window filled with rows of texts and small pictures,
// with optional check boxes per row and in the header, a selected row, an indicated row that
// carries a play-status icon, and an attached skinned scroll bar. It scales with its window
// (columns both ways, rows, header and font only down) and tells its parent of clicks, double
// clicks and check changes with the row and the list's control id. Skin images stay the
// caller's; the rows' pictures are the list's own copies.
#pragma once

#include "controls/FocusLook.h"
#include "controls/list/CtrlVScroll.h"
#include "controls/list/ListInput.h"
#include "controls/list/ListKeys.h"
#include "controls/list/ListLayout.h"
#include "controls/list/ListModel.h"
#include "controls/list/ListPaint.h"
#include "controls/wndsys.h"
#include "paint/CtrlGDIpString.h"

// To the parent: wParam the row (−1 for the header check box), lParam the list's control id.
constexpr UINT UM_LISTBOX_CLICK = WM_USER + 300;
constexpr UINT UM_LISTBOX_DBLCLK = WM_USER + 301;
constexpr UINT UM_LISTBOX_CHECK = WM_USER + 302;

class CCtrlListbox : public CWnd, public CCtrlFocusLook
{
    DECLARE_DYNAMIC(CCtrlListbox)
public:
    using CItem = list::Item;

    CCtrlListbox();
    ~CCtrlListbox() override;

    // --- settings ---
    void SetBaseRect(CRect rc);
    void SetRowHeight(int height);
    void SetRowHeightHeader(int height);
    // Indices outside 0..4 are rejected.
    void SetColor(int index, Gdiplus::Color colour);
    // Slots outside 0..14 are rejected.
    void SetImage(Gdiplus::Image* image, int slot);
    void SetInitFont(CString family, int size);
    void ActivateCheckbox();
    void ShowHeaderCheckbox(int show);
    void SetOption(int showIndicator, int indicateEnable);
    void SetPlayStatus(int status);
    void UpdateListbox();
    // Attaches the scroll bar once, skinned from slots 10 to 13; it is placed at the next size.
    void ActivateVScroll(int scrollType);

    // --- columns ---
    void InsertColumn(int column, CString text, int width, int separator);
    void SetColumnAlign(int column, Gdiplus::StringAlignment align, int redraw);
    void SetColumnWidth(int column, int width, int redraw);
    void SetColumnText(int column, CString text, int redraw);

    // --- rows and cells ---
    void InsertItem(int row, CString text);
    void SetItemText(int row, int column, CString text);
    void SetItemImage(int row, int column, Gdiplus::Bitmap* bitmap);
    void SetItemImage(int row, int column, CString path);
    int AddItemData(int row, DWORD value);
    DWORD GetItemData(int row, int position);
    int GetItemCount();
    void DeleteAllItems();
    // A greyed row shows its texts in the system's grey text colour; it can still be selected
    // and checked, as the host decides what such a row may do.
    void SetItemDisabled(int row, int disabled);
    int IsItemDisabled(int row);
    // The text the list's tooltip shows while the mouse rests over the row (after
    // CToolTipCtrl::kInitialDelay); an empty text shows none.
    void SetItemToolTip(int row, CString text);
    CString GetItemToolTip(int row);

    // --- selection, indication, checks ---
    int GetSelectedItem();
    int GetIndicatedItem();
    void SetItemState(int row, UINT state);
    int GetCheck(int row);
    void SetCheck(int row, int state);
    int GetCheckedCount();
    int GetFirstCheckedIndex();
    int GetNextCheckedIndex(int row);
    int GetLastCheckedIndex();
    int GetPrevCheckedIndex(int row);

    // --- scrolling ---
    void EnsureVisible(int row);
    int GetTopIndex() const { return m_nTopIndex; }

protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    // Mouse moves pick the row whose tooltip may show, then reach the tooltip as the tools'
    // window's messages do.
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    LRESULT OnVScrollMessage(WPARAM position, LPARAM);
    // With keyboard access on (KeyboardAccess.h), and while no window holds the mouse
    // capture: the arrows, Page Up and Down, Home and End select a row and scroll it into
    // view, Enter opens the selected row as a double click does, Space toggles its check box
    // as a click on the box does, and typed characters select by type-ahead (ListKeys.h).
    // Each tells the parent what the equivalent mouse action tells it.
    void OnKeyDown(UINT vk, UINT repeat, UINT flags);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    // The keys the dialog manager leaves to the list, asked with the key's message (`msg`,
    // may be null); Enter only while the list has the focus.
    LRESULT OnGetDlgCodeFor(WPARAM, LPARAM msg);
    // A table (ListAccess.h); a row selected through it is selected as a click selects it.
    LRESULT OnAccDescribe(WPARAM, LPARAM description);
    LRESULT OnAccDescribeRow(WPARAM row, LPARAM out);
    LRESULT OnAccSelectRow(WPARAM row, LPARAM);
    DECLARE_MESSAGE_MAP()

public:
    Gdiplus::Image* m_pImage[list::kSlotCount];
    CRect m_rcBase;
    int m_nRowHeight;
    int m_nRowHeightHeader;
    Gdiplus::Color m_clr[list::kColourCount];
    int m_nTopIndex;
    CCtrlVScroll* m_pVScroll;
    CString m_strFontName;
    int m_nFontSize;
    int m_nPlayStatus;
    // Columns, rows, checks, selection and indication.
    list::Model m_model;
    // The scale, the row places and their hit and check-box rectangles: brought up to date by
    // every size change and every setter that moves them, read by painting and hit testing.
    list::Layout m_layout;

private:
    list::Design DesignNow() const;
    list::HitQuery Query() const;
    // The width of the scroll bar's strip at the right: its track's width, 0 without a bar.
    int BarWidth() const;
    // Lays the list out for a cx × cy client, corrects the top and tells the bar its page;
    // `placeBar` also moves the bar to its strip.
    void Relayout(int cx, int cy, bool placeBar);
    // After a setter: the same for the present client size, then a repaint if `redraw`.
    void Relayout(bool redraw);
    void Redraw();
    void TellBar();
    void Notify(UINT message, int row);
    // Makes the row under `point` the tooltip's one tool, or leaves it none when that row has
    // no tooltip text; the tooltip window is made with the first text.
    void TrackToolTip(CPoint point);
    // Selects `row` and tells the parent, as a click on the row does.
    void ClickRow(int row);
    // Whether keys are the list's now: keyboard access on and no mouse capture held.
    bool TakesKeys() const;
    // Selects `row` from the keyboard: scrolls it into view and, when the selection changed,
    // redraws and tells the parent as a click on the row would.
    void SelectFromKey(int row);
    // The selected row's double-click sequence, as a double click outside its check box
    // sends it: click, double click, click.
    void OpenSelected();
    // The selected row's check box, as a click on it; nothing for a row a click could not
    // check (no boxes, or boxes of no size).
    void ToggleSelectedCheck();

    // Kept between paints: their fonts are rebuilt only when family or size change.
    CCtrlGDIpString m_regular;
    CCtrlGDIpString m_bold;
    std::unique_ptr<CToolTipCtrl> m_toolTip;
    int m_nToolTipRow = -1; // the row the tooltip's one tool stands for (its id is row + 1)
    list::TypeAhead m_typeAhead;
};
