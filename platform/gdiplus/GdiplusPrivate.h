// Internal to the graphics surface: the Cairo and Pango objects behind the GDI+ classes.
#pragma once

#include "platform/gdiplus/Gdiplus.h"

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <string>
#include <vector>

namespace Gdiplus {

namespace detail {
struct ImageData;
}
detail::ImageData* NativeOf(const Image* image);

namespace detail {

bool IsStarted();

// GetLastStatus of every class: the last failure, and the object is Ok again.
inline Status TakeStatus(Status& last)
{
    const Status s = last;
    last = Ok;
    return s;
}

// Premultiplied ARGB32 pixels, as Cairo keeps them.
struct ImageData
{
    explicit ImageData(cairo_surface_t* s) : surface(s) {}
    ~ImageData() { cairo_surface_destroy(surface); }
    ImageData(const ImageData&) = delete;
    ImageData& operator=(const ImageData&) = delete;
    int Width() const { return cairo_image_surface_get_width(surface); }
    int Height() const { return cairo_image_surface_get_height(surface); }
    // A picture drawn for a display scale (a skin's "@2x" file) has `scale` pixels per
    // logical pixel: it measures, and is addressed, in logical pixels.
    int LogicalWidth() const { return static_cast<int>(std::lround(Width() / scale)); }
    int LogicalHeight() const { return static_cast<int>(std::lround(Height() / scale)); }

    cairo_surface_t* surface;
    double scale = 1.0;
    // Pixels handed out by LockBits in a format other than the surface's own.
    std::vector<std::uint32_t> lockBuffer;
    Rect lockRect;
    UINT lockFlags = 0;
    bool locked = false;
};

// No skin needs a picture larger than this, and a few hundred bytes of header must not make
// us take gigabytes: pictures and bitmaps past these bounds fail before memory is taken.
constexpr long long kMaxPictureSide = 16384;        // pixels, either side
constexpr long long kMaxPictureBytes = 256LL << 20; // decoded, 4 bytes a pixel
constexpr long long kMaxEncodedBytes = 64LL << 20;  // a file or stream read for decoding
bool WithinPictureBounds(long long width, long long height);

// A new ARGB32 surface, or null when the size is past the bounds or Cairo refuses it.
cairo_surface_t* NewSurface(int width, int height);
// A decoded picture from encoded bytes or a file; null and a status when it fails: OutOfMemory
// for a picture or a file past the bounds, FileNotFound when the file cannot be read,
// UnknownImageFormat for anything that does not decode.
cairo_surface_t* DecodeFile(const std::string& path, Status* status);
cairo_surface_t* DecodeBytes(const std::vector<BYTE>& bytes, Status* status);
// The same decoding as a pixbuf, for the GDI bitmaps and icons; the caller unrefs it. `type`,
// when given, receives the format told from the first bytes ("png", "bmp", "ico", "ani" ...),
// empty when none is known.
GdkPixbuf* DecodePixbufFile(const std::string& path, Status* status, std::string* type = nullptr);

// A family as fontconfig resolves it: the family name Pango is given.
struct FamilyData
{
    std::string pangoFamily;
    CString displayName;
};

struct FontData
{
    unsigned long long id; // unique per font, for layout caching
    std::shared_ptr<FamilyData> family;
    REAL emSize;
    INT style;
    Unit unit;
    double emPixels;            // em size in device pixels
    PangoFontDescription* desc; // owned
    double ascent;              // pixels, unhinted
    double lineSpacing;         // ascent + descent + line gap, pixels
    double descentPlusAscent;   // Pango's own line height, pixels
    ~FontData() { pango_font_description_free(desc); }
};

// The family of a name, or null when no family of that name (nor a metric-compatible alias of
// one) is installed.
std::shared_ptr<FamilyData> ResolveFamily(const CString& name);
std::shared_ptr<FamilyData> GenericSansSerifFamily();
std::shared_ptr<FontData> MakeFont(std::shared_ptr<FamilyData> family, REAL emSize, INT style,
                                   Unit unit);

// This thread's Pango contexts: unhinted with fractional glyph positions for GDI+ text (its
// metrics are fractional), hinted with whole-pixel positions for GDI text.
PangoContext* SharedPangoContext();
PangoContext* HintedPangoContext();

struct GraphicsData
{
    cairo_t* cr = nullptr;             // owned
    std::shared_ptr<ImageData> target; // keeps the drawn-into pixels alive
    InterpolationMode interpolation = InterpolationModeBilinear;
    PixelOffsetMode pixelOffset = PixelOffsetModeDefault;
    SmoothingMode smoothing = SmoothingModeDefault;
    TextRenderingHint textHint = TextRenderingHintSystemDefault;
    CompositingMode compositing = CompositingModeSourceOver;
    cairo_matrix_t baseMatrix; // device transform of the device context (origin, scale)
    // Device pixels per logical pixel. Above 1 (a window on a high-density display), fills
    // and pictures land on whole device pixels by the rule of DeviceScale.h, and pens are a
    // whole number of device pixels wide.
    double deviceScale = 1.0;
    double clipX = 0, clipY = 0, clipW = -1, clipH = -1; // the context's own clip, -1: none
    ~GraphicsData()
    {
        if (cr)
            cairo_destroy(cr);
    }
};

// Lays out text as GDI+ does: measures and draws share it.
struct TextLayout
{
    PangoLayout* layout = nullptr;  // owned
    int lineCount = 0;              // lines laid out inside the height
    double width = 0;               // widest line to its last non-blank, + em/3
    double height = 0;              // lines x line spacing
    int codepoints = 0;             // characters in the laid-out lines
    std::vector<double> lineWidths; // each line to its last non-blank
    ~TextLayout()
    {
        if (layout)
            g_object_unref(layout);
    }
};
void LayoutText(const FontData& font, const WCHAR* text, INT length, const RectF& box, INT flags,
                TextLayout* out);

// Premultiplied <-> straight alpha.
inline std::uint32_t Premultiply(std::uint32_t argb)
{
    const std::uint32_t a = argb >> 24;
    if (a == 255)
        return argb;
    if (a == 0)
        return 0;
    auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (mul((argb >> 16) & 0xFF) << 16) | (mul((argb >> 8) & 0xFF) << 8) |
           mul(argb & 0xFF);
}
inline std::uint32_t Unpremultiply(std::uint32_t p)
{
    const std::uint32_t a = p >> 24;
    if (a == 255)
        return p;
    if (a == 0)
        return 0;
    auto div = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (div((p >> 16) & 0xFF) << 16) | (div((p >> 8) & 0xFF) << 8) | div(p & 0xFF);
}

} // namespace detail
} // namespace Gdiplus
