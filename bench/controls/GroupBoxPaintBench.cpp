// Painting cost of the group box against the same pixels drawn with Cairo and Pango directly.
//
// GroupBoxDrawItem: a 200 x 100 group box (etched frame, header "Options" in the 8-point GUI
// font) painted through DrawItem into a window surface: memory context and bitmap, the
// parent's pixels copied in, the old frame erased with the 5-pixel pen, the etched frame, the
// header background, the text with its opaque box, and the copy to the window. Its peer,
// GroupBoxBareCairoPango, performs the same drawing operations directly: a 200 x 100 scratch
// surface filled, the parent's pixels copied in, the erase band, the two outlines as
// whole-pixel rectangles, the header fill, the text box and the text's Pango line (layout kept
// between paints, as the drawing surface keeps it), and the scratch surface copied onto the
// window surface.
#include "bench/BenchKit.h"
#include "controls/CtrlGroupBox.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

namespace {

constexpr int kX = 10, kY = 10, kW = 200, kH = 100;

class BenchGroupBox : public CCtrlGroupBox
{
public:
    using CCtrlGroupBox::DrawItem;
};

void GroupBoxDrawItem(benchmark::State& state)
{
    platform::wnd::HeadlessDriver driver;
    CWnd host;
    host.CreateEx(0, nullptr, L"bench", WS_VISIBLE, CRect(0, 0, 240, 140), nullptr, 0);
    BenchGroupBox box;
    box.Create(L"Options", WS_CHILD | WS_VISIBLE, CRect(kX, kY, kX + kW, kY + kH), &host, 1);
    driver.Pump();
    const HDC dc = benchkit::ChildDC(host.m_hWnd, kX, kY, kW, kH);
    CDC wrapper;
    wrapper.Attach(dc);
    CRect rect(0, 0, kW, kH);
    for (auto _ : state) {
        CRect r = rect;
        box.DrawItem(&wrapper, r);
    }
    wrapper.Detach();
    DeleteDC(dc);
}
BENCHMARK(GroupBoxDrawItem);

void Fill(cairo_t* cr, int l, int t, int r, int b, double red, double green, double blue)
{
    cairo_set_source_rgb(cr, red, green, blue);
    cairo_rectangle(cr, l, t, r - l, b - t);
    cairo_fill(cr);
}

void GroupBoxBareCairoPango(benchmark::State& state)
{
    cairo_surface_t* window = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 240, 140);
    {
        cairo_t* cr = cairo_create(window);
        cairo_set_source_rgb(cr, 240 / 255.0, 240 / 255.0, 240 / 255.0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    PangoContext* ctx = benchkit::TextContext(true);
    PangoFontDescription* desc = benchkit::Font("sans-serif", 11);
    PangoLayout* layout = pango_layout_new(ctx);
    pango_layout_set_font_description(layout, desc);
    pango_layout_set_text(layout, "Options", -1);
    const double face = 240 / 255.0, shadow = 160 / 255.0;
    for (auto _ : state) {
        PangoRectangle ink, logical;
        pango_layout_get_pixel_extents(layout, &ink, &logical);
        const int h = logical.height + 1, top = h / 2, tw = logical.width;
        cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
        cairo_t* cr = cairo_create(scratch);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        Fill(cr, 0, 0, kW, kH, face, face, face);
        // The parent's pixels below the header strip.
        cairo_set_source_surface(cr, window, -kX, -kY);
        cairo_rectangle(cr, 0, 2 * top, kW, kH - 2 * top);
        cairo_fill(cr);
        // The erase band of the last frame (5 pixels inward from its outer edge).
        Fill(cr, 0, top, kW, top + 5, face, face, face);
        Fill(cr, 0, kH - 5, kW, kH, face, face, face);
        Fill(cr, 0, top, 5, kH, face, face, face);
        Fill(cr, kW - 5, top, kW, kH, face, face, face);
        // Highlight outline (2 pixels) and shadow outline (1 pixel).
        Fill(cr, 1, top, kW, top + 2, 1, 1, 1);
        Fill(cr, 1, kH - 2, kW, kH, 1, 1, 1);
        Fill(cr, 0, top + 1, 2, kH, 1, 1, 1);
        Fill(cr, kW - 2, top + 1, kW, kH, 1, 1, 1);
        Fill(cr, 0, top, kW - 1, top + 1, shadow, shadow, shadow);
        Fill(cr, 0, kH - 2, kW - 1, kH - 1, shadow, shadow, shadow);
        Fill(cr, 0, top, 1, kH - 1, shadow, shadow, shadow);
        Fill(cr, kW - 2, top, kW - 1, kH - 1, shadow, shadow, shadow);
        // Header background, the text's box and the text.
        Fill(cr, 8, 0, 8 + tw + 6, h, face, face, face);
        Fill(cr, 11, 0, 11 + tw, logical.height, face, face, face);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, 11, pango_layout_get_baseline(layout) / double(PANGO_SCALE));
        pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(layout, 0));
        cairo_destroy(cr);
        cairo_t* wc = cairo_create(window);
        cairo_set_operator(wc, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(wc, scratch, kX, kY);
        cairo_rectangle(wc, kX, kY, kW, kH);
        cairo_fill(wc);
        cairo_destroy(wc);
        cairo_surface_destroy(scratch);
        benchmark::DoNotOptimize(window);
    }
    g_object_unref(layout);
    pango_font_description_free(desc);
    g_object_unref(ctx);
    cairo_surface_destroy(window);
}
BENCHMARK(GroupBoxBareCairoPango);

} // namespace
