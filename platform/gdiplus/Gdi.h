// GDI stand-ins: one table of GDI object handles (bitmaps, icons, cursors, fonts, pens,
// brushes, image lists) and the device-context object that both Gdiplus::Graphics(HDC) and GDI
// drawing use. A device context draws into a 32-bit pixel surface at an origin, inside a clip
// rectangle; besides, it holds its selected objects, its text and background colours, its
// background mode and its current position, as a GDI device context does.
//
// GDI pixels (docs/graphics.md): no antialiasing, whole pixels only, left and top edges
// inclusive, right and bottom exclusive. Pens wider than one pixel cover the rows and columns
// from w/2 above or left of the outline, with round joins; a line's end point is not drawn.
// Everything GDI draws is opaque, except text, whose glyph edges blend, and alpha icons.
// On a scaled window a context maps its logical coordinates to device pixels through its
// DeviceMapping (platform/base/DeviceScale.h), and a pen covers round(scale) device pixels
// for each pixel it covers at scale 1; text is measured in logical pixels and drawn at the
// device size.
#pragma once

#include "platform/base/DeviceScale.h"
#include "platform/base/WinTypes.h"
#include "platform/gdiplus/Gdiplus.h"

#include <functional>

// --- picture loading (LoadImageW) ---
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_LOADFROMFILE = 0x0010;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;

// The system's default icon size (32 x 32).
int GetSystemMetrics(int index);

HMODULE GetModuleHandleW(LPCWSTR name);

// Loads a picture file (LR_LOADFROMFILE): IMAGE_BITMAP takes Windows bitmap files only,
// IMAGE_ICON icon and cursor files, at the system's icon size with LR_DEFAULTSIZE or with the
// given size. A resource number (without LR_LOADFROMFILE) loads the picture the resource
// lookup finds under it (platform::SetResourcePictureLookup), at the given size or its own.
// Null on any failure.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);
BOOL DeleteObject(HGDIOBJ object);
BOOL DestroyIcon(HICON icon);

namespace platform {
// Where the picture of a resource number comes from.
struct ResourcePicture
{
    CString path;                             // a picture file, or
    std::shared_ptr<Gdiplus::Bitmap> picture; // pixels
};
// The drawing layer keeps no resource table of its own: the one that holds the host's
// resources registers how a number is looked up, answering false for a number it does not
// know. With none registered (or after a null one), no resource number loads.
using ResourcePictureLookup = bool (*)(UINT id, ResourcePicture* out);
void SetResourcePictureLookup(ResourcePictureLookup lookup);
} // namespace platform

struct BITMAP
{
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
// Fills a BITMAP for a bitmap handle or a LOGFONTW for a font handle; answers the bytes
// written (with a null buffer, the bytes needed), 0 for anything else.
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);

struct ICONINFO
{
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
};
// New bitmaps (the caller deletes them): the colour picture with alpha, and a mask.
BOOL GetIconInfo(HICON icon, ICONINFO* info);

namespace platform {

// The pixels of a bitmap or icon handle as a GDI+ bitmap (borrowed: valid while the handle
// lives), or null for an invalid handle.
Gdiplus::Bitmap* BitmapOfHandle(HGDIOBJ object);

// A device context that draws into `target` with its origin at `origin` (target pixels) and
// clipped to `clip` (target pixels; null: the whole target). The target must outlive it.
HDC CreateSurfaceDC(Gdiplus::Bitmap* target, POINT origin, const RECT* clip);
// The same on a window surface of `scale` device pixels per logical pixel: origin and clip
// stay logical, and drawing through it lands on the device pixels that DeviceScale.h maps
// them to.
HDC CreateScaledSurfaceDC(Gdiplus::Bitmap* target, POINT origin, const RECT* clip, double scale);

// The target, origin and clip of a device context; false for an invalid handle.
struct SurfaceDC
{
    Gdiplus::Bitmap* target;
    POINT origin;
    RECT clip;          // target pixels (logical ones on a scaled surface)
    double scale = 1.0; // device pixels of the target per logical pixel
    POINT offset{};     // device position of the target's first pixel (see DeviceMapping)
    DeviceMapping Mapping() const { return DeviceMapping{scale, origin, offset}; }
};
bool DescribeDC(HDC dc, SurfaceDC* out);

// A bitmap to compose a `size` area at (0, 0) of `like` in: on a scaled window it has the
// device pixels that area covers, and a memory context it is selected into draws in the area's
// logical coordinates onto them by the rule of DeviceScale.h, so that copying it back with
// BitBlt is 1:1. Elsewhere it is CreateCompatibleBitmap's. Null for an empty size.
HBITMAP CreateDeviceBitmap(HDC like, SIZE size);

} // namespace platform

