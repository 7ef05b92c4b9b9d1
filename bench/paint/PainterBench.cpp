// The painter against the same work written directly with Cairo and Pango, in one binary.
// Each pair draws the same pixels with the same sequence of operations.
#include "paint/CtrlGDIpString.h"

#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr int kTexts = 30;

std::unique_ptr<Bitmap> Picture(int w, int h)
{
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat32bppARGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->SetPixel(x, y, Color(255, static_cast<BYTE>(x * 7), static_cast<BYTE>(y * 5), 128));
    return b;
}

// The same picture as a Cairo surface, for the direct side.
cairo_surface_t* CairoPicture(int w, int h)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    auto* p = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    const int stride = cairo_image_surface_get_stride(s) / 4;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p[y * stride + x] =
                0xFF000000u | (uint32_t(BYTE(x * 7)) << 16) | (uint32_t(BYTE(y * 5)) << 8) | 128;
    cairo_surface_mark_dirty(s);
    return s;
}

// --- text ---

void BM_Painter_DrawString30(benchmark::State& state)
{
    Bitmap target(400, 620, PixelFormat32bppARGB);
    Graphics g(&target);
    CCtrlGDIpString painter(L"Liberation Sans", 13, FontStyleRegular);
    std::vector<CString> texts;
    for (int i = 0; i < kTexts; ++i)
        texts.push_back(CString(L"Playlist item ") + CString(std::to_wstring(i + 1)));
    for (auto _ : state)
        for (int i = 0; i < kTexts; ++i)
            painter.DrawString(&g, texts[i], 10, 10 + i * 20, 380, 20, Color::Black,
                               StringAlignmentCenter, StringAlignmentCenter);
    state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_Painter_DrawString30);

void BM_Direct_DrawString30(benchmark::State& state)
{
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 620);
    cairo_t* cr = cairo_create(target);
    PangoContext* ctx = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(ctx, fo);
    cairo_font_options_destroy(fo);
    pango_context_set_round_glyph_positions(ctx, FALSE);
    PangoFontDescription* desc = pango_font_description_from_string("Liberation Sans");
    pango_font_description_set_absolute_size(desc, 13 * PANGO_SCALE);
    std::vector<std::string> texts;
    for (int i = 0; i < kTexts; ++i)
        texts.push_back("Playlist item " + std::to_string(i + 1));
    for (auto _ : state) {
        for (int i = 0; i < kTexts; ++i) {
            // Lay out, measure, centre in the box, draw.
            PangoLayout* l = pango_layout_new(ctx);
            pango_layout_set_font_description(l, desc);
            pango_layout_set_text(l, texts[i].c_str(), -1);
            PangoRectangle logical;
            pango_layout_get_extents(l, nullptr, &logical);
            const double w = logical.width / double(PANGO_SCALE) + 13.0 / 3;
            const double h = logical.height / double(PANGO_SCALE);
            cairo_set_source_rgba(cr, 0, 0, 0, 1);
            cairo_move_to(cr, 10 + (380 - w) * 0.5 + 13.0 / 6, 10 + i * 20 + (20 - h) * 0.5);
            pango_cairo_show_layout(cr, l);
            g_object_unref(l);
        }
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
    pango_font_description_free(desc);
    g_object_unref(ctx);
    cairo_destroy(cr);
    cairo_surface_destroy(target);
}
BENCHMARK(BM_Direct_DrawString30);

// --- nine-slice 500 x 500 ---

void BM_Painter_NineSlice500(benchmark::State& state)
{
    auto image = Picture(30, 30);
    Bitmap target(500, 500, PixelFormat32bppARGB);
    Graphics g(&target);
    g.SetInterpolationMode(InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    CCtrlGDIpString painter;
    for (auto _ : state)
        painter.DrawBg(&g, image.get(), Rect(0, 0, 500, 500), 2, RECT{8, 8, 8, 8});
}
BENCHMARK(BM_Painter_NineSlice500);

void DirectCell(cairo_t* cr, cairo_surface_t* img, double dx, double dy, double dw, double dh,
                double sx, double sy, double sw, double sh)
{
    cairo_save(cr);
    cairo_rectangle(cr, dx, dy, dw, dh);
    cairo_clip(cr);
    cairo_pattern_t* p = cairo_pattern_create_for_surface(img);
    cairo_matrix_t m;
    cairo_matrix_init(&m, sw / dw, 0, 0, sh / dh, sx - dx * sw / dw, sy - dy * sh / dh);
    cairo_pattern_set_matrix(p, &m);
    cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void BM_Direct_NineSlice500(benchmark::State& state)
{
    cairo_surface_t* img = CairoPicture(30, 30);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 500, 500);
    cairo_t* cr = cairo_create(target);
    const double X[4] = {0, 8, 492, 500}, SX[4] = {0, 8, 22, 30};
    for (auto _ : state)
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k)
                DirectCell(cr, img, X[k], X[r], X[k + 1] - X[k], X[r + 1] - X[r], SX[k], SX[r],
                           SX[k + 1] - SX[k], SX[r + 1] - SX[r]);
    cairo_destroy(cr);
    cairo_surface_destroy(target);
    cairo_surface_destroy(img);
}
BENCHMARK(BM_Direct_NineSlice500);

// --- tiles: 10 x 10 into 500 x 500, 2,500 draws ---

void BM_Painter_Tile500(benchmark::State& state)
{
    auto image = Picture(10, 10);
    Bitmap target(500, 500, PixelFormat32bppARGB);
    Graphics g(&target);
    CCtrlGDIpString painter;
    for (auto _ : state)
        painter.DrawBg(&g, image.get(), Rect(0, 0, 500, 500), 1, RECT{});
}
BENCHMARK(BM_Painter_Tile500);

void BM_Direct_Tile500(benchmark::State& state)
{
    cairo_surface_t* img = CairoPicture(10, 10);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 500, 500);
    cairo_t* cr = cairo_create(target);
    for (auto _ : state)
        for (int y = 0; y < 500; y += 10)
            for (int x = 0; x < 500; x += 10) {
                cairo_set_source_surface(cr, img, x, y);
                cairo_rectangle(cr, x, y, 10, 10);
                cairo_fill(cr);
            }
    cairo_destroy(cr);
    cairo_surface_destroy(target);
    cairo_surface_destroy(img);
}
BENCHMARK(BM_Direct_Tile500);

} // namespace
