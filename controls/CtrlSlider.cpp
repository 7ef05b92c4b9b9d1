#include "controls/CtrlSlider.h"

#include "controls/KeyboardAccess.h"
#include "controls/OwnerDraw.h"
#include "controls/WideMath.h"

IMPLEMENT_DYNAMIC(CCtrlSlider, CWnd);

BEGIN_MESSAGE_MAP(CCtrlSlider, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_GETDLGCODE()
ON_MESSAGE(WM_ACCDESCRIBE, OnAccDescribe)
ON_MESSAGE(WM_ACCSETVALUE, OnAccSetValue)
END_MESSAGE_MAP()

CCtrlSlider::CCtrlSlider()
    : m_pImage{}, m_nMin(0), m_nMax(20), m_nPos(4), m_nBgX(0), m_nBgY(0), m_bDragging(0),
      m_bBgStretch(0), m_nThumbX(-1)
{
}

CCtrlSlider::~CCtrlSlider()
{
    ownerdraw::DestroyOwnWindow(*this);
}

// --- setters ---

void CCtrlSlider::SetImage(Gdiplus::Image* image, int index)
{
    // Slot 4 and beyond would land on the range fields: ignored.
    if (index >= 0 && index < slider::kPictureCount)
        m_pImage[index] = image;
}

void CCtrlSlider::SetImageBG(Gdiplus::Image* image, int x, int y, int stretch)
{
    m_pImage[slider::Background] = image;
    m_nBgX = x;
    m_nBgY = y;
    m_bBgStretch = stretch;
}

void CCtrlSlider::SetRange(int min, int max)
{
    m_nMin = min;
    m_nMax = max;
    Invalidate();
}

void CCtrlSlider::GetRange(int& min, int& max) const
{
    min = m_nMin;
    max = m_nMax;
}

void CCtrlSlider::SetPos(int pos)
{
    m_nPos = slider::Clamp(Range(), pos);
    Invalidate();
}

int CCtrlSlider::GetPos() const
{
    return m_nPos;
}

// --- geometry ---

CRect CCtrlSlider::ToCRect(const Gdiplus::Rect& r)
{
    const int64_t right = static_cast<int64_t>(r.X) + r.Width;
    const int64_t bottom = static_cast<int64_t>(r.Y) + r.Height;
    return CRect(r.X, r.Y, wide::Saturate(right), wide::Saturate(bottom));
}

slider::PlainLayout CCtrlSlider::Layout(CSize size) const
{
    return slider::LayoutPlain(Range(), m_nPos, SizeOf(size), PictureSize(slider::PlayedBar),
                               PictureSize(slider::RemainingBar), PictureSize(slider::Thumb));
}

bool CCtrlSlider::PlaceThumb(CSize size, CRect* thumb) const
{
    if (!m_pImage[slider::Thumb])
        return false;
    *thumb = ToCRect(Layout(size).thumb);
    return true;
}

CRect CCtrlSlider::GetThumbRect() const
{
    CRect thumb(0, 0, 0, 0);
    if (!m_hWnd || !PlaceThumb(ownerdraw::WindowSize(*this), &thumb))
        return CRect(0, 0, 0, 0);
    return thumb;
}

// --- mouse ---

int CCtrlSlider::PosUnder(CPoint point) const
{
    // The mapping uses the thumb picture's stored width, also where the painting scales it.
    return slider::PosFromMouse(Range(), point.x, static_cast<int>(ownerdraw::WindowSize(*this).cx),
                                PictureSize(slider::Thumb).w);
}

void CCtrlSlider::OnLButtonDown(UINT, CPoint point)
{
    // A slider the keyboard can move takes the focus when pressed, as a trackbar does.
    if (skinkit::KeyboardAccessEnabled())
        SetFocus();
    m_nPos = PosUnder(point);
    m_bDragging = 1;
    SetCapture();
    Invalidate();
    ownerdraw::NotifyParent(*this, WM_SLIDER_LBUTTONDOWN, m_nPos);
    Default();
}

void CCtrlSlider::OnMouseMove(UINT, CPoint point)
{
    if (m_bDragging) {
        m_nPos = PosUnder(point);
        Invalidate();
        // Every move while dragging, changed or not: the parent may follow the pointer itself.
        ownerdraw::NotifyParent(*this, WM_SLIDER_MOUSEMOVE, m_nPos);
    }
    Default();
}

void CCtrlSlider::OnLButtonUp(UINT, CPoint)
{
    ReleaseCapture();
    ownerdraw::NotifyParent(*this, WM_SLIDER_LBUTTONUP, m_nPos);
    m_bDragging = 0;
    Default();
}

// --- keys ---

namespace {

bool SliderKey(UINT vk, slider::Key* key)
{
    return skinkit::KeyFor<slider::Key>(vk,
                                        {{VK_LEFT, slider::Key::StepDown},
                                         {VK_DOWN, slider::Key::StepDown},
                                         {VK_RIGHT, slider::Key::StepUp},
                                         {VK_UP, slider::Key::StepUp},
                                         {VK_NEXT, slider::Key::PageDown},
                                         {VK_PRIOR, slider::Key::PageUp},
                                         {VK_HOME, slider::Key::Home},
                                         {VK_END, slider::Key::End}},
                                        key);
}

} // namespace

void CCtrlSlider::OnKeyDown(UINT vk, UINT, UINT)
{
    slider::Key key;
    if (!skinkit::KeyboardAccessEnabled() || m_bDragging || !SliderKey(vk, &key)) {
        Default();
        return;
    }
    m_nPos = slider::PosForKey(Range(), m_nPos, key);
    Invalidate();
    if (m_nKeyHeld == vk) {
        ownerdraw::NotifyParent(*this, WM_SLIDER_MOUSEMOVE, m_nPos);
        return;
    }
    // Another key while one is held: the first one's drag ends where the thumb stands.
    EndKeyDrag();
    m_nKeyHeld = vk;
    ownerdraw::NotifyParent(*this, WM_SLIDER_LBUTTONDOWN, m_nPos);
}

void CCtrlSlider::OnKeyUp(UINT vk, UINT, UINT)
{
    if (m_nKeyHeld && vk == m_nKeyHeld)
        EndKeyDrag();
    else
        Default();
}

void CCtrlSlider::EndKeyDrag()
{
    if (!m_nKeyHeld)
        return;
    m_nKeyHeld = 0;
    ownerdraw::NotifyParent(*this, WM_SLIDER_LBUTTONUP, m_nPos);
}

void CCtrlSlider::OnSetFocus(CWnd*)
{
    Invalidate();
    Default();
}

void CCtrlSlider::OnKillFocus(CWnd*)
{
    EndKeyDrag();
    Invalidate();
    Default();
}

UINT CCtrlSlider::OnGetDlgCode()
{
    return skinkit::KeyboardAccessEnabled() ? DLGC_WANTARROWS : static_cast<UINT>(Default());
}

// --- painting ---

slider::Size CCtrlSlider::PictureSize(int index) const
{
    const CSize s = ownerdraw::PictureSize(m_pImage[index]);
    return {static_cast<int>(s.cx), static_cast<int>(s.cy)};
}

void CCtrlSlider::OnPaint()
{
    CPaintDC dc(this);
    const CSize size = ownerdraw::WindowSize(*this);
    const bool painted =
        ownerdraw::Compose(dc.m_hDC, size, ownerdraw::kPixelExact,
                           [this](Gdiplus::Graphics& g, int w, int h) { Paint(g, w, h); });
    CRect thumb;
    if (painted && PlaceThumb(size, &thumb))
        NotePainted(thumb);
    if (painted)
        ownerdraw::PaintFocus(*this, dc.m_hDC, size, m_focusLook);
}

void CCtrlSlider::NotePainted(const CRect& thumb)
{
    m_nThumbX = thumb.left;
}

void CCtrlSlider::PaintBackground(Gdiplus::Graphics& g, int w, int h) const
{
    ownerdraw::DrawBackground(g, m_pImage[slider::Background],
                              m_bBgStretch ? ownerdraw::BackgroundKind::StretchFrom
                                           : ownerdraw::BackgroundKind::CopyFrom,
                              m_nBgX, m_nBgY, CSize(w, h));
}

void CCtrlSlider::DrawPicture(Gdiplus::Graphics& g, Gdiplus::Image* image, const Gdiplus::Rect& dst)
{
    // A bar of no or negative width (a position left outside a changed range) is not drawn
    // mirrored: it is not drawn.
    if (dst.Width > 0 && dst.Height > 0)
        ownerdraw::DrawStretched(g, image, dst);
}

void CCtrlSlider::Paint(Gdiplus::Graphics& g, int w, int h) const
{
    PaintBackground(g, w, h);
    if (!m_pImage[slider::Thumb])
        return;
    // A missing bar picture is left out rather than drawn from nothing.
    const slider::PlainLayout l = Layout(CSize(w, h));
    DrawPicture(g, m_pImage[slider::PlayedBar], l.played);
    DrawPicture(g, m_pImage[slider::RemainingBar], l.remaining);
    DrawPicture(g, m_pImage[slider::RemainingBar], l.rightEnd);
    DrawPicture(g, m_pImage[slider::Thumb], l.thumb);
}

// --- assistive technology ---

LRESULT CCtrlSlider::OnAccDescribe(WPARAM, LPARAM lParam)
{
    Default();
    if (auto* d = reinterpret_cast<platform::wnd::AccDescription*>(lParam)) {
        namespace acc = platform::wnd::acc;
        d->role = platform::wnd::AccRole::Slider;
        d->states |= acc::Horizontal | (skinkit::KeyboardAccessEnabled() ? acc::Focusable : 0u);
        d->hasValue = true;
        d->value = {double(m_nMin), double(m_nMax), double(m_nPos), 1.0};
    }
    return TRUE;
}

LRESULT CCtrlSlider::OnAccSetValue(WPARAM, LPARAM lParam)
{
    const auto* value = reinterpret_cast<const double*>(lParam);
    int pos = 0;
    if (!value || m_bDragging || !platform::wnd::PositionForValue(m_nMin, m_nMax, *value, &pos))
        return FALSE;
    // A click there: the press and the release at the same position.
    m_nPos = pos;
    Invalidate();
    ownerdraw::NotifyParent(*this, WM_SLIDER_LBUTTONDOWN, m_nPos);
    if (m_hWnd)
        ownerdraw::NotifyParent(*this, WM_SLIDER_LBUTTONUP, m_nPos);
    return TRUE;
}
