// Icons, cursors, device-independent pixel access and image lists in the GDI handle table.
#include "platform/gdiplus/GdiPrivate.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

using platform::gdi::GdiObject;
using platform::gdi::Kind;
using platform::gdi::PixelAccess;

namespace {

std::unique_ptr<Gdiplus::Bitmap> CopyPixels(Gdiplus::Bitmap& from)
{
    return std::unique_ptr<Gdiplus::Bitmap>(static_cast<Gdiplus::Bitmap*>(from.Clone()));
}

// `from` scaled to w x h (a plain copy when the size is the same).
std::unique_ptr<Gdiplus::Bitmap> Scaled(Gdiplus::Bitmap& from, int w, int h)
{
    if (static_cast<int>(from.GetWidth()) == w && static_cast<int>(from.GetHeight()) == h)
        return CopyPixels(from);
    auto to = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(to.get());
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    g.DrawImage(&from, Gdiplus::Rect(0, 0, w, h), 0, 0, static_cast<INT>(from.GetWidth()),
                static_cast<INT>(from.GetHeight()), Gdiplus::UnitPixel);
    return to;
}

HICON NewIcon(std::unique_ptr<Gdiplus::Bitmap> pixels, int systemCursor = 0)
{
    if (!pixels || pixels->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    auto object = std::make_unique<GdiObject>();
    object->kind = Kind::Icon;
    object->pixels = std::move(pixels);
    object->systemCursor = systemCursor;
    return platform::gdi::RegisterAs<HICON>(std::move(object));
}

std::atomic<HCURSOR> g_cursor{nullptr};
std::atomic<void (*)(HCURSOR)> g_cursorListener{nullptr};

} // namespace

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    GdiObject* i = platform::gdi::Lookup(icon, Kind::Icon);
    if (!d || !i || !i->pixels)
        return FALSE;
    if (!(flags & DI_IMAGE))
        return TRUE; // a mask alone draws nothing we keep
    const int w = static_cast<int>(i->pixels->GetWidth()),
              h = static_cast<int>(i->pixels->GetHeight());
    if (cx <= 0)
        cx = w;
    if (cy <= 0)
        cy = h;
    Gdiplus::detail::ImageData* target = Gdiplus::NativeOf(d->dc.target);
    Gdiplus::detail::ImageData* source = Gdiplus::NativeOf(i->pixels.get());
    if (!target || !source)
        return FALSE;
    // On a scaled window the icon fills the device pixels its logical box covers, scaled once
    // from its own pixels.
    const platform::gdi::DeviceTarget dt(d->dc);
    const CRect to = dt.map.Area(x, y, cx, cy);
    if (to.IsRectEmpty())
        return TRUE;
    const CRect& clip = dt.clip;
    cairo_t* cr = cairo_create(target->surface);
    cairo_rectangle(cr, clip.left, clip.top, clip.Width(), clip.Height());
    cairo_clip(cr);
    cairo_rectangle(cr, to.left, to.top, to.Width(), to.Height());
    cairo_clip(cr);
    cairo_translate(cr, to.left, to.top);
    cairo_scale(cr, static_cast<double>(to.Width()) / w, static_cast<double>(to.Height()) / h);
    cairo_set_source_surface(cr, source->surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), (to.Width() == w && to.Height() == h)
                                                       ? CAIRO_FILTER_NEAREST
                                                       : CAIRO_FILTER_GOOD);
    // Scaled for the display only, its edges are not faded into what lies outside.
    if (dt.map.scale != 1.0)
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(target->surface);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon)
{
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT)
{
    GdiObject* b = platform::gdi::Lookup(bitmap, Kind::Bitmap);
    if (!b || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    const int w = static_cast<int>(b->pixels->GetWidth()),
              h = static_cast<int>(b->pixels->GetHeight());
    BITMAPINFOHEADER& hdr = info->bmiHeader;
    if (!bits) {
        hdr.biWidth = w;
        hdr.biHeight = h;
        hdr.biPlanes = 1;
        hdr.biBitCount = 32;
        hdr.biCompression = BI_RGB;
        hdr.biSizeImage = static_cast<DWORD>(w) * static_cast<DWORD>(h) * 4;
        return h;
    }
    if (hdr.biBitCount != 32 || hdr.biCompression != BI_RGB || hdr.biWidth != w)
        return 0;
    const bool bottomUp = hdr.biHeight > 0;
    const int rows = std::min<long long>(lines, std::max(0, h - static_cast<int>(start)));
    if (start >= static_cast<UINT>(h) || rows <= 0)
        return 0;
    // Rows of straight-alpha BGRA, as a DIB holds them, from the premultiplied pixels.
    const PixelAccess px(b->pixels.get());
    if (!px.pixels)
        return 0;
    auto* out = static_cast<BYTE*>(bits);
    for (int i = 0; i < rows; ++i) {
        const int scan = static_cast<int>(start) + i;
        const int y = bottomUp ? h - 1 - scan : scan;
        const std::uint32_t* src = px.Row(y);
        BYTE* dst = out + static_cast<size_t>(i) * static_cast<size_t>(w) * 4;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = Gdiplus::detail::Unpremultiply(src[x]);
            dst[4 * x + 0] = static_cast<BYTE>(p & 0xFF);
            dst[4 * x + 1] = static_cast<BYTE>((p >> 8) & 0xFF);
            dst[4 * x + 2] = static_cast<BYTE>((p >> 16) & 0xFF);
            dst[4 * x + 3] = static_cast<BYTE>(p >> 24);
        }
    }
    return rows;
}

int SetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT)
{
    GdiObject* b = platform::gdi::Lookup(bitmap, Kind::Bitmap);
    if (!b || !info || !bits)
        return 0;
    const BITMAPINFOHEADER& hdr = info->bmiHeader;
    const int w = static_cast<int>(b->pixels->GetWidth()),
              h = static_cast<int>(b->pixels->GetHeight());
    if (hdr.biBitCount != 32 || hdr.biCompression != BI_RGB || hdr.biWidth != w ||
        start >= static_cast<UINT>(h))
        return 0;
    const bool bottomUp = hdr.biHeight > 0;
    const int rows = std::min<long long>(lines, h - static_cast<int>(start));
    PixelAccess px(b->pixels.get());
    if (!px.pixels)
        return 0;
    const auto* in = static_cast<const BYTE*>(bits);
    for (int i = 0; i < rows; ++i) {
        const int scan = static_cast<int>(start) + i;
        const int y = bottomUp ? h - 1 - scan : scan;
        std::uint32_t* dst = px.Row(y);
        const BYTE* src = in + static_cast<size_t>(i) * static_cast<size_t>(w) * 4;
        for (int x = 0; x < w; ++x)
            dst[x] = Gdiplus::detail::Premultiply(
                (std::uint32_t(src[4 * x + 3]) << 24) | (std::uint32_t(src[4 * x + 2]) << 16) |
                (std::uint32_t(src[4 * x + 1]) << 8) | src[4 * x + 0]);
    }
    px.dirty = true;
    return rows;
}

