// The window tree: records, creation and destruction, the objects attached to windows. The
// layer serves the host's user-interface thread only, as the window manager it stands in for
// serves one thread's windows.
//
// Child windows are not native windows: each top-level window has one pixel surface, and its
// children paint into their part of it (see WndPaint.cpp).
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/WndInternal.h"

#include <algorithm>
#include <cassert>
#include <map>

namespace platform::wnd {
namespace {

// Set once the tree is gone at process exit: objects that outlive it (a host's static
// windows) then find no window instead of a destroyed map.
bool g_treeGone = false;

struct Tree
{
    ~Tree()
    {
        g_treeGone = true;
        for (auto& [h, w] : windows) {
            if (w->wrapper)
                w->wrapper->m_hWnd = nullptr;
            for (auto& r : w->retired)
                r->m_hWnd = nullptr;
        }
    }
    std::map<HWND, std::unique_ptr<Window>> windows;
    std::uintptr_t nextHandle = 0x10000;
    std::vector<HWND> topLevels;
};

Tree& T()
{
    static Tree tree;
    return tree;
}

ClassKind KindOf(LPCWSTR className)
{
    if (className && _wcsicmp(className, L"BUTTON") == 0)
        return ClassKind::Button;
    if (className && _wcsicmp(className, L"STATIC") == 0)
        return ClassKind::Static;
    return ClassKind::Generic;
}

// A record in the tree, with its native window for a top-level (any window without WS_CHILD,
// popups such as a tooltip among them); null when none can be made.
Window* AddRecord(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                  const RECT& rect, Window* parentRec, UINT id)
{
    Tree& t = T();
    auto rec = std::make_unique<Window>();
    const HWND hwnd = reinterpret_cast<HWND>(t.nextHandle);
    t.nextHandle += 0x10;
    rec->handle = hwnd;
    rec->className = className ? CString(className) : CString(L"SkinkitWnd");
    rec->kind = KindOf(className);
    rec->style = style;
    rec->exStyle = exStyle;
    rec->id = parentRec ? static_cast<int>(id) : 0;
    rec->text = windowName ? CString(windowName) : CString();
    rec->rect = CRect(rect);
    rec->rect.NormalizeRect();
    rec->parent = parentRec ? parentRec->handle : nullptr;
    Window& w = *rec;
    t.windows.emplace(hwnd, std::move(rec));
    if (parentRec) {
        parentRec->children.push_back(hwnd);
        return &w;
    }
    w.scale = InitialScale(w.rect);
    ResizeTopSurface(w);
    t.topLevels.push_back(hwnd);
    if (!CurrentBackend().CreateTopLevel(hwnd, w.text, w.rect, (style & WS_VISIBLE) != 0)) {
        t.topLevels.pop_back();
        RetireSurface(std::move(w.surface));
        t.windows.erase(hwnd);
        return nullptr;
    }
    w.native = true;
    return &w;
}

} // namespace

Window* Find(HWND hwnd)
{
    if (!hwnd || g_treeGone)
        return nullptr;
    auto it = T().windows.find(hwnd);
    return it == T().windows.end() ? nullptr : it->second.get();
}

int BorderWidth(const Window& w)
{
    if (!w.parent)
        return 0;
    if (w.exStyle & WS_EX_CLIENTEDGE)
        return 2;
    if (w.style & WS_BORDER)
        return 1;
    if ((w.exStyle & WS_EX_STATICEDGE) || (w.kind == ClassKind::Static && (w.style & SS_SUNKEN)))
        return 1;
    return 0;
}

CRect ClientRect(const Window& w)
{
    const int b = BorderWidth(w);
    return CRect(0, 0, std::max(0, w.rect.Width() - 2 * b), std::max(0, w.rect.Height() - 2 * b));
}

bool IsShown(HWND hwnd)
{
    const Window* w = Find(hwnd);
    if (!w)
        return false;
    for (; w; w = Find(w->parent))
        if (!(w->style & WS_VISIBLE))
            return false;
    return true;
}

void ForEachWindow(const std::function<void(Window&)>& visit)
{
    for (auto& [h, w] : T().windows)
        visit(*w);
}

std::vector<HWND> TopLevels()
{
    return T().topLevels;
}

bool IsTopLevel(HWND hwnd)
{
    const Window* w = Find(hwnd);
    return w && !w->parent;
}

HWND TopLevelOf(HWND hwnd)
{
    const Window* w = Find(hwnd);
    while (w && w->parent)
        w = Find(w->parent);
    return w ? w->handle : nullptr;
}

POINT ClientOriginInTop(HWND hwnd)
{
    POINT o{0, 0};
    for (const Window* w = Find(hwnd); w && w->parent; w = Find(w->parent)) {
        const int b = BorderWidth(*w);
        o.x += w->rect.left + b;
        o.y += w->rect.top + b;
    }
    return o;
}

// --- creation and destruction ---

HWND MakeWindow(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                HWND parent, UINT id, CWnd* object, LPVOID param)
{
    Window* parentRec = (style & WS_CHILD) ? Find(parent) : nullptr;
    if ((style & WS_CHILD) && !parentRec)
        return nullptr;
    Window* rec = AddRecord(exStyle, className, windowName, style, rect, parentRec, id);
    if (!rec)
        return nullptr;
    const HWND hwnd = rec->handle;
    // Focus rectangles and mnemonic underlines start hidden, as in a window opened with the
    // mouse; a child takes its parent's state.
    rec->uiState = parentRec ? parentRec->uiState : (UISF_HIDEFOCUS | UISF_HIDEACCEL);
    if (object) {
        object->m_hWnd = hwnd;
        rec->obj = object;
        CWndAccess::PreSubclass(object);
    } else {
        rec->wrapper = std::make_unique<CWnd>();
        rec->wrapper->m_hWnd = hwnd;
        rec->obj = rec->wrapper.get();
    }

    CREATESTRUCTW cs{};
    cs.lpCreateParams = param;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id));
    cs.x = rec->rect.left;
    cs.y = rec->rect.top;
    cs.cx = rec->rect.Width();
    cs.cy = rec->rect.Height();
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!(rec = Find(hwnd)))
        return nullptr;
    const CRect client = ClientRect(*rec);
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(client.Width()), static_cast<WORD>(client.Height())));
    if (IsWindow(hwnd))
        TellAccessibility(hwnd, AccEvent::Created);
    if (IsWindow(hwnd) && (style & WS_VISIBLE))
        InvalidateRect(hwnd, nullptr, TRUE);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

