// The SDL2 backend: one SDL window per top-level window, showing its composed surface, and
// one switch that turns SDL events into the layer's input. Child windows are not SDL windows;
// the layer hit-tests them itself, so per-control hover and leave, capture and double clicks
// (500 ms, 4 x 4 pixels, as the window manager has them; SDL's own click count uses 32 pixels
// and is not read) behave as under the headless backend.
#include "platform/base/DeviceScale.h"
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"

#include <SDL.h>
// After the others: on X11 it brings in Xlib, whose macros (Status, None, Bool) would break
// headers read after it.
#include <SDL_syswm.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <map>
#include <poll.h>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::wnd {
namespace {

// SDL is loaded when this backend is first chosen, not with the library: a host that never
// opens a display window does not load SDL, X11 and their companions at all.
#define SKINKIT_SDL_FUNCTIONS(X)                                                                   \
    X(SDL_CreateWindow)                                                                            \
    X(SDL_GetWindowID)                                                                             \
    X(SDL_DestroyWindow)                                                                           \
    X(SDL_SetWindowPosition)                                                                       \
    X(SDL_SetWindowSize)                                                                           \
    X(SDL_ShowWindow)                                                                              \
    X(SDL_HideWindow)                                                                              \
    X(SDL_SetWindowTitle)                                                                          \
    X(SDL_GetWindowSurface)                                                                        \
    X(SDL_CreateRGBSurfaceWithFormatFrom)                                                          \
    X(SDL_SetSurfaceBlendMode)                                                                     \
    X(SDL_UpperBlit)                                                                               \
    X(SDL_UpdateWindowSurfaceRects)                                                                \
    X(SDL_FreeSurface)                                                                             \
    X(SDL_WaitEventTimeout)                                                                        \
    X(SDL_PollEvent)                                                                               \
    X(SDL_CaptureMouse)                                                                            \
    X(SDL_GetTicks)                                                                                \
    X(SDL_SetHint)                                                                                 \
    X(SDL_GetCurrentVideoDriver)                                                                   \
    X(SDL_InitSubSystem)                                                                           \
    X(SDL_QuitSubSystem)                                                                           \
    X(SDL_ShowMessageBox)                                                                          \
    X(SDL_GetWindowWMInfo)                                                                         \
    X(SDL_CreateSystemCursor)                                                                      \
    X(SDL_SetCursor)                                                                               \
    X(SDL_FreeCursor)                                                                              \
    X(SDL_ShowCursor)                                                                              \
    X(SDL_GetDisplayDPI)                                                                           \
    X(SDL_GetPointDisplayIndex)                                                                    \
    X(SDL_StartTextInput)

struct SdlApi
{
#define SKINKIT_SDL_POINTER(name) decltype(&::name) name = nullptr;
    SKINKIT_SDL_FUNCTIONS(SKINKIT_SDL_POINTER)
#undef SKINKIT_SDL_POINTER
};
SdlApi g_sdl;

bool LoadSdl()
{
    static void* handle = nullptr;
    if (handle)
        return true;
    void* h = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!h)
        return false;
    SdlApi api;
    bool complete = true;
#define SKINKIT_SDL_RESOLVE(name)                                                                  \
    api.name = reinterpret_cast<decltype(&::name)>(dlsym(h, #name));                               \
    complete = complete && api.name;
    SKINKIT_SDL_FUNCTIONS(SKINKIT_SDL_RESOLVE)
#undef SKINKIT_SDL_RESOLVE
    if (!complete) {
        dlclose(h);
        return false;
    }
    // Kept loaded for the life of the process: SDL does not support being unloaded.
    g_sdl = api;
    handle = h;
    return true;
}

// --- a lost display ---

// Set once the display connection is known dead. From then on no backend call reaches SDL
// (windows destroyed by static destructors included): its X11 code would talk to the dead
// connection, which Xlib answers by reporting the error again (and ending the process again)
// from inside our own teardown.
std::atomic<bool> g_displayLost{false};

// The longest idle wait between looks at the display, so that an end the connection does not
// signal is still noticed.
constexpr int kLongestWaitMs = 1000;
// How often a wait that cannot watch the loop sources' descriptors looks at them.
constexpr int kSourceLookMs = 10;

[[noreturn]] void EndForLostDisplay()
{
    g_displayLost = true;
    const char* name = std::getenv("DISPLAY");
    std::fprintf(stderr, "skinkit: the connection to display %s was lost; ending the program\n",
                 name ? name : "(unknown)");
    // Static destructors still run (a host's settings are written back); the backend's own
    // skips SDL, see g_displayLost.
    std::exit(1);
}

#if defined(SDL_VIDEO_DRIVER_X11)
int OnDisplayIOError(Display*)
{
    EndForLostDisplay();
}
#endif

// Xlib's default answer to a broken connection prints and calls exit(), leaving the teardown
// to talk to the dead connection. SDL loads Xlib itself (and only for its X11 driver); when it
// has, its handler for I/O errors is replaced by ours.
void WatchForLostDisplay()
{
#if defined(SDL_VIDEO_DRIVER_X11)
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!x11)
        return;
    using SetHandler = XIOErrorHandler (*)(XIOErrorHandler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(x11, "XSetIOErrorHandler")))
        set(&OnDisplayIOError);
    // Only our own reference goes: SDL keeps the library loaded.
    dlclose(x11);
#endif
}

