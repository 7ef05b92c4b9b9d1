// What every owner-drawn control does the same way: compose the whole control off screen into
// a W x H ARGB picture (or, drawing with GDI, a memory bitmap) and copy it 1:1 onto the device
// context it was given (so a paint never shows a half-drawn control), take in what its parent
// shows behind it, tell its parent about a change, and know its own size and font. Also the
// small steps every control of this folder takes alike: leaving the background unerased, taking
// the owner-drawn type, replacing its text painter and destroying its window in time.
#pragma once

#include "controls/FocusLook.h"
#include "controls/wndsys.h"
#include "paint/CtrlGDIpString.h"

#include <utility>

namespace ownerdraw {

// The drawing modes a control composes with. The defaults are what a fresh Graphics has
// (bilinear, no pixel offset); skins drawn cell by cell use nearest neighbour with the
// half-pixel offset so that 1:1 pieces land exactly on their pixels.
struct Modes
{
    Gdiplus::InterpolationMode interpolation = Gdiplus::InterpolationModeBilinear;
    Gdiplus::PixelOffsetMode pixelOffset = Gdiplus::PixelOffsetModeNone;
};
inline constexpr Modes kDefaultModes{};
inline constexpr Modes kPixelExact{Gdiplus::InterpolationModeNearestNeighbor,
                                   Gdiplus::PixelOffsetModeHalf};

// The window's outer size: owner-drawn controls fill their whole window rectangle.
CSize WindowSize(const CWnd& wnd);

// Copies `picture` 1:1 at (0, 0) onto `dc`, blending over what is there.
void CopyToDC(HDC dc, Gdiplus::Bitmap& picture);
// Copies `picture` into logical (0, 0, size) of `dc`: 1:1 when the picture has the device
// pixels that area covers (DevicePicture).
void CopyToDC(HDC dc, Gdiplus::Bitmap& picture, CSize size);

// The device pixels a `size` area at (0, 0) of `dc` covers on its window's surface: the
// picture a control composes, so that its lines and text are drawn at the display's
// resolution and the copy is 1:1.
struct DevicePicture
{
    int width;
    int height;
    double scale; // device pixels per logical pixel
    POINT origin; // the area's logical origin on the surface
};
DevicePicture DevicePictureOf(HDC dc, CSize size);

// Composes a `size` picture with `paint(Gdiplus::Graphics&, int w, int h)` under `modes`,
// then copies it onto `dc`. On a scaled window the picture has the device pixels the control
// covers and the graphics carries the scale, while `paint` keeps drawing logical w x h. An
// empty size (or one too large to allocate) draws nothing and answers false; `paint` is then
// not called.
template <typename PaintFn> bool Compose(HDC dc, CSize size, Modes modes, PaintFn&& paint)
{
    if (!dc || size.cx <= 0 || size.cy <= 0)
        return false;
    const DevicePicture device = DevicePictureOf(dc, size);
    if (device.width <= 0 || device.height <= 0)
        return false;
    Gdiplus::Bitmap picture(device.width, device.height, Gdiplus::PixelFormat32bppARGB);
    if (picture.GetLastStatus() != Gdiplus::Ok)
        return false;
    {
        Gdiplus::Graphics g(&picture);
        if (device.scale != 1.0)
            g.SetDeviceScale(static_cast<Gdiplus::REAL>(device.scale), device.origin.x,
                             device.origin.y);
        g.SetInterpolationMode(modes.interpolation);
        g.SetPixelOffsetMode(modes.pixelOffset);
        std::forward<PaintFn>(paint)(g, static_cast<int>(size.cx), static_cast<int>(size.cy));
    }
    CopyToDC(dc, picture, size);
    return true;
}

// A memory context holding a `size` bitmap of the screen's format (opaque black at first), both
// released with the object: what ComposeGdi draws into. On a scaled window the bitmap has the
// device pixels the area covers (platform::CreateDeviceBitmap), so GDI draws at the display's
// resolution and the copy is 1:1.
class GdiPicture
{
public:
    GdiPicture(HDC like, CSize size);
    ~GdiPicture();
    GdiPicture(const GdiPicture&) = delete;
    GdiPicture& operator=(const GdiPicture&) = delete;

