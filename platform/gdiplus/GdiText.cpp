// GDI fonts and text: LOGFONTW fonts in the handle table, the stock fonts, text extents and
// DrawTextW. GDI measures in whole pixels (hinted metrics, whole-pixel advances), unlike
// GDI+, so its text has a Pango context of its own. Hosts measure and place text in logical
// pixels at every display scale; on a scaled window the lines are laid out where the logical
// layout puts them, each drawn by Pango at scale x the font's size.
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

// The face of `lf` at `scale` device pixels per logical pixel: its logical em size (from the
// height as GDI reads it) times the scale, measured at that size.
std::shared_ptr<FontFace> Resolve(const LOGFONTW& lf, double scale)
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
    double em = -static_cast<double>(lf.lfHeight);
    if (lf.lfHeight >= 0) {
        // A positive height is the cell (ascent + descent); zero asks for a default one.
        const double cell = lf.lfHeight > 0 ? lf.lfHeight : 16.0;
        measure(100.0);
        const double ratio = (face->ascent + face->descent) / 100.0;
        em = ratio > 0 ? std::max(1.0, std::floor(cell / ratio)) : cell;
    }
    measure(em * scale);
    return face;
}

// The characters a text shows: ampersands with prefixes on mark the next character ("&x"
// underlines x, "&&" is one ampersand), and carriage returns go.
struct ShownText
{
    ShownText(std::wstring_view text, bool prefix)
    {
        size_t start = std::wstring_view::npos; // a marking ampersand before the next character
        for (size_t i = 0; i < text.size(); ++i) {
            if (prefix && text[i] == L'&') {
                if (i + 1 < text.size() && text[i + 1] == L'&') {
                    Show(L'&', i);
                    ++i;
                } else if (i + 1 < text.size()) {
                    marked.push_back(static_cast<int>(shown.size()));
                    start = i;
                }
                continue;
            }
            if (text[i] != L'\r') {
                Show(text[i], start != std::wstring_view::npos ? start : i);
                start = std::wstring_view::npos;
            }
        }
    }
    void Show(wchar_t c, size_t from)
    {
        shown.push_back(c);
        source.push_back(from);
    }

    std::wstring shown;
    std::vector<int> marked;    // indexes into `shown`
    std::vector<size_t> source; // for each shown character, where it starts in the text
};

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
        const ShownText shownText(text, prefix);
        const std::wstring& shown = shownText.shown;
        const std::vector<int>& marked = shownText.marked;
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
        f->face = Resolve(f->logFont, 1.0);
    return f->face;
}

// The font's face for drawing on a window of `scale`.
std::shared_ptr<FontFace> ScaledFaceOf(GdiObject* font, double scale)
{
    if (scale == 1.0)
        return SharedFaceOf(font);
    GdiObject* f = font ? font : platform::gdi::StockFont(SYSTEM_FONT);
    for (const auto& [s, face] : f->scaledFaces)
        if (s == scale)
            return face;
    f->scaledFaces.emplace_back(scale, Resolve(f->logFont, scale));
    return f->scaledFaces.back().second;
}

// `text` with a line break put before each line `layout` (laid out from it) wrapped onto, so
// that a layout of the result in another size breaks at exactly the same places.
std::wstring WithWrappedBreaks(PangoLayout* layout, std::wstring_view text, bool prefix)
{
    const ShownText shown(text, prefix);
    const char* utf8 = pango_layout_get_text(layout);
    std::vector<size_t> breaks; // indexes into `text`, ascending
    for (int i = 1; i < pango_layout_get_line_count(layout); ++i) {
        const int start = pango_layout_get_line_readonly(layout, i)->start_index;
        const auto at = static_cast<size_t>(g_utf8_pointer_to_offset(utf8, utf8 + start));
        if (at > 0 && at < shown.source.size() && shown.shown[at - 1] != L'\n')
            breaks.push_back(shown.source[at]);
    }
    std::wstring out;
    out.reserve(text.size() + breaks.size());
    size_t next = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        while (next < breaks.size() && breaks[next] == i) {
            out.push_back(L'\n');
            ++next;
        }
        out.push_back(text[i]);
    }
    return out;
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

