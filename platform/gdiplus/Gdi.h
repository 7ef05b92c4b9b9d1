// GDI stand-ins: one table of GDI object handles (bitmaps, icons; fonts, pens and brushes
// join it as the controls that draw with GDI need them) and the device-context object that
// both Gdiplus::Graphics(HDC) and GDI drawing use. A device context draws into a 32-bit
// pixel surface at an origin, inside a clip rectangle.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdiplus/Gdiplus.h"

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
// given size. Null on any failure. Other sources (resources) are not supported.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);
BOOL DeleteObject(HGDIOBJ object);
BOOL DestroyIcon(HICON icon);

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
// Fills a BITMAP for a bitmap handle; answers the bytes written, 0 for anything else.
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

// The target, origin and clip of a device context; false for an invalid handle.
struct SurfaceDC
{
    Gdiplus::Bitmap* target;
    POINT origin;
    RECT clip; // target pixels
};
bool DescribeDC(HDC dc, SurfaceDC* out);

} // namespace platform

BOOL DeleteDC(HDC dc);

namespace platform {

// Writes an image's pixels as a PNG file (through the path resolver). Ok, InvalidParameter
// for a failed image, Win32Error when the file cannot be written.
Gdiplus::Status SaveImageAsPng(Gdiplus::Image* image, const CString& path);

} // namespace platform