HICON CreateIconIndirect(ICONINFO* info)
{
    if (!info)
        return nullptr;
    GdiObject* colour = platform::gdi::Lookup(info->hbmColor, Kind::Bitmap);
    GdiObject* mask = platform::gdi::Lookup(info->hbmMask, Kind::Bitmap);
    if (!colour || !mask)
        return nullptr; // monochrome icons (a mask alone) are not made here
    auto pixels = CopyPixels(*colour->pixels);
    if (!pixels)
        return nullptr;
    PixelAccess px(pixels.get());
    if (!px.pixels)
        return nullptr;
    const int w = static_cast<int>(pixels->GetWidth()), h = static_cast<int>(pixels->GetHeight());
    bool anyAlpha = false;
    for (int y = 0; y < h && !anyAlpha; ++y) {
        const std::uint32_t* row = px.Row(y);
        for (int x = 0; x < w; ++x)
            if (row[x] >> 24) {
                anyAlpha = true;
                break;
            }
    }
    if (!anyAlpha) {
        // No alpha anywhere: the mask's set (white) pixels are the transparent ones. (A colour
        // bitmap kept premultiplied has lost its colours where alpha is 0, so such icons come
        // out black where they show.)
        const int mw = std::min<int>(w, static_cast<int>(mask->pixels->GetWidth()));
        const int mh = std::min<int>(h, static_cast<int>(mask->pixels->GetHeight()));
        for (int y = 0; y < mh; ++y) {
            std::uint32_t* row = px.Row(y);
            for (int x = 0; x < mw; ++x) {
                Gdiplus::Color m;
                mask->pixels->GetPixel(x, y, &m);
                row[x] = m.GetR() > 127 ? 0u : (row[x] | 0xFF000000u);
            }
        }
        px.dirty = true;
    }
    return NewIcon(std::move(pixels));
}

HICON CopyIcon(HICON icon)
{
    GdiObject* i = platform::gdi::Lookup(icon, Kind::Icon);
    if (!i || !i->pixels)
        return nullptr;
    return NewIcon(CopyPixels(*i->pixels), i->systemCursor);
}

namespace platform {

HICON MapIconPixels(HICON icon, const std::function<DWORD(DWORD bgra)>& map)
{
    if (!icon || !map)
        return nullptr;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return nullptr;
    // The pixels go out as a DIB and come back the same way, so that `map` sees straight
    // alpha whatever the icon keeps.
    HICON mapped = nullptr;
    HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    BITMAP bm{};
    if (screen && GetObjectW(info.hbmColor, sizeof bm, &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = bm.bmWidth;
        bmi.bmiHeader.biHeight = bm.bmHeight;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        const UINT rows = static_cast<UINT>(bm.bmHeight);
        std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * rows);
        if (GetDIBits(screen, info.hbmColor, 0, rows, pixels.data(), &bmi, DIB_RGB_COLORS)) {
            for (DWORD& p : pixels)
                p = map(p);
            HBITMAP colour = CreateCompatibleBitmap(screen, bm.bmWidth, bm.bmHeight);
            if (colour && SetDIBits(screen, colour, 0, rows, pixels.data(), &bmi, DIB_RGB_COLORS)) {
                ICONINFO made{TRUE, 0, 0, info.hbmMask, colour};
                mapped = CreateIconIndirect(&made);
            }
            if (colour)
                DeleteObject(colour);
        }
    }
    if (screen)
        DeleteDC(screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return mapped;
}

} // namespace platform

// --- cursors ---

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name)
{
    if (instance || !IS_INTRESOURCE(name))
        return nullptr;
    const int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
    static const int known[] = {32512, 32513, 32514, 32649};
    static HCURSOR cursors[4] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        for (int k = 0; k < 4; ++k) {
            // The picture is a stand-in: the backend shows the desktop's own cursor of that
            // kind; a plain icon drawn from a cursor handle is a small black square.
            auto pixels = std::make_unique<Gdiplus::Bitmap>(32, 32, Gdiplus::PixelFormat32bppARGB);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x)
                    pixels->SetPixel(x, y, Gdiplus::Color(255, 0, 0, 0));
            auto object = std::make_unique<GdiObject>();
            object->kind = Kind::Icon;
            object->stock = true;
            object->systemCursor = known[k];
            object->pixels = std::move(pixels);
            cursors[k] = platform::gdi::RegisterAs<HCURSOR>(std::move(object));
        }
    });
    for (int k = 0; k < 4; ++k)
        if (known[k] == id)
            return cursors[k];
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    if (cursor && !platform::gdi::Lookup(cursor, Kind::Icon))
        return g_cursor.load();
    const HCURSOR previous = g_cursor.exchange(cursor);
    if (auto* listener = g_cursorListener.load())
        listener(cursor);
    return previous;
}