// The X resource Xft.dpi of the display SDL uses, or 0 when there is none. Read through the
// Xlib that SDL loaded for its X11 driver; nothing is loaded for it.
double XftDpi()
{
#if defined(SDL_VIDEO_DRIVER_X11)
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!x11)
        return 0;
    double dpi = 0;
    auto open = reinterpret_cast<Display* (*)(const char*)>(dlsym(x11, "XOpenDisplay"));
    auto get =
        reinterpret_cast<char* (*)(Display*, const char*, const char*)>(dlsym(x11, "XGetDefault"));
    auto close = reinterpret_cast<int (*)(Display*)>(dlsym(x11, "XCloseDisplay"));
    if (open && get && close) {
        if (Display* d = open(nullptr)) {
            if (const char* v = get(d, "Xft", "dpi"))
                dpi = std::strtod(v, nullptr);
            close(d);
        }
    }
    dlclose(x11);
    return dpi;
#else
    return 0;
#endif
}

// The scale of SDL display `index`: the number SKINKIT_SCALE gives, else the display's own
// (SDL_GetDisplayDPI, then Xft.dpi, then GDK_SCALE). A SKINKIT_SCALE that is no scale a window
// takes is refused, once, with a message, and windows keep 1. "auto", which once asked for the
// display's scale, still does.
double ScaleOfDisplay(int index)
{
    const char* override = std::getenv("SKINKIT_SCALE");
    if (override && *override && std::string_view(override) != "auto") {
        const double scale = PickDisplayScale(override, 0, 0, nullptr);
        if (IsUsableScale(scale))
            return scale;
        static bool told = false;
        if (!std::exchange(told, true))
            std::fprintf(stderr,
                         "skinkit: SKINKIT_SCALE=%s refused: a scale is a number above 0, at "
                         "most 8; windows keep 1.0\n",
                         override);
        return 1.0;
    }
    float dpi = 0;
    if (index < 0 || g_sdl.SDL_GetDisplayDPI(index, nullptr, &dpi, nullptr) != 0)
        dpi = 0;
    return PickDisplayScale(nullptr, dpi, XftDpi(), std::getenv("GDK_SCALE"));
}

// The device size of a top-level window's logical rectangle.
// Screen coordinates are logical pixels of the window's scale, as its client points are: a
// point on the screen and a point in the window add up. The native window stands at the
// device place of its logical one.
int DevicePlace(HWND hwnd, LONG logical)
{
    return DeviceEdge(logical, WindowScale(hwnd));
}

