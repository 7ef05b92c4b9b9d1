// The window tree's questions and edits: relations, styles, rectangles, visibility, enabling.
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/WndInternal.h"

#include <algorithm>

namespace platform::wnd {

void TopLevelMoved(HWND topLevel, POINT screen)
{
    Window* w = Find(topLevel);
    if (w && !w->parent)
        w->rect.MoveToXY(screen.x, screen.y);
}

} // namespace platform::wnd

using namespace platform::wnd;

// --- relations and styles ---

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

HWND GetWindow(HWND hwnd, UINT relation)
{
    const Window* w = Find(hwnd);
    if (!w)
        return nullptr;
    if (relation == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.back();
    if (relation == GW_OWNER)
        return nullptr;
    const Window* parent = Find(w->parent);
    const std::vector<HWND> siblings = parent ? parent->children : TopLevels();
    const auto it = std::find(siblings.begin(), siblings.end(), hwnd);
    if (it == siblings.end())
        return nullptr;
    // Sibling lists run bottom to top.
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.back();
    case GW_HWNDLAST:
        return siblings.front();
    case GW_HWNDNEXT:
        return it == siblings.begin() ? nullptr : *(it - 1);
    case GW_HWNDPREV:
        return it + 1 == siblings.end() ? nullptr : *(it + 1);
    default:
        return nullptr;
    }
}

namespace {

// The field a GWL_ index names, or null.
template <typename W> auto* LongField(W& w, int index)
{
    using Field = std::conditional_t<std::is_const_v<W>, const DWORD, DWORD>;
    switch (index) {
    case GWL_STYLE:
        return static_cast<Field*>(&w.style);
    case GWL_EXSTYLE:
        return static_cast<Field*>(&w.exStyle);
    case GWL_ID:
        return reinterpret_cast<Field*>(&w.id);
    default:
        return static_cast<Field*>(nullptr);
    }
}

} // namespace

LONG GetWindowLongW(HWND hwnd, int index)
{
    const Window* w = Find(hwnd);
    const DWORD* field = w ? LongField(*w, index) : nullptr;
    return field ? static_cast<LONG>(*field) : 0;
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value)
{
    Window* w = Find(hwnd);
    DWORD* field = w ? LongField(*w, index) : nullptr;
    if (!field)
        return 0;
    // Visibility and enabling keep their own bookkeeping through ShowWindow and EnableWindow;
    // a style write changes the bits only, as on the window manager.
    const auto old = static_cast<LONG>(*field);
    *field = static_cast<DWORD>(value);
    return old;
}

// --- text ---

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    if (!IsWindow(hwnd))
        return FALSE;
    return static_cast<BOOL>(
        SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")));
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size)
{
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd)
{
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

// --- rectangles ---

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
    *rect = ClientRect(*w);
    return TRUE;
}

namespace {

// Screen coordinates of the window's client origin, added (+1) or taken away (-1).
BOOL ShiftByClientOrigin(HWND hwnd, LPPOINT point, int sign)
{
    const Window* w = Find(hwnd);
    if (!w || !point)
        return FALSE;
    // One walk up: each client origin within its parent's, and last the top-level's place on
    // the screen (a top-level has no border of its own).
    POINT o{0, 0};
    for (; w; w = Find(w->parent)) {
        const int b = BorderWidth(*w);
        o.x += w->rect.left + b;
        o.y += w->rect.top + b;
    }
    point->x += sign * o.x;
    point->y += sign * o.y;
    return TRUE;
}

} // namespace

BOOL ScreenToClient(HWND hwnd, LPPOINT point)
{
    return ShiftByClientOrigin(hwnd, point, -1);
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point)
{
    return ShiftByClientOrigin(hwnd, point, +1);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    const CRect old = w->rect;
    const CRect oldClient = ClientRect(*w);
    w->rect = CRect(x, y, x + std::max(0, width), y + std::max(0, height));
    if (!w->parent) {
        ResizeTopSurface(*w);
        if (w->native)
            CurrentBackend().MoveTopLevel(hwnd, w->rect);
    }
    const HWND parent = w->parent;
    const CRect now = w->rect;
    const CRect client = ClientRect(*w);
    if (client.Size() != oldClient.Size())
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                     MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    if (!IsWindow(hwnd))
        return TRUE;
    if (!parent) {
        InvalidateRect(hwnd, nullptr, TRUE);
    } else if (repaint) {
        InvalidateRect(parent, &old, TRUE);
        InvalidateRect(parent, &now, TRUE);
        InvalidateRect(hwnd, nullptr, TRUE);
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

// --- visibility and enabling ---

BOOL ShowWindow(HWND hwnd, int command)
{
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    const bool was = (w->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (was == show)
        return was;
    if (!show) {
        FocusLeavesHidden(hwnd);
        if (!(w = Find(hwnd)))
            return FALSE;
    }
    w->style = show ? (w->style | WS_VISIBLE) : (w->style & ~WS_VISIBLE);
    if (!w->parent && w->native)
        CurrentBackend().ShowTopLevel(hwnd, show);
    const CRect area = w->rect;
    if (w->parent)
        InvalidateRect(w->parent, &area, TRUE);
    if (show)
        InvalidateRect(hwnd, nullptr, TRUE);
    TellAccessibility(hwnd, AccEvent::Changed);
    return was;
}

BOOL IsWindowVisible(HWND hwnd)
{
    return IsShown(hwnd) ? TRUE : FALSE;
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
        // A disabled window keeps neither the capture nor the focus, nor do the windows in it.
        if (GetCapture() == hwnd)
            ReleaseCapture();
        FocusLeavesDisabled(hwnd);
    }
    SendMessageW(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    TellAccessibility(hwnd, AccEvent::Changed);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    const Window* w = Find(hwnd);
    return w && !(w->style & WS_DISABLED);
}
