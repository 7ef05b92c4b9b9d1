// A skinned button in a real SDL2 window, for the display tests (SdlScaleXvfbTest.sh,
// SdlLostDisplayXvfbTest.sh): prints "ready" once the window shows, "NATIVE <handle>" for the
// native handle of the button's window (and "HIDDEN <handle>" for that of a window never shown),
// "WHEEL <delta>" for each wheel notch that reaches the parent, "BN_CLICKED <id>" when its parent
// hears of a click, and exits 0 after the first click (3 when no click came within 15 seconds).
// With "--rescale S" the window moves to display scale S once shown, as when it is dragged onto
// another display.
#include "controls/CtrlButton.h"

#include "SdlProbeKit.h"

#include <cstdlib>
#include <string_view>

namespace {

// Frame faces of the probe's four-frame strip: normal, hover, disabled, down.
constexpr Gdiplus::ARGB kFaces[4] = {0xFF204060u, 0xFF30C090u, 0xFF808080u, 0xFFC03020u};
constexpr UINT kId = 7;

class CProbeHost : public CWnd
{
public:
    int clicks = 0;

protected:
    void OnClicked()
    {
        ++clicks;
        std::printf("BN_CLICKED %u\n", kId);
        PostQuitMessage(0);
    }
    // The button leaves the wheel alone, so it comes here.
    BOOL OnMouseWheel(UINT, short delta, CPoint)
    {
        std::printf("WHEEL %d\n", delta);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CProbeHost, CWnd)
ON_BN_CLICKED(kId, OnClicked)
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

int main(int argc, char** argv)
{
    if (!StartSdlProbe())
        return 2;
    Gdiplus::Bitmap strip(4 * 80, 30, Gdiplus::PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&strip);
        for (int k = 0; k < 4; ++k) {
            Gdiplus::SolidBrush b{Gdiplus::Color(kFaces[k])};
            g.FillRectangle(&b, k * 80, 0, 80, 30);
        }
    }
    CProbeHost host;
    if (!host.CreateEx(0, nullptr, L"skinkit sdl probe", WS_VISIBLE, CRect(40, 40, 240, 140),
                       nullptr, 0))
        return 2;
    CCtrlButton button;
    button.Create(L"", WS_CHILD | WS_VISIBLE, CRect(), &host, kId);
    button.MoveWindow(20, 20, 80, 30);
    button.SetButtonImage(&strip, 4);
    CWnd hidden;
    hidden.CreateEx(0, nullptr, L"skinkit hidden", 0, CRect(0, 0, 50, 50), nullptr, 0);
    ShowProbe(host, 15000);
    if (argc == 3 && std::string_view(argv[1]) == "--rescale") {
        platform::wnd::SetWindowScale(host.m_hWnd, std::strtod(argv[2], nullptr));
        platform::wnd::PumpMessages();
    }
    std::printf("NATIVE %s\n", platform::wnd::NativeWindowHandle(button).c_str());
    std::printf("HIDDEN %s\n", platform::wnd::NativeWindowHandle(hidden).c_str());
    const int code = RunProbe();
    return host.clicks == 1 ? 0 : (code ? code : 1);
}
