// CWnd: creation and subclassing, dispatch through the message maps, reflection, and the
// calls a window object makes on its window.
#include "platform/wnd/Wnd.h"

#include "platform/wnd/WindowManager.h"
#include "platform/wnd/WndInternal.h"

using namespace platform::wnd;

void CWndAccess::PreSubclass(CWnd* w)
{
    w->PreSubclassWindow();
}
void CWndAccess::PostNcDestroy(CWnd* w)
{
    w->PostNcDestroy();
}

// --- CWnd ---

const CRuntimeClass CWnd::classCWnd = {"CWnd", sizeof(CWnd), RUNTIME_CLASS(CObject)};

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    using ThisClass = CWnd;
    static const AFX_MSGMAP_ENTRY messageEntries[] = {ON_WM_DRAWITEM()
                                                          ON_WM_CTLCOLOR(){0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &messageEntries[0]};
    return &messageMap;
}

CWnd::~CWnd()
{
    if (m_hWnd && ObjectOf(m_hWnd) == this)
        ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    return ObjectOf(hwnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    return IsPermanentObject(hwnd) ? ObjectOf(hwnd) : nullptr;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID createContext)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, createContext);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param)
{
    if (m_hWnd)
        return FALSE;
    const HWND h = MakeWindow(exStyle, className, windowName, style, rect,
                              parent ? parent->m_hWnd : nullptr, id, this, param);
    if (!h) {
        m_hWnd = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (m_hWnd || !IsWindow(hwnd) || IsPermanentObject(hwnd))
        return FALSE;
    m_hWnd = hwnd;
    PreSubclassWindow();
    if (!IsWindow(hwnd)) {
        m_hWnd = nullptr;
        return FALSE;
    }
    AttachObject(hwnd, this);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (!parent)
        return FALSE;
    const HWND h = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    const HWND h = m_hWnd;
    if (h)
        DetachObject(h, this);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

const AFX_MSGMAP_ENTRY* CWnd::FindEntry(UINT key, UINT code, UINT id) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage != key)
                continue;
            if (key == WM_COMMAND && (e->nCode != code || id < e->nID || id > e->nLastID))
                continue;
            if (key == WM_REFLECT_BASE + WM_COMMAND && e->nCode != code)
                continue;
            return e;
        }
    return nullptr;
}

BOOL CWnd::CallEntry(UINT key, UINT code, UINT id, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT* result)
{
    const AFX_MSGMAP_ENTRY* e = FindEntry(key, code, id);
    LRESULT r = 0;
    if (!e || !e->pfn(this, message, wParam, lParam, &r))
        return FALSE;
    if (result)
        *result = r;
    return TRUE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 1;
        return TRUE;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        // The control that asks chooses first, even when this window colours its controls
        // itself: a null brush from its reflected handler leaves the choice here.
        if (ReflectLastMsg(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result))
            return TRUE;
        // The map has one entry for all of them; the thunk reads the kind from the message.
        return CallEntry(WM_CTLCOLOR, 0, 0, message, wParam, lParam, result);
    }
    return CallEntry(message, 0, 0, message, wParam, lParam, result);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallClassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG* m = CurrentMessage();
    if (!m || m->hwnd != m_hWnd)
        return 0;
    const MSG copy = *m;
    return DefWindowProc(copy.message, copy.wParam, copy.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (control && ReflectLastMsg(control, WM_COMMAND, wParam, lParam))
        return TRUE;
    return CallEntry(WM_COMMAND, HIWORD(wParam), LOWORD(wParam), WM_COMMAND, wParam, lParam,
                     nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWnd* c = FromHandlePermanent(child);
    if (!c)
        return FALSE;
    LRESULT r = 0;
    const BOOL taken = c->OnChildNotify(message, wParam, lParam, &r);
    if (taken && result)
        *result = r;
    return taken;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND)
        return CallEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, message, wParam, lParam,
                         result);
    if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC)
        return FALSE;
    LRESULT brush = 0;
    // A null brush lets the parent choose.
    if (!CallEntry(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, message, wParam, lParam, &brush) || !brush)
        return FALSE;
    if (result)
        *result = brush;
    return TRUE;
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

int CWnd::SetDlgCtrlID(int id)
{
    return ::SetWindowLongW(m_hWnd, GWL_ID, id);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

namespace {

// Style or extended style: FALSE when the bits were already so.
BOOL ModifyWindowLong(HWND hwnd, int index, DWORD remove, DWORD add)
{
    const auto old = static_cast<DWORD>(::GetWindowLongW(hwnd, index));
    const DWORD now = (old & ~remove) | add;
    if (old == now)
        return FALSE;
    ::SetWindowLongW(hwnd, index, static_cast<LONG>(now));
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT)
{
    return ModifyWindowLong(m_hWnd, GWL_STYLE, remove, add);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT)
{
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, remove, add);
}

void CWnd::SetWindowText(LPCWSTR text)
{
    ::SetWindowTextW(m_hWnd, text);
}

void CWnd::GetWindowText(CString& text) const
{
    text = GetWindowText();
}

CString CWnd::GetWindowText() const
{
    // Most window texts are short: one WM_GETTEXT into a local buffer answers them, and
    // only a text that fills it asks for its length first.
    wchar_t local[128];
    const int n = ::GetWindowTextW(m_hWnd, local, 128);
    if (n < 127)
        return CString(local, n);
    const int length = ::GetWindowTextLengthW(m_hWnd);
    CString text;
    wchar_t* buffer = text.GetBuffer(length + 1);
    ::GetWindowTextW(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer();
    return text;
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthW(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}
BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::ShowWindow(int command)
{
    return ::ShowWindow(m_hWnd, command);
}
BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

void CWnd::SetFont(HFONT font, BOOL redraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

HFONT CWnd::GetFontHandle() const
{
    return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
}

void CWnd::GetWindowRect(LPRECT rect) const
{
    ::GetWindowRect(m_hWnd, rect);
}
void CWnd::GetClientRect(LPRECT rect) const
{
    ::GetClientRect(m_hWnd, rect);
}
void CWnd::ScreenToClient(LPPOINT point) const
{
    ::ScreenToClient(m_hWnd, point);
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::ClientToScreen(LPPOINT point) const
{
    ::ClientToScreen(m_hWnd, point);
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

void CWnd::Invalidate(BOOL erase)
{
    ::InvalidateRect(m_hWnd, nullptr, erase);
}
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase)
{
    ::InvalidateRect(m_hWnd, rect, erase);
}
void CWnd::ValidateRect(LPCRECT rect)
{
    ::ValidateRect(m_hWnd, rect);
}
void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT rect, HRGN region, UINT flags)
{
    return ::RedrawWindow(m_hWnd, rect, region, flags);
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}
CWnd* CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}
CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    return ::SetTimer(m_hWnd, id, elapse, proc);
}
BOOL CWnd::KillTimer(UINT_PTR id)
{
    return ::KillTimer(m_hWnd, id);
}

// --- default handlers ---

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnEnable(BOOL)
{
    Default();
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseHover(UINT, CPoint)
{
    Default();
}
void CWnd::OnMouseLeave()
{
    Default();
}
void CWnd::OnCaptureChanged(CWnd*)
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT drawItem)
{
    const MSG* m = CurrentMessage();
    if (drawItem && drawItem->CtlType != ODT_MENU && m &&
        ReflectLastMsg(drawItem->hwndItem, WM_DRAWITEM, m->wParam, m->lParam))
        return;
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT)
{
    // Reflection to the control already happened in OnWndMsg.
    return reinterpret_cast<HBRUSH>(Default());
}
