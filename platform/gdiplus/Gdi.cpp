// GDI object handles and device contexts.
#include "platform/gdiplus/Gdi.h"

#include "platform/base/DeviceScale.h"
#include "platform/base/FilePath.h"
#include "platform/gdiplus/GdiPrivate.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace platform::gdi {
namespace {

std::mutex g_lock;
// Every handle the library gives out is the address of one of these; the table tells live
// handles from stale or foreign ones, so that a wrong handle is refused instead of followed.
std::unordered_map<void*, std::unique_ptr<GdiObject>>& Table()
{
    // Never destroyed: handles may be released from other static objects' destructors.
    static auto* table = new std::unordered_map<void*, std::unique_ptr<GdiObject>>;
    return *table;
}

} // namespace

void* Register(std::unique_ptr<GdiObject> object)
{
    std::lock_guard<std::mutex> guard(g_lock);
    void* key = object.get();
    Table().emplace(key, std::move(object));
    return key;
}

GdiObject* LookupAny(const void* handle)
{
    if (!handle)
        return nullptr;
    std::lock_guard<std::mutex> guard(g_lock);
    auto it = Table().find(const_cast<void*>(handle));
    return it != Table().end() && !it->second->deletePending ? it->second.get() : nullptr;
}

GdiObject* Lookup(const void* handle, Kind kind)
{
    GdiObject* o = LookupAny(handle);
    return o && o->kind == kind ? o : nullptr;
}

bool Release(const void* handle, Kind kind)
{
    std::unique_ptr<GdiObject> gone;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        auto it = Table().find(const_cast<void*>(handle));
        if (it == Table().end() || it->second->kind != kind || it->second->deletePending)
            return false;
        if (it->second->stock)
            return true;
        if (it->second->selections > 0) {
            it->second->deletePending = true;
            return true;
        }
        gone = std::move(it->second);
        Table().erase(it);
    }
    if (gone && gone->kind == Kind::DC) {
        DCState& s = gone->state;
        for (GdiObject* held : {s.bitmap, s.font, s.pen, s.brush})
            if (held)
                Unselect(held);
    }
    return true;
}

void Unselect(GdiObject* object)
{
    std::lock_guard<std::mutex> guard(g_lock);
    if (!object || object->selections <= 0)
        return;
    if (--object->selections == 0 && object->deletePending)
        Table().erase(object);
}

} // namespace platform::gdi

using platform::gdi::GdiObject;
using platform::gdi::Kind;
using platform::gdi::Lookup;
using platform::gdi::Release;

namespace {

template <class H> H Register(std::unique_ptr<GdiObject> object)
{
    return platform::gdi::RegisterAs<H>(std::move(object));
}

// The picture of a file whose format is one of `formats`, told from its first bytes as the
// decoder tells it; at `width` x `height` when both are set.
std::unique_ptr<Gdiplus::Bitmap> Decode(const std::string& path, int width, int height,
                                        std::initializer_list<std::string_view> formats)
{
    Gdiplus::Status status = Gdiplus::Ok;
    std::string format;
    GdkPixbuf* pb = Gdiplus::detail::DecodePixbufFile(path, &status, &format);
    if (pb && std::find(formats.begin(), formats.end(), format) == formats.end()) {
        g_object_unref(pb);
        return nullptr;
    }
    if (pb && width > 0 && height > 0 &&
        (gdk_pixbuf_get_width(pb) != width || gdk_pixbuf_get_height(pb) != height)) {
        GdkPixbuf* scaled = Gdiplus::detail::WithinPictureBounds(width, height)
                                ? gdk_pixbuf_scale_simple(pb, width, height, GDK_INTERP_BILINEAR)
                                : nullptr;
        g_object_unref(pb);
        pb = scaled;
    }
    if (!pb)
        return nullptr;
    if (gdk_pixbuf_get_n_channels(pb) != 3 && gdk_pixbuf_get_n_channels(pb) != 4) {
        g_object_unref(pb);
        return nullptr;
    }
    const int w = gdk_pixbuf_get_width(pb), h = gdk_pixbuf_get_height(pb);
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::BitmapData data;
    Gdiplus::Rect all(0, 0, w, h);
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, Gdiplus::PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok) {
        g_object_unref(pb);
        return nullptr;
    }
    const int channels = gdk_pixbuf_get_n_channels(pb);
    const guchar* src = gdk_pixbuf_read_pixels(pb);
    for (int y = 0; y < h; ++y) {
        const guchar* sp = src + static_cast<ptrdiff_t>(y) * gdk_pixbuf_get_rowstride(pb);
        auto* dp = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(data.Scan0) +
                                                    static_cast<ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < w; ++x, sp += channels)
            dp[x] = (std::uint32_t(channels == 4 ? sp[3] : 255) << 24) |
                    (std::uint32_t(sp[0]) << 16) | (std::uint32_t(sp[1]) << 8) | sp[2];
    }
    bitmap->UnlockBits(&data);
    g_object_unref(pb);
    return bitmap;
}

} // namespace

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    default:
        return 0;
    }
}

