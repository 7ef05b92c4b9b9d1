// A hyperlink in a real SDL2 window, for the display test (LinkXvfbTest.sh): prints "ready"
// once the window shows and "CURSOR <id>" whenever the backend shows another system cursor
// (32649 the hand, 32512 the arrow). The tooltip is a window of its own whose title is its
// text. Exits 0 after 20 seconds or when the window is closed.
#include "controls/HyperLink.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"

#include <cstdio>

namespace {

class CProbeHost : public CWnd
{
public:
    int shown = -1;

protected:
    void OnTimer(UINT_PTR id)
    {
        if (id == 2) {
            PostQuitMessage(0);
            return;
        }
        const int now = platform::wnd::CurrentBackend().ShownCursor();
        if (now != shown) {
            shown = now;
            std::printf("CURSOR %d\n", now);
        }
    }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CProbeHost, CWnd)
ON_WM_TIMER()
END_MESSAGE_MAP()

int main()
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!platform::wnd::UseBackend("sdl2")) {
        std::printf("no sdl2 backend\n");
        return 2;
    }
    CProbeHost host;
    if (!host.CreateEx(0, nullptr, L"skinkit link probe", WS_VISIBLE, CRect(40, 40, 340, 160),
                       nullptr, 0))
        return 2;
    CHyperLink link;
    link.SetURL(L"https://example.org/probe");
    link.Create(L"Probe link", WS_CHILD | WS_VISIBLE, CRect(20, 20, 200, 40), &host, 5);
    host.SetTimer(1, 50);
    host.SetTimer(2, 20000);
    platform::wnd::PumpMessages();
    std::printf("ready\n");
    return platform::wnd::RunMessageLoop() < 0 ? 1 : 0;
}
