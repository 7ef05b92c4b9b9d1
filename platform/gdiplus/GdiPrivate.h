// Internal to the graphics surface: the one table of GDI object handles (pictures, device
// contexts, fonts, pens, brushes, image lists) that Gdi.cpp, GdiDraw.cpp, GdiText.cpp and
// GdiIcons.cpp share.
#pragma once

#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/GdiplusPrivate.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform::gdi {

enum class Kind { Bitmap, Icon, DC, Font, Pen, Brush, ImageList };

struct GdiObject;

// What a device context draws with, besides its target, origin and clip.
struct DCState
{
    bool memory = false;         // made by CreateCompatibleDC: draws into its selected bitmap
    GdiObject* bitmap = nullptr; // memory DCs: the selected bitmap
    GdiObject* font = nullptr;   // null: the system font
    GdiObject* pen = nullptr;    // null: the black 1-pixel pen
    GdiObject* brush = nullptr;  // null: the white brush
    COLORREF text = 0x000000;
    COLORREF bk = 0xFFFFFF;
    int bkMode = 2; // OPAQUE
    POINT position{};
};

// A font as LOGFONTW describes it, resolved for Pango with GDI's whole-pixel metrics.
struct FontFace
{
    PangoFontDescription* desc = nullptr; // owned
    bool underline = false;
    bool strikeout = false;
    int ascent = 0;  // whole pixels
    int descent = 0; // whole pixels
    ~FontFace()
    {
        if (desc)
            pango_font_description_free(desc);
    }
};

struct GdiObject
{
    Kind kind;
    bool stock = false;         // stock objects survive DeleteObject
    int selections = 0;         // device contexts it is selected into
    bool deletePending = false; // deleted while selected: goes when the last DC lets it go
    std::unique_ptr<Gdiplus::Bitmap> pixels; // bitmaps, icons; a memory DC's default bitmap
    platform::SurfaceDC dc{};                // device contexts
    DCState state;                           // device contexts
    LOGFONTW logFont{};                      // fonts
    std::shared_ptr<FontFace> face;          // fonts, made on first use
    // Fonts: the faces at the display scales they were drawn at, made on first use.
    std::vector<std::pair<double, std::shared_ptr<FontFace>>> scaledFaces;
    // Bitmaps made for composing part of a scaled window (CreateDeviceBitmap): the scale and
    // the logical area of the window's surface its pixels cover. 1: a plain bitmap.
    double deviceScale = 1.0;
    RECT deviceArea{};
    int penStyle = 0; // pens, brushes (brush style)
    int penWidth = 1;
    COLORREF colour = 0;  // pens, brushes
    int systemCursor = 0; // icons standing for a system cursor (IDC_ value), else 0
    std::vector<std::unique_ptr<Gdiplus::Bitmap>> images; // image lists
    int imageWidth = 0, imageHeight = 0;                  // image lists
};

// A new handle for `object`; the table owns it from now on.
void* Register(std::unique_ptr<GdiObject> object);
template <class H> H RegisterAs(std::unique_ptr<GdiObject> object)
{
    return static_cast<H>(Register(std::move(object)));
}
GdiObject* Lookup(const void* handle, Kind kind);
GdiObject* LookupAny(const void* handle);
// Removes a live handle of `kind`; false for anything else. Objects still selected into a
// device context are removed when the last one lets them go.
bool Release(const void* handle, Kind kind);
// A device context stops holding `object` (deselecting or being deleted).
void Unselect(GdiObject* object);

// The device context's object, or null.
inline GdiObject* DCOf(HDC dc)
{
    return Lookup(dc, Kind::DC);
}

// The stock objects (GetStockObject), made on first use and never destroyed.
GdiObject* StockFont(int id);

// Direct access to a bitmap's premultiplied pixels for one call; marks them changed at the end
// when `dirty` was set.
struct PixelAccess
{
    explicit PixelAccess(Gdiplus::Bitmap* bitmap)
    {
        Gdiplus::detail::ImageData* data = Gdiplus::NativeOf(bitmap);
        if (!data)
            return;
        surface = data->surface;
        cairo_surface_flush(surface);
        pixels = cairo_image_surface_get_data(surface);
        stride = cairo_image_surface_get_stride(surface);
        width = data->Width();
        height = data->Height();
    }
    ~PixelAccess()
    {
        if (surface && dirty)
            cairo_surface_mark_dirty(surface);
    }
    PixelAccess(const PixelAccess&) = delete;
    PixelAccess& operator=(const PixelAccess&) = delete;
    std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<std::uint32_t*>(pixels + static_cast<ptrdiff_t>(y) * stride);
    }

    cairo_surface_t* surface = nullptr;
    unsigned char* pixels = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
    bool dirty = false;
};

// Opaque 0xFFRRGGBB pixel value of a COLORREF.
inline std::uint32_t PixelOf(COLORREF c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// A device context as GDI drawing sees it: the target, where logical coordinates land on its
// pixels, and the clip in those pixels (drawing cuts it to the target's pixels).
struct DeviceTarget
{
    explicit DeviceTarget(const platform::SurfaceDC& dc);
    Gdiplus::Bitmap* target;
    platform::DeviceMapping map;
    CRect clip;
};

// Fills target pixels `device` with an opaque colour, inside `clip`.
void FillDevice(Gdiplus::Bitmap* target, const RECT& clip, const RECT& device, COLORREF colour);

} // namespace platform::gdi
