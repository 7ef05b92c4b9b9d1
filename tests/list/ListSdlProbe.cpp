// A skinned list with its scroll bar in a real SDL2 window, for the display test
// (ListSdlXvfbTest.sh). Row i carries a picture of one colour, RowColour(i), so that the row
// shown in the first place is read from the screen. Prints "ready" once the window shows and
// "LIST x y" for the list's place in the window; ends after 30 seconds.
#include "controls/list/CtrlListbox.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 40;

Gdiplus::ARGB RowColour(int i)
{
    return 0xFF000000u | static_cast<Gdiplus::ARGB>((10 + 5 * i) << 16) |
           static_cast<Gdiplus::ARGB>((200 - 4 * i) << 8) | static_cast<Gdiplus::ARGB>(60 + 3 * i);
}

std::unique_ptr<Gdiplus::Bitmap> Solid(int w, int h, Gdiplus::ARGB colour)
{
    auto b = std::make_unique<Gdiplus::Bitmap>(w, h, Gdiplus::PixelFormat32bppARGB);
    Gdiplus::Graphics g(b.get());
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    g.FillRectangle(&brush, 0, 0, w, h);
    return b;
}

class CProbeHost : public CWnd
{
protected:
    void OnTimer(UINT_PTR) { PostQuitMessage(0); }
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
    auto row = Solid(8, 32, 0xFF202830u);
    auto track = Solid(12, 16, 0xFF101010u);
    auto thumb = Solid(12, 16, 0xFFC0C0C0u);
    auto arrow = Solid(48, 12, 0xFF606060u);
    std::vector<std::unique_ptr<Gdiplus::Bitmap>> pictures;
    CProbeHost host;
    if (!host.CreateEx(0, nullptr, L"skinkit list probe", WS_VISIBLE, CRect(40, 40, 460, 360),
                       nullptr, 0))
        return 2;
    CCtrlListbox list;
    list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, 9);
    list.SetBaseRect(CRect(0, 0, 400, 300));
    list.SetImage(row.get(), list::kRowBg);
    list.SetImage(row.get(), list::kHeaderBg);
    list.SetImage(track.get(), list::kScrollTrack);
    list.SetImage(thumb.get(), list::kScrollThumb);
    list.SetImage(arrow.get(), list::kScrollTop);
    list.SetImage(arrow.get(), list::kScrollBottom);
    list.InsertColumn(0, L"", 60, 0);
    list.InsertColumn(1, L"", 340, 0);
    list.ActivateVScroll(0);
    list.MoveWindow(10, 10, 400, 300);
    for (int i = 0; i < kRows; ++i) {
        list.InsertItem(i, L"");
        pictures.push_back(Solid(20, 20, RowColour(i)));
        list.SetItemImage(i, 0, pictures.back().get());
    }
    host.SetTimer(1, 30000);
    platform::wnd::PumpMessages();
    std::printf("LIST 10 10\n");
    std::printf("ready\n");
    platform::wnd::RunMessageLoop();
    return 0;
}
