// GDI fonts and text: LOGFONTW fonts in the handle table, the stock fonts, text extents and
// DrawTextW. GDI measures in whole pixels (hinted metrics, whole-pixel advances), unlike
// GDI+, so its text has a Pango context of its own.
#include "platform/gdiplus/GdiPrivate.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <list>
#include <mutex>
#include <string>

using platform::gdi::FontFace;
using platform::gdi::GdiObject;
using platform::gdi::Kind;

namespace {

LOGFONTW MakeLogFont(LONG height, LONG weight, const wchar_t* face)
{
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

int PixelsCeil(int pangoUnits)
{
    return (pangoUnits + PANGO_SCALE - 1) / PANGO_SCALE;
}

std::shared_ptr<FontFace> Resolve(const LOGFONTW& lf)
{
    auto face = std::make_shared<FontFace>();
    CString name(lf.lfFaceName, static_cast<int>(wcsnlen(lf.lfFaceName, LF_FACESIZE)));
    std::string family;
    const bool fixed = (lf.lfPitchAndFamily & 0x3) == 1; // FIXED_PITCH
    if (auto resolved = Gdiplus::detail::ResolveFamily(name))
        family = resolved->pangoFamily;
    else if (fixed)
        family = "monospace";
    else
        family = Gdiplus::detail::GenericSansSerifFamily()->pangoFamily;
    face->desc = pango_font_description_new();
    pango_font_description_set_family(face->desc, family.c_str());
    const int weight = lf.lfWeight <= 0 ? 400 : std::clamp<int>(lf.lfWeight, 100, 1000);
    pango_font_description_set_weight(face->desc, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(face->desc,
                                     lf.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    face->underline = lf.lfUnderline != 0;
    face->strikeout = lf.lfStrikeOut != 0;

    auto measure = [&](double em) {
        pango_font_description_set_absolute_size(face->desc, em * PANGO_SCALE);
        PangoFontMetrics* m =
            pango_context_get_metrics(Gdiplus::detail::HintedPangoContext(), face->desc, nullptr);
        face->ascent = PixelsCeil(pango_font_metrics_get_ascent(m));
        face->descent = PixelsCeil(pango_font_metrics_get_descent(m));
        pango_font_metrics_unref(m);
    };
    if (lf.lfHeight < 0) {
        measure(-static_cast<double>(lf.lfHeight));
    } else {
        // A positive height is the cell (ascent + descent); zero asks for a default one.
        const double cell = lf.lfHeight > 0 ? lf.lfHeight : 16.0;
        measure(100.0);
        const double ratio = (face->ascent + face->descent) / 100.0;
        measure(ratio > 0 ? std::max(1.0, std::floor(cell / ratio)) : cell);
    }
    return face;
}

// Layouts are shaped once per font and text: a control draws the same header on every paint.
struct CachedLayout
{
    // Held, so that the face's address is never reused while a layout made for it is cached.
    std::shared_ptr<FontFace> face;
    std::wstring text;
    bool prefix;
    int wrapWidth;
    bool singleLine;
    PangoLayout* layout;
};

class LayoutCache
{
public:
    ~LayoutCache()
    {
        for (CachedLayout& c : m_entries)
            g_object_unref(c.layout);
    }
    // A borrowed layout of `text` in `face`, wrapped at `wrapWidth` pixels (-1: no wrapping);
    // with `prefix`, ampersands mark the next character. Valid until the next call.
    PangoLayout* Get(const std::shared_ptr<FontFace>& face, std::wstring_view text, bool prefix,
                     int wrapWidth, bool singleLine)
    {
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
            if (it->face == face && it->prefix == prefix && it->wrapWidth == wrapWidth &&
                it->singleLine == singleLine && it->text == text) {
                m_entries.splice(m_entries.begin(), m_entries, it);
                return it->layout;
            }
        PangoLayout* layout = Make(*face, text, prefix, wrapWidth, singleLine);
        m_entries.push_front(
            CachedLayout{face, std::wstring(text), prefix, wrapWidth, singleLine, layout});
        if (m_entries.size() > 16) {
            g_object_unref(m_entries.back().layout);
            m_entries.pop_back();
        }
        return layout;
    }

private:
    static PangoLayout* Make(const FontFace& face, std::wstring_view text, bool prefix,
                             int wrapWidth, bool singleLine)
    {
        // Ampersands: "&x" underlines x, "&&" is one ampersand.
        std::wstring shown;
        std::vector<int> marked; // indexes into `shown`
        for (size_t i = 0; i < text.size(); ++i) {
            if (prefix && text[i] == L'&') {
                if (i + 1 < text.size() && text[i + 1] == L'&') {
                    shown.push_back(L'&');
                    ++i;
                } else if (i + 1 < text.size()) {
                    marked.push_back(static_cast<int>(shown.size()));
                }
                continue;
            }
            if (text[i] != L'\r')
                shown.push_back(text[i]);
        }
        const std::string utf8 = CString(shown).ToUtf8();
        PangoLayout* layout = pango_layout_new(Gdiplus::detail::HintedPangoContext());
        pango_layout_set_font_description(layout, face.desc);
        pango_layout_set_single_paragraph_mode(layout, singleLine);
        if (wrapWidth >= 0) {
            pango_layout_set_width(layout, wrapWidth * PANGO_SCALE);
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        }
        pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
        PangoAttrList* attrs = pango_attr_list_new();
        if (face.underline)
            pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (face.strikeout)
            pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        for (int index : marked) {
            const std::string before =
                CString(shown.substr(0, static_cast<size_t>(index))).ToUtf8();
            const std::string ch = CString(shown.substr(static_cast<size_t>(index), 1)).ToUtf8();
            PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
            a->start_index = static_cast<guint>(before.size());
            a->end_index = static_cast<guint>(before.size() + ch.size());
            pango_attr_list_insert(attrs, a);
        }
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
        return layout;
    }

    std::list<CachedLayout> m_entries;
};

LayoutCache& Layouts()
{
    thread_local LayoutCache cache;
    return cache;
}

std::shared_ptr<FontFace> SharedFaceOf(GdiObject* font)
{
    GdiObject* f = font ? font : platform::gdi::StockFont(SYSTEM_FONT);
    if (!f->face)
        f->face = Resolve(f->logFont);
    return f->face;
}

std::wstring_view TextOf(LPCWSTR text, int count)
{
    if (!text)
        return {};
    return count < 0 ? std::wstring_view(text)
                     : std::wstring_view(text, static_cast<size_t>(count));
}

int LineWidth(PangoLayoutLine* line)
{
    PangoRectangle logical;
    pango_layout_line_get_pixel_extents(line, nullptr, &logical);
    return logical.width;
}

int WidestLine(PangoLayout* layout)
{
    int widest = 0;
    for (int i = 0; i < pango_layout_get_line_count(layout); ++i)
        widest = std::max(widest, LineWidth(pango_layout_get_line_readonly(layout, i)));
    return widest;
}

} // namespace

namespace platform::gdi {

GdiObject* StockFont(int id)
{
    static GdiObject* fonts[18] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        auto make = [](const LOGFONTW& lf) {
            auto object = std::make_unique<GdiObject>();
            object->kind = Kind::Font;
            object->stock = true;
            object->logFont = lf;
            GdiObject* raw = object.get();
            platform::gdi::Register(std::move(object));
            return raw;
        };
        LOGFONTW fixed = MakeLogFont(12, FW_NORMAL, L"Courier");
        fixed.lfPitchAndFamily = 1;
        fonts[OEM_FIXED_FONT] = make(fixed);
        fonts[ANSI_FIXED_FONT] = make(fixed);
        fonts[SYSTEM_FIXED_FONT] = make(fixed);
        fonts[ANSI_VAR_FONT] = make(MakeLogFont(12, FW_NORMAL, L"MS Sans Serif"));
        fonts[SYSTEM_FONT] = make(MakeLogFont(16, FW_BOLD, L"System"));
        fonts[DEVICE_DEFAULT_FONT] = fonts[SYSTEM_FONT];
        fonts[DEFAULT_GUI_FONT] = make(MakeLogFont(-11, FW_NORMAL, L"MS Shell Dlg"));
    });
    return id >= 0 && id < 18 ? fonts[id] : nullptr;
}

} // namespace platform::gdi

HFONT CreateFontIndirectW(const LOGFONTW* logFont)
{
    if (!logFont)
        return nullptr;
    auto object = std::make_unique<GdiObject>();
    object->kind = Kind::Font;
    object->logFont = *logFont;
    object->logFont.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return platform::gdi::RegisterAs<HFONT>(std::move(object));
}

namespace platform {

int DisplayDotsPerInchY()
{
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    const int dpi = GetDeviceCaps(display, LOGPIXELSY);
    DeleteDC(display);
    return dpi;
}

LONG FontHeightOfPoints(int points)
{
    // MulDiv answers INT_MIN for some point sizes, whose negation would not fit.
    const long long height = -static_cast<long long>(MulDiv(points, DisplayDotsPerInchY(), 72));
    return static_cast<LONG>(std::min<long long>(height, 0x7FFFFFFF));
}

int PointsOfFontHeight(LONG height)
{
    const long long points = MulDiv(height, 72, DisplayDotsPerInchY());
    return static_cast<int>(std::min<long long>(points < 0 ? -points : points, 0x7FFFFFFF));
}

} // namespace platform

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    if (!d || !metrics)
        return FALSE;
    const auto face = SharedFaceOf(d->state.font);
    *metrics = TEXTMETRICW{};
    metrics->tmAscent = face->ascent;
    metrics->tmDescent = face->descent;
    metrics->tmHeight = face->ascent + face->descent;
    PangoLayout* layout = Layouts().Get(face, L"x", false, -1, true);
    metrics->tmAveCharWidth = LineWidth(pango_layout_get_line_readonly(layout, 0));
    metrics->tmMaxCharWidth = metrics->tmHeight;
    const LONG weight = d->state.font ? d->state.font->logFont.lfWeight : FW_BOLD;
    metrics->tmWeight = weight ? weight : FW_NORMAL;
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    if (!d || !size || (count > 0 && !text))
        return FALSE;
    const auto face = SharedFaceOf(d->state.font);
    const std::wstring_view t = TextOf(text, count);
    size->cy = face->ascent + face->descent;
    if (t.empty()) {
        size->cx = 0;
        return TRUE;
    }
    PangoLayout* layout = Layouts().Get(face, t, false, -1, true);
    size->cx = LineWidth(pango_layout_get_line_readonly(layout, 0));
    return TRUE;
}

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
    GdiObject* d = platform::gdi::DCOf(dc);
    if (!d || !rect)
        return 0;
    const std::wstring_view t = TextOf(text, count);
    const auto face = SharedFaceOf(d->state.font);
    const int lineHeight = face->ascent + face->descent;
    if (t.empty()) {
        if (format & DT_CALCRECT) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return 0;
    }
    const bool single = (format & DT_SINGLELINE) != 0;
    const int boxWidth = rect->right - rect->left;
    const bool prefix = !(format & DT_NOPREFIX);
    PangoLayout* layout = Layouts().Get(face, t, prefix, -1, single);
    if (!single && (format & DT_WORDBREAK)) {
        // Lines break only where they do not fit: a text exactly as wide as the box, as a
        // control sized to its text is, stays on one line.
        if (WidestLine(layout) > boxWidth)
            layout = Layouts().Get(face, t, prefix, std::max(0, boxWidth), single);
    }
    const int lines = pango_layout_get_line_count(layout);
    const int height = lines * lineHeight;

    if (format & DT_CALCRECT) {
        rect->right = rect->left + WidestLine(layout);
        rect->bottom = rect->top + height;
        return height;
    }

    int y = rect->top;
    if (single && (format & DT_VCENTER))
        y = rect->top + (rect->bottom - rect->top) / 2 - lineHeight / 2;
    else if (single && (format & DT_BOTTOM))
        y = rect->bottom - lineHeight;

    const platform::SurfaceDC& surface = d->dc;
    const POINT o = surface.origin;
    // Device clip: the context's, and the rectangle unless DT_NOCLIP.
    RECT clip = surface.clip;
    if (!(format & DT_NOCLIP)) {
        clip.left = std::max(clip.left, o.x + rect->left);
        clip.top = std::max(clip.top, o.y + rect->top);
        clip.right = std::min(clip.right, o.x + rect->right);
        clip.bottom = std::min(clip.bottom, o.y + rect->bottom);
    }
    if (clip.right <= clip.left || clip.bottom <= clip.top)
        return height;
    platform::SurfaceDC clipped = surface;
    clipped.clip = clip;

    Gdiplus::detail::ImageData* data = Gdiplus::NativeOf(surface.target);
    if (!data)
        return 0;
    cairo_t* cr = cairo_create(data->surface);
    cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    cairo_clip(cr);
    const COLORREF c = d->state.text;
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
    for (int i = 0; i < lines; ++i, y += lineHeight) {
        PangoLayoutLine* line = pango_layout_get_line_readonly(layout, i);
        const int w = LineWidth(line);
        int x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (boxWidth - w) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - w;
        if (d->state.bkMode == OPAQUE) {
            cairo_surface_flush(data->surface);
            platform::gdi::FillDevice(clipped, o.x + x, o.y + y, o.x + x + w, o.y + y + lineHeight,
                                      d->state.bk);
        }
        cairo_move_to(cr, o.x + x, o.y + y + face->ascent);
        pango_cairo_show_layout_line(cr, line);
    }
    cairo_destroy(cr);
    cairo_surface_flush(data->surface);
    return height;
}
