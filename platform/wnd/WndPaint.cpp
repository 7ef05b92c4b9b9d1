// Invalidation and painting. Each top-level window has one pixel surface; its children paint
// into their part of it through device contexts clipped to their visible client area, parents
// before children. So that a parent's repaint never leaves a child covered, invalidating a
// window always invalidates the children it overlaps.
#include "platform/base/DeviceScale.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/WndInternal.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace platform::wnd {
namespace {

// Set once the state is gone at process exit: DC wrappers destroyed later find nothing.
bool g_paintGone = false;

struct PaintState
{
    ~PaintState() { g_paintGone = true; }
    // The surface each DC handed out (BeginPaint, GetDC) draws into, until it is given back.
    std::unordered_map<HDC, Gdiplus::Bitmap*> handedOut;
    // Surfaces replaced or left by their window while such a DC still drew into them.
    std::vector<std::unique_ptr<Gdiplus::Bitmap>> retired;
    std::unordered_map<HDC, CDC*> dcWrappers;
    std::unordered_map<HDC, std::unique_ptr<CDC>> tempDCs;
};

PaintState& P()
{
    static PaintState paint;
    return paint;
}

// The part of the window's client area that its ancestors let show, in top-level pixels.
CRect VisibleClientInTop(HWND hwnd)
{
    const Window* w = Find(hwnd);
    if (!w)
        return CRect();
    // One walk up: each step moves the rectangle into the parent's client coordinates and cuts
    // it to the parent's client area; the top-level's client coordinates are its pixels.
    CRect r = ClientRect(*w);
    for (const Window* p = Find(w->parent); p; w = p, p = Find(p->parent)) {
        const int b = BorderWidth(*w);
        r.OffsetRect(w->rect.left + b, w->rect.top + b);
        r.IntersectRect(r, ClientRect(*p));
    }
    return r;
}

// A DC on the window's client area in its top-level's surface, clipped to `clip` (top-level
// pixels); what it draws is shown at the next present.
HDC HandOut(HWND hwnd, const CRect& clip)
{
    Window* top = Find(TopLevelOf(hwnd));
    if (!top || !top->surface)
        return nullptr;
    top->dirty.UnionRect(top->dirty, clip);
    const HDC dc =
        CreateScaledSurfaceDC(top->surface.get(), ClientOriginInTop(hwnd), &clip, top->scale);
    if (dc)
        P().handedOut[dc] = top->surface.get();
    return dc;
}

BOOL GiveBack(HDC dc)
{
    if (!dc)
        return FALSE;
    PaintState& p = P();
    p.tempDCs.erase(dc);
    p.handedOut.erase(dc);
    DeleteDC(dc);
    std::erase_if(p.retired, [&p](const std::unique_ptr<Gdiplus::Bitmap>& s) {
        return std::none_of(p.handedOut.begin(), p.handedOut.end(),
                            [&s](const auto& h) { return h.second == s.get(); });
    });
    return TRUE;
}

void ClearUpdate(Window& w)
{
    w.update.SetRectEmpty();
    w.erase = false;
}

void PaintTree(HWND hwnd)
{
    Window* w = Find(hwnd);
    if (!w || !(w->style & WS_VISIBLE))
        return;
    if (!w->update.IsRectEmpty()) {
        SendMessageW(hwnd, WM_PAINT, 0, 0);
        // A paint handler that never began painting leaves the update area; the default
        // procedure would have validated it.
        if ((w = Find(hwnd)) != nullptr)
            ClearUpdate(*w);
    }
    if ((w = Find(hwnd)) == nullptr)
        return;
    const std::vector<HWND> children = w->children;
    for (HWND c : children)
        PaintTree(c);
}

} // namespace

bool PaintPending()
{
    bool pending = false;
    ForEachWindow([&pending](Window& w) {
        pending = pending || (!w.update.IsRectEmpty() && IsShown(w.handle));
    });
    return pending;
}

void PaintTopLevels()
{
    for (HWND top : TopLevels()) {
        PaintTree(top);
        Window* t = Find(top);
        if (!t || t->dirty.IsRectEmpty() || !t->surface)
            continue;
        CRect dirty = t->dirty;
        t->dirty.SetRectEmpty();
        dirty.IntersectRect(dirty, CRect(0, 0, t->rect.Width(), t->rect.Height()));
        if (!dirty.IsRectEmpty() && (t->style & WS_VISIBLE))
            CurrentBackend().Present(top, *t->surface, DeviceRect(dirty, t->scale));
    }
}

void ResizeTopSurface(Window& w)
{
    if (w.parent)
        return;
    const int cw = std::max(1, DeviceEdge(w.rect.Width(), w.scale));
    const int ch = std::max(1, DeviceEdge(w.rect.Height(), w.scale));
    if (w.surface && static_cast<int>(w.surface->GetWidth()) == cw &&
        static_cast<int>(w.surface->GetHeight()) == ch)
        return;
    RetireSurface(std::move(w.surface));
    w.surface = std::make_unique<Gdiplus::Bitmap>(cw, ch, Gdiplus::PixelFormat32bppARGB);
}

namespace {

// Refuses, with a message, a scale no window can take.
bool AcceptScale(double scale)
{
    if (IsUsableScale(scale))
        return true;
    std::fprintf(stderr, "skinkit: display scale %g refused; windows keep 1.0\n", scale);
    return false;
}

} // namespace