HMODULE GetModuleHandleW(LPCWSTR name)
{
    // The host executable's handle stands for "this process"; nothing is loaded from it.
    static int self;
    return name ? nullptr : reinterpret_cast<HMODULE>(&self);
}

namespace {

std::atomic<platform::ResourcePictureLookup> g_resourceLookup{nullptr};

// The picture the registered lookup finds as resource `id`, at the size asked: 0 keeps the
// picture's own size unless LR_DEFAULTSIZE asks for the system's icon size.
HANDLE LoadResourceImage(UINT id, UINT type, int cx, int cy, UINT flags)
{
    platform::ResourcePicture source;
    const platform::ResourcePictureLookup lookup = g_resourceLookup.load();
    if ((type != IMAGE_ICON && type != IMAGE_BITMAP && type != IMAGE_CURSOR) || !lookup ||
        !lookup(id, &source))
        return nullptr;
    const bool icon = type != IMAGE_BITMAP;
    const int w =
        cx > 0 ? cx : ((flags & LR_DEFAULTSIZE) && icon ? GetSystemMetrics(SM_CXICON) : 0);
    const int h =
        cy > 0 ? cy : ((flags & LR_DEFAULTSIZE) && icon ? GetSystemMetrics(SM_CYICON) : 0);
    auto object = std::make_unique<GdiObject>();
    object->kind = icon ? Kind::Icon : Kind::Bitmap;
    if (source.picture) {
        Gdiplus::Bitmap& from = *source.picture;
        const int fw = static_cast<int>(from.GetWidth()), fh = static_cast<int>(from.GetHeight());
        const int tw = w > 0 ? w : fw, th = h > 0 ? h : fh;
        object->pixels = std::make_unique<Gdiplus::Bitmap>(tw, th, Gdiplus::PixelFormat32bppARGB);
        Gdiplus::Graphics g(object->pixels.get());
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        g.DrawImage(&from, Gdiplus::Rect(0, 0, tw, th), 0, 0, fw, fh, Gdiplus::UnitPixel);
    } else {
        object->pixels = Decode(platform::ResolvePath(source.path), w, h,
                                {"ico", "ani", "png", "bmp", "jpeg", "gif", "tiff"});
    }
    if (!object->pixels || object->pixels->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    return Register<HANDLE>(std::move(object));
}

} // namespace

void platform::SetResourcePictureLookup(ResourcePictureLookup lookup)
{
    g_resourceLookup.store(lookup);
}

HANDLE LoadImageW(HINSTANCE, LPCWSTR name, UINT type, int cx, int cy, UINT flags)
{
    if (name && IS_INTRESOURCE(name) && !(flags & LR_LOADFROMFILE))
        return LoadResourceImage(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)), type, cx, cy,
                                 flags);
    if (!name || IS_INTRESOURCE(name) || !(flags & LR_LOADFROMFILE))
        return nullptr;
    const std::string path = platform::ResolvePath(CString(name));
    auto object = std::make_unique<GdiObject>();
    if (type == IMAGE_BITMAP) {
        // As on Windows, a bitmap handle loads Windows bitmap files only.
        object->kind = Kind::Bitmap;
        object->pixels = Decode(path, 0, 0, {"bmp"});
    } else if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
        object->kind = Kind::Icon;
        const int w = cx > 0 ? cx : ((flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : 0);
        const int h = cy > 0 ? cy : ((flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : 0);
        object->pixels = Decode(path, w, h, {"ico", "ani"});
    } else {
        return nullptr;
    }
    if (!object->pixels || object->pixels->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    return Register<HANDLE>(std::move(object));
}

BOOL DeleteObject(HGDIOBJ object)
{
    GdiObject* o = platform::gdi::LookupAny(object);
    if (!o || o->kind == Kind::DC || o->kind == Kind::Icon || o->kind == Kind::ImageList)
        return FALSE;
    return Release(object, o->kind);
}

BOOL DestroyIcon(HICON icon)
{
    return icon && Release(icon, Kind::Icon);
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer)
{
    if (GdiObject* font = Lookup(object, Kind::Font)) {
        if (!buffer)
            return static_cast<int>(sizeof(LOGFONTW));
        if (size < static_cast<int>(sizeof(LOGFONTW)))
            return 0;
        std::memcpy(buffer, &font->logFont, sizeof(LOGFONTW));
        return static_cast<int>(sizeof(LOGFONTW));
    }
    GdiObject* o = Lookup(object, Kind::Bitmap);
    if (!o)
        return 0;
    if (!buffer)
        return static_cast<int>(sizeof(BITMAP));
    if (size < static_cast<int>(sizeof(BITMAP)))
        return 0;
    BITMAP bm{};
    bm.bmType = 0;
    bm.bmWidth = static_cast<LONG>(o->pixels->GetWidth());
    bm.bmHeight = static_cast<LONG>(o->pixels->GetHeight());
    bm.bmWidthBytes = bm.bmWidth * 4;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = 32;
    std::memcpy(buffer, &bm, sizeof bm);
    return static_cast<int>(sizeof bm);
}

BOOL GetIconInfo(HICON icon, ICONINFO* info)
{
    GdiObject* o = Lookup(icon, Kind::Icon);
    if (!o || !info)
        return FALSE;
    auto colour = std::make_unique<GdiObject>();
    colour->kind = Kind::Bitmap;
    colour->pixels.reset(static_cast<Gdiplus::Bitmap*>(o->pixels->Clone()));
    // The mask: white where the icon is transparent, black where it shows.
    const int w = static_cast<int>(o->pixels->GetWidth()),
              h = static_cast<int>(o->pixels->GetHeight());
    auto mask = std::make_unique<GdiObject>();
    mask->kind = Kind::Bitmap;
    mask->pixels = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Gdiplus::Color c;
            o->pixels->GetPixel(x, y, &c);
            mask->pixels->SetPixel(
                x, y,
                Gdiplus::Color(c.GetA() == 0 ? Gdiplus::Color::White : Gdiplus::Color::Black));
        }
    info->fIcon = TRUE;
    info->xHotspot = static_cast<DWORD>(w / 2);
    info->yHotspot = static_cast<DWORD>(h / 2);
    info->hbmColor = Register<HBITMAP>(std::move(colour));
    info->hbmMask = Register<HBITMAP>(std::move(mask));
    return TRUE;
}

