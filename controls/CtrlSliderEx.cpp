#include "controls/CtrlSliderEx.h"

#include "controls/OwnerDraw.h"
#include "controls/WideMath.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CCtrlSliderEx, CCtrlSlider);

BEGIN_MESSAGE_MAP(CCtrlSliderEx, CCtrlSlider)
END_MESSAGE_MAP()

CCtrlSliderEx::CCtrlSliderEx() : m_rcThumb(0, 0, 0, 0), m_nBarType(0) {}

CCtrlSliderEx::~CCtrlSliderEx()
{
    ownerdraw::DestroyOwnWindow(*this);
}

void CCtrlSliderEx::SetBarType(int type)
{
    m_nBarType = type;
}

bool CCtrlSliderEx::Layout(CSize size, slider::ExLayout* l) const
{
    // Without a thumb there is no scale.
    return m_pImage[slider::Thumb] &&
           slider::LayoutEx(Range(), m_nPos, SizeOf(size), PictureSize(slider::PlayedBar),
                            PictureSize(slider::RemainingBar), PictureSize(slider::Thumb), l);
}

bool CCtrlSliderEx::PlaceThumb(CSize size, CRect* thumb) const
{
    slider::ExLayout l{};
    if (!Layout(size, &l))
        return false;
    *thumb = ToCRect(l.thumb);
    return true;
}

void CCtrlSliderEx::NotePainted(const CRect& thumb)
{
    CCtrlSlider::NotePainted(thumb);
    m_rcThumb = CRect(0, 0, wide::Saturate(static_cast<int64_t>(thumb.right) - thumb.left),
                      wide::Saturate(static_cast<int64_t>(thumb.bottom) - thumb.top));
}

void CCtrlSliderEx::Paint(Gdiplus::Graphics& g, int w, int h) const
{
    PaintBackground(g, w, h);
    Gdiplus::Image* played = m_pImage[slider::PlayedBar];
    Gdiplus::Image* thumb = m_pImage[slider::Thumb];
    // A missing bar is left out.
    slider::ExLayout l{};
    if (!Layout(CSize(w, h), &l))
        return;
    if (played && m_nBarType == 1) {
        // Tiles keep their width and are scaled vertically only.
        // Tiles past the window's right edge would not be seen: the tiling stops there, so a
        // far-off thumb costs no more than one across the window.
        const slider::Size p = PictureSize(slider::PlayedBar);
        const int end = std::min(l.centre, w);
        const int n = slider::TileCount(end, p.w);
        for (int i = 0; i < n; ++i) {
            const int tw = slider::TileWidth(end, p.w, i);
            g.DrawImage(played, Gdiplus::Rect(i * p.w, l.played.Y, tw, l.played.Height), 0, 0, tw,
                        p.h, Gdiplus::UnitPixel);
        }
    } else {
        DrawPicture(g, played, l.played);
    }
    DrawPicture(g, m_pImage[slider::RemainingBar], l.remaining);
    DrawPicture(g, thumb, l.thumb);
}
