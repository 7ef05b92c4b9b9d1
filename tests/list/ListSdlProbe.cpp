// A skinned list with its scroll bar in a real SDL2 window, for the display test
// (ListSdlXvfbTest.sh). Row i carries a picture of one colour, RowColour(i), so that the row
// shown in the first place is read from the screen; the list stands at (10, 10).
#include "controls/list/CtrlListbox.h"

#include "../controls/ControlTestKit.h"
#include "../wnd/SdlProbeKit.h"

int main()
{
    if (!StartSdlProbe())
        return 2;
    auto row = Solid(8, 32, 0xFF202830u), track = Solid(12, 16, 0xFF101010u),
         thumb = Solid(12, 16, 0xFFC0C0C0u), arrow = Solid(48, 12, 0xFF606060u);
    CWnd host;
    if (!host.CreateEx(0, nullptr, L"skinkit list probe", WS_VISIBLE, CRect(40, 40, 460, 360),
                       nullptr, 0))
        return 2;
    CCtrlListbox list;
    list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, 9);
    list.SetBaseRect(CRect(0, 0, 400, 300));
    for (auto [picture, slot] : {std::pair{row.get(), list::kRowBg},
                                 {row.get(), list::kHeaderBg},
                                 {track.get(), list::kScrollTrack},
                                 {thumb.get(), list::kScrollThumb},
                                 {arrow.get(), list::kScrollTop},
                                 {arrow.get(), list::kScrollBottom}})
        list.SetImage(picture, slot);
    list.InsertColumn(0, L"", 60, 0);
    list.InsertColumn(1, L"", 340, 0);
    list.ActivateVScroll(0);
    list.MoveWindow(10, 10, 400, 300);
    for (int i = 0; i < 40; ++i) { // RowColour(i) = (10 + 5i, 200 − 4i, 60 + 3i)
        list.InsertItem(i, L"");
        const auto colour = 0xFF000000u | (10 + 5 * i) << 16 | (200 - 4 * i) << 8 | (60 + 3 * i);
        list.SetItemImage(i, 0, Solid(20, 20, colour).get()); // the list keeps a copy
    }
    ShowProbe(host, 30000);
    RunProbe();
    return 0;
}