namespace platform {

Gdiplus::Bitmap* BitmapOfHandle(HGDIOBJ object)
{
    if (GdiObject* o = Lookup(object, Kind::Bitmap))
        return o->pixels.get();
    if (GdiObject* o = Lookup(object, Kind::Icon))
        return o->pixels.get();
    return nullptr;
}

HDC CreateSurfaceDC(Gdiplus::Bitmap* target, POINT origin, const RECT* clip)
{
    if (!target || target->GetWidth() == 0)
        return nullptr;
    auto object = std::make_unique<GdiObject>();
    object->kind = Kind::DC;
    object->dc.target = target;
    object->dc.origin = origin;
    object->dc.clip = clip ? *clip
                           : RECT{0, 0, static_cast<LONG>(target->GetWidth()),
                                  static_cast<LONG>(target->GetHeight())};
    return Register<HDC>(std::move(object));
}

HDC CreateScaledSurfaceDC(Gdiplus::Bitmap* target, POINT origin, const RECT* clip, double scale)
{
    if (!IsUsableScale(scale))
        return nullptr;
    const HDC dc = CreateSurfaceDC(target, origin, clip);
    if (GdiObject* o = dc ? Lookup(dc, Kind::DC) : nullptr)
        o->dc.scale = scale;
    return dc;
}

bool DescribeDC(HDC dc, SurfaceDC* out)
{
    GdiObject* o = Lookup(dc, Kind::DC);
    if (!o || !out)
        return false;
    *out = o->dc;
    return true;
}

} // namespace platform