HCURSOR GetCursor()
{
    return g_cursor.load();
}

namespace platform {

int SystemCursorOf(HCURSOR cursor)
{
    GdiObject* i = platform::gdi::Lookup(cursor, Kind::Icon);
    return i ? i->systemCursor : 0;
}

void SetCursorListener(void (*listener)(HCURSOR cursor))
{
    g_cursorListener.store(listener);
}

} // namespace platform

// --- image lists ---

HIMAGELIST ImageList_Create(int cx, int cy, UINT, int, int)
{
    if (cx < 1 || cy < 1)
        return nullptr;
    auto object = std::make_unique<GdiObject>();
    object->kind = Kind::ImageList;
    object->imageWidth = cx;
    object->imageHeight = cy;
    return platform::gdi::RegisterAs<HIMAGELIST>(std::move(object));
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
    return list && platform::gdi::Release(list, Kind::ImageList);
}

int ImageList_GetImageCount(HIMAGELIST list)
{
    GdiObject* l = platform::gdi::Lookup(list, Kind::ImageList);
    return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy)
{
    GdiObject* l = platform::gdi::Lookup(list, Kind::ImageList);
    if (!l || !cx || !cy)
        return FALSE;
    *cx = l->imageWidth;
    *cy = l->imageHeight;
    return TRUE;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon)
{
    GdiObject* l = platform::gdi::Lookup(list, Kind::ImageList);
    GdiObject* i = platform::gdi::Lookup(icon, Kind::Icon);
    if (!l || !i || index < -1 || index >= static_cast<int>(l->images.size()))
        return -1;
    auto pixels = Scaled(*i->pixels, l->imageWidth, l->imageHeight);
    if (index == -1) {
        l->images.push_back(std::move(pixels));
        return static_cast<int>(l->images.size()) - 1;
    }
    l->images[static_cast<size_t>(index)] = std::move(pixels);
    return index;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask)
{
    GdiObject* l = platform::gdi::Lookup(list, Kind::ImageList);
    GdiObject* b = platform::gdi::Lookup(image, Kind::Bitmap);
    GdiObject* m = mask ? platform::gdi::Lookup(mask, Kind::Bitmap) : nullptr;
    if (!l || !b)
        return -1;
    const int w = static_cast<int>(b->pixels->GetWidth());
    const int count = w / l->imageWidth;
    if (count < 1)
        return -1;
    const int first = static_cast<int>(l->images.size());
    for (int k = 0; k < count; ++k) {
        std::unique_ptr<Gdiplus::Bitmap> piece(b->pixels->Clone(
            k * l->imageWidth, 0, l->imageWidth,
            std::min<int>(l->imageHeight, static_cast<int>(b->pixels->GetHeight())),
            Gdiplus::PixelFormat32bppARGB));
        if (!piece)
            return first == static_cast<int>(l->images.size()) ? -1 : first;
        if (m) {
            for (int y = 0; y < static_cast<int>(piece->GetHeight()); ++y)
                for (int x = 0; x < l->imageWidth; ++x) {
                    Gdiplus::Color c;
                    m->pixels->GetPixel(k * l->imageWidth + x, y, &c);
                    if (c.GetR() > 127)
                        piece->SetPixel(x, y, Gdiplus::Color(0, 0, 0, 0));
                }
        }
        l->images.push_back(Scaled(*piece, l->imageWidth, l->imageHeight));
    }
    return first;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT)
{
    GdiObject* l = platform::gdi::Lookup(list, Kind::ImageList);
    if (!l || index < 0 || index >= static_cast<int>(l->images.size()))
        return nullptr;
    return NewIcon(CopyPixels(*l->images[static_cast<size_t>(index)]));
}
