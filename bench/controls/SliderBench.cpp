// Costs of the sliders' drag and of the digit display's repaint, each beside a peer that draws
// the same pixels with Cairo directly.
//
// SliderDrag: a 400 x 16 seek slider (background, 8 x 6 bars, 12 x 16 thumb) in a headless
// window; one iteration is a press, 1,000 pointer moves across the track and a release, each
// move handled as in a running program: the mouse message, the position from the mouse, the
// synchronous notification to the parent, the invalidation and the repaint. Its peer,
// BareCairoSliderDrag, draws the same 1,000 frames: per move a 400 x 16 scratch surface,
// the background copied, both bars and the end cap stretched nearest-neighbour, the thumb
// copied, and the scratch composed onto the window surface.
//
// SliderKeys: the same slider, focused, with the opt-in keys on; one iteration holds Right (then
// Left) for 1,000 auto-repeats and releases it, each repeat handled as in a running program:
// the key message, the new position, the notification, the invalidation and the repaint.
// It is compared with SliderDrag, the same repaints driven by the mouse.
//
// DigitsDrawItem: a 60 x 20 digit display with three 10 x 14 digit pictures over a
// background, painted through DrawItem. Its peer, BareCairoDigits, composes the same picture.
#include "bench/BenchKit.h"
#include "controls/CtrlNumber.h"
#include "controls/CtrlSlider.h"
#include "controls/KeyboardAccess.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <memory>

namespace {

constexpr int kSliderW = 400, kSliderH = 16, kMoves = 1000;
constexpr int kThumbW = 12, kThumbH = 16, kBarW = 8, kBarH = 6;

// The pointer's x for move i: back and forth across the track and a little past its ends
// (the capture keeps the drag going there).
int MoveX(int i)
{
    const int span = 2 * (kSliderW + 20);
    const int t = (i * 7) % span;
    return t < kSliderW + 20 ? t - 10 : span - t - 10;
}

class CCountingHost : public CWnd
{
public:
    long heard = 0;

protected:
    LRESULT OnSlider(WPARAM, LPARAM)
    {
        ++heard;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CCountingHost, CWnd)
ON_MESSAGE(WM_SLIDER_LBUTTONDOWN, OnSlider)
ON_MESSAGE(WM_SLIDER_MOUSEMOVE, OnSlider)
ON_MESSAGE(WM_SLIDER_LBUTTONUP, OnSlider)
END_MESSAGE_MAP()

namespace {

// The seek slider of both drag benchmarks, in its host window.
struct SliderScene
{
    std::unique_ptr<Gdiplus::Bitmap> bg = benchkit::SolidBitmap(kSliderW, kSliderH, 0xFF181C20u);
    std::unique_ptr<Gdiplus::Bitmap> played = benchkit::SolidBitmap(kBarW, kBarH, 0xFFE04030u);
    std::unique_ptr<Gdiplus::Bitmap> remaining = benchkit::SolidBitmap(kBarW, kBarH, 0xFF505860u);
    std::unique_ptr<Gdiplus::Bitmap> thumb = benchkit::SolidBitmap(kThumbW, kThumbH, 0xFFF0F0F0u);
    CCountingHost host;
    CCtrlSlider slider;

