// A GDI+-compatible drawing surface on Cairo image surfaces, Pango and gdk-pixbuf.
//
// Classes, methods, enumerations and constants follow the GDI+ C++ wrapper classes (same
// names, signatures and values) for everything offered here, so that code written against
// GDI+ compiles unchanged. Failures are recorded as the object's last status, never thrown;
// GetLastStatus answers the last failure and resets it to Ok, as the wrappers do.
//
// What decides pixels, and how it is matched (docs/graphics.md has the full account):
//  - a new Graphics uses Bilinear interpolation and no pixel offset; Default and LowQuality
//    read back as Bilinear, HighQuality as HighQualityBicubic;
//  - DrawImage with a source rectangle stretches it into the destination; source area outside
//    the image is transparent; NearestNeighbor with PixelOffsetModeNone shifts the picture
//    half a source pixel up-left, with Half it copies exact blocks;
//  - composition is source-over on premultiplied 32-bit pixels (±1 on translucent pixels);
//  - fonts are looked up by family name, letter case ignored; a name that is not installed
//    (nor a metric-compatible alias of an installed family) fails with FontFamilyNotFound,
//    and Font(name, ...) then falls back to the generic sans-serif family;
//  - MeasureString answers the widest laid-out line (trailing blanks excluded) plus em/3,
//    and lines x line spacing; text wraps at word boundaries within the layout width − em/3,
//    and a line is laid out while its top is inside the layout height.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Stream.h"
#include "platform/base/WinTypes.h"

#include <memory>

namespace Gdiplus {

using ::REAL;
using ARGB = DWORD;
using PixelFormat = INT;
using GraphicsState = UINT;

// --- enumerations ---

enum Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedGdiplusVersion = 17,
    GdiplusNotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20,
    ProfileNotFound = 21,
};

enum Unit {
    UnitWorld = 0,
    UnitDisplay = 1,
    UnitPixel = 2,
    UnitPoint = 3,
    UnitInch = 4,
    UnitDocument = 5,
    UnitMillimeter = 6,
};

enum FontStyle {
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleBoldItalic = 3,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8,
};

enum StringAlignment {
    StringAlignmentNear = 0,
    StringAlignmentCenter = 1,
    StringAlignmentFar = 2,
};

enum StringFormatFlags {
    StringFormatFlagsDirectionRightToLeft = 0x00000001,
    StringFormatFlagsDirectionVertical = 0x00000002,
    StringFormatFlagsNoFitBlackBox = 0x00000004,
    StringFormatFlagsDisplayFormatControl = 0x00000020,
    StringFormatFlagsNoFontFallback = 0x00000400,
    StringFormatFlagsMeasureTrailingSpaces = 0x00000800,
    StringFormatFlagsNoWrap = 0x00001000,
    StringFormatFlagsLineLimit = 0x00002000,
    StringFormatFlagsNoClip = 0x00004000,
};

enum StringTrimming {
    StringTrimmingNone = 0,
    StringTrimmingCharacter = 1,
    StringTrimmingWord = 2,
    StringTrimmingEllipsisCharacter = 3,
    StringTrimmingEllipsisWord = 4,
    StringTrimmingEllipsisPath = 5,
};

enum InterpolationMode {
    InterpolationModeInvalid = -1,
    InterpolationModeDefault = 0,
    InterpolationModeLowQuality = 1,
    InterpolationModeHighQuality = 2,
    InterpolationModeBilinear = 3,
    InterpolationModeBicubic = 4,
    InterpolationModeNearestNeighbor = 5,
    InterpolationModeHighQualityBilinear = 6,
    InterpolationModeHighQualityBicubic = 7,
};

enum PixelOffsetMode {
    PixelOffsetModeInvalid = -1,
    PixelOffsetModeDefault = 0,
    PixelOffsetModeHighSpeed = 1,
    PixelOffsetModeHighQuality = 2,
    PixelOffsetModeNone = 3,
    PixelOffsetModeHalf = 4,
};

enum SmoothingMode {
    SmoothingModeInvalid = -1,
    SmoothingModeDefault = 0,
    SmoothingModeHighSpeed = 1,
    SmoothingModeHighQuality = 2,
    SmoothingModeNone = 3,
    SmoothingModeAntiAlias = 4,
};

