// Costs of the list as it grows: a full page painted, a click and a wheel notch with 100 and
// with 100,000 rows held, and 100,000 rows inserted.
//
// ListPagePaint: an 800 x 608 list (header 32, 18 row places of 32) with five columns: a row
// number, a 48 x 36 picture, a name, a duration and a stream summary, and a check box in the
// last column; one row selected and one indicated. It is invalidated and repainted through
// the headless window layer. Its peer, BareListCairoPango, performs the same drawing with
// Cairo and Pango directly: an off-screen 788 x 608 ARGB surface, header and 19 row
// backgrounds stretched from skin pictures, five header texts and 18 x 4 cell texts laid out
// with Pango (one layout, aligned by its measured extents), 18 pictures copied 1:1 from
// copies scaled once (as the list keeps them), 18 check boxes stretched, then the surface
// composed onto the window surface.
#include "bench/BenchKit.h"
#include "controls/list/CtrlListbox.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string>

namespace {

constexpr int kW = 800, kH = 608, kRows = 18, kRowH = 32, kHeaderH = 32, kBar = 12;
constexpr int kColumnWidth[5] = {60, 110, 330, 120, 180};
const wchar_t* const kHeaderText[5] = {L"#", L"", L"Name", L"Duration", L"Streams"};

struct Skin
{
    std::unique_ptr<Gdiplus::Bitmap> header = benchkit::SolidBitmap(16, 32, 0xFF283848u);
    std::unique_ptr<Gdiplus::Bitmap> row = benchkit::SolidBitmap(16, 32, 0xFF1C242Cu);
    std::unique_ptr<Gdiplus::Bitmap> selected = benchkit::SolidBitmap(16, 32, 0xFF30507Au);
    std::unique_ptr<Gdiplus::Bitmap> line = benchkit::SolidBitmap(16, 1, 0xFF0C1014u);
    std::unique_ptr<Gdiplus::Bitmap> separator = benchkit::SolidBitmap(1, 16, 0xFF405060u);
    std::unique_ptr<Gdiplus::Bitmap> off = benchkit::SolidBitmap(16, 16, 0xFF808890u);
    std::unique_ptr<Gdiplus::Bitmap> on = benchkit::SolidBitmap(16, 16, 0xFF60C080u);
    std::unique_ptr<Gdiplus::Bitmap> mixed = benchkit::SolidBitmap(16, 16, 0xFFC0A040u);
    std::unique_ptr<Gdiplus::Bitmap> icon = benchkit::SolidBitmap(12, 12, 0xFFE0E040u);
    std::unique_ptr<Gdiplus::Bitmap> track = benchkit::SolidBitmap(kBar, 32, 0xFF101418u);
    std::unique_ptr<Gdiplus::Bitmap> thumb = benchkit::SolidBitmap(kBar, 16, 0xFF607080u);
    std::unique_ptr<Gdiplus::Bitmap> arrow = benchkit::SolidBitmap(4 * kBar, kBar, 0xFF506070u);
    std::unique_ptr<Gdiplus::Bitmap> picture = benchkit::SolidBitmap(160, 120, 0xFF4080C0u);
};

std::wstring Name(int i)
{
    return L"Sample clip " + std::to_wstring(i) + L".avi";
}

// A list as the demo makes it, holding `rows` rows.
struct Fixture
{
    explicit Fixture(int rows)
    {
        host.CreateEx(0, nullptr, L"bench", WS_VISIBLE, CRect(0, 0, kW, kH), nullptr, 0);
        list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, 7);
        list.SetBaseRect(CRect(0, 0, kW, kH));
        Gdiplus::Image* slots[15] = {skin.header.get(),   skin.row.get(),       skin.line.get(),
                                     skin.line.get(),     skin.separator.get(), skin.off.get(),
                                     skin.on.get(),       skin.icon.get(),      skin.icon.get(),
                                     skin.selected.get(), skin.track.get(),     skin.thumb.get(),
                                     skin.arrow.get(),    skin.arrow.get(),     skin.mixed.get()};
        for (int s = 0; s < 15; ++s)
            list.SetImage(slots[s], s);
        list.SetInitFont(L"Liberation Sans", 14);
        list.SetColor(0, Gdiplus::Color(0xFFC0D0E0u));
        list.SetColor(1, Gdiplus::Color(0xFFE0E8F0u));
        list.SetColor(2, Gdiplus::Color(0xFFFFFFFFu));
        list.SetColor(3, Gdiplus::Color(0xFFFFE080u));
        list.SetColor(4, Gdiplus::Color(0xFFFFF0C0u));
        for (int j = 0; j < 5; ++j)
            list.InsertColumn(j, kHeaderText[j], kColumnWidth[j], 1);
        list.ActivateCheckbox();
        list.ActivateVScroll(1);
        list.MoveWindow(0, 0, kW, kH);
        Fill(rows);
        list.SetItemState(2, 1);
        list.SetItemState(4, 2);
        driver.Pump();
    }
    void Fill(int rows)
    {
        for (int i = 0; i < rows; ++i) {
            list.InsertItem(i, std::to_wstring(i + 1).c_str());
            list.SetItemText(i, 2, Name(i).c_str());
            list.SetItemText(i, 3, L"00:01:23");
            list.SetItemText(i, 4, L"MJPEG 320x240");
            if (i < 64)
                list.SetItemImage(i, 1, skin.picture.get());
            list.SetCheck(i, i % 3 == 0 ? 1 : 0);
        }
    }
    platform::wnd::HeadlessDriver driver;
    Skin skin;
    CWnd host;
    CCtrlListbox list;
};