    explicit SliderScene(int range)
    {
        host.CreateEx(0, nullptr, L"bench", WS_VISIBLE, CRect(0, 0, 440, 60), nullptr, 0);
        slider.Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                      CRect(20, 20, 20 + kSliderW, 20 + kSliderH), &host, 1);
        slider.SetImage(played.get(), slider::PlayedBar);
        slider.SetImage(remaining.get(), slider::RemainingBar);
        slider.SetImage(thumb.get(), slider::Thumb);
        slider.SetImageBG(bg.get(), 0, 0, 0);
        slider.SetRange(0, range);
    }
};

void SliderDrag(benchmark::State& state)
{
    platform::wnd::HeadlessDriver driver;
    SliderScene scene(100000);
    CCtrlSlider& slider = scene.slider;
    driver.Pump();
    for (auto _ : state) {
        driver.MoveMouse(slider.m_hWnd, {kSliderW / 2, 8});
        driver.MouseDown();
        for (int i = 1; i <= kMoves; ++i)
            driver.MoveMouse(slider.m_hWnd, {MoveX(i), 8});
        driver.MouseUp();
        // Past the double-click time, so that the next press is a press again.
        driver.AdvanceTime(600);
    }
    state.counters["notifications"] = benchmark::Counter(static_cast<double>(scene.host.heard),
                                                         benchmark::Counter::kAvgIterations);
}
BENCHMARK(SliderDrag)->Unit(benchmark::kMillisecond);

void SliderKeys(benchmark::State& state)
{
    platform::wnd::HeadlessDriver driver;
    skinkit::EnableKeyboardAccess(true);
    // A step of one in a range as wide as the track: every repeat moves the thumb.
    SliderScene scene(kSliderW);
    scene.slider.SetFocus();
    driver.Pump();
    UINT key = VK_RIGHT;
    for (auto _ : state) {
        for (int i = 0; i < kMoves; ++i)
            driver.KeyDown(key);
        driver.KeyUp(key);
        key = key == VK_RIGHT ? VK_LEFT : VK_RIGHT;
    }
    skinkit::EnableKeyboardAccess(false);
    state.counters["notifications"] = benchmark::Counter(static_cast<double>(scene.host.heard),
                                                         benchmark::Counter::kAvgIterations);
}
BENCHMARK(SliderKeys)->Unit(benchmark::kMillisecond);

// Source (0, 0, sw, sh) of `image` stretched nearest-neighbour into (dx, dy, dw, dh), pixel
// centres sampled as the half-pixel offset does.
void Stretch(cairo_t* cr, cairo_surface_t* image, int sw, int sh, int dx, int dy, int dw, int dh)
{
    if (dw <= 0 || dh <= 0)
        return;
    cairo_pattern_t* p = cairo_pattern_create_for_surface(image);
    cairo_matrix_t m;
    const double kx = double(sw) / dw, ky = double(sh) / dh;
    cairo_matrix_init(&m, kx, 0, 0, ky, -dx * kx, -dy * ky);
    cairo_pattern_set_matrix(p, &m);
    cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, dx, dy, dw, dh);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Copy(cairo_t* cr, cairo_surface_t* image, int dx, int dy, int w, int h)
{
    cairo_set_source_surface(cr, image, dx, dy);
    cairo_rectangle(cr, dx, dy, w, h);
    cairo_fill(cr);
}

void BareCairoSliderDrag(benchmark::State& state)
{
    cairo_surface_t* window = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 440, 60);
    cairo_surface_t* bg = benchkit::SolidSurface(kSliderW, kSliderH, 0.09, 0.11, 0.13);
    cairo_surface_t* played = benchkit::SolidSurface(kBarW, kBarH, 0.88, 0.25, 0.19);
    cairo_surface_t* remaining = benchkit::SolidSurface(kBarW, kBarH, 0.31, 0.35, 0.38);
    cairo_surface_t* thumb = benchkit::SolidSurface(kThumbW, kThumbH, 0.94, 0.94, 0.94);
    const slider::Range range{0, 100000};
    for (auto _ : state) {
        // The press, the moves, and the release's repaint.
        for (int i = 0; i <= kMoves + 1; ++i) {
            const int x = i == 0 ? kSliderW / 2 : MoveX(i > kMoves ? kMoves : i);
            const int pos = slider::PosFromMouse(range, x, kSliderW, kThumbW);
            const int thumbX = (kSliderW - kThumbW) * static_cast<long long>(pos) / range.max;
            const int barY = (kSliderH - kBarH) / 2;
            cairo_t* wc = cairo_create(window);
            benchkit::Child(wc, 20, 20, kSliderW, kSliderH, [&](cairo_t* cr) {
                Copy(cr, bg, 0, 0, kSliderW, kSliderH);
                Stretch(cr, played, kBarW, kBarH, 5, barY, kThumbW / 2 + thumbX, kBarH);
                Stretch(cr, remaining, kBarW, kBarH, thumbX + 5, barY,
                        std::max(kSliderW - thumbX - 10, 0), kBarH);
                Stretch(cr, remaining, kBarW, kBarH, kSliderW - kThumbW / 2 - 5, barY, kThumbW / 2,
                        kBarH);
                Copy(cr, thumb, thumbX, 0, kThumbW, kThumbH);
            });
            cairo_destroy(wc);
        }
        benchmark::DoNotOptimize(window);
    }
    for (cairo_surface_t* s : {thumb, remaining, played, bg, window})
        cairo_surface_destroy(s);
}
BENCHMARK(BareCairoSliderDrag)->Unit(benchmark::kMillisecond);

constexpr int kDigitsW = 60, kDigitsH = 20, kDigitW = 10, kDigitH = 14;

void DigitsDrawItem(benchmark::State& state)
{
    platform::wnd::HeadlessDriver driver;
    auto bg = benchkit::SolidBitmap(kDigitsW, kDigitsH, 0xFF101418u);
    std::unique_ptr<Gdiplus::Bitmap> digits[10];
    for (int d = 0; d < 10; ++d)
        digits[d] = benchkit::SolidBitmap(kDigitW, kDigitH,
                                          0xFF30E060u + 0x00100000u * static_cast<unsigned>(d));
    CWnd host;
    host.CreateEx(0, nullptr, L"bench", WS_VISIBLE, CRect(0, 0, 120, 60), nullptr, 0);
    CCtrlNumber number;
    number.Create(L"042", WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + kDigitsW, 10 + kDigitsH), &host,
                  1);
    for (int d = 0; d < 10; ++d)
        number.SetImage(digits[d].get(), d);
    number.SetBkImage(bg.get(), 0, 0);
    driver.Pump();
    const HDC dc = benchkit::ChildDC(host.m_hWnd, 10, 10, kDigitsW, kDigitsH);
    DRAWITEMSTRUCT dis{
        ODT_STATIC, 1, 0, ODA_DRAWENTIRE, 0, number.m_hWnd, dc, {0, 0, kDigitsW, kDigitsH}, 0};
    for (auto _ : state)
        number.DrawItem(&dis);
    DeleteDC(dc);
}
BENCHMARK(DigitsDrawItem);

