// A seek slider and a digit time display in a real SDL2 window, for the display test
// (SdlSliderXvfbTest.sh). The parent shows the slider's position in the display on every
// notification, as a player does while the user drags. Prints "ready" once the window shows,
// "DOWN|MOVE|UP <pos>" for each notification, and exits 0 after the release (3 when none came
// within 20 seconds).
#include "controls/CtrlNumber.h"
#include "controls/CtrlSlider.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"

#include <cstdio>
#include <memory>

namespace {

constexpr UINT kSlider = 11, kTime = 12;

// Digit d is a solid face of rgb(20 + 20d, 200 - 15d, 100), so the screen names the digit.
Gdiplus::ARGB DigitFace(int d)
{
    return 0xFF000000u | static_cast<unsigned>(20 + 20 * d) << 16 |
           static_cast<unsigned>(200 - 15 * d) << 8 | 100u;
}

class CProbeHost : public CWnd
{
public:
    CCtrlNumber* time = nullptr;
    bool released = false;

protected:
    LRESULT Show(const char* what, LPARAM pos)
    {
        wchar_t text[8];
        std::swprintf(text, 8, L"%03d", static_cast<int>(pos));
        time->SetWindowText(text);
        std::printf("%s %ld\n", what, static_cast<long>(pos));
        return 0;
    }
    LRESULT OnDown(WPARAM, LPARAM pos) { return Show("DOWN", pos); }
    LRESULT OnMove(WPARAM, LPARAM pos) { return Show("MOVE", pos); }
    LRESULT OnUp(WPARAM, LPARAM pos)
    {
        released = true;
        Show("UP", pos);
        PostQuitMessage(0);
        return 0;
    }
    void OnTimer(UINT_PTR)
    {
        std::printf("timeout\n");
        PostQuitMessage(3);
    }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CProbeHost, CWnd)
ON_MESSAGE(WM_SLIDER_LBUTTONDOWN, OnDown)
ON_MESSAGE(WM_SLIDER_MOUSEMOVE, OnMove)
ON_MESSAGE(WM_SLIDER_LBUTTONUP, OnUp)
ON_WM_TIMER()
END_MESSAGE_MAP()

int main()
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!platform::wnd::UseBackend("sdl2")) {
        std::printf("no sdl2 backend\n");
        return 2;
    }
    auto solid = [](int w, int h, Gdiplus::ARGB c) {
        auto b = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
        Gdiplus::Graphics g(b.get());
        Gdiplus::SolidBrush brush{Gdiplus::Color(c)};
        g.FillRectangle(&brush, 0, 0, w, h);
        return b;
    };
    auto played = solid(8, 4, 0xFFE0803Au), rest = solid(8, 4, 0xFF4A5560u),
         thumb = solid(10, 16, 0xFFF0F0F0u), back = solid(8, 8, 0xFF101010u);
    std::unique_ptr<Gdiplus::Bitmap> digits[10];
    for (int d = 0; d < 10; ++d)
        digits[d] = solid(4, 4, DigitFace(d));

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
    seek.SetPos(0);
    CCtrlNumber time;
    time.Create(L"000", WS_CHILD | WS_VISIBLE | SS_RIGHT, CRect(20, 50, 80, 70), &host, kTime);
    for (int d = 0; d < 10; ++d)
        time.SetImage(digits[d].get(), d);
    time.SetBkImage(back.get(), -1, -1);
    host.time = &time;
    host.SetTimer(1, 20000);
    platform::wnd::PumpMessages();
    std::printf("ready\n");
    const int code = platform::wnd::RunMessageLoop();
    return host.released ? 0 : (code ? code : 1);
}