int DeviceSide(HWND hwnd, LONG from, LONG to)
{
    return std::max(1, DeviceEdge(static_cast<long long>(to) - from, WindowScale(hwnd)));
}

// The desktop's cursor for an IDC_ number; the arrow for any other.
SDL_SystemCursor SystemCursor(int id)
{
    switch (id) {
    case 32513: // IDC_IBEAM
        return SDL_SYSTEM_CURSOR_IBEAM;
    case 32514: // IDC_WAIT
        return SDL_SYSTEM_CURSOR_WAIT;
    case 32649: // IDC_HAND
        return SDL_SYSTEM_CURSOR_HAND;
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}

int DisplayConnection(SDL_Window* win)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (g_sdl.SDL_GetWindowWMInfo(win, &info) && info.subsystem == SDL_SYSWM_X11)
        return ConnectionNumber(info.info.x11.display);
#else
    (void)win;
#endif
    return -1;
}

// --- keys ---

// One row per physical key (SDL's scan code, which names the key's place on a US keyboard):
// the virtual-key code Windows gives that place, its set-1 scan code and the extended flag.
// Letters and digits follow the layout instead (a French layout's 'A' is where US has 'Q'),
// when the layout gives the key a Latin letter or a digit; any other layout (Cyrillic, Greek)
// keeps the place's code, as Windows does.
struct KeyRow
{
    SDL_Scancode sdl;
    BYTE vk;
    BYTE scan;
    bool extended;
};

