// skinkit-demo: a window of skinned buttons made from the sample skin, and a small AVI player.
//
//   skinkit-demo [FILE.avi|FOLDER]...    a real window (SDL2) when there is a display, playing
//                                        the files named (a folder: its AVI files), else the
//                                        sample files it makes in the user's cache
//   skinkit-demo --screenshot FILE.png   no display needed: renders headlessly, the pointer
//                                        resting on Play, and writes FILE.png
//   skinkit-demo --exit-after MS --window-screenshot FILE.png
//                                        the real window, closed after MS milliseconds with
//                                        a shot of what it showed (scripts/demo.sh, under Xvfb)
//   options: --skin DIR (the skin folder), --backend headless|sdl2, --exit-after MS,
//   --print-events (one line per notification on standard output, for scripts; with
//   --exit-after, the frame shown at the end and where its picture lies)
//
// Exit status: 0 success, 1 an operation failed (the cause on standard error), 2 bad usage.
#include "demo/host/DemoDialog.h"
#include "platform/base/DeviceScale.h"
#include "platform/base/FilePath.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct Options
{
    std::string skin;
    std::string screenshot;
    std::string backend;
    int exitAfter = -1;
    double scale = 0; // 0: the display's
    bool printEvents = false;
    std::vector<std::string> files;
};

void Usage()
{
    std::fprintf(
        stderr,
        "usage: skinkit-demo [--skin DIR] [--screenshot FILE.png | --window-screenshot FILE.png]\n"
        "                    [--backend headless|sdl2] [--exit-after MS] [--print-events]\n"
        "                    [--scale S]\n"
        "                    [FILE.avi | FOLDER]...\n");
}

// A whole non-negative number of milliseconds, at most a day.
bool ParseMs(const char* text, int& ms)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno || end == text || *end || v < 0 || v > 86'400'000)
        return false;
    ms = static_cast<int>(v);
    return true;
}