enum TextRenderingHint {
    TextRenderingHintSystemDefault = 0,
    TextRenderingHintSingleBitPerPixelGridFit = 1,
    TextRenderingHintSingleBitPerPixel = 2,
    TextRenderingHintAntiAliasGridFit = 3,
    TextRenderingHintAntiAlias = 4,
    TextRenderingHintClearTypeGridFit = 5,
};

enum CompositingMode {
    CompositingModeSourceOver = 0,
    CompositingModeSourceCopy = 1,
};

enum CombineMode {
    CombineModeReplace = 0,
    CombineModeIntersect = 1,
};

enum ImageType {
    ImageTypeUnknown = 0,
    ImageTypeBitmap = 1,
    ImageTypeMetafile = 2,
};

enum ImageLockMode {
    ImageLockModeRead = 0x0001,
    ImageLockModeWrite = 0x0002,
    ImageLockModeUserInputBuf = 0x0004,
};

constexpr PixelFormat PixelFormatDontCare = 0;
constexpr PixelFormat PixelFormatUndefined = 0;
constexpr PixelFormat PixelFormat24bppRGB = 0x00021808;
constexpr PixelFormat PixelFormat32bppRGB = 0x00022009;
constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;
constexpr PixelFormat PixelFormat32bppPARGB = 0x000E200B;

constexpr LANGID LANG_NEUTRAL = 0x00;
constexpr int LF_FACESIZE = 32;

// --- values ---

class Color
{
public:
    enum : ARGB {
        Black = 0xFF000000,
        White = 0xFFFFFFFF,
        Red = 0xFFFF0000,
        Green = 0xFF008000,
        Lime = 0xFF00FF00,
        Blue = 0xFF0000FF,
        Gray = 0xFF808080,
        Transparent = 0x00FFFFFF,
    };
    enum { AlphaShift = 24, RedShift = 16, GreenShift = 8, BlueShift = 0 };

    Color() : Argb(Black) {}
    Color(BYTE r, BYTE g, BYTE b) : Argb(MakeARGB(255, r, g, b)) {}
    Color(BYTE a, BYTE r, BYTE g, BYTE b) : Argb(MakeARGB(a, r, g, b)) {}
    Color(ARGB argb) : Argb(argb) {}

    BYTE GetAlpha() const { return static_cast<BYTE>(Argb >> AlphaShift); }
    BYTE GetA() const { return GetAlpha(); }
    BYTE GetRed() const { return static_cast<BYTE>(Argb >> RedShift); }
    BYTE GetR() const { return GetRed(); }
    BYTE GetGreen() const { return static_cast<BYTE>(Argb >> GreenShift); }
    BYTE GetG() const { return GetGreen(); }
    BYTE GetBlue() const { return static_cast<BYTE>(Argb >> BlueShift); }
    BYTE GetB() const { return GetBlue(); }
    ARGB GetValue() const { return Argb; }
    void SetValue(ARGB argb) { Argb = argb; }
    void SetFromCOLORREF(COLORREF rgb)
    {
        Argb = MakeARGB(255, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    }
    COLORREF ToCOLORREF() const { return RGB(GetRed(), GetGreen(), GetBlue()); }
    static ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b)
    {
        return (static_cast<ARGB>(a) << AlphaShift) | (static_cast<ARGB>(r) << RedShift) |
               (static_cast<ARGB>(g) << GreenShift) | (static_cast<ARGB>(b) << BlueShift);
    }

protected:
    ARGB Argb;
};

class Point
{
public:
    Point() : X(0), Y(0) {}
    Point(INT x, INT y) : X(x), Y(y) {}
    INT X, Y;
};

class PointF
{
public:
    PointF() : X(0), Y(0) {}
    PointF(REAL x, REAL y) : X(x), Y(y) {}
    REAL X, Y;
};

class Size
{
public:
    Size() : Width(0), Height(0) {}
    Size(INT w, INT h) : Width(w), Height(h) {}
    INT Width, Height;
};

class SizeF
{
public:
    SizeF() : Width(0), Height(0) {}
    SizeF(REAL w, REAL h) : Width(w), Height(h) {}
    REAL Width, Height;
};

