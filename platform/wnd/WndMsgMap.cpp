// How a window object answers a message: the walk over its message-map chain, reflection
// of notifications back to the control that sent them, and the handlers a class leaves to
// the window procedure.
#include "platform/wnd/Wnd.h"

#include "platform/wnd/WndInternal.h"

using namespace platform::wnd;

// The root of every chain: owner-draw and colour requests are reflected to the control.
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
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
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