double InitialScale(const RECT& screenRect)
{
    const double scale = CurrentBackend().DisplayScale(screenRect);
    return AcceptScale(scale) ? scale : 1.0;
}

void RetireSurface(std::unique_ptr<Gdiplus::Bitmap> surface)
{
    PaintState& p = P();
    if (surface && std::any_of(p.handedOut.begin(), p.handedOut.end(),
                               [&surface](const auto& h) { return h.second == surface.get(); }))
        p.retired.push_back(std::move(surface));
}

double WindowScale(HWND hwnd)
{
    const Window* top = Find(TopLevelOf(hwnd));
    return top ? top->scale : 1.0;
}

bool SetWindowScale(HWND topLevel, double scale)
{
    Window* w = Find(topLevel);
    if (!w || w->parent || !AcceptScale(scale))
        return false;
    if (w->scale == scale)
        return true;
    // The window keeps its place on the screen: its logical place is that of the new scale.
    const double old = w->scale;
    w->rect.MoveToXY(LogicalCoord(DeviceEdge(w->rect.left, old), scale),
                     LogicalCoord(DeviceEdge(w->rect.top, old), scale));
    w->scale = scale;
    ResizeTopSurface(*w);
    // The native window shows the new number of pixels.
    if (w->native)
        CurrentBackend().MoveTopLevel(topLevel, w->rect);
    RECT suggested = w->rect;
    const auto dpi = static_cast<WORD>(std::lround(96.0 * scale));
    SendMessageW(topLevel, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    if (IsWindow(topLevel))
        InvalidateRect(topLevel, nullptr, TRUE);
    return true;
}

Gdiplus::Bitmap* TopLevelSurface(HWND topLevel)
{
    Window* w = Find(topLevel);
    return w && !w->parent ? w->surface.get() : nullptr;
}

void ResetPaint()
{
    PaintState& p = P();
    // DCs still out cannot draw once their surfaces go.
    for (const auto& [dc, surface] : p.handedOut)
        DeleteDC(dc);
    p.handedOut.clear();
    p.retired.clear();
    p.tempDCs.clear();
}

// --- device-context wrappers ---

void RegisterDCWrapper(HDC dc, CDC* wrapper)
{
    if (dc && !g_paintGone)
        P().dcWrappers[dc] = wrapper;
}

void UnregisterDCWrapper(HDC dc, CDC* wrapper)
{
    if (g_paintGone)
        return;
    auto& wrappers = P().dcWrappers;
    auto it = wrappers.find(dc);
    if (it != wrappers.end() && it->second == wrapper)
        wrappers.erase(it);
}

CDC* DCWrapper(HDC dc)
{
    if (!dc || g_paintGone)
        return nullptr;
    PaintState& p = P();
    if (auto it = p.dcWrappers.find(dc); it != p.dcWrappers.end())
        return it->second;
    auto& temp = p.tempDCs[dc];
    if (!temp)
        temp = std::make_unique<CDC>(dc);
    return temp.get();
}

} // namespace platform::wnd

using namespace platform::wnd;

// --- invalidation ---

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    const CRect client = ClientRect(*w);
    CRect r = rect ? CRect(*rect) : client;
    r.IntersectRect(r, client);
    if (r.IsRectEmpty())
        return TRUE;
    w->update.UnionRect(w->update, r);
    w->erase = w->erase || erase;
    TellAccessibility(hwnd, AccEvent::Changed);
    const std::vector<HWND> children = w->children;
    for (HWND c : children) {
        const Window* cw = Find(c);
        CRect part;
        if (!cw || !part.IntersectRect(r, cw->rect))
            continue;
        const int b = BorderWidth(*cw);
        part.OffsetRect(-cw->rect.left - b, -cw->rect.top - b);
        InvalidateRect(c, &part, FALSE);
    }
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect)
{
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    // The update area is one rectangle: only a rectangle that covers it all validates it.
    const CRect r = rect ? CRect(*rect) : ClientRect(*w);
    const CRect& u = w->update;
    if (r.left <= u.left && r.top <= u.top && r.right >= u.right && r.bottom >= u.bottom)
        ClearUpdate(*w);
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
        InvalidateRect(hwnd, rect, (flags & RDW_ERASE) != 0);
    if (flags & RDW_UPDATENOW)
        PaintTopLevels();
    return TRUE;
}

// --- device contexts ---

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps)
{
    Window* w = Find(hwnd);
    if (!w || !ps)
        return nullptr;
    *ps = PAINTSTRUCT{};
    CRect clip = w->update;
    clip.OffsetRect(ClientOriginInTop(hwnd));
    clip.IntersectRect(clip, VisibleClientInTop(hwnd));
    const bool erase = w->erase;
    ps->rcPaint = w->update;
    ClearUpdate(*w);
    ps->hdc = HandOut(hwnd, clip);
    if (erase && ps->hdc)
        ps->fErase =
            SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) ? FALSE : TRUE;
    return ps->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps)
{
    return ps ? GiveBack(ps->hdc) : FALSE;
}

HDC GetDC(HWND hwnd)
{
    return HandOut(hwnd, VisibleClientInTop(hwnd));
}

int ReleaseDC(HWND, HDC dc)
{
    return GiveBack(dc);
}
