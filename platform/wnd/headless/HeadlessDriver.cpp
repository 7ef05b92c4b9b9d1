// The headless backend (no display, a clock that moves when told) and its test driver.
#include "platform/wnd/headless/HeadlessDriver.h"

#include "platform/base/DeviceScale.h"
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/ToolTipCtrl.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/WndInternal.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace platform::wnd {
namespace {

constexpr DWORD kStartTime = 10000;
DWORD g_clock = kStartTime;
std::vector<HeadlessDriver::MessageBoxRecord> g_boxes;
int g_boxAnswer = 0;
int g_beeps = 0;
double g_scale = 1.0;

// The button a box takes when nobody chooses: its first, or its second with MB_DEFBUTTON2.
int DefaultButton(UINT type)
{
    static constexpr int buttons[6][3] = {
        {IDOK, IDOK, IDOK},      {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL}};
    const UINT kind = type & MB_TYPEMASK;
    if (kind > MB_RETRYCANCEL)
        return IDOK;
    return buttons[kind][(type & MB_DEFBUTTON2) ? 1 : 0];
}

class HeadlessBackend : public Backend
{
public:
    const char* Name() const override { return "headless"; }
    DWORD Now() override { return g_clock; }
    bool CreateTopLevel(HWND, const CString&, const RECT&, bool) override { return true; }
    void DestroyTopLevel(HWND) override {}
    void Present(HWND, Gdiplus::Bitmap&, const RECT&) override {}
    double DisplayScale(const RECT&) override { return g_scale; }
    int MessageBox(HWND owner, const CString& text, const CString& caption, UINT type) override
    {
        g_boxes.push_back(HeadlessDriver::MessageBoxRecord{owner, text, caption, type});
        return g_boxAnswer ? g_boxAnswer : DefaultButton(type);
    }
    void Beep(UINT) override { ++g_beeps; }
    // No input ever arrives by itself; waiting only lets virtual time pass.
    bool WaitInput(int timeoutMs) override
    {
        if (timeoutMs < 0)
            return false;
        g_clock += static_cast<DWORD>(timeoutMs);
        return true;
    }
};

} // namespace

std::unique_ptr<Backend> MakeHeadlessBackend()
{
    return std::make_unique<HeadlessBackend>();
}

// --- driver ---

HeadlessDriver::HeadlessDriver(double scale)
{
    g_scale = scale;
    UseBackend("headless");
    DestroyAllWindows();
    g_clock = kStartTime;
    g_boxes.clear();
    g_boxAnswer = 0;
    g_beeps = 0;
    SetMessageObserver([this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT)
            ++m_paints[hwnd];
        if (std::find(m_watched.begin(), m_watched.end(), hwnd) != m_watched.end())
            m_recorded.push_back(MSG{hwnd, message, wParam, lParam, g_clock, CursorPos()});
    });
}

HeadlessDriver::~HeadlessDriver()
{
    SetMessageObserver(nullptr);
    DestroyAllWindows();
}

DWORD HeadlessDriver::Now() const
{
    return g_clock;
}

void HeadlessDriver::Pump()
{
    PumpMessages();
}

void HeadlessDriver::AdvanceTime(DWORD ms)
{
    const DWORD end = g_clock + ms;
    Pump();
    for (;;) {
        const int next = NextDeadline();
        if (next < 0 || static_cast<DWORD>(next) > end - g_clock)
            break;
        g_clock += static_cast<DWORD>(next);
        Pump();
        if (next == 0 && NextDeadline() == 0)
            break; // a deadline that does not move: leave the rest to the next call
    }
    g_clock = end;
    Pump();
}

HWND HeadlessDriver::KeyTop() const
{
    if (const HWND focus = GetFocus())
        return TopLevelOf(focus);
    if (m_top && IsWindow(m_top))
        return m_top;
    // The newest shown window that can take the keyboard (pop-ups such as tooltips cannot).
    const std::vector<HWND> tops = TopLevels();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (IsWindowVisible(*it) &&
            !(static_cast<DWORD>(GetWindowLongW(*it, GWL_STYLE)) & WS_POPUP))
            return *it;
    return nullptr;
}

