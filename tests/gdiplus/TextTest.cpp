#include "PixelProbe.h"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <utility>

using namespace Gdiplus;

namespace {

RectF Measure(const wchar_t* text, const Font& font, RectF layout = RectF(0, 0, 0, 0),
              INT flags = 0)
{
    Bitmap b(1, 1, PixelFormat32bppARGB);
    Graphics g(&b);
    StringFormat format(flags);
    RectF box;
    EXPECT_EQ(g.MeasureString(text, -1, &font, layout, &format, &box), Ok);
    return box;
}

// Width of a text in Pango with the same unhinted settings, to its last glyph.
double PangoWidth(const char* family, double px, const char* text)
{
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* ctx = pango_font_map_create_context(map);
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(ctx, fo);
    cairo_font_options_destroy(fo);
    pango_context_set_round_glyph_positions(ctx, FALSE);
    PangoLayout* l = pango_layout_new(ctx);
    PangoFontDescription* d = pango_font_description_from_string(family);
    pango_font_description_set_absolute_size(d, px * PANGO_SCALE);
    pango_layout_set_font_description(l, d);
    pango_layout_set_text(l, text, -1);
    PangoRectangle logical;
    pango_layout_get_extents(l, nullptr, &logical);
    pango_font_description_free(d);
    g_object_unref(l);
    g_object_unref(ctx);
    return logical.width / double(PANGO_SCALE);
}

} // namespace

// Names are found whatever their case; an unknown family fails, but a font asked for by an
// unknown name measures as the generic sans-serif.
TEST(FontLookup, UnknownFamiliesFailAndUnknownFontNamesMeasureAsSansSerif)
{
    EXPECT_EQ(FontFamily(L"liberation SANS").GetLastStatus(), Ok);
    EXPECT_TRUE(FontFamily(L"Arial").IsAvailable()); // a metric-compatible alias
    FontFamily none(L"NoSuchFontXYZ");
    EXPECT_EQ(none.GetLastStatus(), FontFamilyNotFound);
    EXPECT_FALSE(none.IsAvailable());
    EXPECT_EQ(Font(&none, 12, FontStyleRegular, UnitPixel).GetLastStatus(), InvalidParameter);

    Font unknown(L"NoSuchFontXYZ", 14, FontStyleBold, UnitPixel);
    ASSERT_EQ(unknown.GetLastStatus(), Ok);
    Font generic(FontFamily::GenericSansSerif(), 14, FontStyleBold, UnitPixel);
    const RectF a = Measure(L"Skinned text 123", unknown);
    const RectF b = Measure(L"Skinned text 123", generic);
    EXPECT_EQ(std::pair(a.Width, a.Height), std::pair(b.Width, b.Height));
    EXPECT_GT(a.Width, 0);
}

TEST(MeasureString, WidthIsTheTextPlusASixthOfTheEmEachSideHeightLinesTimesTheirSpacing)
{
    Font font(L"Liberation Sans", 12, FontStyleRegular, UnitPixel);
    const RectF box = Measure(L"Hello", font);
    EXPECT_NEAR(box.Width, PangoWidth("Liberation Sans", 12, "Hello") + 4.0, 0.01);
    // Trailing blanks are not measured, leading ones are.
    EXPECT_FLOAT_EQ(Measure(L"Hello   ", font).Width, box.Width);
    EXPECT_GT(Measure(L"   Hello", font).Width, box.Width + 5);
    EXPECT_EQ(Measure(L"", font).Width, 0);

    // Height: lines times the line spacing.
    const REAL line = Measure(L"x", font).Height;
    // Liberation Sans: (ascent 1854 + descent 434 + gap 67) / 2048 em.
    EXPECT_NEAR(line, 12.0 * (1854 + 434 + 67) / 2048, 0.05);
    EXPECT_NEAR(font.GetHeight(96.0f), line, 0.01);
    EXPECT_FLOAT_EQ(Measure(L"two\nlines", font).Height, 2 * line);
    // Lines are laid out while their top is inside the layout height.
    const struct
    {
        float height;
        int lines;
    } cases[] = {{1.5f, 2}, {2.0f, 2}, {2.01f, 3}, {0.0f, 1}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(
            Measure(L"a\nb\nc", font, RectF(0, 0, 100, c.height ? line * c.height : 1)).Height,
            c.lines * line)
            << c.height;

    // Wrapping happens at words within the layout width.
    const wchar_t* text = L"The quick brown fox jumps";
    const RectF one = Measure(text, font);
    const RectF wrapped = Measure(text, font, RectF(0, 0, 60, 0));
    EXPECT_GT(wrapped.Height, one.Height * 2.5);
    EXPECT_LE(wrapped.Width, 60);
    // Width 0 means no wrapping; an over-long word breaks between characters.
    EXPECT_FLOAT_EQ(Measure(text, font, RectF(0, 0, 0, 0)).Height, one.Height);
    EXPECT_LE(Measure(L"Supercalifragilistic", font, RectF(0, 0, 40, 0)).Width, 40);
    // NoWrap keeps one line.
    EXPECT_FLOAT_EQ(Measure(text, font, RectF(0, 0, 60, 0), StringFormatFlagsNoWrap).Height,
                    one.Height);
}
