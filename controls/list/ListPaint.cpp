#include "controls/list/ListPaint.h"

#include "controls/OwnerDraw.h"
#include "platform/wnd/WinUser.h"

namespace list {

namespace {

void Stretch(Gdiplus::Graphics& g, Gdiplus::Image* image, int x, int y, int w, int h)
{
    ownerdraw::DrawStretched(g, image, Gdiplus::Rect(x, y, w, h));
}

void PaintHeader(Gdiplus::Graphics& g, Gdiplus::Image* const* img, int w, int hh)
{
    if (!img[kHeaderBg])
        return;
    Stretch(g, img[kHeaderBg], 0, 0, w, hh);
    Stretch(g, img[kLineTop], 0, 0, w, 1);
    Stretch(g, img[kLineBottom], 0, hh - 1, w, 1);
}

// Every place down to the bottom, held rows or not; a place cut by the bottom shows the top
// part of the row background.
void PaintPlaces(Gdiplus::Graphics& g, const PaintInput& in, int w, int height)
{
    Gdiplus::Image* const* img = in.images;
    const int h = in.layout.scale.rowHeight;
    const int hh = in.layout.scale.headerHeight;
    if (!img[kRowBg] || hh >= height || h < 1)
        return;
    const long long selectedPlace = static_cast<long long>(in.model.m_nSelectedItem) - in.topIndex;
    for (int p = 0, y = hh; y < height; ++p, y += h) {
        const int rem = height - y;
        if (rem >= h) {
            Stretch(g, p == selectedPlace && img[kSelectedBg] ? img[kSelectedBg] : img[kRowBg], 0,
                    y, w, h);
            Stretch(g, img[kLineTop], 0, y, w, 1);
            Stretch(g, img[kLineBottom], 0, y + h - 1, w, 1);
            continue;
        }
        Gdiplus::Image* bg = img[kRowBg];
        const int iw = static_cast<int>(bg->GetWidth());
        const int sh = CutSourceHeight(static_cast<int>(bg->GetHeight()), rem, h);
        g.DrawImage(bg, Gdiplus::Rect(0, y, w, rem), 0, 0, iw, sh, Gdiplus::UnitPixel);
        Stretch(g, img[kLineTop], 0, y, w, 1);
        if (h - 1 <= rem)
            Stretch(g, img[kLineBottom], 0, y + h - 1, w, 1);
    }
}

void PaintColumnsAndHeaderTexts(Gdiplus::Graphics& g, const PaintInput& in,
                                const std::vector<ColumnSpan>& cols, int height,
                                CCtrlGDIpString& regular)
{
    const int hh = in.layout.scale.headerHeight;
    const int last = static_cast<int>(cols.size()) - 1;
    const bool headerBox = in.model.GetItemCount() >= 1 && in.model.m_bShowHeaderCheckbox;
    for (int j = 0; j <= last; ++j) {
        const ColumnSpan& c = cols[static_cast<size_t>(j)];
        if (!c.column)
            continue;
        if (c.column->bSeparator)
            Stretch(g, in.images[kSeparator], c.left + c.width - 1, 0, 1, height);
        if (j == last && headerBox)
            continue;
        // The header text's box is truncated, not rounded like the column.
        regular.DrawString(&g, c.column->strText, c.left, 1,
                           TruncatedWidth(c.column->nWidth, in.layout.scale.ratio), hh - 2,
                           in.colours[kHeaderText], c.column->nAlign,
                           Gdiplus::StringAlignmentCenter);
    }
    if (headerBox) {
        // Where the layout put it for hit testing.
        const CRect& box = in.layout.headerCheck;
        Stretch(g, in.images[CheckSlot(in.model.m_nHeaderCheck)], box.left, box.top, box.Width(),
                box.Height());
    }
}

// The picture fitted into its box keeping its aspect ratio, scaled with the high-quality
// filter and no pixel offset; the scaled copy is kept in the row and reused while the drawn
// size stays.
void PaintPicture(Gdiplus::Graphics& g, const Item& item, int j, Gdiplus::Rect box)
{
    Gdiplus::Bitmap* picture = item.pImage[j];
    if (picture->GetLastStatus() != Gdiplus::Ok)
        return;
    const INT iw = static_cast<INT>(picture->GetWidth());
    const INT ih = static_cast<INT>(picture->GetHeight());
    const Gdiplus::Rect r = FitPicture(box, iw, ih);
    if (r.Width <= 0 || r.Height <= 0)
        return;
    std::unique_ptr<Gdiplus::Bitmap>& fitted = item.fitted[j];
    if (!fitted || static_cast<INT>(fitted->GetWidth()) != r.Width ||
        static_cast<INT>(fitted->GetHeight()) != r.Height) {
        fitted =
            std::make_unique<Gdiplus::Bitmap>(r.Width, r.Height, Gdiplus::PixelFormat32bppARGB);
        Gdiplus::Graphics scaler(fitted.get());
        scaler.SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
        scaler.SetPixelOffsetMode(Gdiplus::PixelOffsetModeDefault);
        scaler.DrawImage(picture, Gdiplus::Rect(0, 0, r.Width, r.Height), 0, 0, iw, ih,
                         Gdiplus::UnitPixel);
    }
    // Whole pixels 1:1 sample the same under every mode.
    g.DrawImage(fitted.get(), r.X, r.Y, r.Width, r.Height);
}

void PaintRow(Gdiplus::Graphics& g, const PaintInput& in, const std::vector<ColumnSpan>& cols,
              int i, const Item& item, int yr, CCtrlGDIpString& regular, CCtrlGDIpString& bold)
{
    const Model& m = in.model;
    const int h = in.layout.scale.rowHeight;
    const RowText look = RowTextFor(i, m.m_nSelectedItem, m.m_nIndicatedItem);
    CCtrlGDIpString& painter = look.bold ? bold : regular;
    Gdiplus::Color ink = in.colours[look.colour];
    if (item.bDisabled)
        ink.SetFromCOLORREF(GetSysColor(COLOR_GRAYTEXT));
    const int n = static_cast<int>(cols.size());
    for (int j = 0; j < n; ++j) {
        const ColumnSpan& c = cols[static_cast<size_t>(j)];
        if (j == 0 && i == m.m_nIndicatedItem && m.m_bShowIndicator) {
            if (Gdiplus::Image* icon = in.images[in.playStatus ? kIconPlaying : kIconStopped]) {
                const int iw = static_cast<int>(icon->GetWidth());
                const int ih = static_cast<int>(icon->GetHeight());
                g.DrawImage(icon,
                            Gdiplus::Rect(c.left + (c.width - iw) / 2, yr + (h - ih) / 2, iw, ih),
                            0, 0, iw, ih, Gdiplus::UnitPixel);
            }
        }
        if (j >= kCells)
            continue; // a row has ten cells; further columns show only what lies under them
        const Gdiplus::StringAlignment align =
            c.column ? c.column->nAlign : Gdiplus::StringAlignmentCenter;
        if (!item.strText[j].IsEmpty())
            painter.DrawString(&g, item.strText[j], c.left, yr + 1, c.width, h - 2, ink, align,
                               Gdiplus::StringAlignmentCenter);
        if (item.pImage[j])
            PaintPicture(g, item, j, Gdiplus::Rect(c.left + 4, yr + 4, c.width - 8, h - 8));
    }
    if (m.m_bCheckbox && n > 0) {
        const ColumnSpan& lastCol = cols[static_cast<size_t>(n - 1)];
        const CRect box = CheckBoxIn(lastCol.left, yr, lastCol.width, h);
        Stretch(g, in.images[CheckSlot(item.nCheck)], box.left, box.top, box.Width(), box.Height());
    }
}

} // namespace

Slot CheckSlot(int state)
{
    if (state < 0)
        return kCheckMixed;
    return state == 0 ? kCheckOff : kCheckOn;
}

RowText RowTextFor(int i, int selected, int indicated)
{
    if (i == indicated)
        return {i == selected ? kIndicatedSelectedText : kIndicatedText, true};
    return {i == selected ? kSelectedText : kRowText, false};
}

void PaintList(Gdiplus::Graphics& g, const PaintInput& in, int height, CCtrlGDIpString& regular,
               CCtrlGDIpString& bold)
{
    PaintHeader(g, in.images, in.layout.width, in.layout.scale.headerHeight);
    PaintPlaces(g, in, in.layout.width, height);
    const std::vector<ColumnSpan> cols = PaintColumns(in.model, in.layout.scale.ratio);
    PaintColumnsAndHeaderTexts(g, in, cols, height, regular);
    const int count = in.model.GetItemCount();
    for (int r = 0; r < in.layout.maxRowCount; ++r) {
        const long long i = static_cast<long long>(in.topIndex) + r;
        if (i >= count)
            break;
        if (const Item* item = i >= 0 ? in.model.GetItem(static_cast<int>(i)) : nullptr)
            PaintRow(g, in, cols, i, *item,
                     in.layout.scale.headerHeight + r * in.layout.scale.rowHeight, regular, bold);
    }
}

} // namespace list