class Rect
{
public:
    Rect() : X(0), Y(0), Width(0), Height(0) {}
    Rect(INT x, INT y, INT w, INT h) : X(x), Y(y), Width(w), Height(h) {}
    INT GetLeft() const { return X; }
    INT GetTop() const { return Y; }
    INT GetRight() const { return X + Width; }
    INT GetBottom() const { return Y + Height; }
    BOOL IsEmptyArea() const { return Width <= 0 || Height <= 0; }
    BOOL Equals(const Rect& r) const
    {
        return X == r.X && Y == r.Y && Width == r.Width && Height == r.Height;
    }
    BOOL Contains(INT x, INT y) const
    {
        return x >= X && x < X + Width && y >= Y && y < Y + Height;
    }
    void Offset(INT dx, INT dy)
    {
        X += dx;
        Y += dy;
    }
    void Inflate(INT dx, INT dy)
    {
        X -= dx;
        Y -= dy;
        Width += 2 * dx;
        Height += 2 * dy;
    }
    INT X, Y, Width, Height;
};

class RectF
{
public:
    RectF() : X(0), Y(0), Width(0), Height(0) {}
    RectF(REAL x, REAL y, REAL w, REAL h) : X(x), Y(y), Width(w), Height(h) {}
    REAL GetLeft() const { return X; }
    REAL GetTop() const { return Y; }
    REAL GetRight() const { return X + Width; }
    REAL GetBottom() const { return Y + Height; }
    BOOL IsEmptyArea() const { return Width <= 0 || Height <= 0; }
    BOOL Equals(const RectF& r) const
    {
        return X == r.X && Y == r.Y && Width == r.Width && Height == r.Height;
    }
    REAL X, Y, Width, Height;
};

// --- start-up ---

using DebugEventProc = void (*)(int level, CHAR* message);

struct GdiplusStartupInput
{
    UINT32 GdiplusVersion;
    DebugEventProc DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;
    constexpr GdiplusStartupInput(DebugEventProc callback = nullptr,
                                  BOOL suppressBackgroundThread = FALSE,
                                  BOOL suppressExternalCodecs = FALSE)
        : GdiplusVersion(1), DebugEventCallback(callback),
          SuppressBackgroundThread(suppressBackgroundThread),
          SuppressExternalCodecs(suppressExternalCodecs)
    {
    }
};

struct GdiplusStartupOutput
{
    void* NotificationHook;
    void* NotificationUnhook;
};

// Counted: every successful start-up hands out its own token, and the graphics system runs
// until each token has been shut down.
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output);
void GdiplusShutdown(ULONG_PTR token);

// --- objects ---

class Graphics;
class FontFamily;
class FontCollection;
class ImageAttributes
{
};
using DrawImageAbort = BOOL (*)(VOID*);

namespace detail {
struct ImageData;
struct FontData;
struct FamilyData;
struct GraphicsData;
} // namespace detail

