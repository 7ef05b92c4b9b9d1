// Fonts and text: family lookup through fontconfig, layout with Pango, measured and drawn the
// way GDI+ measures and draws.
#include "platform/gdiplus/GdiplusPrivate.h"

#include <fontconfig/fontconfig.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <unordered_map>

namespace Gdiplus {
namespace detail {
namespace {

std::mutex g_familyLock;
std::atomic<unsigned long long> g_nextFontId{1};

// The family fontconfig would use for `name`, and whether it got there through the name itself
// or a metric-compatible alias (a strong binding after substitution). A weak match is only a
// generic fallback: the name is not installed.
bool MatchFamily(const std::string& name, std::string* family)
{
    FcPattern* p =
        FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, name.c_str(), static_cast<char*>(nullptr));
    if (!p)
        return false;
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result;
    FcPattern* m = FcFontMatch(nullptr, p, &result);
    bool strong = false;
    FcChar8* matched = nullptr;
    if (m && FcPatternGetString(m, FC_FAMILY, 0, &matched) == FcResultMatch) {
        FcValue v;
        FcValueBinding b;
        for (int i = 0; FcPatternGetWithBinding(p, FC_FAMILY, i, &v, &b) == FcResultMatch; ++i) {
            if (v.type == FcTypeString && FcStrCmpIgnoreCase(v.u.s, matched) == 0) {
                strong = b != FcValueBindingWeak;
                break;
            }
        }
        *family = reinterpret_cast<const char*>(matched);
    }
    if (m)
        FcPatternDestroy(m);
    FcPatternDestroy(p);
    return strong;
}

} // namespace

std::shared_ptr<FamilyData> ResolveFamily(const CString& name)
{
    static std::unordered_map<std::string, std::shared_ptr<FamilyData>> cache;
    CString key(name);
    key.Trim();
    if (key.IsEmpty())
        return nullptr;
    const std::string folded = CString(key).MakeLower().ToUtf8();
    std::lock_guard<std::mutex> guard(g_familyLock);
    if (auto it = cache.find(folded); it != cache.end())
        return it->second;
    std::string family;
    std::shared_ptr<FamilyData> data;
    // Generic names resolve to whatever the desktop configured; GDI+ knows no such names.
    if (folded != "sans-serif" && folded != "serif" && folded != "monospace" && folded != "sans" &&
        MatchFamily(key.ToUtf8(), &family))
        data = std::make_shared<FamilyData>(FamilyData{family, key});
    cache.emplace(folded, data);
    return data;
}

namespace {

std::shared_ptr<FamilyData> Generic(const char* generic)
{
    std::string family;
    MatchFamily(generic, &family);
    if (family.empty())
        family = generic;
    return std::make_shared<FamilyData>(FamilyData{family, CString::FromUtf8(family)});
}

// Owns one context of the default font map, made for hinted or unhinted layout.
struct ContextHolder
{
    explicit ContextHolder(bool hinted)
        : ctx(pango_font_map_create_context(pango_cairo_font_map_get_default()))
    {
        cairo_font_options_t* fo = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(fo, hinted ? CAIRO_HINT_METRICS_ON
                                                       : CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(fo,
                                          hinted ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(ctx, fo);
        cairo_font_options_destroy(fo);
        pango_context_set_round_glyph_positions(ctx, hinted);
    }
    ~ContextHolder() { g_object_unref(ctx); }
    ContextHolder(const ContextHolder&) = delete;
    ContextHolder& operator=(const ContextHolder&) = delete;

    PangoContext* ctx;
};

} // namespace

std::shared_ptr<FamilyData> GenericSansSerifFamily()
{
    static const std::shared_ptr<FamilyData> family = Generic("sans-serif");
    return family;
}

PangoContext* SharedPangoContext()
{
    thread_local const ContextHolder holder(false);
    return holder.ctx;
}

PangoContext* HintedPangoContext()
{
    thread_local const ContextHolder holder(true);
    return holder.ctx;
}

std::shared_ptr<FontData> MakeFont(std::shared_ptr<FamilyData> family, REAL emSize, INT style,
                                   Unit unit)
{
    double px = emSize;
    switch (unit) {
    case UnitPixel:
    case UnitWorld:
        break;
    case UnitPoint:
        px = emSize * 96.0 / 72.0;
        break;
    case UnitInch:
        px = emSize * 96.0;
        break;
    case UnitDocument:
        px = emSize * 96.0 / 300.0;
        break;
    case UnitMillimeter:
        px = emSize * 96.0 / 25.4;
        break;
    default:
        return nullptr;
    }
    if (!family || !(px > 0) || !std::isfinite(px))
        return nullptr;
    auto font = std::make_shared<FontData>();
    font->id = g_nextFontId++;
    font->family = std::move(family);
    font->emSize = emSize;
    font->style = style;
    font->unit = unit;
    font->emPixels = px;
    font->desc = pango_font_description_new();
    pango_font_description_set_family(font->desc, font->family->pangoFamily.c_str());
    pango_font_description_set_absolute_size(font->desc, px * PANGO_SCALE);
    pango_font_description_set_weight(font->desc, (style & FontStyleBold) ? PANGO_WEIGHT_BOLD
                                                                          : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font->desc, (style & FontStyleItalic) ? PANGO_STYLE_ITALIC
                                                                           : PANGO_STYLE_NORMAL);
    PangoFontMetrics* m = pango_context_get_metrics(SharedPangoContext(), font->desc, nullptr);
    font->ascent = pango_font_metrics_get_ascent(m) / double(PANGO_SCALE);
    const double descent = pango_font_metrics_get_descent(m) / double(PANGO_SCALE);
    font->descentPlusAscent = font->ascent + descent;
    const double height = pango_font_metrics_get_height(m) / double(PANGO_SCALE);
    font->lineSpacing = height > font->descentPlusAscent ? height : font->descentPlusAscent;
    pango_font_metrics_unref(m);
    return font;
}

// --- layout ---

namespace {

bool IsBlankByte(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// One layout per thread is kept, with its line widths: a control measures a text and then
// draws it, usually with a box wide enough for one unwrapped line both times.
struct LayoutCache
{
    unsigned long long fontId = 0;
    std::string text;
    int wrap = -1;
    PangoLayout* layout = nullptr;
    bool trailing = false;          // widths include trailing blanks
    std::vector<double> lineWidths; // empty until first asked for
    ~LayoutCache()
    {
        if (layout)
            g_object_unref(layout);
    }
};

LayoutCache& Cache()
{
    thread_local LayoutCache cache;
    return cache;
}

void NewLayout(const FontData& font, const std::string& utf8, double wrapPixels)
{
    LayoutCache& cache = Cache();
    PangoLayout* layout = pango_layout_new(SharedPangoContext());
    pango_layout_set_font_description(layout, font.desc);
    if (font.style & (FontStyleUnderline | FontStyleStrikeout)) {
        PangoAttrList* attrs = pango_attr_list_new();
        if (font.style & FontStyleUnderline)
            pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (font.style & FontStyleStrikeout)
            pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    }
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    int wrap = 0;
    if (wrapPixels > 0) {
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        const int limit = std::max(1, static_cast<int>(wrapPixels * PANGO_SCALE));
        if (logical.width > limit) {
            pango_layout_set_width(layout, limit);
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
            wrap = limit;
        }
    }
    if (cache.layout)
        g_object_unref(cache.layout);
    cache.layout = layout;
    cache.fontId = font.id;
    cache.text = utf8;
    cache.wrap = wrap;
    cache.lineWidths.clear();
}

// Makes the cache hold the layout of `utf8` for a wrapping width (0: none).
void BuildLayout(const FontData& font, const std::string& utf8, double wrapPixels)
{
    LayoutCache& cache = Cache();
    if (cache.layout && cache.fontId == font.id && cache.wrap == 0 && cache.text == utf8) {
        // The cached layout is unwrapped: it serves every box at least as wide as its lines.
        PangoRectangle logical;
        pango_layout_get_extents(cache.layout, nullptr, &logical);
        if (wrapPixels <= 0 || logical.width <= static_cast<int>(wrapPixels * PANGO_SCALE))
            return;
    }
    NewLayout(font, utf8, wrapPixels);
}

// Each line's width to its last non-blank (or its whole width when `trailing`).
const std::vector<double>& LineWidths(const std::string& utf8, bool trailing)
{
    LayoutCache& cache = Cache();
    if (!cache.lineWidths.empty() && cache.trailing == trailing)
        return cache.lineWidths;
    cache.trailing = trailing;
    cache.lineWidths.clear();
    const int lines = pango_layout_get_line_count(cache.layout);
    for (int i = 0; i < lines; ++i) {
        PangoLayoutLine* line = pango_layout_get_line_readonly(cache.layout, i);
        int end = line->start_index + line->length;
        double w = 0;
        if (trailing) {
            PangoRectangle logical;
            pango_layout_line_get_extents(line, nullptr, &logical);
            w = logical.width / double(PANGO_SCALE);
        } else {
            while (end > line->start_index && IsBlankByte(utf8[static_cast<size_t>(end - 1)]))
                --end;
            if (end > line->start_index) {
                const char* last =
                    g_utf8_find_prev_char(utf8.c_str() + line->start_index, utf8.c_str() + end);
                int x = 0;
                pango_layout_line_index_to_x(line, static_cast<int>(last - utf8.c_str()), TRUE, &x);
                w = x / double(PANGO_SCALE);
            }
        }
        cache.lineWidths.push_back(w);
    }
    return cache.lineWidths;
}

} // namespace

void LayoutText(const FontData& font, const WCHAR* text, INT length, const RectF& box, INT flags,
                TextLayout* out)
{
    const std::string utf8 = (length < 0 ? CString(text) : CString(text, length)).ToUtf8();
    const double em = font.emPixels;
    double wrap = 0;
    if (box.Width > 0 && !(flags & StringFormatFlagsNoWrap))
        wrap = std::max(box.Width - em / 3.0, 1.0 / PANGO_SCALE);
    BuildLayout(font, utf8, wrap);
    out->layout = static_cast<PangoLayout*>(g_object_ref(Cache().layout));
    if (utf8.empty()) {
        out->lineCount = 0;
        return;
    }

    const int lines = pango_layout_get_line_count(out->layout);
    int count = lines;
    if (box.Height > 0) {
        count = 0;
        while (count < lines) {
            const double top = count * font.lineSpacing;
            const double bottom = top + font.lineSpacing;
            const bool inside = (flags & StringFormatFlagsLineLimit) ? bottom <= box.Height + 1e-3
                                                                     : top < box.Height;
            if (!inside)
                break;
            ++count;
        }
        if (count == 0 && !(flags & StringFormatFlagsLineLimit))
            count = 1;
    }
    const std::vector<double>& widths =
        LineWidths(utf8, (flags & StringFormatFlagsMeasureTrailingSpaces) != 0);
    out->lineCount = count;
    out->lineWidths.assign(widths.begin(), widths.begin() + count);
    double widest = 0;
    for (double w : out->lineWidths)
        widest = std::max(widest, w);
    int endByte = 0;
    if (count > 0) {
        PangoLayoutLine* last = pango_layout_get_line_readonly(out->layout, count - 1);
        endByte = last->start_index + last->length;
    }
    out->width = widest + em / 3.0;
    out->height = count * font.lineSpacing;
    out->codepoints = static_cast<int>(g_utf8_strlen(utf8.c_str(), endByte));
}

} // namespace detail

// --- FontFamily ---

FontFamily::FontFamily() : lastResult(Ok) {}

FontFamily::FontFamily(const WCHAR* name, const FontCollection*) : lastResult(Ok)
{
    if (!detail::IsStarted()) {
        lastResult = GdiplusNotInitialized;
        return;
    }
    if (!name) {
        lastResult = InvalidParameter;
        return;
    }
    nativeFamily = detail::ResolveFamily(CString(name));
    if (!nativeFamily)
        lastResult = FontFamilyNotFound;
}

FontFamily::~FontFamily() = default;

const FontFamily* FontFamily::GenericSansSerif()
{
    static FontFamily* family = [] {
        auto* f = new FontFamily();
        f->nativeFamily = detail::GenericSansSerifFamily();
        return f;
    }();
    return family;
}

const FontFamily* FontFamily::GenericSerif()
{
    static FontFamily* family = [] {
        auto* f = new FontFamily();
        f->nativeFamily = detail::Generic("serif");
        return f;
    }();
    return family;
}

const FontFamily* FontFamily::GenericMonospace()
{
    static FontFamily* family = [] {
        auto* f = new FontFamily();
        f->nativeFamily = detail::Generic("monospace");
        return f;
    }();
    return family;
}

Status FontFamily::GetFamilyName(LPWSTR name, LANGID) const
{
    if (!name || !nativeFamily)
        return lastResult = InvalidParameter;
    const CString& n = nativeFamily->displayName;
    const int count = std::min(n.GetLength(), LF_FACESIZE - 1);
    wmemcpy(name, n.GetString(), static_cast<size_t>(count));
    name[count] = 0;
    return Ok;
}

BOOL FontFamily::IsAvailable() const
{
    return nativeFamily != nullptr;
}

FontFamily* FontFamily::Clone() const
{
    auto* f = new FontFamily();
    f->nativeFamily = nativeFamily;
    f->lastResult = nativeFamily ? Ok : InvalidParameter;
    return f;
}

Status FontFamily::GetLastStatus() const
{
    return detail::TakeStatus(lastResult);
}

// --- Font ---

Font::Font(const FontFamily* family, REAL emSize, INT style, Unit unit)
{
    if (!detail::IsStarted()) {
        lastResult = GdiplusNotInitialized;
        return;
    }
    if (!family || !family->nativeFamily) {
        lastResult = InvalidParameter;
        return;
    }
    nativeFont = detail::MakeFont(family->nativeFamily, emSize, style, unit);
    if (!nativeFont)
        lastResult = InvalidParameter;
}

Font::Font(const WCHAR* familyName, REAL emSize, INT style, Unit unit,
           const FontCollection* collection)
{
    FontFamily family(familyName, collection);
    const FontFamily* use = family.IsAvailable() ? &family : FontFamily::GenericSansSerif();
    if (!detail::IsStarted()) {
        lastResult = GdiplusNotInitialized;
        return;
    }
    nativeFont = detail::MakeFont(use->nativeFamily, emSize, style, unit);
    if (!nativeFont)
        lastResult = InvalidParameter;
}

Font::~Font() = default;

Font* Font::Clone() const
{
    auto* f = new Font();
    f->nativeFont = nativeFont;
    f->lastResult = nativeFont ? Ok : InvalidParameter;
    return f;
}

Status Font::GetFamily(FontFamily* family) const
{
    if (!family || !nativeFont)
        return lastResult = InvalidParameter;
    family->nativeFamily = nativeFont->family;
    return Ok;
}

REAL Font::GetSize() const
{
    return nativeFont ? nativeFont->emSize : 0.0f;
}
INT Font::GetStyle() const
{
    return nativeFont ? nativeFont->style : 0;
}
Unit Font::GetUnit() const
{
    return nativeFont ? nativeFont->unit : UnitWorld;
}

REAL Font::GetHeight(REAL dpi) const
{
    if (!nativeFont) {
        lastResult = InvalidParameter;
        return 0;
    }
    return static_cast<REAL>(nativeFont->lineSpacing * dpi / 96.0);
}

REAL Font::GetHeight(const Graphics*) const
{
    return GetHeight(96.0f);
}

BOOL Font::IsAvailable() const
{
    return nativeFont != nullptr;
}

Status Font::GetLastStatus() const
{
    return detail::TakeStatus(lastResult);
}

// --- StringFormat ---

StringFormat::StringFormat(INT formatFlags, LANGID language)
    : m_flags(formatFlags), m_language(language)
{
}

StringFormat::StringFormat(const StringFormat* format)
    : m_flags(format ? format->m_flags : 0), m_language(format ? format->m_language : LANG_NEUTRAL),
      m_align(format ? format->m_align : StringAlignmentNear),
      m_lineAlign(format ? format->m_lineAlign : StringAlignmentNear),
      m_trimming(format ? format->m_trimming : StringTrimmingCharacter)
{
}

const StringFormat* StringFormat::GenericDefault()
{
    static const StringFormat format;
    return &format;
}

const StringFormat* StringFormat::GenericTypographic()
{
    static const StringFormat format(StringFormatFlagsNoFitBlackBox | StringFormatFlagsLineLimit |
                                     StringFormatFlagsNoClip);
    return &format;
}

Status StringFormat::SetFormatFlags(INT flags)
{
    m_flags = flags;
    return Ok;
}

Status StringFormat::SetAlignment(StringAlignment align)
{
    if (align < StringAlignmentNear || align > StringAlignmentFar)
        return lastResult = InvalidParameter;
    m_align = align;
    return Ok;
}

Status StringFormat::SetLineAlignment(StringAlignment align)
{
    if (align < StringAlignmentNear || align > StringAlignmentFar)
        return lastResult = InvalidParameter;
    m_lineAlign = align;
    return Ok;
}

Status StringFormat::SetTrimming(StringTrimming trimming)
{
    m_trimming = trimming;
    return Ok;
}

Status StringFormat::GetLastStatus() const
{
    return detail::TakeStatus(lastResult);
}

// --- Graphics text ---

namespace {

// Where a block of `size` goes inside `extent` from `origin` for an alignment. A zero extent
// (a point origin) aligns around the point.
double Align(StringAlignment a, double origin, double extent, double size)
{
    switch (a) {
    case StringAlignmentCenter:
        return origin + (extent - size) * 0.5;
    case StringAlignmentFar:
        return origin + extent - size;
    default:
        return origin;
    }
}

} // namespace

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font,
                               const RectF& layoutRect, const StringFormat* format,
                               RectF* boundingBox, INT* codepointsFitted, INT* linesFilled) const
{
    if (!nativeGraphics || !string || !font || !font->nativeFont || !boundingBox || length < -1)
        return SetStatus(InvalidParameter);
    const StringFormat& f = format ? *format : *StringFormat::GenericDefault();
    detail::TextLayout tl;
    detail::LayoutText(*font->nativeFont, string, length, layoutRect, f.GetFormatFlags(), &tl);
    if (tl.lineCount == 0) {
        *boundingBox = RectF(layoutRect.X, layoutRect.Y, 0, 0);
    } else {
        boundingBox->Width = static_cast<REAL>(tl.width);
        boundingBox->Height = static_cast<REAL>(tl.height);
        boundingBox->X =
            static_cast<REAL>(Align(f.GetAlignment(), layoutRect.X, layoutRect.Width, tl.width));
        boundingBox->Y = static_cast<REAL>(
            Align(f.GetLineAlignment(), layoutRect.Y, layoutRect.Height, tl.height));
    }
    if (codepointsFitted)
        *codepointsFitted = tl.codepoints;
    if (linesFilled)
        *linesFilled = tl.lineCount;
    return Ok;
}

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font,
                               const PointF& origin, RectF* boundingBox) const
{
    return MeasureString(string, length, font, RectF(origin.X, origin.Y, 0, 0), nullptr,
                         boundingBox);
}

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font,
                               const PointF& origin, const StringFormat* format,
                               RectF* boundingBox) const
{
    return MeasureString(string, length, font, RectF(origin.X, origin.Y, 0, 0), format,
                         boundingBox);
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font,
                            const RectF& layoutRect, const StringFormat* format, const Brush* brush)
{
    const auto* solid = dynamic_cast<const SolidBrush*>(brush);
    if (!nativeGraphics || !string || !font || !font->nativeFont || !solid || length < -1)
        return SetStatus(InvalidParameter);
    const StringFormat& f = format ? *format : *StringFormat::GenericDefault();
    const detail::FontData& fd = *font->nativeFont;
    detail::TextLayout tl;
    detail::LayoutText(fd, string, length, layoutRect, f.GetFormatFlags(), &tl);
    if (tl.lineCount == 0)
        return Ok;

    cairo_t* cr = nativeGraphics->cr;
    cairo_save(cr);
    if (!(f.GetFormatFlags() & StringFormatFlagsNoClip) && layoutRect.Width > 0 &&
        layoutRect.Height > 0) {
        cairo_rectangle(cr, layoutRect.X, layoutRect.Y, layoutRect.Width, layoutRect.Height);
        cairo_clip(cr);
    }
    Color c;
    solid->GetColor(&c);
    cairo_set_source_rgba(cr, c.GetR() / 255.0, c.GetG() / 255.0, c.GetB() / 255.0,
                          c.GetA() / 255.0);
    const double em = fd.emPixels;
    const double top = Align(f.GetLineAlignment(), layoutRect.Y, layoutRect.Height, tl.height);
    for (int i = 0; i < tl.lineCount; ++i) {
        const double lw = tl.lineWidths[static_cast<size_t>(i)];
        const double x =
            Align(f.GetAlignment(), layoutRect.X, layoutRect.Width, lw + em / 3.0) + em / 6.0;
        const double baseline = top + i * fd.lineSpacing + fd.ascent;
        cairo_move_to(cr, x, baseline);
        pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(tl.layout, i));
    }
    cairo_restore(cr);
    return Ok;
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                            const Brush* brush)
{
    return DrawString(string, length, font, RectF(origin.X, origin.Y, 0, 0), nullptr, brush);
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                            const StringFormat* format, const Brush* brush)
{
    return DrawString(string, length, font, RectF(origin.X, origin.Y, 0, 0), format, brush);
}

} // namespace Gdiplus
