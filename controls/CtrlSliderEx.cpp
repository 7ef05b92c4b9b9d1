#include "controls/CtrlSliderEx.h"

#include "controls/OwnerDraw.h"

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

void CCtrlSliderEx::Paint(Gdiplus::Graphics& g, int w, int h)
{
    PaintBackground(g, w, h);
    Gdiplus::Image* played = m_pImage[slider::PlayedBar];
    Gdiplus::Image* thumb = m_pImage[slider::Thumb];
    // Without a thumb there is no scale; a missing bar is left out.
    slider::ExLayout l{};
    if (!thumb ||
        !slider::LayoutEx(Range(), m_nPos, {w, h}, PictureSize(slider::PlayedBar),
                          PictureSize(slider::RemainingBar), PictureSize(slider::Thumb), &l))
        return;
    m_rcThumb = CRect(0, 0, l.thumbRect.Width, l.thumbRect.Height);
    m_nThumbX = l.thumbX;
    if (played && m_nBarType == 1) {
        // Tiles keep their width and are scaled vertically only.
        const slider::Size p = PictureSize(slider::PlayedBar);
        const int n = slider::TileCount(l.centre, p.w);
        for (int i = 0; i < n; ++i) {
            const int tw = slider::TileWidth(l.centre, p.w, i);
            g.DrawImage(played, Gdiplus::Rect(i * p.w, l.played.Y, tw, l.played.Height), 0, 0, tw,
                        p.h, Gdiplus::UnitPixel);
        }
    } else {
        DrawPicture(g, played, l.played);
    }
    DrawPicture(g, m_pImage[slider::RemainingBar], l.remaining);
    DrawPicture(g, thumb, l.thumb);
}
