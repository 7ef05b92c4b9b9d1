#include "paint/CtrlGDIpString.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

namespace {

bool FitsInt(long long v)
{
    return v >= INT_MIN && v <= INT_MAX;
}

// One cell of a nine-slice: skipped only when its destination is exactly zero wide or high;
// negative sizes (margins larger than the rectangle) go to the graphics as they are.
void DrawCell(Gdiplus::Graphics* g, Gdiplus::Image* image, long long dx0, long long dx1,
              long long dy0, long long dy1, long long sx0, long long sx1, long long sy0,
              long long sy1)
{
    const long long w = dx1 - dx0, h = dy1 - dy0;
    if (w == 0 || h == 0)
        return;
    g->DrawImage(image,
                 Gdiplus::Rect(static_cast<int>(dx0), static_cast<int>(dy0), static_cast<int>(w),
                               static_cast<int>(h)),
                 static_cast<int>(sx0), static_cast<int>(sy0), static_cast<int>(sx1 - sx0),
                 static_cast<int>(sy1 - sy0), Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

// Edges are worked out in 64 bits: a rectangle near the end of the integer range or huge
// margins give edges or cell sizes that no Rect can hold, and such a nine-slice draws nothing
// rather than wrapped-around cells.
void NineSlice(Gdiplus::Graphics* g, Gdiplus::Image* image, const long long X[4],
               const long long Y[4], const long long SX[4], const long long SY[4])
{
    for (const long long* edges : {X, Y, SX, SY})
        for (int i = 0; i < 4; ++i)
            if (!FitsInt(edges[i]) || (i > 0 && !FitsInt(edges[i] - edges[i - 1])))
                return;
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k)
            DrawCell(g, image, X[k], X[k + 1], Y[r], Y[r + 1], SX[k], SX[k + 1], SY[r], SY[r + 1]);
}

// The tiles, visited in rows from the top and left to right, but only those that meet the
// visible clip: a 1 x 1 picture tiled into a huge rectangle costs what the clip holds.
void Tile(Gdiplus::Graphics* g, Gdiplus::Image* image, Gdiplus::Rect d, int iw, int ih)
{
    // A failed picture measures 0 x 0; tiling it would never advance.
    if (iw <= 0 || ih <= 0 || d.Width < 1 || d.Height < 1)
        return;
    if (!FitsInt(0LL + d.X + d.Width) || !FitsInt(0LL + d.Y + d.Height))
        return;
    const long long cols = (0LL + d.Width + iw - 1) / iw, rows = (0LL + d.Height + ih - 1) / ih;
    long long col0 = 0, col1 = cols - 1, row0 = 0, row1 = rows - 1;
    Gdiplus::Rect clip;
    if (g->GetVisibleClipBounds(&clip) == Gdiplus::Ok) {
        // One pixel of slack each side: a filtered edge may reach that far.
        const long long cx0 = 0LL + clip.X - 1, cx1 = 0LL + clip.X + clip.Width + 1;
        const long long cy0 = 0LL + clip.Y - 1, cy1 = 0LL + clip.Y + clip.Height + 1;
        if (clip.Width <= 0 || clip.Height <= 0 || cx1 <= d.X || cy1 <= d.Y)
            return;
        col0 = std::max(col0, (cx0 - d.X) / iw);
        col1 = std::min(col1, (cx1 - 1 - d.X) / iw);
        row0 = std::max(row0, (cy0 - d.Y) / ih);
        row1 = std::min(row1, (cy1 - 1 - d.Y) / ih);
    }
    for (long long r = row0; r <= row1; ++r) {
        const int rowOffset = static_cast<int>(r * ih);
        const int rowHeight = std::min(ih, d.Height - rowOffset);
        for (long long c = col0; c <= col1; ++c) {
            const int colOffset = static_cast<int>(c * iw);
            const int tileWidth = std::min(iw, d.Width - colOffset);
            g->DrawImage(image,
                         Gdiplus::Rect(d.X + colOffset, d.Y + rowOffset, tileWidth, rowHeight), 0,
                         0, tileWidth, rowHeight, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
        }
    }
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
    const long long X[4] = {d.X, 0LL + d.X + m.left, 0LL + d.X + d.Width - m.right,
                            0LL + d.X + d.Width};
    const long long Y[4] = {d.Y, 0LL + d.Y + m.top, 0LL + d.Y + d.Height - m.bottom,
                            0LL + d.Y + d.Height};
    const long long SX[4] = {s.X, 0LL + s.X + m.left, 0LL + s.X + s.Width - m.right,
                             0LL + s.X + s.Width};
    const long long SY[4] = {s.Y, 0LL + s.Y + m.top, 0LL + s.Y + s.Height - m.bottom,
                             0LL + s.Y + s.Height};
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
    case 1:
        Tile(graphics, image, d, iw, ih);
        break;
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
    if (!graphics || !image || !std::isfinite(scale))
        return;
    const int iw = static_cast<int>(image->GetWidth()), ih = static_cast<int>(image->GetHeight());
    const long long SX[4] = {0, m.left, 0LL + iw - m.right, iw};
    const long long SY[4] = {0, m.top, 0LL + ih - m.bottom, ih};
    // The sums are truncated toward zero, not the scaled margins alone. A sum past the
    // integer range has no pixel to name: such a call draws nothing.
    const double x1 = std::trunc(d.X + m.left * scale);
    const double x2 = std::trunc((0.0 + d.X + d.Width) - m.right * scale);
    const double y1 = std::trunc(d.Y + m.top * scale);
    const double y2 = std::trunc((0.0 + d.Y + d.Height) - m.bottom * scale);
    for (double v : {x1, x2, y1, y2})
        if (!(v >= INT_MIN && v <= INT_MAX))
            return;
    const long long X[4] = {d.X, static_cast<long long>(x1), static_cast<long long>(x2),
                            0LL + d.X + d.Width};
    const long long Y[4] = {d.Y, static_cast<long long>(y1), static_cast<long long>(y2),
                            0LL + d.Y + d.Height};
    NineSlice(graphics, image, X, Y, SX, SY);
}