bool IsDir(const std::string& path)
{
    struct stat st
    {
    };
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string DefaultSkin()
{
    if (const char* env = std::getenv("SKINKIT_DEMO_SKIN"); env && IsDir(env))
        return env;
    if (IsDir(SKINKIT_DEMO_SKIN_BUILD_DIR))
        return SKINKIT_DEMO_SKIN_BUILD_DIR;
    return SKINKIT_DEMO_SKIN_INSTALL_DIR;
}

bool HasDisplay()
{
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

bool WriteShot(HWND window, const std::string& file)
{
    Gdiplus::Bitmap* surface = platform::wnd::TopLevelSurface(window);
    if (!surface) {
        std::fprintf(stderr, "skinkit-demo: the window has no picture to save as %s\n",
                     file.c_str());
        return false;
    }
    if (platform::SaveImageAsPng(surface, CString::FromPathBytes(file)) != Gdiplus::Ok) {
        std::fprintf(stderr,
                     "skinkit-demo: cannot write the screenshot %s (is its folder there and "
                     "writable?)\n",
                     file.c_str());
        return false;
    }
    std::printf("screenshot written to %s\n",
                platform::ResolvePath(CString::FromPathBytes(file)).c_str());
    return true;
}

// Closes the window after a while, taking the screenshot first when one was asked for.
class CCloser : public CWnd
{
public:
    std::string shot;
    bool shotOk = true;
    HWND target = nullptr;
    std::function<void()> beforeShot;

protected:
    void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        if (beforeShot)
            beforeShot();
        if (!shot.empty())
            shotOk = WriteShot(target, shot);
        ::DestroyWindow(target);
    }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CCloser, CWnd)
ON_WM_TIMER()
END_MESSAGE_MAP()

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--skin" && more)
            o.skin = argv[++i];
        else if (a == "--screenshot" && more)
            o.screenshot = argv[++i];
        else if (a == "--window-screenshot" && more) {
            o.screenshot = argv[++i];
            o.backend = "sdl2";
        } else if (a == "--backend" && more)
            o.backend = argv[++i];
        else if (a == "--exit-after" && more) {
            if (!ParseMs(argv[++i], o.exitAfter)) {
                std::fprintf(stderr, "skinkit-demo: --exit-after takes milliseconds, not %s\n",
                             argv[i]);
                return 2;
            }
        } else if (a == "--scale" && more) {
            char* end = nullptr;
            o.scale = std::strtod(argv[++i], &end);
            if (*end || !platform::IsUsableScale(o.scale)) {
                std::fprintf(stderr,
                             "skinkit-demo: --scale takes a number above 0, at most 8, "
                             "not %s\n",
                             argv[i]);
                return 2;
            }
        } else if (a == "--print-events")
            o.printEvents = true;
        else if (!a.empty() && a[0] != '-')
            o.files.push_back(a);
        else {
            Usage();
            return a == "--help" || a == "-h" ? 0 : 2;
        }
    }
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (o.skin.empty())
        o.skin = DefaultSkin();
    if (o.backend.empty())
        o.backend = !o.screenshot.empty() ? "headless" : "sdl2";
    if (o.backend != "headless" && o.backend != "sdl2") {
        std::fprintf(stderr, "skinkit-demo: no window backend named %s\n", o.backend.c_str());
        Usage();
        return 2;
    }
    if (o.backend == "sdl2" && !HasDisplay() && !std::getenv("SDL_VIDEODRIVER")) {
        std::fprintf(
            stderr, "skinkit-demo: no display. Run it under Xvfb (scripts/demo.sh does), or render "
                    "without one: skinkit-demo --screenshot demo.png\n");
        return 1;
    }
    if (!platform::wnd::UseBackend(o.backend.c_str())) {
        std::fprintf(stderr, "skinkit-demo: the %s window backend could not start\n",
                     o.backend.c_str());
        return 1;
    }

    // The SDL2 backend takes a given scale as the user's override of the display's.
    if (o.scale > 0 && o.backend == "sdl2")
        setenv("SKINKIT_SCALE", std::to_string(o.scale).c_str(), 1);
    DemoSkin skin;
    // Pictures for the scale the window will have: the one asked for, else the display's.
    skin.images.SetDisplayScale(
        o.scale > 0 ? o.scale : platform::wnd::CurrentBackend().DisplayScale(RECT{0, 0, 1, 1}));
    if (!skin.Load(CString::FromPathBytes(o.skin))) {
        std::fprintf(stderr, "skinkit-demo: %s\n", skin.problem.c_str());
        return 1;
    }
    const bool headless = o.backend == "headless";
    std::unique_ptr<platform::wnd::HeadlessDriver> driver;
    if (headless)
        driver = std::make_unique<platform::wnd::HeadlessDriver>(o.scale > 0 ? o.scale : 1.0);

    CDemoDialog dialog(skin);
    dialog.m_files = o.files;
    // A headless picture shows the demo as it comes, and leaves the user's settings alone.
    dialog.m_remember = !headless;
    dialog.onClick = [&](UINT id, const CString& name) {
        if (o.printEvents)
            std::printf("BN_CLICKED %u %s\n", id, name.ToUtf8().c_str());
    };
    dialog.onDestroy = [] { PostQuitMessage(0); };
    if (!dialog.CreateDialogWindow()) {
        std::fprintf(stderr, "skinkit-demo: cannot open the window\n");
        return 1;
    }
    if (o.printEvents) {
        for (CCtrlButton* b : {&dialog.m_btnPlay, &dialog.m_btnStop, &dialog.m_btnRepeat,
                               &dialog.m_chkSubtitles, &dialog.m_btnMute}) {
            RECT r{};
            ::GetWindowRect(b->m_hWnd, &r);
            dialog.ScreenToClient(&r);
            std::printf("button %d at %ld,%ld size %ldx%ld\n", b->GetDlgCtrlID(),
                        static_cast<long>(r.left), static_cast<long>(r.top),
                        static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
        }
    }

    if (headless) {
        // Rest the pointer on Play, so that the picture shows a hover frame too.
        RECT r{};
        dialog.m_btnPlay.GetClientRect(&r);
        driver->Hover(dialog.m_btnPlay.m_hWnd, {r.right / 2, r.bottom / 2});
        const bool ok = o.screenshot.empty() || WriteShot(dialog.m_hWnd, o.screenshot);
        dialog.DestroyWindow();
        return ok ? 0 : 1;
    }

    CCloser closer;
    if (o.exitAfter >= 0) {
        closer.CreateEx(0, nullptr, L"", 0, CRect(0, 0, 1, 1), nullptr, 0);
        closer.shot = o.screenshot;
        closer.target = dialog.m_hWnd;
        closer.SetTimer(1, static_cast<UINT>(o.exitAfter));
        // What the video area shows at the end, for scripts that check the shot's picture.
        if (o.printEvents)
            closer.beforeShot = [&dialog] {
                const CDemoVideoArea& video = dialog.m_player.video;
                RECT r = video.PictureRect();
                video.ClientToScreen(reinterpret_cast<POINT*>(&r.left));
                video.ClientToScreen(reinterpret_cast<POINT*>(&r.right));
                dialog.ScreenToClient(&r);
                std::printf("video frame %d at %d ms, picture at %ld,%ld size %ldx%ld\n",
                            video.FrameShown(), video.PositionMs(), static_cast<long>(r.left),
                            static_cast<long>(r.top), static_cast<long>(r.right - r.left),
                            static_cast<long>(r.bottom - r.top));
                std::fflush(stdout);
            };
    }
    if (o.printEvents)
        std::printf("ready\n");
    platform::wnd::RunMessageLoop();
    return closer.shotOk ? 0 : 1;
}