void ListPagePaint(benchmark::State& state)
{
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        f.list.Invalidate();
        f.list.UpdateWindow();
    }
}
BENCHMARK(ListPagePaint)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A click on a row (select, notify, repaint) with the list scrolled near its end.
void ListClick(benchmark::State& state)
{
    Fixture f(static_cast<int>(state.range(0)));
    f.list.EnsureVisible(static_cast<int>(state.range(0)) - 1);
    f.driver.Pump();
    int k = 0;
    for (auto _ : state) {
        f.driver.Click(f.list.m_hWnd, {300, kHeaderH + (k++ % kRows) * kRowH + 16});
    }
}
BENCHMARK(ListClick)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// One wheel notch (one row, repaint, the bar told), alternately toward and away from the user.
void ListWheel(benchmark::State& state)
{
    Fixture f(static_cast<int>(state.range(0)));
    f.driver.Click(f.list.m_hWnd, {300, kHeaderH + 16}); // the focus
    f.list.SendMessage(UM_VSCROLL_POS, static_cast<WPARAM>(state.range(0) / 2), 0);
    f.driver.Pump();
    int k = 0;
    for (auto _ : state)
        f.driver.Wheel((k++ & 1) ? 120 : -120);
}
BENCHMARK(ListWheel)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

void ListInsert100000(benchmark::State& state)
{
    platform::wnd::HeadlessDriver driver;
    CWnd host;
    host.CreateEx(0, nullptr, L"bench", WS_VISIBLE, CRect(0, 0, kW, kH), nullptr, 0);
    CCtrlListbox list;
    list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, 7);
    Skin skin;
    list.SetImage(skin.track.get(), 10);
    list.SetImage(skin.thumb.get(), 11);
    list.SetImage(skin.arrow.get(), 12);
    list.SetImage(skin.arrow.get(), 13);
    list.InsertColumn(0, L"#", 100, 0);
    list.ActivateVScroll(0);
    list.MoveWindow(0, 0, kW, kH);
    driver.Pump();
    const CString text(L"Sample clip.avi");
    for (auto _ : state) {
        for (int i = 0; i < 100000; ++i)
            list.InsertItem(i, text);
        state.PauseTiming();
        list.DeleteAllItems();
        state.ResumeTiming();
    }
}
BENCHMARK(ListInsert100000)->Unit(benchmark::kMillisecond);

// --- the peer ---

// `image` stretched into (x, y, w, h) with `filter`.
void Stretch(cairo_t* cr, cairo_surface_t* image, double x, double y, double w, double h,
             cairo_filter_t filter)
{
    const int iw = cairo_image_surface_get_width(image);
    const int ih = cairo_image_surface_get_height(image);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, w / iw, h / ih);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), filter);
    cairo_paint(cr);
    cairo_restore(cr);
}

