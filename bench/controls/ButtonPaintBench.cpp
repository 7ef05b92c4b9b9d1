// Painting costs of the skinned button and of a whole dialog of them.
//
// ButtonDrawItem: one 120 x 32 push button with a four-frame strip and a bold 14-pixel
// caption, painted through DrawItem into a window surface. Its peer, BareCairoPango, performs
// the same drawing operations directly: a 120 x 32 ARGB scratch surface, the frame copied in
// with a bilinear pattern, the caption's Pango line shown, the scratch surface composed onto
// the window surface inside the button's clip. DemoWindowRepaint: a 356 x 190 dialog with a
// skin background, six skinned buttons and a label, invalidated whole and repainted through
// the headless window layer.
#include "bench/BenchKit.h"
#include "controls/CtrlButton.h"
#include "controls/OwnerDraw.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <vector>

namespace {

constexpr int kW = 120, kH = 32;

std::unique_ptr<Gdiplus::Bitmap> Strip(int frames, int w, int h)
{
    auto b = std::make_unique<Gdiplus::Bitmap>(frames * w, h, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(b.get());
    for (int k = 0; k < frames; ++k) {
        Gdiplus::SolidBrush border{
            Gdiplus::Color(0xFF1E2F45u + 0x00101010u * static_cast<unsigned>(k))};
        g.FillRectangle(&border, k * w, 0, w, h);
        Gdiplus::SolidBrush face{
            Gdiplus::Color(0xFF3A5F8Au + 0x00080808u * static_cast<unsigned>(k))};
        g.FillRectangle(&face, k * w + 1, 1, w - 2, h - 2);
    }
    return b;
}

void ButtonDrawItem(benchmark::State& state)
{
    platform::wnd::HeadlessDriver driver;
    auto strip = Strip(4, kW, kH);
    CWnd host;
    host.CreateEx(0, nullptr, L"bench", WS_VISIBLE, CRect(0, 0, 200, 80), nullptr, 0);
    CCtrlButton button;
    button.Create(L"Play", WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + kW, 10 + kH), &host, 1);
    button.SetButtonImage(strip.get(), 4);
    button.SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
    button.SetTextColor(Gdiplus::Color(0xFFF0F4F8u), 6);
    driver.Pump();
    const HDC dc = benchkit::ChildDC(host.m_hWnd, 10, 10, kW, kH);
    DRAWITEMSTRUCT dis{ODT_BUTTON, 1, 0, ODA_DRAWENTIRE, 0, button.m_hWnd, dc, {0, 0, kW, kH}, 0};
    for (auto _ : state)
        button.DrawItem(&dis);
    DeleteDC(dc);
}
BENCHMARK(ButtonDrawItem);

void BareCairoPango(benchmark::State& state)
{
    cairo_surface_t* window = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 80);
    cairo_surface_t* strip = benchkit::SolidSurface(4 * kW, kH, 0.23, 0.37, 0.54);
    PangoContext* ctx = benchkit::TextContext(false);
    PangoFontDescription* desc = benchkit::Font("Liberation Sans Bold", 14);
    PangoLayout* layout = pango_layout_new(ctx);
    pango_layout_set_font_description(layout, desc);
    pango_layout_set_text(layout, "Play", -1);
    for (auto _ : state) {
        cairo_t* wc = cairo_create(window);
        benchkit::Child(wc, 10, 10, kW, kH, [&](cairo_t* cr) {
            cairo_pattern_t* frame = cairo_pattern_create_for_surface(strip);
            cairo_matrix_t m;
            cairo_matrix_init_translate(&m, kW, 0); // frame 1
            cairo_pattern_set_matrix(frame, &m);
            cairo_pattern_set_filter(frame, CAIRO_FILTER_BILINEAR);
            cairo_set_source(cr, frame);
            cairo_rectangle(cr, 0, 0, kW, kH);
            cairo_fill(cr);
            cairo_pattern_destroy(frame);
            PangoRectangle logical;
            pango_layout_get_extents(layout, nullptr, &logical);
            cairo_set_source_rgba(cr, 0.94, 0.96, 0.97, 1.0);
            cairo_move_to(cr, (kW - logical.width / double(PANGO_SCALE)) / 2, 8);
            pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(layout, 0));
        });
        cairo_destroy(wc);
        benchmark::DoNotOptimize(window);
    }
    g_object_unref(layout);
    pango_font_description_free(desc);
    g_object_unref(ctx);
    cairo_surface_destroy(strip);
    cairo_surface_destroy(window);
}
BENCHMARK(BareCairoPango);

// The demo window's make-up: background picture, six skinned buttons with captions, a label.
class CBenchDialog : public CWnd
{
public:
    Gdiplus::Bitmap* background = nullptr;

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        Gdiplus::Graphics g(dc.m_hDC);
        g.DrawImage(background, 0, 0, 356, 190);
    }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CBenchDialog, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND_NOTHING()
END_MESSAGE_MAP()

namespace {

void DemoWindowRepaint(benchmark::State& state)
{
    platform::wnd::HeadlessDriver driver;
    Gdiplus::Bitmap background(356, 190, Gdiplus::PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&background);
        Gdiplus::SolidBrush b{Gdiplus::Color(0xFF202830u)};
        g.FillRectangle(&b, 0, 0, 356, 190);
    }
    auto push = Strip(4, 96, 28);
    auto round = Strip(6, 32, 32);
    auto glyph = Strip(4, 16, 16);
    CBenchDialog dialog;
    dialog.background = &background;
    dialog.CreateEx(0, nullptr, L"bench", WS_VISIBLE, CRect(0, 0, 356, 190), nullptr, 0);
    struct ButtonDef
    {
        const wchar_t* text;
        DWORD style;
        CRect rect;
        Gdiplus::Bitmap* strip;
        int frames;
    };
    const ButtonDef defs[] = {
        {L"Play", 0, CRect(20, 50, 116, 78), push.get(), 4},
        {L"Stop", 0, CRect(130, 50, 226, 78), push.get(), 4},
        {L"Repeat", BS_AUTOCHECKBOX | BS_PUSHLIKE, CRect(240, 50, 336, 78), push.get(), 4},
        {L"Subtitles", BS_AUTOCHECKBOX, CRect(20, 100, 160, 120), glyph.get(), 4},
        {L"", BS_AUTOCHECKBOX | BS_PUSHLIKE, CRect(180, 94, 212, 126), round.get(), 6},
        {L"Record", WS_DISABLED, CRect(240, 96, 336, 124), push.get(), 4},
    };
    std::vector<std::unique_ptr<CCtrlButton>> buttons;
    UINT id = 100;
    for (const ButtonDef& s : defs) {
        auto b = std::make_unique<CCtrlButton>();
        b->Create(s.text, WS_CHILD | WS_VISIBLE | s.style, s.rect, &dialog, id++);
        b->SetButtonImage(s.strip, s.frames);
        b->SetInitFont(L"Liberation Sans", 14, Gdiplus::FontStyleBold);
        buttons.push_back(std::move(b));
    }
    CStatic label;
    label.Create(L"Move the mouse over a button, click it.", WS_CHILD | WS_VISIBLE,
                 CRect(20, 150, 336, 170), &dialog, 200);
    driver.Pump();
    for (auto _ : state) {
        dialog.Invalidate();
        driver.Pump();
    }
}
BENCHMARK(DemoWindowRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
