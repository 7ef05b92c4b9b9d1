#include "controls/CtrlButtonEx.h"

#include "controls/OwnerDraw.h"
#include "controls/WideMath.h"

IMPLEMENT_DYNAMIC(CCtrlButtonEx, CCtrlButton);

CCtrlButtonEx::CCtrlButtonEx()
    : m_nDivLeft(28), m_nDivRight(5), m_nFontSize(0), m_nFontStyle(Gdiplus::FontStyleRegular)
{
}

CCtrlButtonEx::~CCtrlButtonEx()
{
    ownerdraw::DestroyOwnWindow(*this);
}

void CCtrlButtonEx::SetButtonDiv(int left, int right)
{
    m_nDivLeft = left;
    m_nDivRight = right;
}

void CCtrlButtonEx::SetButtonType(int type)
{
    m_nButtonType = type;
}

void CCtrlButtonEx::SetInitFont(CString family, long size, Gdiplus::FontStyle style)
{
    CCtrlButton::SetInitFont(family, size, style);
    m_strFontName = family;
    m_nFontSize = size;
    m_nFontStyle = style;
}

void CCtrlButtonEx::ComposeFace(HDC dc, CSize size, btn::State state, CString text,
                                btn::TextAlign align)
{
    // The check box is drawn cell-exact; the push face keeps the default smoothing, since its
    // pieces are scaled.
    const bool checkBox = btn::DrawnAsCheckBox({m_bCheckType != 0, m_bPushLike != 0});
    ownerdraw::Compose(dc, size, checkBox ? ownerdraw::kPixelExact : ownerdraw::kDefaultModes,
                       [&](Gdiplus::Graphics& g, int w, int h) {
                           if (checkBox)
                               PaintCheckBox(g, state, w, h, text, align);
                           else
                               PaintDivided(g, state, w, h, text, align);
                       });
}

void CCtrlButtonEx::PaintDivided(Gdiplus::Graphics& g, int state, int w, int h, const CString& text,
                                 btn::TextAlign align) const
{
    const ownerdraw::BackgroundKind kind = m_nBgX < 0     ? ownerdraw::BackgroundKind::Whole
                                           : m_bBgStretch ? ownerdraw::BackgroundKind::StretchFrom
                                                          : ownerdraw::BackgroundKind::CopyFrom;
    ownerdraw::DrawBackground(g, m_pImageBg, kind, m_nBgX, m_nBgY, CSize(w, h));
    Gdiplus::Image* picture = m_pStateImage[state];
    const Gdiplus::Rect& F = m_rcState[state];
    if (text.IsEmpty()) {
        // Without text the frame is stretched whole, not divided.
        if (picture)
            g.DrawImage(picture, Gdiplus::Rect(0, 0, w, h), F.X, F.Y, F.Width, F.Height,
                        Gdiplus::UnitPixel);
        return;
    }
    // A state without a picture draws its text at skin scale, as if the frame were there.
    const btn::DividedFrame d = btn::DivideFrame(
        F, picture ? static_cast<int>(picture->GetHeight()) : 0, w, h, m_nDivLeft, m_nDivRight);
    if (picture)
        for (int p = 0; p < btn::kPieceCount; ++p) {
            const Gdiplus::Rect& s = d.source[p];
            g.DrawImage(picture, d.dest[p], s.X, s.Y, s.Width, s.Height, Gdiplus::UnitPixel);
        }
    if (!m_pGDIpString)
        return;
    if (m_nFontSize > 0)
        m_pGDIpString->SetInit(m_strFontName, btn::ScaledFontSize(m_nFontSize, d.scale),
                               m_nFontStyle);
    const Gdiplus::Rect t = wide::CutRect(d.textLeft, 0, static_cast<int64_t>(w) - d.textLeft, h);
    m_pGDIpString->DrawString(&g, text, t.X, t.Y, t.Width, t.Height, m_clrText[state],
                              align.horizontal, align.vertical);
}

void CCtrlButtonEx::PaintCheckBox(Gdiplus::Graphics& g, int state, int w, int h,
                                  const CString& text, btn::TextAlign align) const
{
    ownerdraw::DrawStretched(g, m_pImageBg, Gdiplus::Rect(0, 0, w, h));
    // The extended button places its glyph and text as the plain one does, without offsets.
    const Gdiplus::Rect& src = m_rcState[state];
    std::optional<btn::Strip> glyphs;
    if (m_pImage)
        glyphs = btn::Strip{static_cast<int>(m_pImage->GetWidth()),
                            static_cast<int>(m_pImage->GetHeight()), m_nDiv};
    const btn::Layout layout = btn::LayOut({btn::Kind{m_bCheckType != 0, m_bPushLike != 0}, w, h, 0,
                                            0, glyphs, Gdiplus::Size(src.Width, src.Height)});
    if (m_pImage)
        g.DrawImage(m_pImage, layout.glyph, src.X, src.Y, src.Width, src.Height,
                    Gdiplus::UnitPixel);
    if (!m_pGDIpString)
        return;
    // The check box's text keeps the font at skin scale.
    if (m_nFontSize > 0)
        m_pGDIpString->SetInit(m_strFontName, m_nFontSize, m_nFontStyle);
    const Gdiplus::Rect& t = layout.text;
    m_pGDIpString->DrawString(&g, text, t.X, t.Y, t.Width, t.Height, m_clrText[state],
                              align.horizontal, align.vertical);
}