constexpr KeyRow kKeys[] = {
    {SDL_SCANCODE_A, 'A', 0x1E, false},
    {SDL_SCANCODE_B, 'B', 0x30, false},
    {SDL_SCANCODE_C, 'C', 0x2E, false},
    {SDL_SCANCODE_D, 'D', 0x20, false},
    {SDL_SCANCODE_E, 'E', 0x12, false},
    {SDL_SCANCODE_F, 'F', 0x21, false},
    {SDL_SCANCODE_G, 'G', 0x22, false},
    {SDL_SCANCODE_H, 'H', 0x23, false},
    {SDL_SCANCODE_I, 'I', 0x17, false},
    {SDL_SCANCODE_J, 'J', 0x24, false},
    {SDL_SCANCODE_K, 'K', 0x25, false},
    {SDL_SCANCODE_L, 'L', 0x26, false},
    {SDL_SCANCODE_M, 'M', 0x32, false},
    {SDL_SCANCODE_N, 'N', 0x31, false},
    {SDL_SCANCODE_O, 'O', 0x18, false},
    {SDL_SCANCODE_P, 'P', 0x19, false},
    {SDL_SCANCODE_Q, 'Q', 0x10, false},
    {SDL_SCANCODE_R, 'R', 0x13, false},
    {SDL_SCANCODE_S, 'S', 0x1F, false},
    {SDL_SCANCODE_T, 'T', 0x14, false},
    {SDL_SCANCODE_U, 'U', 0x16, false},
    {SDL_SCANCODE_V, 'V', 0x2F, false},
    {SDL_SCANCODE_W, 'W', 0x11, false},
    {SDL_SCANCODE_X, 'X', 0x2D, false},
    {SDL_SCANCODE_Y, 'Y', 0x15, false},
    {SDL_SCANCODE_Z, 'Z', 0x2C, false},
    {SDL_SCANCODE_1, '1', 0x02, false},
    {SDL_SCANCODE_2, '2', 0x03, false},
    {SDL_SCANCODE_3, '3', 0x04, false},
    {SDL_SCANCODE_4, '4', 0x05, false},
    {SDL_SCANCODE_5, '5', 0x06, false},
    {SDL_SCANCODE_6, '6', 0x07, false},
    {SDL_SCANCODE_7, '7', 0x08, false},
    {SDL_SCANCODE_8, '8', 0x09, false},
    {SDL_SCANCODE_9, '9', 0x0A, false},
    {SDL_SCANCODE_0, '0', 0x0B, false},
    {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false},
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, false},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, false},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, false},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, false},
    {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, false},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, false},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, false},
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, false},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, 0x56, false},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A, false},
    {SDL_SCANCODE_F1, VK_F1, 0x3B, false},
    {SDL_SCANCODE_F2, VK_F1 + 1, 0x3C, false},
    {SDL_SCANCODE_F3, VK_F1 + 2, 0x3D, false},
    {SDL_SCANCODE_F4, VK_F1 + 3, 0x3E, false},
    {SDL_SCANCODE_F5, VK_F1 + 4, 0x3F, false},
    {SDL_SCANCODE_F6, VK_F1 + 5, 0x40, false},
    {SDL_SCANCODE_F7, VK_F1 + 6, 0x41, false},
    {SDL_SCANCODE_F8, VK_F1 + 7, 0x42, false},
    {SDL_SCANCODE_F9, VK_F1 + 8, 0x43, false},
    {SDL_SCANCODE_F10, VK_F10, 0x44, false},
    {SDL_SCANCODE_F11, VK_F1 + 10, 0x57, false},
    {SDL_SCANCODE_F12, VK_F12, 0x58, false},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, 0x37, true},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46, false},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, 0x45, false},
    {SDL_SCANCODE_INSERT, VK_INSERT, 0x52, true},
    {SDL_SCANCODE_HOME, VK_HOME, 0x47, true},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0x49, true},
    {SDL_SCANCODE_DELETE, VK_DELETE, 0x53, true},
    {SDL_SCANCODE_END, VK_END, 0x4F, true},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0x51, true},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true},
    {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true},
    {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true},
    {SDL_SCANCODE_UP, VK_UP, 0x48, true},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x45, true},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x1C, true},
    {SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1, 0x4F, false},
    {SDL_SCANCODE_KP_2, VK_NUMPAD0 + 2, 0x50, false},
    {SDL_SCANCODE_KP_3, VK_NUMPAD0 + 3, 0x51, false},
    {SDL_SCANCODE_KP_4, VK_NUMPAD0 + 4, 0x4B, false},
    {SDL_SCANCODE_KP_5, VK_NUMPAD0 + 5, 0x4C, false},
    {SDL_SCANCODE_KP_6, VK_NUMPAD0 + 6, 0x4D, false},
    {SDL_SCANCODE_KP_7, VK_NUMPAD0 + 7, 0x47, false},
    {SDL_SCANCODE_KP_8, VK_NUMPAD0 + 8, 0x48, false},
    {SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9, 0x49, false},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0x52, false},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0x53, false},
    {SDL_SCANCODE_APPLICATION, VK_APPS, 0x5D, true},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D, false},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A, false},
    {SDL_SCANCODE_LALT, VK_MENU, 0x38, false},
    {SDL_SCANCODE_LGUI, VK_LWIN, 0x5B, true},
    {SDL_SCANCODE_RCTRL, VK_CONTROL, 0x1D, true},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36, false},
    {SDL_SCANCODE_RALT, VK_MENU, 0x38, true},
    {SDL_SCANCODE_RGUI, VK_RWIN, 0x5C, true},
};

const KeyRow* RowOf(SDL_Scancode code)
{
    for (const KeyRow& row : kKeys)
        if (row.sdl == code)
            return &row;
    return nullptr;
}

UINT VirtualKey(const SDL_Keysym& key, const KeyRow& row)
{
    const SDL_Keycode k = key.sym;
    if (k >= SDLK_a && k <= SDLK_z)
        return static_cast<UINT>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9 && row.vk >= '0' && row.vk <= '9')
        return static_cast<UINT>(k);
    return row.vk;
}

