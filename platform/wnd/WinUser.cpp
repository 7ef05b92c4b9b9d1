// The window manager's free functions over the window layer's state.
#include "platform/wnd/WinUser.h"

#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/WndInternal.h"

#include <algorithm>
#include <cstring>

using namespace platform::wnd;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE,
                     LPVOID param)
{
    const RECT r{x, y, x + width, y + height};
    return CreateWindowInternal(exStyle, className, windowName, style, r, parent,
                                static_cast<UINT>(reinterpret_cast<std::uintptr_t>(menuOrId)),
                                nullptr, param);
}

BOOL DestroyWindow(HWND hwnd)
{
    return DestroyWindowInternal(hwnd);
}
BOOL IsWindow(HWND hwnd)
{
    return Find(hwnd) != nullptr;
}

HWND GetParent(HWND hwnd)
{
    const Window* w = Find(hwnd);
    return w ? w->parent : nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    const Window* w = Find(hwnd);
    return w ? w->id : 0;
}

HWND GetDlgItem(HWND parent, int id)
{
    const Window* w = Find(parent);
    if (!w)
        return nullptr;
    for (HWND c : w->children)
        if (const Window* cw = Find(c); cw && cw->id == id)
            return c;
    return nullptr;
}

LONG GetWindowLongW(HWND hwnd, int index)
{
    const Window* w = Find(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(w->exStyle);
    case GWL_ID:
        return w->id;
    default:
        return 0;
    }
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value)
{
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    LONG old = 0;
    switch (index) {
    case GWL_STYLE:
        old = static_cast<LONG>(w->style);
        // Visibility and enabling keep their own bookkeeping through ShowWindow and
        // EnableWindow; a style write changes the bits only, as on the window manager.
        w->style = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        old = static_cast<LONG>(w->exStyle);
        w->exStyle = static_cast<DWORD>(value);
        break;
    case GWL_ID:
        old = w->id;
        w->id = value;
        break;
    default:
        break;
    }
    return old;
}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Send(hwnd, message, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Post(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int exitCode)
{
    Post(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

LRESULT CallClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Window* w = Find(hwnd);
    if (!w)
        return 0;
    switch (w->kind) {
    case ClassKind::Button:
        return ButtonProc(hwnd, message, wParam, lParam);
    case ClassKind::Static:
        return StaticProc(hwnd, message, wParam, lParam);
    case ClassKind::Generic:
        break;
    }
    return GenericProc(hwnd, message, wParam, lParam);
}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GenericProc(hwnd, message, wParam, lParam);
}

DWORD GetMessagePos()
{
    const MSG* m = CurrentMessage();
    const POINT p = m ? m->pt : CursorPos();
    return MAKELONG(static_cast<WORD>(static_cast<SHORT>(p.x)),
                    static_cast<WORD>(static_cast<SHORT>(p.y)));
}

DWORD GetMessageTime()
{
    const MSG* m = CurrentMessage();
    return m ? m->time : CurrentBackend().Now();
}

DWORD GetTickCount()
{
    return CurrentBackend().Now();
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    if (!IsWindow(hwnd))
        return FALSE;
    return static_cast<BOOL>(
        Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")));
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size)
{
    return static_cast<int>(
        Send(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd)
{
    return static_cast<int>(Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect)
{
    const Window* w = Find(hwnd);
    if (!w || !rect)
        return FALSE;
    CRect r = w->rect;
    if (w->parent) {
        POINT o{0, 0};
        ClientToScreen(w->parent, &o);
        r.OffsetRect(o);
    }
    *rect = r;
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
    const Window* w = Find(hwnd);
    if (!w || !rect)
        return FALSE;
    const int b = BorderWidth(*w);
    *rect = RECT{0, 0, std::max(0, w->rect.Width() - 2 * b), std::max(0, w->rect.Height() - 2 * b)};
    return TRUE;
}

static POINT ClientOriginOnScreen(HWND hwnd)
{
    const Window* top = Find(TopLevelOf(hwnd));
    POINT o = ClientOriginInTop(hwnd);
    if (top) {
        o.x += top->rect.left;
        o.y += top->rect.top;
    }
    return o;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point)
{
    if (!IsWindow(hwnd) || !point)
        return FALSE;
    const POINT o = ClientOriginOnScreen(hwnd);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point)
{
    if (!IsWindow(hwnd) || !point)
        return FALSE;
    const POINT o = ClientOriginOnScreen(hwnd);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    const CRect old = w->rect;
    const CSize oldClient(old.Width() - 2 * BorderWidth(*w), old.Height() - 2 * BorderWidth(*w));
    w->rect = CRect(x, y, x + std::max(0, width), y + std::max(0, height));
    if (!w->parent) {
        ResizeTopSurface(*w);
        if (w->native)
            CurrentBackend().MoveTopLevel(hwnd, w->rect);
    }
    const HWND parent = w->parent;
    const CRect now = w->rect;
    RECT client{};
    GetClientRect(hwnd, &client);
    if (client.right != oldClient.cx || client.bottom != oldClient.cy)
        Send(hwnd, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    if (!IsWindow(hwnd))
        return TRUE;
    if (!parent) {
        Invalidate(hwnd, nullptr, true);
    } else if (repaint) {
        Invalidate(parent, &old, true);
        Invalidate(parent, &now, true);
        Invalidate(hwnd, nullptr, true);
    }
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags)
{
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    if (flags & SWP_NOMOVE) {
        x = w->rect.left;
        y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        cx = w->rect.Width();
        cy = w->rect.Height();
    }
    MoveWindow(hwnd, x, y, cx, cy, TRUE);
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(hwnd, SW_SHOW);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command)
{
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    const bool was = (w->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (was == show)
        return was;
    w->style = show ? (w->style | WS_VISIBLE) : (w->style & ~WS_VISIBLE);
    if (!w->parent && w->native)
        CurrentBackend().ShowTopLevel(hwnd, show);
    const CRect area = w->rect;
    if (w->parent)
        Invalidate(w->parent, &area, true);
    if (show)
        Invalidate(hwnd, nullptr, true);
    return was;
}

BOOL IsWindowVisible(HWND hwnd)
{
    for (const Window* w = Find(hwnd); w; w = Find(w->parent))
        if (!(w->style & WS_VISIBLE))
            return FALSE;
    return IsWindow(hwnd);
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if ((!wasDisabled) == (enable != FALSE))
        return wasDisabled;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        // A disabled window keeps neither the capture nor the focus.
        if (GetCaptureInternal() == hwnd)
            ReleaseCapture();
        if (GetFocusInternal() == hwnd)
            SetFocusInternal(nullptr);
    }
    Send(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    const Window* w = Find(hwnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    if (!IsWindow(hwnd))
        return FALSE;
    Invalidate(hwnd, rect, erase != FALSE);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect)
{
    if (!IsWindow(hwnd))
        return FALSE;
    Validate(hwnd, rect);
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return FALSE;
    PaintTopLevels();
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags)
{
    if (!IsWindow(hwnd))
        return FALSE;
    if (flags & RDW_INVALIDATE)
        Invalidate(hwnd, rect, (flags & RDW_ERASE) != 0);
    if (flags & RDW_UPDATENOW)
        PaintTopLevels();
    return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint)
{
    return BeginPaintInternal(hwnd, paint);
}
BOOL EndPaint(HWND, const PAINTSTRUCT* paint)
{
    return EndPaintInternal(paint);
}
HDC GetDC(HWND hwnd)
{
    return GetDCInternal(hwnd);
}
int ReleaseDC(HWND, HDC dc)
{
    return ReleaseDCInternal(dc);
}

HWND SetCapture(HWND hwnd)
{
    return SetCaptureInternal(hwnd);
}

BOOL ReleaseCapture()
{
    SetCaptureInternal(nullptr);
    return TRUE;
}

HWND GetCapture()
{
    return GetCaptureInternal();
}
HWND SetFocus(HWND hwnd)
{
    return SetFocusInternal(hwnd);
}
HWND GetFocus()
{
    return GetFocusInternal();
}

BOOL GetCursorPos(LPPOINT point)
{
    if (!point)
        return FALSE;
    *point = CursorPos();
    return TRUE;
}

BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT track)
{
    return TrackMouse(track);
}
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track)
{
    return TrackMouse(track);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    return SetTimerInternal(hwnd, id, elapse, proc);
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    return KillTimerInternal(hwnd, id);
}

DWORD GetSysColor(int index)
{
    // The default colours of the classic window manager scheme of recent versions.
    switch (index) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
        return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT:
        return RGB(0, 120, 215);
    case COLOR_3DFACE:
        return RGB(240, 240, 240);
    case COLOR_BTNSHADOW:
        return RGB(160, 160, 160);
    case COLOR_GRAYTEXT:
        return RGB(109, 109, 109);
    case COLOR_BTNTEXT:
        return RGB(0, 0, 0);
    case COLOR_BTNHIGHLIGHT:
        return RGB(255, 255, 255);
    default:
        return 0;
    }
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    return CurrentBackend().MessageBox(owner, CString(text),
                                       caption ? CString(caption) : CString(L"Error"), type);
}

BOOL MessageBeep(UINT type)
{
    CurrentBackend().Beep(type);
    return TRUE;
}
