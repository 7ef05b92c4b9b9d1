// What the SDL2 display probes share (the programs the Xvfb scripts drive): line-buffered
// output the scripts can follow, the SDL2 backend, and a run that says "ready" once the
// windows show and ends with 3 when the script's gesture never finishes it.
#pragma once

#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"

#include <cstdio>

inline bool StartSdlProbe()
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (platform::wnd::UseBackend("sdl2"))
        return true;
    std::printf("no sdl2 backend\n");
    return false;
}

// Shows the windows; the probe may print what the script reads before "ready".
inline void ShowProbe(CWnd& host, UINT deadlineMs)
{
    host.SetTimer(1, deadlineMs, [](HWND, UINT, UINT_PTR, DWORD) {
        std::printf("timeout\n");
        PostQuitMessage(3);
    });
    platform::wnd::PumpMessages();
}

inline int RunProbe()
{
    std::printf("ready\n");
    return platform::wnd::RunMessageLoop();
}