// Places the glyphs of `drawn`, a line laid out at the device size, where `measured`, the same
// line at the logical size, places them, scaled: each glyph starts on the device pixel of its
// logical position. Hinting rounds advances differently at each size, and the host sized its
// boxes to the logical line; so the line is drawn as wide as it was measured, never cut off by
// the box, while every glyph keeps its device-size shape. Lines shaped differently (which the
// same text and font do not) are left as they are.
void FollowLogicalAdvances(PangoLayoutLine* drawn, PangoLayoutLine* measured, double scale)
{
    std::vector<int> advances;
    for (GSList* r = measured->runs; r; r = r->next) {
        const PangoGlyphString* glyphs = static_cast<PangoGlyphItem*>(r->data)->glyphs;
        for (int i = 0; i < glyphs->num_glyphs; ++i)
            advances.push_back(glyphs->glyphs[i].geometry.width);
    }
    size_t count = 0;
    for (GSList* r = drawn->runs; r; r = r->next)
        count += static_cast<size_t>(static_cast<PangoGlyphItem*>(r->data)->glyphs->num_glyphs);
    if (count != advances.size())
        return;
    long long logical = 0; // Pango units
    long long placed = 0;  // device Pango units, whole pixels
    size_t next = 0;
    for (GSList* r = drawn->runs; r; r = r->next) {
        PangoGlyphString* glyphs = static_cast<PangoGlyphItem*>(r->data)->glyphs;
        for (int i = 0; i < glyphs->num_glyphs; ++i) {
            logical += advances[next++];
            const long long end =
                std::llround(static_cast<double>(logical) * scale / PANGO_SCALE) * PANGO_SCALE;
            glyphs->glyphs[i].geometry.width = static_cast<int>(end - placed);
            placed = end;
        }
    }
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

    // Where each line goes, in logical pixels, as the host measured it.
    struct Line
    {
        int x, width;
    };
    std::vector<Line> placed;
    for (int i = 0; i < lines; ++i) {
        const int w = LineWidth(pango_layout_get_line_readonly(layout, i));
        int x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (boxWidth - w) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - w;
        placed.push_back({x, w});
    }

    const platform::gdi::DeviceTarget target(d->dc);
    const platform::DeviceMapping& map = target.map;
    // Device clip: the context's, and the rectangle unless DT_NOCLIP.
    CRect clip = target.clip;
    if (!(format & DT_NOCLIP))
        clip.IntersectRect(clip, map.Rect(*rect));
    if (clip.IsRectEmpty())
        return height;

    // On a scaled window the lines are laid out again at the device size, breaking where the
    // logical layout broke them and spacing their glyphs as it does.
    PangoLayout* drawn = layout;
    if (map.scale != 1.0) {
        g_object_ref(layout); // past the next look-up in the cache
        const std::wstring broken =
            lines > 1 ? WithWrappedBreaks(layout, t, prefix) : std::wstring(t);
        drawn = Layouts().Get(ScaledFaceOf(d->state.font, map.scale), broken, prefix, -1, single);
        for (int i = 0; i < std::min(lines, pango_layout_get_line_count(drawn)); ++i)
            FollowLogicalAdvances(pango_layout_get_line_readonly(drawn, i),
                                  pango_layout_get_line_readonly(layout, i), map.scale);
        g_object_unref(layout);
    }

    Gdiplus::detail::ImageData* data = Gdiplus::NativeOf(target.target);
    if (!data)
        return 0;
    cairo_t* cr = cairo_create(data->surface);
    cairo_rectangle(cr, clip.left, clip.top, clip.Width(), clip.Height());
    cairo_clip(cr);
    const COLORREF c = d->state.text;
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
    const int drawnLines = std::min(lines, pango_layout_get_line_count(drawn));
    for (int i = 0; i < drawnLines; ++i, y += lineHeight) {
        const Line& line = placed[static_cast<size_t>(i)];
        if (d->state.bkMode == OPAQUE) {
            cairo_surface_flush(data->surface);
            platform::gdi::FillDevice(target.target, clip,
                                      map.Area(line.x, y, line.width, lineHeight), d->state.bk);
        }
        // The baseline lies on the device edge of the logical one.
        cairo_move_to(cr, map.X(line.x), map.Y(static_cast<long long>(y) + face->ascent));
        pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(drawn, i));
    }
    cairo_destroy(cr);
    cairo_surface_flush(data->surface);
    return height;
}