void AttachObject(HWND hwnd, CWnd* object)
{
    Window* w = Find(hwnd);
    if (!w)
        return;
    if (w->wrapper && w->obj == w->wrapper.get())
        w->retired.push_back(std::move(w->wrapper));
    w->obj = object;
}

void DetachObject(HWND hwnd, CWnd* object)
{
    Window* w = Find(hwnd);
    if (!w || w->obj != object)
        return;
    w->wrapper = std::make_unique<CWnd>();
    w->wrapper->m_hWnd = hwnd;
    w->obj = w->wrapper.get();
}

CWnd* ObjectOf(HWND hwnd)
{
    Window* w = Find(hwnd);
    return w ? w->obj : nullptr;
}

CWnd* PermanentObjectOf(HWND hwnd)
{
    const Window* w = Find(hwnd);
    return w && w->obj != w->wrapper.get() ? w->obj : nullptr;
}

namespace {

// Takes the record out of the tree; the objects that stood for it see a null handle.
void DropRecord(HWND hwnd, HWND parent)
{
    Tree& t = T();
    if (Window* p = Find(parent))
        std::erase(p->children, hwnd);
    auto node = t.windows.extract(hwnd);
    std::unique_ptr<Window>& owned = node.mapped();
    if (!parent) {
        std::erase(t.topLevels, hwnd);
        if (owned->native)
            CurrentBackend().DestroyTopLevel(hwnd);
        RetireSurface(std::move(owned->surface));
    }
    for (auto& r : owned->retired)
        r->m_hWnd = nullptr;
    if (owned->wrapper)
        owned->wrapper->m_hWnd = nullptr;
    CWnd* object = owned->obj;
    if (object && object != owned->wrapper.get() && object->m_hWnd == hwnd)
        object->m_hWnd = nullptr;
}

} // namespace

void DestroyAllWindows()
{
    Tree& t = T();
    while (!t.topLevels.empty())
        DestroyWindow(t.topLevels.back());
    // Destroying a window takes its children along, so nothing can be left; a record that is
    // would be a fault of ours. Release builds still start the next round clean.
    assert(t.windows.empty() && "window records left after every top-level went");
    t.windows.clear();
    ResetDispatch();
    ResetInput();
    ResetTimers();
    ResetPaint();
}

} // namespace platform::wnd

using namespace platform::wnd;

BOOL DestroyWindow(HWND hwnd)
{
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    if (w->destroying)
        return TRUE;
    w->destroying = true;
    const HWND parent = w->parent;
    const CRect area = w->rect;

    if (GetCapture() == hwnd)
        ReleaseCapture();
    // A shown child is hidden first, which hands the focus (if it is inside) to the parent
    // before WM_DESTROY; a top-level's focus simply goes.
    if (const Window* p = Find(parent); p && !p->destroying && (w->style & WS_VISIBLE))
        FocusLeavesHidden(hwnd);
    if (!Find(hwnd))
        return TRUE;
    TellAccessibility(hwnd, AccEvent::Destroying);
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    if ((w = Find(hwnd)) != nullptr) {
        const std::vector<HWND> children = w->children;
        for (HWND child : children)
            DestroyWindow(child);
    }
    ForgetTimers(hwnd);
    DropQueued(hwnd);
    ForgetInput(hwnd);
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);

    if (!(w = Find(hwnd)))
        return TRUE;
    CWnd* object = w->obj;
    const bool permanent = object && object != w->wrapper.get();
    DropRecord(hwnd, parent);
    if (parent && IsWindow(parent))
        InvalidateRect(parent, &area, TRUE);
    if (permanent)
        CWndAccess::PostNcDestroy(object);
    return TRUE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE,
                     LPVOID param)
{
    const RECT r{x, y, x + width, y + height};
    return MakeWindow(exStyle, className, windowName, style, r, parent,
                      static_cast<UINT>(reinterpret_cast<std::uintptr_t>(menuOrId)), nullptr,
                      param);
}
