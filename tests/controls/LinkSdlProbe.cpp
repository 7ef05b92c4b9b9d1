// A hyperlink in a real SDL2 window, for the display test (LinkXvfbTest.sh): prints "ready"
// once the window shows and "CURSOR <id>" whenever the backend shows another system cursor
// (32649 the hand, 32512 the arrow). The tooltip is a window of its own whose title is its
// text. Exits 0 when the window is closed, 3 after 20 seconds.
#include "controls/HyperLink.h"

#include "../wnd/SdlProbeKit.h"

int main()
{
    if (!StartSdlProbe())
        return 2;
    CWnd host;
    if (!host.CreateEx(0, nullptr, L"skinkit link probe", WS_VISIBLE, CRect(40, 40, 340, 160),
                       nullptr, 0))
        return 2;
    CHyperLink link;
    link.SetURL(L"https://example.org/probe");
    link.Create(L"Probe link", WS_CHILD | WS_VISIBLE, CRect(20, 20, 200, 40), &host, 5);
    host.SetTimer(2, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        static int shown = -1;
        if (const int now = platform::wnd::CurrentBackend().ShownCursor(); now != shown)
            std::printf("CURSOR %d\n", shown = now);
    });
    ShowProbe(host, 20000);
    return RunProbe();
}