// Copies the rows of `rect` (clipped to both) when the window surface has the picture's own
// 32-bit layout: ARGB8888, or RGB888 whose unused byte stands where the alpha does. False for
// any other layout, which SDL converts.
bool CopyRows(const Gdiplus::BitmapData& from, SDL_Surface* to, const SDL_Rect& rect)
{
    if (!to->format || !to->pixels || SDL_MUSTLOCK(to) ||
        (to->format->format != SDL_PIXELFORMAT_ARGB8888 &&
         to->format->format != SDL_PIXELFORMAT_RGB888))
        return false;
    const int x0 = std::max(rect.x, 0), y0 = std::max(rect.y, 0);
    const int x1 = std::min({rect.x + rect.w, static_cast<int>(from.Width), to->w});
    const int y1 = std::min({rect.y + rect.h, static_cast<int>(from.Height), to->h});
    for (int y = y0; y < y1 && x0 < x1; ++y)
        std::memcpy(static_cast<std::uint8_t*>(to->pixels) + static_cast<ptrdiff_t>(y) * to->pitch +
                        x0 * 4,
                    static_cast<const std::uint8_t*>(from.Scan0) +
                        static_cast<ptrdiff_t>(y) * from.Stride + x0 * 4,
                    static_cast<size_t>(x1 - x0) * 4);
    return true;
}

class SdlBackend : public Backend
{
public:
    ~SdlBackend() override
    {
        if (g_displayLost)
            return;
        for (auto& [hwnd, win] : m_windows)
            g_sdl.SDL_DestroyWindow(win);
        for (auto& [id, cursor] : m_cursors)
            if (cursor)
                g_sdl.SDL_FreeCursor(cursor);
        g_sdl.SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
    }

    const char* Name() const override { return "sdl2"; }
    DWORD Now() override { return g_sdl.SDL_GetTicks(); }

    double DisplayScale(const RECT& r) override
    {
        const SDL_Point centre{static_cast<int>(r.left + (r.right - r.left) / 2),
                               static_cast<int>(r.top + (r.bottom - r.top) / 2)};
        return ScaleOfDisplay(g_sdl.SDL_GetPointDisplayIndex(&centre));
    }