BOOL DeleteDC(HDC dc)
{
    return dc && Release(dc, Kind::DC);
}

// --- memory device contexts and selection ---

namespace {

LONG ClampToLong(long long v)
{
    return static_cast<LONG>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// A memory context's pixels before a bitmap is selected, and after it is deselected: GDI
// gives each such context a 1 x 1 bitmap of its own.
GdiObject* DefaultBitmap()
{
    static GdiObject* bitmap = [] {
        auto object = std::make_unique<GdiObject>();
        object->kind = Kind::Bitmap;
        object->stock = true;
        object->pixels = std::make_unique<Gdiplus::Bitmap>(1, 1, Gdiplus::PixelFormat32bppARGB);
        GdiObject* raw = object.get();
        platform::gdi::Register(std::move(object));
        return raw;
    }();
    return bitmap;
}

void Target(GdiObject& dc, GdiObject* bitmap)
{
    dc.dc.target = bitmap->pixels.get();
    if (bitmap->deviceScale != 1.0) {
        // A picture of part of a scaled window: drawn in that part's logical coordinates onto
        // the device pixels it covers there.
        const RECT& area = bitmap->deviceArea;
        dc.dc.scale = bitmap->deviceScale;
        dc.dc.origin = POINT{area.left, area.top};
        dc.dc.offset = POINT{platform::DeviceEdge(area.left, dc.dc.scale),
                             platform::DeviceEdge(area.top, dc.dc.scale)};
        dc.dc.clip = area;
        return;
    }
    dc.dc.scale = 1.0;
    dc.dc.origin = POINT{0, 0};
    dc.dc.offset = POINT{0, 0};
    dc.dc.clip = RECT{0, 0, static_cast<LONG>(bitmap->pixels->GetWidth()),
                      static_cast<LONG>(bitmap->pixels->GetHeight())};
}

// A bitmap of cx x cy pixels, opaque black as GDI's start.
std::unique_ptr<GdiObject> BlackBitmap(int cx, int cy)
{
    if (cx < 1 || cy < 1)
        return nullptr;
    auto object = std::make_unique<GdiObject>();
    object->kind = Kind::Bitmap;
    object->pixels = std::make_unique<Gdiplus::Bitmap>(cx, cy, Gdiplus::PixelFormat32bppARGB);
    if (object->pixels->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    // GDI bitmaps start black; ours are opaque, since GDI draws without alpha.
    Gdiplus::detail::ImageData* data = Gdiplus::NativeOf(object->pixels.get());
    cairo_t* cr = cairo_create(data->surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return object;
}

} // namespace

HDC CreateCompatibleDC(HDC)
{
    GdiObject* initial = DefaultBitmap();
    auto object = std::make_unique<GdiObject>();
    object->kind = Kind::DC;
    object->state.memory = true;
    Target(*object, initial);
    return Register<HDC>(std::move(object));
}

HDC CreateDCW(LPCWSTR driver, LPCWSTR, LPCWSTR, const void*)
{
    if (driver && CString(driver).CompareNoCase(L"DISPLAY") != 0)
        return nullptr;
    return CreateCompatibleDC(nullptr);
}

HBITMAP CreateCompatibleBitmap(HDC, int cx, int cy)
{
    auto object = BlackBitmap(cx, cy);
    return object ? Register<HBITMAP>(std::move(object)) : nullptr;
}

HBITMAP platform::CreateDeviceBitmap(HDC like, SIZE size)
{
    platform::SurfaceDC d;
    if (!platform::DescribeDC(like, &d) || d.scale == 1.0)
        return CreateCompatibleBitmap(like, size.cx, size.cy);
    if (size.cx < 1 || size.cy < 1)
        return nullptr;
    // The area (0, 0, size) of `like` on its window's surface, and the device pixels it covers
    // there.
    const platform::DeviceMapping map = d.Mapping();
    const RECT area{ClampToLong(static_cast<long long>(d.origin.x)),
                    ClampToLong(static_cast<long long>(d.origin.y)),
                    ClampToLong(static_cast<long long>(d.origin.x) + size.cx),
                    ClampToLong(static_cast<long long>(d.origin.y) + size.cy)};
    auto object = BlackBitmap(map.X(size.cx) - map.X(0), map.Y(size.cy) - map.Y(0));
    if (!object)
        return nullptr;
    object->deviceScale = d.scale;
    object->deviceArea = area;
    return Register<HBITMAP>(std::move(object));
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ handle)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    GdiObject* o = platform::gdi::LookupAny(handle);
    if (!d || !o)
        return nullptr;
    platform::gdi::DCState& s = d->state;
    GdiObject** slot = nullptr;
    GdiObject* fallback = nullptr;
    switch (o->kind) {
    case Kind::Bitmap:
        if (!s.memory)
            return nullptr;
        slot = &s.bitmap;
        fallback = DefaultBitmap();
        break;
    case Kind::Font:
        slot = &s.font;
        fallback = platform::gdi::StockFont(SYSTEM_FONT);
        break;
    case Kind::Pen:
        slot = &s.pen;
        fallback = platform::gdi::LookupAny(GetStockObject(BLACK_PEN));
        break;
    case Kind::Brush:
        slot = &s.brush;
        fallback = platform::gdi::LookupAny(GetStockObject(WHITE_BRUSH));
        break;
    default:
        return nullptr;
    }
    GdiObject* previous = *slot ? *slot : fallback;
    if (o != *slot) {
        ++o->selections;
        if (*slot)
            platform::gdi::Unselect(*slot);
        *slot = o;
    }
    if (o->kind == Kind::Bitmap)
        Target(*d, o);
    return previous;
}

int GetDeviceCaps(HDC dc, int index)
{
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case BITSPIXEL:
        return 32;
    case HORZRES:
    case VERTRES: {
        platform::SurfaceDC d;
        if (!platform::DescribeDC(dc, &d))
            return 0;
        // Logical pixels, as every other size a host sees.
        return platform::LogicalCoord(
            index == HORZRES ? d.target->GetWidth() : d.target->GetHeight(), d.scale);
    }
    default:
        return 0;
    }
}

Gdiplus::Status platform::SaveImageAsPng(Gdiplus::Image* image, const CString& path)
{
    Gdiplus::detail::ImageData* data = Gdiplus::NativeOf(image);
    if (!data || path.IsEmpty())
        return Gdiplus::InvalidParameter;
    cairo_surface_flush(data->surface);
    const cairo_status_t status =
        cairo_surface_write_to_png(data->surface, ExactPath(path).c_str());
    return status == CAIRO_STATUS_SUCCESS ? Gdiplus::Ok : Gdiplus::Win32Error;
}