// Text aligned in a box by its measured extents: 0 left, 1 centre; vertically centred.
void Text(cairo_t* cr, PangoLayout* layout, const char* text, int x, int y, int w, int h, int align)
{
    pango_layout_set_text(layout, text, -1);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    const double tw = logical.width / double(PANGO_SCALE);
    const double th = logical.height / double(PANGO_SCALE);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_move_to(cr, align == 1 ? x + (w - tw) / 2 : x, y + (h - th) / 2);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

void BareListCairoPango(benchmark::State& state)
{
    cairo_surface_t* window = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kW, kH);
    cairo_surface_t* header = benchkit::SolidSurface(16, 32, 0.16, 0.22, 0.28);
    cairo_surface_t* row = benchkit::SolidSurface(16, 32, 0.11, 0.14, 0.17);
    cairo_surface_t* selected = benchkit::SolidSurface(16, 32, 0.19, 0.31, 0.48);
    cairo_surface_t* line = benchkit::SolidSurface(16, 1, 0.05, 0.06, 0.08);
    cairo_surface_t* separator = benchkit::SolidSurface(1, 16, 0.25, 0.31, 0.38);
    cairo_surface_t* box = benchkit::SolidSurface(16, 16, 0.5, 0.53, 0.56);
    cairo_surface_t* icon = benchkit::SolidSurface(12, 12, 0.88, 0.88, 0.25);
    cairo_surface_t* picture = benchkit::SolidSurface(32, 24, 0.25, 0.5, 0.75); // scaled once
    PangoContext* ctx = benchkit::TextContext(false);
    PangoFontDescription* regular = benchkit::Font("Liberation Sans", 14);
    PangoFontDescription* bold = benchkit::Font("Liberation Sans Bold", 14);
    PangoLayout* layout = pango_layout_new(ctx);
    const char* headerText[5] = {"#", "", "Name", "Duration", "Streams"};
    int left[5];
    for (int j = 0, x = 0; j < 5; ++j) {
        left[j] = x;
        x += kColumnWidth[j];
    }
    const int wc = kW - kBar;
    for (auto _ : state) {
        cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, wc, kH);
        cairo_t* cr = cairo_create(scratch);
        Stretch(cr, header, 0, 0, kW, kHeaderH, CAIRO_FILTER_NEAREST);
        Stretch(cr, line, 0, 0, kW, 1, CAIRO_FILTER_NEAREST);
        Stretch(cr, line, 0, kHeaderH - 1, kW, 1, CAIRO_FILTER_NEAREST);
        for (int p = 0, y = kHeaderH; y < kH; ++p, y += kRowH) {
            Stretch(cr, p == 2 ? selected : row, 0, y, kW, kRowH, CAIRO_FILTER_NEAREST);
            Stretch(cr, line, 0, y, kW, 1, CAIRO_FILTER_NEAREST);
            Stretch(cr, line, 0, y + kRowH - 1, kW, 1, CAIRO_FILTER_NEAREST);
        }
        pango_layout_set_font_description(layout, regular);
        for (int j = 0; j < 5; ++j) {
            Stretch(cr, separator, left[j] + kColumnWidth[j] - 1, 0, 1, kH, CAIRO_FILTER_NEAREST);
            cairo_set_source_rgb(cr, 0.75, 0.82, 0.88);
            Text(cr, layout, headerText[j], left[j], 1, kColumnWidth[j], kHeaderH - 2, 1);
        }
        for (int r = 0; r < kRows; ++r) {
            const int y = kHeaderH + r * kRowH;
            pango_layout_set_font_description(layout, r == 4 ? bold : regular);
            if (r == 4)
                Stretch(cr, icon, left[0] + 24, y + 10, 12, 12, CAIRO_FILTER_NEAREST);
            cairo_set_source_rgb(cr, 0.88, 0.91, 0.94);
            const std::string number = std::to_string(r + 1);
            const std::string name = "Sample clip " + std::to_string(r) + ".avi";
            Text(cr, layout, number.c_str(), left[0], y + 1, kColumnWidth[0], kRowH - 2, 1);
            Text(cr, layout, name.c_str(), left[2], y + 1, kColumnWidth[2], kRowH - 2, 1);
            Text(cr, layout, "00:01:23", left[3], y + 1, kColumnWidth[3], kRowH - 2, 1);
            Text(cr, layout, "MJPEG 320x240", left[4], y + 1, kColumnWidth[4], kRowH - 2, 1);
            // 160 x 120 into the 102 x 24 box: 32 x 24, centred.
            cairo_set_source_surface(cr, picture, left[1] + 4 + 35, y + 4);
            cairo_paint(cr);
            Stretch(cr, box, left[4] + 82, y + 8, 16, 16, CAIRO_FILTER_NEAREST);
        }
        cairo_destroy(cr);
        cairo_t* wcr = cairo_create(window);
        cairo_set_source_surface(wcr, scratch, 0, 0);
        cairo_paint(wcr);
        cairo_destroy(wcr);
        cairo_surface_destroy(scratch);
        benchmark::DoNotOptimize(window);
    }
    g_object_unref(layout);
    pango_font_description_free(regular);
    pango_font_description_free(bold);
    g_object_unref(ctx);
    for (cairo_surface_t* s : {header, row, selected, line, separator, box, icon, picture, window})
        cairo_surface_destroy(s);
}
BENCHMARK(BareListCairoPango)->Unit(benchmark::kMicrosecond);

} // namespace