BOOL DeleteDC(HDC dc);

// --- device contexts and drawing ---
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// A memory device context: it draws into the bitmap selected into it (at first a 1 x 1 one).
// The reference context only decides the pixel format, which is always 32-bit here.
HDC CreateCompatibleDC(HDC dc);
// "DISPLAY" (or a null driver) gives a context on the screen's pixel format, as a memory
// context; anything else is not supported.
HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* initData);
// An opaque black bitmap of the screen's format; null for a size below 1.
HBITMAP CreateCompatibleBitmap(HDC dc, int cx, int cy);
// Selects a bitmap (memory contexts only), font, pen or brush; answers the object it replaces,
// null when the object or the context is not valid.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// LOGPIXELSX/Y 96 (the display skins are drawn for), BITSPIXEL 32; HORZRES and VERTRES
// the context's target size.
int GetDeviceCaps(HDC dc, int index);

namespace platform {

// Selects an object into a device context for one scope and puts back the one it replaced when
// the scope ends. With a fallback, the fallback is selected when the object cannot be (null,
// stale, or of a kind the context does not take). When neither can be, nothing is selected and
// nothing is put back.
class ScopedSelect
{
public:
    ScopedSelect(HDC dc, HGDIOBJ object, HGDIOBJ fallback = nullptr) : m_dc(dc)
    {
        m_old = object ? SelectObject(dc, object) : nullptr;
        if (!m_old && fallback)
            m_old = SelectObject(dc, fallback);
    }
    ~ScopedSelect()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

    // Whether something was selected.
    explicit operator bool() const { return m_old != nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

} // namespace platform

HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);
// Copies pixels; SRCCOPY only. The source may be any context, also a window's, whose pixels
// are those shown.
BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop);
// Fills with a solid brush (the null brush fills nothing).
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// Outline with the selected pen, inside filled with the selected brush.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
// The dotted focus rectangle, drawn by inverting (so drawing it twice removes it).
BOOL DrawFocusRect(HDC dc, const RECT* rect);
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);

namespace platform {

// Shapes in one colour, each with a pen or brush of its own for the call: a solid fill, the
// outline of a rectangle drawn with a solid pen `penWidth` wide (the inside left as it is), and
// a solid one-pixel line, its end point left out. The context's current position ends at the
// line's end, as LineTo leaves it.
void FillSolidRect(HDC dc, const RECT& r, COLORREF colour);
void OutlineRect(HDC dc, const RECT& r, int penWidth, COLORREF colour);
void SolidLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour);

} // namespace platform

COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF colour);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

// --- fonts and text ---
constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;

struct LOGFONTW
{
    LONG lfHeight; // < 0: character (em) height in pixels; > 0: cell height; 0: default
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
using LPLOGFONTW = LOGFONTW*;
using LOGFONT = LOGFONTW;

// A face name that is not installed (nor a metric-compatible alias of an installed family)
// draws with the desktop's sans-serif family, as GDI substitutes a similar font.
HFONT CreateFontIndirectW(const LOGFONTW* logFont);

namespace platform {

// LOGPIXELSY of the "DISPLAY" device: the dots per inch point sizes are converted with.
int DisplayDotsPerInchY();
// The LOGFONTW height (negative: a character height) of a font of `points` points on the
// display, -MulDiv(points, dpi, 72), and back: |MulDiv(height, 72, dpi)|. Worked out wide, so
// that no point size or height overflows (MulDiv answers -1 where the result does not fit).
LONG FontHeightOfPoints(int points);
int PointsOfFontHeight(LONG height);

} // namespace platform

struct TEXTMETRICW
{
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
};
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
// Width: the whole-pixel advances of the selected font; height: its ascent + descent.
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);

constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_EXPANDTABS = 0x40;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;
// Draws text in the selected font and text colour; in OPAQUE mode each line's text box is
// filled with the background colour first. Lines break at line feeds and, with DT_WORDBREAK,
// between words; `&` marks the next character (underlined) unless DT_NOPREFIX, and `&&` is
// one ampersand. DT_VCENTER and DT_BOTTOM apply to single lines only. Clipped to the rectangle
// unless DT_NOCLIP. DT_CALCRECT measures only: the rectangle's right and bottom are set to
// those of the text. Answers the height of the text (0 for a failure).
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);

// --- stock objects ---
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;
// Stock objects are shared and never destroyed (DeleteObject on one does nothing). The fonts
// are sans-serif (fixed-pitch for the fixed ones): DEFAULT_GUI_FONT of height -11, SYSTEM_FONT
// bold of cell height 16, ANSI_VAR_FONT of cell height 12. Null for an unknown id.
HGDIOBJ GetStockObject(int id);

// --- icons and device-independent pixels ---
constexpr UINT DI_MASK = 0x1;
constexpr UINT DI_IMAGE = 0x2;
constexpr UINT DI_NORMAL = 0x3;
constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;

// Draws an icon scaled to cx x cy (0: its own size) at (x, y), blending its alpha.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree,
                UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

struct BITMAPINFOHEADER
{
    DWORD biSize;
    LONG biWidth;
    LONG biHeight; // > 0: rows bottom-up; < 0: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
struct RGBQUAD
{
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
struct BITMAPINFO
{
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
// 32-bit BI_RGB only: rows of blue, green, red, alpha bytes (alpha not premultiplied). With
// null bits GetDIBits fills in the header (size, 32 bits, image size) and answers the height.
// Both answer the rows copied, 0 for a failure.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info,
              UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage);
// An icon from a colour bitmap and a mask (copies of both are taken). Where the colour bitmap
// carries no alpha at all, the mask decides: set bits are transparent.
HICON CreateIconIndirect(ICONINFO* info);
// A new icon (or cursor) with the same pixels; the caller destroys it.
HICON CopyIcon(HICON icon);

namespace platform {

// A new icon (the caller destroys it) from `icon`'s colour pixels, each passed through `map` as
// a DIB holds it (bytes blue, green, red, alpha from the low byte; alpha not premultiplied),
// with `icon`'s own mask. Null for a null icon, an empty map or any failure.
HICON MapIconPixels(HICON icon, const std::function<DWORD(DWORD bgra)>& map);

} // namespace platform

// --- cursors ---
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_HAND MAKEINTRESOURCEW(32649)
// The system's cursors by IDC_ id (a null instance); shared, never destroyed. Null for any
// other name.
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
// Makes `cursor` the current one and answers the previous one; a null cursor hides it.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

namespace platform {
// The system cursor (IDC_ value, e.g. 32649 for the hand) a cursor handle shows, also for
// copies; 0 for other cursors and icons.
int SystemCursorOf(HCURSOR cursor);
// Told of every SetCursor (the window layer's backend shows it). Null stops it.
void SetCursorListener(void (*listener)(HCURSOR cursor));
} // namespace platform

// --- image lists ---
struct HIMAGELIST__
{
    int unused;
};
using HIMAGELIST = HIMAGELIST__*;
constexpr UINT ILC_MASK = 0x1;
constexpr UINT ILC_COLOR32 = 0x20;
constexpr UINT ILD_NORMAL = 0x0;
constexpr UINT ILD_TRANSPARENT = 0x1;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Replaces image `index`, or adds one for index -1; the icon is scaled to the list's size.
// Answers the index, -1 for a failure.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon)
{
    return ImageList_ReplaceIcon(list, -1, icon);
}
// Adds the images of a bitmap cut into pieces of the list's width; the mask (optional) marks
// transparent pixels. Answers the index of the first, -1 for a failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// A new icon of image `index` (the caller destroys it); null for an index out of range.
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);

namespace platform {

// Writes an image's pixels as a PNG file (through the path resolver). Ok, InvalidParameter
// for a failed image, Win32Error when the file cannot be written.
Gdiplus::Status SaveImageAsPng(Gdiplus::Image* image, const CString& path);

} // namespace platform
