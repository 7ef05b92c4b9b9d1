// A seek slider and a digit time display in a real SDL2 window, for the display test
// (SdlSliderXvfbTest.sh). The parent shows the slider's position in the display on every
// notification, as a player does while the user drags. Prints "ready" once the window shows,
// "DOWN|MOVE|UP <pos>" for each notification, and exits 0 after the release (3 when none came
// within 20 seconds).
#include "controls/CtrlNumber.h"
#include "controls/CtrlSlider.h"

#include "../wnd/SdlProbeKit.h"
#include "ControlTestKit.h"

namespace {

constexpr UINT kSlider = 11, kTime = 12;

class CProbeHost : public CWnd
{
public:
    CCtrlNumber* time = nullptr;
    int released = 0;

protected:
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM pos) override
    {
        const char* what = m == WM_SLIDER_LBUTTONDOWN ? "DOWN"
                           : m == WM_SLIDER_MOUSEMOVE ? "MOVE"
                           : m == WM_SLIDER_LBUTTONUP ? "UP"
                                                      : nullptr;
        if (!what)
            return CWnd::WindowProc(m, w, pos);
        wchar_t text[8];
        std::swprintf(text, 8, L"%03d", static_cast<int>(pos));
        time->SetWindowText(text);
        std::printf("%s %ld\n", what, static_cast<long>(pos));
        if (m == WM_SLIDER_LBUTTONUP && !released++)
            PostQuitMessage(0);
        return 0;
    }
};

} // namespace

int main()
{
    if (!StartSdlProbe())
        return 2;
    auto played = Solid(8, 4, 0xFFE0803Au), rest = Solid(8, 4, 0xFF4A5560u),
         thumb = Solid(10, 16, 0xFFF0F0F0u), back = Solid(8, 8, 0xFF101010u);
    // Digit d is rgb(20 + 20d, 200 - 15d, 100): the screen names it.
    std::unique_ptr<Gdiplus::Bitmap> digits[10];
    for (unsigned d = 0; d < 10; ++d)
        digits[d] = Solid(4, 4, 0xFF000000u | (20 + 20 * d) << 16 | (200 - 15 * d) << 8 | 100u);

    CProbeHost host;
    if (!host.CreateEx(0, nullptr, L"skinkit slider probe", WS_VISIBLE, CRect(40, 40, 300, 140),
                       nullptr, 0))
        return 2;
    // The worked example's track: 210 wide, a 10-wide thumb, range 0 to 100.
    CCtrlSlider seek;
    seek.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(20, 20, 230, 36), &host, kSlider);
    seek.SetImage(played.get(), 0);
    seek.SetImage(rest.get(), 1);
    seek.SetImage(thumb.get(), 2);
    seek.SetRange(0, 100);
    CCtrlNumber time;
    time.Create(L"000", WS_CHILD | WS_VISIBLE | SS_RIGHT, CRect(20, 50, 80, 70), &host, kTime);
    for (int d = 0; d < 10; ++d)
        time.SetImage(digits[d].get(), d);
    time.SetBkImage(back.get(), -1, -1);
    host.time = &time;
    ShowProbe(host, 20000);
    const int code = RunProbe();
    return host.released ? 0 : (code ? code : 1);
}