    // The memory context, null when the picture could not be made.
    HDC Memory() const { return m_memory; }
    void CopyTo(HDC dc) const;

private:
    HDC m_memory = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    CSize m_size;
};
// The GDI twin of Compose, for controls that draw with GDI: `paint(HDC memory, int w, int h)`
// draws into a `size` GdiPicture, which is then copied onto `dc` at (0, 0) in one step. Nothing
// is drawn, and false answered, for a null context, an empty size or a picture that cannot be
// made; `paint` is then not called.
template <typename PaintFn> bool ComposeGdi(HDC dc, CSize size, PaintFn&& paint)
{
    if (!dc || size.cx <= 0 || size.cy <= 0)
        return false;
    GdiPicture picture(dc, size);
    if (!picture.Memory())
        return false;
    std::forward<PaintFn>(paint)(picture.Memory(), static_cast<int>(size.cx),
                                 static_cast<int>(size.cy));
    picture.CopyTo(dc);
    return true;
}

// Copies what the parent shows behind `part` of the control (window coordinates, as the
// control's own picture is laid out) into `dc` at the same place, for controls whose parent
// shows through. Answers false, copying nothing, without a parent window.
bool CopyParentBackground(const CWnd& control, HDC dc, const CRect& part);

// Where a control's background picture is taken from, for drawing into (0, 0, W, H). Each
// control picks the kind by its own rule (which origins mean "whole", whether it stretches).
enum class BackgroundKind {
    Whole,       // the whole picture, stretched
    StretchFrom, // a part the picture's size from (x, y), stretched
    CopyFrom,    // the W x H part from (x, y), copied 1:1
};
Gdiplus::Rect BackgroundSource(BackgroundKind kind, int x, int y, CSize picture, CSize window);
// The size of a borrowed picture; 0 x 0 for none.
CSize PictureSize(Gdiplus::Image* picture);

// The whole of `picture` stretched into `dst`; a null picture draws nothing.
void DrawStretched(Gdiplus::Graphics& g, Gdiplus::Image* picture, const Gdiplus::Rect& dst);
// A control's background picture into (0, 0, W, H) of a `window`-sized picture, from where
// `kind` says; a null picture draws nothing.
void DrawBackground(Gdiplus::Graphics& g, Gdiplus::Image* picture, BackgroundKind kind, int x,
                    int y, CSize window);

// --- focus ---

// Whether `control` shows its focus now: keyboard access is on (skinkit::EnableKeyboardAccess),
// the control has the focus, and its top-level shows focus cues, which it does only once the
// keyboard was used there, never after the mouse alone.
bool ShowsFocus(const CWnd& control);
// The borders a focus picture of size `picture` keeps unstretched over a `control`-sized area:
// the picture is cut at its centre, and no corner takes more than half the control.
RECT FocusPictureMargins(CSize picture, CSize control);
// Draws the focus over logical (0, 0, size) of `dc`, after the control's own picture, when
// ShowsFocus(control): the look's picture, else its colour as a 1-pixel frame along the edge,
// else the platform's dotted rectangle one pixel inside the edge. The one focus painter of
// every skinned control, so that all of them show the focus alike.
void PaintFocus(const CWnd& control, HDC dc, CSize size, const FocusLook& look);
// Repaints a control whose picture covers its window as the focus comes or goes, so that its
// focus look comes and goes with it; nothing while keyboard access is off.
void RepaintForFocus(CWnd& control);

// Makes a control owner-drawn by replacing the type bits `typeMask` of its style with
// `ownerDrawType`. Replaced, not OR-ed: BS_OWNERDRAW (0xB) OR-ed into a radio or three-state
// button makes all four type bits, and SS_OWNERDRAW (0xD) OR-ed into SS_RIGHT gives 0xF, types
// that are never owner-drawn, and such a control would never be painted.
void MakeOwnerDrawn(CWnd& control, DWORD typeMask, DWORD ownerDrawType);
inline void MakeButtonOwnerDrawn(CWnd& control)
{
    MakeOwnerDrawn(control, BS_TYPEMASK, BS_OWNERDRAW);
}
inline void MakeStaticOwnerDrawn(CWnd& control)
{
    MakeOwnerDrawn(control, SS_TYPEMASK, SS_OWNERDRAW);
}

// Replaces the text painter `painter` owns with one for this font; the old one is deleted.
void ReplaceFont(CCtrlGDIpString*& painter, const CString& family, long size,
                 Gdiplus::FontStyle style);

// Called first in a control's destructor: destroys the window while the object is still of the
// destructor's class, so that the window's last messages (WM_DESTROY and the like) reach a
// whole control rather than a half-destroyed one. A window that belongs to another object
// (attached elsewhere, or already handed on) is left alone.
void DestroyOwnWindow(CWnd& control);

// The font a control shows its text in: the one its window answers to WM_GETFONT, else its
// parent's, else the first stock font there is of the GUI, system and variable ones; null when
// there is none at all.
HFONT WindowFont(CWnd& control);

// Sends `message` synchronously to the control's parent with the control's id as wParam
// (the sliders' and the list's notifications carry it there). Answers 0 without a parent.
LRESULT NotifyParent(CWnd& control, UINT message, LPARAM lParam);

// Sends `message` synchronously to the control's parent as given (for notifications whose
// wParam is not the id, such as the scroll bar's position). Answers 0 without a parent.
LRESULT SendToParent(CWnd& control, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace ownerdraw

// The message-map entry of a control that paints every pixel itself: WM_ERASEBKGND answers 1
// and erases nothing, so the background never flashes between the erase and the paint.
#define ON_WM_ERASEBKGND_NOTHING() SKINKIT_MSG_ENTRY(WM_ERASEBKGND, 0, 0, 0, *result = TRUE)