    bool CreateTopLevel(HWND hwnd, const CString& title, const RECT& r, bool visible) override
    {
        if (g_displayLost)
            return false;
        Uint32 flags = visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
        // Pop-ups (tooltips) have no frame, no task-bar entry and do not take the focus.
        if (static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE)) & WS_POPUP)
            flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_TOOLTIP | SDL_WINDOW_SKIP_TASKBAR;
        // The window shows the surface's device pixels.
        SDL_Window* win = g_sdl.SDL_CreateWindow(
            title.ToUtf8().c_str(), DevicePlace(hwnd, r.left), DevicePlace(hwnd, r.top),
            DeviceSide(hwnd, r.left, r.right), DeviceSide(hwnd, r.top, r.bottom), flags);
        if (!win)
            return false;
        if (m_displayFd < 0)
            m_displayFd = DisplayConnection(win);
        m_windows[hwnd] = win;
        m_byId[g_sdl.SDL_GetWindowID(win)] = hwnd;
        return true;
    }

    void ShowCursor(int id) override
    {
        if (g_displayLost)
            return;
        if (id == 0) {
            g_sdl.SDL_ShowCursor(SDL_DISABLE);
        } else {
            auto it = m_cursors.find(id);
            if (it == m_cursors.end())
                it = m_cursors.emplace(id, g_sdl.SDL_CreateSystemCursor(SystemCursor(id))).first;
            // Null under drivers without cursors (dummy, offscreen): nothing to show then.
            if (it->second)
                g_sdl.SDL_SetCursor(it->second);
            g_sdl.SDL_ShowCursor(SDL_ENABLE);
        }
        Backend::ShowCursor(id);
    }

    void DestroyTopLevel(HWND hwnd) override
    {
        auto it = m_windows.find(hwnd);
        if (it == m_windows.end() || g_displayLost)
            return;
        m_byId.erase(g_sdl.SDL_GetWindowID(it->second));
        g_sdl.SDL_DestroyWindow(it->second);
        m_windows.erase(it);
    }

    void MoveTopLevel(HWND hwnd, const RECT& r) override
    {
        if (SDL_Window* win = Window(hwnd)) {
            g_sdl.SDL_SetWindowPosition(win, DevicePlace(hwnd, r.left), DevicePlace(hwnd, r.top));
            g_sdl.SDL_SetWindowSize(win, DeviceSide(hwnd, r.left, r.right),
                                    DeviceSide(hwnd, r.top, r.bottom));
        }
    }

    void ShowTopLevel(HWND hwnd, bool visible) override
    {
        if (SDL_Window* win = Window(hwnd))
            visible ? g_sdl.SDL_ShowWindow(win) : g_sdl.SDL_HideWindow(win);
    }

    void SetTitle(HWND hwnd, const CString& title) override
    {
        if (SDL_Window* win = Window(hwnd))
            g_sdl.SDL_SetWindowTitle(win, title.ToUtf8().c_str());
    }

    void Present(HWND hwnd, Gdiplus::Bitmap& surface, const RECT& dirty) override
    {
        SDL_Window* win = Window(hwnd);
        if (!win)
            return;
        // Fetched afresh each time: a resize replaces the window surface.
        SDL_Surface* target = g_sdl.SDL_GetWindowSurface(win);
        if (!target)
            return;
        const Gdiplus::Rect all(0, 0, static_cast<INT>(surface.GetWidth()),
                                static_cast<INT>(surface.GetHeight()));
        Gdiplus::BitmapData data{};
        if (surface.LockBits(&all, Gdiplus::ImageLockModeRead, Gdiplus::PixelFormat32bppPARGB,
                             &data) != Gdiplus::Ok)
            return;
        SDL_Rect rect{static_cast<int>(dirty.left), static_cast<int>(dirty.top),
                      static_cast<int>(dirty.right - dirty.left),
                      static_cast<int>(dirty.bottom - dirty.top)};
        // Cairo's premultiplied ARGB32 is SDL's ARGB8888 in memory; the composed top-level is
        // opaque, so premultiplication changes nothing shown. A window surface of that layout
        // (with or without alpha) takes the rows as they are.
        if (CopyRows(data, target, rect)) {
            g_sdl.SDL_UpdateWindowSurfaceRects(win, &rect, 1);
            surface.UnlockBits(&data);
            return;
        }
        // Otherwise SDL converts: copied, not blended.
        SDL_Surface* source = g_sdl.SDL_CreateRGBSurfaceWithFormatFrom(
            data.Scan0, static_cast<int>(data.Width), static_cast<int>(data.Height), 32,
            data.Stride, SDL_PIXELFORMAT_ARGB8888);
        if (source) {
            g_sdl.SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
            SDL_Rect dest = rect;
            g_sdl.SDL_UpperBlit(source, &rect, target, &dest);
            g_sdl.SDL_UpdateWindowSurfaceRects(win, &rect, 1);
            g_sdl.SDL_FreeSurface(source);
        }
        surface.UnlockBits(&data);
    }

    bool WaitInput(int timeoutMs) override
    {
        if (g_displayLost)
            return false;
        // Bounded, so that an idle program still looks at its display now and then.
        int wait = timeoutMs < 0 ? kLongestWaitMs : std::min(timeoutMs, kLongestWaitMs);
        // Other work of this thread (the accessibility bus) wakes the wait too.
        m_watches.clear();
        if (HasLoopSources()) {
            const int due = PrepareLoopSources(m_watches);
            if (due >= 0)
                wait = std::min(wait, due);
        }
        SDL_Event e;
        if (m_displayFd < 0) {
            // SDL's own wait cannot watch other descriptors: with some to watch, it looks at
            // them every few milliseconds instead.
            if (!m_watches.empty())
                wait = std::min(wait, kSourceLookMs);
            if (!g_sdl.SDL_WaitEventTimeout(&e, wait))
                return true;
            Translate(e);
        } else if (!g_sdl.SDL_PollEvent(&e)) {
            // On X11 we wait on the display connection ourselves. SDL's own wait would have
            // events queued meanwhile wake it by a message sent over a second connection, and
            // the server does not order requests across connections: such a message could
            // reach a window after the window's destruction on the first, an error that Xlib
            // reports at exit by ending the process. Polling drained the connection; whatever
            // arrives from now on makes it readable. A server that went away hangs it up.
            m_polled.clear();
            m_polled.push_back(pollfd{m_displayFd, POLLIN, 0});
            for (const LoopSource::Watch& w : m_watches)
                m_polled.push_back(pollfd{w.fd, w.events, 0});
            if (::poll(m_polled.data(), static_cast<nfds_t>(m_polled.size()), wait) > 0 &&
                (m_polled[0].revents & (POLLHUP | POLLERR | POLLNVAL)))
                EndForLostDisplay();
        } else {
            Translate(e);
        }
        while (g_sdl.SDL_PollEvent(&e))
            Translate(e);
        return true;
    }

    int MessageBox(HWND owner, const CString& text, const CString& caption, UINT type) override
    {
        if (g_displayLost)
            return 0;
        struct Choice
        {
            int id;
            const char* label;
        };
        static const Choice sets[6][3] = {
            {{IDOK, "OK"}, {0, nullptr}, {0, nullptr}},
            {{IDOK, "OK"}, {IDCANCEL, "Cancel"}, {0, nullptr}},
            {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}},
            {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}},
            {{IDYES, "Yes"}, {IDNO, "No"}, {0, nullptr}},
            {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}, {0, nullptr}},
        };
        const UINT kind = (type & MB_TYPEMASK) <= MB_RETRYCANCEL ? (type & MB_TYPEMASK) : MB_OK;
        SDL_MessageBoxButtonData buttons[3]{};
        int count = 0;
        for (const Choice& c : sets[kind])
            if (c.label)
                buttons[count++] = SDL_MessageBoxButtonData{0, c.id, c.label};
        buttons[(type & MB_DEFBUTTON2) && count > 1 ? 1 : 0].flags |=
            SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        const UINT icon = type & 0xF0;
        const std::string title = caption.ToUtf8(), message = text.ToUtf8();
        SDL_MessageBoxData data{};
        data.flags = icon == MB_ICONERROR         ? SDL_MESSAGEBOX_ERROR
                     : icon == MB_ICONEXCLAMATION ? SDL_MESSAGEBOX_WARNING
                                                  : SDL_MESSAGEBOX_INFORMATION;
        data.window = Window(TopLevelOf(owner));
        data.title = title.c_str();
        data.message = message.c_str();
        data.numbuttons = count;
        data.buttons = buttons;
        int chosen = 0;
        if (g_sdl.SDL_ShowMessageBox(&data, &chosen) != 0)
            return 0;
        return chosen;
    }

    bool OnDesktop() const override { return true; }

    std::string NativeHandle(HWND hwnd) override
    {
        SDL_Window* win = Window(hwnd);
        if (!win)
            return {};
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!g_sdl.SDL_GetWindowWMInfo(win, &info))
            return {};