class Image
{
public:
    Image(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
    Image(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    static Image* FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
    static Image* FromStream(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);

    virtual Image* Clone();
    UINT GetWidth();
    UINT GetHeight();
    PixelFormat GetPixelFormat();
    ImageType GetType() const;
    Status GetLastStatus() const;

protected:
    Image();
    explicit Image(std::shared_ptr<detail::ImageData> data, Status status);
    Status SetStatus(Status status) const;

    std::shared_ptr<detail::ImageData> nativeImage;
    mutable Status lastResult;

    friend class Graphics;
    friend detail::ImageData* NativeOf(const Image*);
};

struct BitmapData
{
    UINT Width;
    UINT Height;
    INT Stride;
    ::Gdiplus::PixelFormat PixelFormat;
    VOID* Scan0;
    UINT_PTR Reserved;
};

class Bitmap : public Image
{
public:
    Bitmap(INT width, INT height, PixelFormat format = PixelFormat32bppARGB);
    // Copies the caller's pixels in; later changes to that memory are not seen.
    Bitmap(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0);
    Bitmap(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
    Bitmap(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);

    static Bitmap* FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
    static Bitmap* FromStream(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);

    Image* Clone() override;
    // A copy of an area; null when the area is not inside the bitmap.
    Bitmap* Clone(const Rect& rect, PixelFormat format);
    Bitmap* Clone(INT x, INT y, INT width, INT height, PixelFormat format);

    Status GetPixel(INT x, INT y, Color* color);
    Status SetPixel(INT x, INT y, const Color& color);
    // PixelFormat32bppARGB hands out non-premultiplied copies; PixelFormat32bppPARGB the
    // pixels themselves.
    Status LockBits(const Rect* rect, UINT flags, PixelFormat format, BitmapData* lockedData);
    Status UnlockBits(BitmapData* lockedData);

private:
    explicit Bitmap(std::shared_ptr<detail::ImageData> data, Status status)
        : Image(std::move(data), status)
    {
    }
};

class Brush
{
public:
    virtual ~Brush() = default;
    virtual Brush* Clone() const = 0;
    Status GetLastStatus() const;

protected:
    mutable Status lastResult = Ok;
};

class SolidBrush : public Brush
{
public:
    SolidBrush(const Color& color) : m_color(color) {}
    Brush* Clone() const override { return new SolidBrush(m_color); }
    Status GetColor(Color* color) const;
    Status SetColor(const Color& color);

private:
    Color m_color;
};

class Pen
{
public:
    Pen(const Color& color, REAL width = 1.0f) : m_color(color), m_width(width) {}
    Pen* Clone() const { return new Pen(m_color, m_width); }
    Status GetColor(Color* color) const;
    Status SetColor(const Color& color);
    REAL GetWidth() const { return m_width; }
    Status SetWidth(REAL width);
    Status GetLastStatus() const;

private:
    Color m_color;
    REAL m_width;
    mutable Status lastResult = Ok;
};

class FontCollection
{
};

class FontFamily
{
public:
    FontFamily();
    FontFamily(const WCHAR* name, const FontCollection* fontCollection = nullptr);
    ~FontFamily();
    FontFamily(const FontFamily&) = delete;
    FontFamily& operator=(const FontFamily&) = delete;

    static const FontFamily* GenericSansSerif();
    static const FontFamily* GenericSerif();
    static const FontFamily* GenericMonospace();

    Status GetFamilyName(LPWSTR name, LANGID language = 0) const;
    BOOL IsAvailable() const;
    FontFamily* Clone() const;
    Status GetLastStatus() const;

private:
    std::shared_ptr<detail::FamilyData> nativeFamily;
    mutable Status lastResult;
    friend class Font;
};

class Font
{
public:
    Font(const FontFamily* family, REAL emSize, INT style = FontStyleRegular,
         Unit unit = UnitPoint);
    // A family name that is not installed falls back to the generic sans-serif family.
    Font(const WCHAR* familyName, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint,
         const FontCollection* fontCollection = nullptr);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    Font* Clone() const;
    Status GetFamily(FontFamily* family) const;
    REAL GetSize() const;
    INT GetStyle() const;
    Unit GetUnit() const;
    // Line spacing in pixels.
    REAL GetHeight(REAL dpi) const;
    REAL GetHeight(const Graphics* graphics) const;
    BOOL IsAvailable() const;
    Status GetLastStatus() const;

private:
    Font() = default;
    std::shared_ptr<detail::FontData> nativeFont;
    mutable Status lastResult = Ok;
    friend class Graphics;
};

class StringFormat
{
public:
    StringFormat(INT formatFlags = 0, LANGID language = LANG_NEUTRAL);
    StringFormat(const StringFormat* format);

    static const StringFormat* GenericDefault();
    static const StringFormat* GenericTypographic();

    Status SetFormatFlags(INT flags);
    INT GetFormatFlags() const { return m_flags; }
    Status SetAlignment(StringAlignment align);
    StringAlignment GetAlignment() const { return m_align; }
    Status SetLineAlignment(StringAlignment align);
    StringAlignment GetLineAlignment() const { return m_lineAlign; }
    Status SetTrimming(StringTrimming trimming);
    StringTrimming GetTrimming() const { return m_trimming; }
    LANGID GetLanguage() const { return m_language; }
    StringFormat* Clone() const { return new StringFormat(this); }
    Status GetLastStatus() const;

private:
    INT m_flags;
    LANGID m_language;
    StringAlignment m_align = StringAlignmentNear;
    StringAlignment m_lineAlign = StringAlignmentNear;
    StringTrimming m_trimming = StringTrimmingCharacter;
    mutable Status lastResult = Ok;
};

class Graphics
{
public:
    // Draws into an image's pixels (GdipGetImageGraphicsContext).
    Graphics(Image* image);
    // Draws through a device context: its surface, origin and clip (GdipCreateFromHDC).
    Graphics(HDC hdc);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    static Graphics* FromImage(Image* image) { return new Graphics(image); }
    static Graphics* FromHDC(HDC hdc) { return new Graphics(hdc); }

    // --- images ---
    Status DrawImage(Image* image, INT x, INT y);
    Status DrawImage(Image* image, INT x, INT y, INT width, INT height);
    Status DrawImage(Image* image, const Rect& rect);
    Status DrawImage(Image* image, REAL x, REAL y, REAL width, REAL height);
    Status DrawImage(Image* image, const RectF& rect);
    Status DrawImage(Image* image, INT x, INT y, INT srcx, INT srcy, INT srcwidth, INT srcheight,
                     Unit srcUnit);
    Status DrawImage(Image* image, const Rect& destRect, INT srcx, INT srcy, INT srcwidth,
                     INT srcheight, Unit srcUnit, const ImageAttributes* imageAttributes = nullptr,
                     DrawImageAbort callback = nullptr, VOID* callbackData = nullptr);
    Status DrawImage(Image* image, const RectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                     REAL srcheight, Unit srcUnit, const ImageAttributes* imageAttributes = nullptr,
                     DrawImageAbort callback = nullptr, VOID* callbackData = nullptr);

    // --- shapes ---
    Status Clear(const Color& color);
    Status FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height);
    Status FillRectangle(const Brush* brush, const Rect& rect);
    Status FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height);
    Status FillRectangle(const Brush* brush, const RectF& rect);
    Status DrawRectangle(const Pen* pen, INT x, INT y, INT width, INT height);
    Status DrawRectangle(const Pen* pen, const Rect& rect);
    Status DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2);

