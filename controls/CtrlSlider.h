// A horizontal skinned slider: a played bar left of the thumb, a remaining bar right of it, the
// thumb and an optional background, all borrowed skin pictures drawn at their own heights with
// fixed insets. Presses, drags and releases reach the parent synchronously as the three
// WM_SLIDER_* messages (wParam the control's id, lParam the new position), so the parent sees
// the position before the slider repaints.
#pragma once

#include "controls/FocusLook.h"
#include "controls/SliderLogic.h"
#include "controls/wndsys.h"

constexpr UINT WM_SLIDER_LBUTTONDOWN = WM_USER + 0x40;
constexpr UINT WM_SLIDER_LBUTTONUP = WM_USER + 0x41;
constexpr UINT WM_SLIDER_MOUSEMOVE = WM_USER + 0x42;

class CCtrlSlider : public CWnd, public CCtrlFocusLook
{
    DECLARE_DYNAMIC(CCtrlSlider)
public:
    CCtrlSlider();
    ~CCtrlSlider() override;

    // Slots 0 played bar, 1 remaining bar, 2 thumb, 3 background; another index is ignored.
    void SetImage(Gdiplus::Image* image, int index);
    // With `stretch` the part the background's size from (x, y) is stretched over the slider,
    // else the slider-sized part from (x, y) is copied 1:1.
    void SetImageBG(Gdiplus::Image* image, int x, int y, int stretch);
    // Repaints; the position is kept as it is, inside the new range or not.
    void SetRange(int min, int max);
    void GetRange(int& min, int& max) const;
    // Stores the value clamped to the range and repaints.
    void SetPos(int pos);
    int GetPos() const;
    // Where the thumb stands now, in client pixels, for the present range, position, size and
    // pictures: where the next paint draws it, asked of the same layout. Empty when there is
    // no thumb to draw. Unlike m_nThumbX it never waits for a paint.
    CRect GetThumbRect() const;

protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    // Keys (with skinkit::EnableKeyboardAccess): arrows a step, Page Up/Down a tenth of the
    // range, Home/End the ends; a press and its repeats notify as a press and a drag, the
    // release as a release.
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    UINT OnGetDlgCode();
    // Assistive technology: a horizontal slider with its range and position; a value set
    // there moves the thumb and notifies as a click at that place would.
    LRESULT OnAccDescribe(WPARAM wParam, LPARAM lParam);
    LRESULT OnAccSetValue(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Composes the slider into `g` (w x h); changes nothing.
    virtual void Paint(Gdiplus::Graphics& g, int w, int h) const;
    // The thumb in a window of `size`, from the layout Paint draws; false when there is no
    // thumb to draw (no thumb picture, or one the extended slider cannot scale).
    virtual bool PlaceThumb(CSize size, CRect* thumb) const;
    // Keeps the record of where the last paint put the thumb (m_nThumbX, and the extended
    // slider's m_rcThumb) for hosts that read it; the slider itself never reads it back.
    virtual void NotePainted(const CRect& thumb);
    void PaintBackground(Gdiplus::Graphics& g, int w, int h) const;
    // The whole picture into `dst`; nothing for a missing picture.
    static void DrawPicture(Gdiplus::Graphics& g, Gdiplus::Image* image, const Gdiplus::Rect& dst);
    slider::Range Range() const { return {m_nMin, m_nMax}; }
    slider::Size PictureSize(int index) const;
    static slider::Size SizeOf(CSize size) { return {int(size.cx), int(size.cy)}; }
    static CRect ToCRect(const Gdiplus::Rect& r);

public:
    Gdiplus::Image* m_pImage[slider::kPictureCount];
    int m_nMin;
    int m_nMax;
    int m_nPos;
    int m_nBgX;
    int m_nBgY;
    int m_bDragging;
    int m_bBgStretch;
    // The thumb's left edge at the last paint (-1 before it); GetThumbRect answers the present.
    int m_nThumbX;

private:
    int PosUnder(CPoint point) const;
    void EndKeyDrag();
    UINT m_nKeyHeld = 0; // the key whose press and repeats move the thumb, until released
    slider::PlainLayout Layout(CSize size) const;
};