#if defined(SDL_VIDEO_DRIVER_X11)
        if (info.subsystem == SDL_SYSWM_X11) {
            char handle[32];
            std::snprintf(handle, sizeof handle, "x11:%lx",
                          static_cast<unsigned long>(info.info.x11.window));
            return handle;
        }
#endif
        // A Wayland surface means nothing to another program until exported, which SDL does
        // not do.
        return {};
    }

    void CaptureMouse(bool capture) override
    {
        if (g_displayLost)
            return;
        g_sdl.SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
    }

private:
    // Null once the display is lost, which keeps every window call away from SDL.
    SDL_Window* Window(HWND hwnd)
    {
        if (g_displayLost)
            return nullptr;
        auto it = m_windows.find(hwnd);
        return it == m_windows.end() ? nullptr : it->second;
    }

    HWND Of(Uint32 windowId)
    {
        auto it = m_byId.find(windowId);
        return it == m_byId.end() ? nullptr : it->second;
    }

    void Translate(const SDL_Event& e)
    {
        switch (e.type) {
        case SDL_MOUSEMOTION:
            if (HWND h = Of(e.motion.windowID)) {
                m_last[h] = POINT{e.motion.x, e.motion.y};
                QueueInput(h, Input::Move, m_last[h]);
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (HWND h = Of(e.button.windowID); h && e.button.button == SDL_BUTTON_LEFT) {
                m_last[h] = POINT{e.button.x, e.button.y};
                QueueInput(h, e.type == SDL_MOUSEBUTTONDOWN ? Input::LeftDown : Input::LeftUp,
                           m_last[h]);
            }
            break;
        case SDL_MOUSEWHEEL:
            if (HWND h = Of(e.wheel.windowID)) {
                // Away from the user is positive, as WHEEL_DELTA counts it.
                const int y = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                if (y)
                    QueueInput(h, Input::Wheel, m_last[h], y * 120);
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (HWND h = Of(e.key.windowID)) {
                if (const KeyRow* row = RowOf(e.key.keysym.scancode))
                    QueueKey(h, VirtualKey(e.key.keysym, *row), e.type == SDL_KEYDOWN, row->scan,
                             row->extended);
            }
            break;
        case SDL_TEXTINPUT:
            if (HWND h = Of(e.text.windowID))
                QueueText(h, e.text.text);
            break;
        case SDL_WINDOWEVENT:
            if (HWND h = Of(e.window.windowID)) {
                switch (e.window.event) {
                case SDL_WINDOWEVENT_LEAVE:
                    QueueInput(h, Input::Leave, m_last[h]);
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    QueueClose(h);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    // The keys held now are released in another window; SDL reports their
                    // releases itself on most drivers, and any it does not report end here.
                    QueueKeysReleased(h);
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    ::InvalidateRect(h, nullptr, TRUE);
                    break;
                case SDL_WINDOWEVENT_MOVED:
                    TopLevelMoved(h, POINT{LogicalCoord(e.window.data1, WindowScale(h)),
                                           LogicalCoord(e.window.data2, WindowScale(h))});
                    break;
                case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                    SetWindowScale(h, ScaleOfDisplay(e.window.data1));
                    break;
                default:
                    break;
                }
            }
            break;
        case SDL_QUIT:
            // Also what SDL makes of an interrupt signal.
            PostQuitMessage(0);
            break;
        default:
            break;
        }
    }

    // The X server connection's descriptor, once a window shows it is X11; -1 otherwise.
    int m_displayFd = -1;
    // The loop sources' descriptors, and everything polled (kept to spare allocations).
    std::vector<LoopSource::Watch> m_watches;
    std::vector<pollfd> m_polled;
    std::map<HWND, SDL_Window*> m_windows;
    std::map<Uint32, HWND> m_byId;
    std::map<int, SDL_Cursor*> m_cursors; // by IDC_ number
    std::map<HWND, POINT> m_last;
};

} // namespace

std::unique_ptr<Backend> MakeSdlBackend()
{
    if (!LoadSdl())
        return nullptr;
    g_sdl.SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    g_sdl.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "0");
    if (g_sdl.SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0)
        return nullptr;
    // On X11 a window's surface reaches the server as a shared-memory copy of what changed.
    // SDL would rather present it through OpenGL, which without a GPU (Xvfb, remote desktops)
    // is a software renderer costing more than all the drawing. A user's own setting of
    // SDL_FRAMEBUFFER_ACCELERATION in the environment still wins.
    if (const char* driver = g_sdl.SDL_GetCurrentVideoDriver();
        driver && std::string_view(driver) == "x11")
        g_sdl.SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    WatchForLostDisplay();
    // Text comes from SDL's text input, so that dead keys, compose sequences and input
    // methods arrive as the characters they make.
    g_sdl.SDL_StartTextInput();
    return std::make_unique<SdlBackend>();
}

} // namespace platform::wnd