void BareCairoDigits(benchmark::State& state)
{
    cairo_surface_t* window = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 120, 60);
    cairo_surface_t* bg = benchkit::SolidSurface(kDigitsW, kDigitsH, 0.06, 0.08, 0.09);
    cairo_surface_t* digits[3] = {benchkit::SolidSurface(kDigitW, kDigitH, 0.19, 0.88, 0.38),
                                  benchkit::SolidSurface(kDigitW, kDigitH, 0.44, 0.88, 0.38),
                                  benchkit::SolidSurface(kDigitW, kDigitH, 0.31, 0.88, 0.38)};
    for (auto _ : state) {
        cairo_t* wc = cairo_create(window);
        benchkit::Child(wc, 10, 10, kDigitsW, kDigitsH, [&](cairo_t* cr) {
            Copy(cr, bg, 0, 0, kDigitsW, kDigitsH);
            for (int i = 0; i < 3; ++i)
                Stretch(cr, digits[i], kDigitW, kDigitH, kDigitsW * i / 3, 0, kDigitsW / 3,
                        kDigitsH);
        });
        cairo_destroy(wc);
        benchmark::DoNotOptimize(window);
    }
    for (cairo_surface_t* s : {digits[0], digits[1], digits[2], bg, window})
        cairo_surface_destroy(s);
}
BENCHMARK(BareCairoDigits);

} // namespace