void HeadlessDriver::KeyDown(UINT vk)
{
    if (const HWND top = KeyTop()) {
        QueueKey(top, vk, true);
        Pump();
    }
}

void HeadlessDriver::KeyUp(UINT vk)
{
    if (const HWND top = KeyTop()) {
        QueueKey(top, vk, false);
        Pump();
    }
}

void HeadlessDriver::LoseKeyboard()
{
    if (HWND top = KeyTop())
        QueueKeysReleased(top);
    Pump();
}

void HeadlessDriver::Key(UINT vk, UINT mods)
{
    static constexpr struct
    {
        UINT mod, vk;
    } modifiers[] = {{MOD_CONTROL, VK_CONTROL}, {MOD_ALT, VK_MENU}, {MOD_SHIFT, VK_SHIFT}};
    for (const auto& m : modifiers)
        if (mods & m.mod)
            KeyDown(m.vk);
    KeyDown(vk);
    KeyUp(vk);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        if (mods & it->mod)
            KeyUp(it->vk);
}

void HeadlessDriver::Type(const char* utf8)
{
    const HWND top = KeyTop();
    if (!top || !utf8)
        return;
    QueueText(top, utf8);
    Pump();
}

HWND HeadlessDriver::Focus() const
{
    return GetFocus();
}

void HeadlessDriver::Send(int kind, POINT client, int delta)
{
    if (!m_top || !IsWindow(m_top))
        return;
    // A backend reports device pixels: the logical point goes as the first device pixel of
    // its logical pixel, unless a device point was given.
    const double scale = WindowScale(m_top);
    if (LogicalPoint(m_device, scale).x != client.x || LogicalPoint(m_device, scale).y != client.y)
        m_device = POINT{DeviceEdge(client.x, scale), DeviceEdge(client.y, scale)};
    QueueInput(m_top, static_cast<Input>(kind), m_device, delta);
    Pump();
}

void HeadlessDriver::MoveMouseDevice(HWND top, POINT device)
{
    top = TopLevelOf(top);
    if (m_top && m_top != top)
        Send(static_cast<int>(Input::Leave), m_pos);
    m_top = top;
    m_device = device;
    m_pos = LogicalPoint(device, WindowScale(top));
    Send(static_cast<int>(Input::Move), m_pos);
}

RECT HeadlessDriver::DeviceRectOf(HWND wnd)
{
    RECT wr{}, tr{};
    GetWindowRect(wnd, &wr);
    GetWindowRect(TopLevelOf(wnd), &tr);
    CRect area(wr);
    area.OffsetRect(-tr.left, -tr.top);
    return DeviceRect(area, WindowScale(wnd));
}

void HeadlessDriver::MoveMouseScreen(POINT screen)
{
    // The top-level window under the point; later ones lie on top.
    HWND top = nullptr;
    RECT r{};
    for (HWND h : TopLevels())
        if (IsWindowVisible(h) && GetWindowRect(h, &r) && CRect(r).PtInRect(screen))
            top = h;
    if (m_top && m_top != top)
        Send(static_cast<int>(Input::Leave), m_pos);
    m_top = top;
    if (!top)
        return;
    GetWindowRect(top, &r);
    m_pos = POINT{screen.x - r.left, screen.y - r.top};
    Send(static_cast<int>(Input::Move), m_pos);
}

void HeadlessDriver::MoveMouse(HWND wnd, POINT client)
{
    const HWND top = TopLevelOf(wnd);
    if (!top)
        return;
    // Input comes in the top-level's client coordinates, as a backend gives it.
    const POINT origin = ClientOriginInTop(wnd);
    if (m_top && m_top != top)
        Send(static_cast<int>(Input::Leave), m_pos);
    m_top = top;
    m_pos = POINT{client.x + origin.x, client.y + origin.y};
    Send(static_cast<int>(Input::Move), m_pos);
}