    // --- text ---
    Status DrawString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                      const StringFormat* stringFormat, const Brush* brush);
    Status DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                      const Brush* brush);
    Status DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                      const StringFormat* stringFormat, const Brush* brush);
    Status MeasureString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                         const StringFormat* stringFormat, RectF* boundingBox,
                         INT* codepointsFitted = nullptr, INT* linesFilled = nullptr) const;
    Status MeasureString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                         RectF* boundingBox) const;
    Status MeasureString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                         const StringFormat* stringFormat, RectF* boundingBox) const;

    // --- state ---
    Status SetInterpolationMode(InterpolationMode mode);
    InterpolationMode GetInterpolationMode() const;
    Status SetPixelOffsetMode(PixelOffsetMode mode);
    PixelOffsetMode GetPixelOffsetMode() const;
    Status SetSmoothingMode(SmoothingMode mode);
    SmoothingMode GetSmoothingMode() const;
    Status SetTextRenderingHint(TextRenderingHint hint);
    TextRenderingHint GetTextRenderingHint() const;
    Status SetCompositingMode(CompositingMode mode);
    CompositingMode GetCompositingMode() const;
    Status SetClip(const Rect& rect, CombineMode combineMode = CombineModeReplace);
    Status ResetClip();
    // The part of the page that drawing can still change: the clip within the surface, in
    // the current coordinates, widened to whole pixels.
    Status GetVisibleClipBounds(Rect* rect) const;
    Status TranslateTransform(REAL dx, REAL dy);
    Status ResetTransform();
    // skinkit's own: makes this graphics draw logical pixels onto a picture of `scale` device
    // pixels per logical pixel whose (0, 0) is the device pixel of logical point (originX,
    // originY) of the window surface, so that what it draws lands where it would on the
    // surface itself. Becomes the transform ResetTransform returns to.
    Status SetDeviceScale(REAL scale, INT originX, INT originY);
    void Flush();
    Status GetLastStatus() const;

private:
    Status SetStatus(Status status) const;
    // The drawing modes: without graphics, or for a value outside [lowest, highest], the call
    // fails and a read answers `none`.
    template <typename Mode> Mode ModeOf(Mode detail::GraphicsData::*field, Mode none) const;
    template <typename Mode>
    Status StoreMode(Mode detail::GraphicsData::*field, Mode mode, Mode lowest, Mode highest);
    Status DrawImageArea(Image* image, double dx, double dy, double dw, double dh, double sx,
                         double sy, double sw, double sh);

    std::unique_ptr<detail::GraphicsData> nativeGraphics;
    mutable Status lastResult = Ok;
};

} // namespace Gdiplus
