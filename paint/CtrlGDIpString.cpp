#include "paint/CtrlGDIpString.h"

#include <cmath>
#include <new>

namespace {

// One cell of a nine-slice: skipped only when its destination is exactly zero wide or high;
// negative sizes (margins larger than the rectangle) go to the graphics as they are.
void DrawCell(Gdiplus::Graphics* g, Gdiplus::Image* image, int dx0, int dx1, int dy0, int dy1,
              int sx0, int sx1, int sy0, int sy1)
{
    const int w = dx1 - dx0, h = dy1 - dy0;
    if (w == 0 || h == 0)
        return;
    g->DrawImage(image, Gdiplus::Rect(dx0, dy0, w, h), sx0, sy0, sx1 - sx0, sy1 - sy0,
                 Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

void NineSlice(Gdiplus::Graphics* g, Gdiplus::Image* image, const int X[4], const int Y[4],
               const int SX[4], const int SY[4])
{
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k)
            DrawCell(g, image, X[k], X[k + 1], Y[r], Y[r + 1], SX[k], SX[k + 1], SY[r], SY[r + 1]);
}

} // namespace

CCtrlGDIpString::CCtrlGDIpString()
    : m_pFont(nullptr), m_nFontSize(0), m_nFontStyle(Gdiplus::FontStyleRegular)
{
}

CCtrlGDIpString::CCtrlGDIpString(CString name, long size, Gdiplus::FontStyle style)
    : CCtrlGDIpString()
{
    SetInit(name, size, style);
}

CCtrlGDIpString::CCtrlGDIpString(const CCtrlGDIpString& other) : CCtrlGDIpString()
{
    if (other.m_pFont)
        SetInit(other.m_strFontName, other.m_nFontSize, other.m_nFontStyle);
    else
        m_strFontName = other.m_strFontName;
}

CCtrlGDIpString& CCtrlGDIpString::operator=(const CCtrlGDIpString& other)
{
    if (this == &other)
        return *this;
    if (other.m_pFont) {
        SetInit(other.m_strFontName, other.m_nFontSize, other.m_nFontStyle);
    } else {
        delete m_pFont;
        m_pFont = nullptr;
        m_strFontName = other.m_strFontName;
        m_nFontSize = other.m_nFontSize;
        m_nFontStyle = other.m_nFontStyle;
    }
    return *this;
}

CCtrlGDIpString::~CCtrlGDIpString()
{
    delete m_pFont;
}

void CCtrlGDIpString::SetInit(CString name, long size, Gdiplus::FontStyle style)
{
    if (m_pFont && size == m_nFontSize && style == m_nFontStyle && name == m_strFontName)
        return;
    delete m_pFont;
    m_pFont = nullptr;
    const Gdiplus::REAL em = static_cast<Gdiplus::REAL>(size);
    Gdiplus::FontFamily family(name);
    if (family.GetLastStatus() == Gdiplus::Ok) {
        m_pFont = new (std::nothrow) Gdiplus::Font(&family, em, style, Gdiplus::UnitPixel);
        if (m_pFont && m_pFont->GetLastStatus() != Gdiplus::Ok) {
            delete m_pFont;
            m_pFont = nullptr;
        }
    }
    if (!m_pFont)
        m_pFont = new (std::nothrow)
            Gdiplus::Font(Gdiplus::FontFamily::GenericSansSerif(), em, style, Gdiplus::UnitPixel);
    m_strFontName = name;
    m_nFontSize = size;
    m_nFontStyle = style;
}

void CCtrlGDIpString::DrawString(Gdiplus::Graphics* graphics, CString text, int x, int y, int width,
                                 int height, Gdiplus::Color color,
                                 Gdiplus::StringAlignment horizontal,
                                 Gdiplus::StringAlignment vertical)
{
    if (!graphics)
        return;
    Gdiplus::SolidBrush brush(color);
    Gdiplus::StringFormat format(0, Gdiplus::LANG_NEUTRAL);
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentNear);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoClip);

    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y),
                                static_cast<Gdiplus::REAL>(width),
                                static_cast<Gdiplus::REAL>(height));
    // Without a font GDI+ refuses both calls; the box stays empty and nothing is drawn.
    Gdiplus::RectF box;
    graphics->MeasureString(text, text.GetLength(), m_pFont, layout, &format, &box);

    Gdiplus::REAL ox = layout.X, oy = layout.Y;
    if (horizontal == Gdiplus::StringAlignmentCenter)
        ox = (layout.Width - box.Width) * 0.5f + layout.X;
    else if (horizontal == Gdiplus::StringAlignmentFar)
        ox = layout.Width + layout.X - box.Width;
    if (vertical == Gdiplus::StringAlignmentCenter)
        oy = (layout.Height - box.Height) * 0.5f + layout.Y;
    else if (vertical == Gdiplus::StringAlignmentFar)
        oy = layout.Height + layout.Y - box.Height;

    // The 10 extra pixels only widen the box; near alignment keeps the origin where it is.
    graphics->DrawString(text, text.GetLength(), m_pFont,
                         Gdiplus::RectF(ox, oy, box.Width + 10, box.Height), &format, &brush);
}