void HeadlessDriver::MouseDown()
{
    Send(static_cast<int>(Input::LeftDown), m_pos);
}
void HeadlessDriver::MouseUp()
{
    Send(static_cast<int>(Input::LeftUp), m_pos);
}

void HeadlessDriver::Click(HWND wnd, POINT client)
{
    MoveMouse(wnd, client);
    MouseDown();
    MouseUp();
}

void HeadlessDriver::DoubleClick(HWND wnd, POINT client)
{
    Click(wnd, client);
    AdvanceTime(50);
    MouseDown();
    MouseUp();
}

void HeadlessDriver::Hover(HWND wnd, POINT client, DWORD restMs)
{
    MoveMouse(wnd, client);
    AdvanceTime(restMs);
}

void HeadlessDriver::Wheel(int delta)
{
    Send(static_cast<int>(Input::Wheel), m_pos, delta);
}

void HeadlessDriver::LeaveWindows()
{
    if (m_top)
        Send(static_cast<int>(Input::Leave), m_pos);
    m_top = nullptr;
}

int HeadlessDriver::Paints(HWND wnd) const
{
    const auto it = m_paints.find(wnd);
    return it == m_paints.end() ? 0 : it->second;
}

void HeadlessDriver::Record(HWND wnd)
{
    if (std::find(m_watched.begin(), m_watched.end(), wnd) == m_watched.end())
        m_watched.push_back(wnd);
}

std::vector<MSG> HeadlessDriver::Commands(UINT code) const
{
    std::vector<MSG> out;
    for (const MSG& m : m_recorded)
        if (m.message == WM_COMMAND && HIWORD(m.wParam) == code)
            out.push_back(m);
    return out;
}

std::unique_ptr<Gdiplus::Bitmap> HeadlessDriver::Capture(HWND wnd)
{
    Pump();
    const HWND top = TopLevelOf(wnd);
    Gdiplus::Bitmap* surface = TopLevelSurface(top);
    if (!surface || !IsWindowVisible(wnd))
        return nullptr;
    CRect area(DeviceRectOf(wnd));
    area.IntersectRect(area, CRect(0, 0, static_cast<int>(surface->GetWidth()),
                                   static_cast<int>(surface->GetHeight())));
    if (area.IsRectEmpty())
        return nullptr;
    return std::unique_ptr<Gdiplus::Bitmap>(surface->Clone(
        area.left, area.top, area.Width(), area.Height(), Gdiplus::PixelFormat32bppARGB));
}

DWORD HeadlessDriver::PixelAt(HWND wnd, POINT client)
{
    Pump();
    Gdiplus::Bitmap* surface = TopLevelSurface(TopLevelOf(wnd));
    if (!surface)
        return 0;
    const POINT o = ClientOriginInTop(wnd);
    const double scale = WindowScale(wnd);
    Gdiplus::Color c;
    if (surface->GetPixel(DeviceEdge(o.x + client.x, scale), DeviceEdge(o.y + client.y, scale),
                          &c) != Gdiplus::Ok)
        return 0;
    return c.GetValue();
}

const std::vector<HeadlessDriver::MessageBoxRecord>& HeadlessDriver::MessageBoxes() const
{
    return g_boxes;
}
void HeadlessDriver::AnswerMessageBoxes(int id)
{
    g_boxAnswer = id;
}
int HeadlessDriver::Beeps() const
{
    return g_beeps;
}

int HeadlessDriver::CursorShown() const
{
    return CurrentBackend().ShownCursor();
}

std::vector<HeadlessDriver::ToolTipRecord> HeadlessDriver::ToolTips()
{
    Pump();
    std::vector<ToolTipRecord> tips;
    for (HWND top : TopLevels()) {
        CWnd* object = CWnd::FromHandlePermanent(top);
        if (object && object->IsKindOf(RUNTIME_CLASS(CToolTipCtrl)))
            tips.push_back(
                ToolTipRecord{top, object->GetWindowText(), ::IsWindowVisible(top) != 0});
    }
    return tips;
}

} // namespace platform::wnd