void CCtrlGDIpString::DrawBtn(Gdiplus::Graphics* graphics, Gdiplus::Image* image, Gdiplus::Rect d,
                              Gdiplus::Rect s, RECT m)
{
    if (!graphics)
        return;
    const int X[4] = {d.X, d.X + m.left, d.X + d.Width - m.right, d.X + d.Width};
    const int Y[4] = {d.Y, d.Y + m.top, d.Y + d.Height - m.bottom, d.Y + d.Height};
    const int SX[4] = {s.X, s.X + m.left, s.X + s.Width - m.right, s.X + s.Width};
    const int SY[4] = {s.Y, s.Y + m.top, s.Y + s.Height - m.bottom, s.Y + s.Height};
    NineSlice(graphics, image, X, Y, SX, SY);
}

void CCtrlGDIpString::DrawBg(Gdiplus::Graphics* graphics, Gdiplus::Image* image, Gdiplus::Rect d,
                             int mode, RECT m)
{
    if (!graphics || !image)
        return;
    const int iw = static_cast<int>(image->GetWidth()), ih = static_cast<int>(image->GetHeight());
    switch (mode) {
    case 0:
        graphics->DrawImage(image, d, 0, 0, iw, ih, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
        break;
    case 1: {
        // A failed picture measures 0 x 0; tiling it would never advance.
        if (iw <= 0 || ih <= 0)
            break;
        int rowOffset = 0;
        for (int h = d.Height; h >= 1; h -= ih, rowOffset += ih) {
            const int rowHeight = h >= ih ? ih : h;
            int colOffset = 0;
            for (int w = d.Width; w >= 1; w -= iw, colOffset += iw) {
                const int tileWidth = w >= iw ? iw : w;
                graphics->DrawImage(
                    image, Gdiplus::Rect(d.X + colOffset, d.Y + rowOffset, tileWidth, rowHeight), 0,
                    0, tileWidth, rowHeight, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
            }
        }
        break;
    }
    case 2:
        DrawBtn(graphics, image, d, Gdiplus::Rect(0, 0, iw, ih), m);
        break;
    default:
        break;
    }
}

void CCtrlGDIpString::DrawBg4(Gdiplus::Graphics* graphics, Gdiplus::Image* image, Gdiplus::Rect d,
                              int, RECT m, double scale)
{
    if (!graphics || !image)
        return;
    const int iw = static_cast<int>(image->GetWidth()), ih = static_cast<int>(image->GetHeight());
    const int SX[4] = {0, static_cast<int>(m.left), iw - static_cast<int>(m.right), iw};
    const int SY[4] = {0, static_cast<int>(m.top), ih - static_cast<int>(m.bottom), ih};
    // The sums are truncated toward zero, not the scaled margins alone.
    const int X[4] = {d.X, static_cast<int>(std::trunc(d.X + m.left * scale)),
                      static_cast<int>(std::trunc((d.X + d.Width) - m.right * scale)),
                      d.X + d.Width};
    const int Y[4] = {d.Y, static_cast<int>(std::trunc(d.Y + m.top * scale)),
                      static_cast<int>(std::trunc((d.Y + d.Height) - m.bottom * scale)),
                      d.Y + d.Height};
    NineSlice(graphics, image, X, Y, SX, SY);
}
