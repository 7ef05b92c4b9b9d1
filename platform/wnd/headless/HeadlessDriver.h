// Drives windows without a display: a clock that moves only when told, scripted mouse input,
// message pumping, and the composed pixels of any window. A host can test its own skinned
// dialogs with it exactly as the library's tests do:
//
//     platform::wnd::HeadlessDriver driver;          // selects the headless backend
//     CMyDialog dlg;  dlg.CreateEx(0, nullptr, L"test", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr,
//     0); driver.Record(dlg.m_hWnd);                      // what the dialog is sent
//     driver.Click(dlg.GetDlgItem(IDC_PLAY)->m_hWnd, {10, 10});
//     ASSERT_EQ(driver.Commands(BN_CLICKED).size(), 1u);
//     auto shot = driver.Capture(dlg.m_hWnd);         // a Gdiplus::Bitmap of what is shown
//
// Every input call queues the event and pumps messages, so its effects (notifications,
// repaints) are complete when it returns. Time starts at 10000 ms and moves only through
// AdvanceTime, which fires timers and hover at their due times.
#pragma once

#include "platform/base/CString.h"
#include "platform/wnd/WinUser.h"

#include <map>
#include <memory>
#include <vector>

namespace Gdiplus {
class Bitmap;
}

namespace platform::wnd {

class HeadlessDriver
{
public:
    // Selects the headless backend and resets its clock; windows left from an earlier driver
    // are destroyed. Top-level windows made from now on get `scale` device pixels per logical
    // pixel (an unusable scale is refused and they keep 1.0); points given to the driver
    // stay logical.
    explicit HeadlessDriver(double scale = 1.0);
    // Destroys every window that is left.
    ~HeadlessDriver();
    HeadlessDriver(const HeadlessDriver&) = delete;
    HeadlessDriver& operator=(const HeadlessDriver&) = delete;

    // --- time ---
    DWORD Now() const;
    // Moves the clock forward, pumping at each timer or hover deadline on the way.
    void AdvanceTime(DWORD ms);
    // Handles everything pending (messages, input, paints, due timers).
    void Pump();

    // --- mouse: points in a window's client coordinates, or on the screen ---
    void MoveMouse(HWND wnd, POINT client);
    void MoveMouseScreen(POINT screen);
    void MouseDown();
    void MouseUp();
    // Moves there, presses and releases.
    void Click(HWND wnd, POINT client);
    // Two clicks 50 ms apart.
    void DoubleClick(HWND wnd, POINT client);
    // Moves there and waits until a tracked hover is due (1 ms hover time: 1 ms).
    void Hover(HWND wnd, POINT client, DWORD restMs = 1);
    // The wheel at the pointer: +120 per notch away from the user.
    void Wheel(int delta);
    // The pointer leaves every window.
    void LeaveWindows();
    // Moves to device pixel `device` of top-level `top`'s surface, as a backend reports it.
    void MoveMouseDevice(HWND top, POINT device);

    // --- keyboard: virtual-key codes (VK_..., 'A'..'Z', '0'..'9'); modifiers MOD_SHIFT,
    // MOD_CONTROL, MOD_ALT. Keys go to the focus window, else to the top-level the pointer is
    // over, else to the newest shown one that is not a pop-up. ---

    // Presses the modifiers, presses and releases the key, releases the modifiers (in
    // reverse).
    void Key(UINT vk, UINT mods = 0);
    // Presses a key; pressing it again while it is down is an auto-repeat.
    void KeyDown(UINT vk);
    void KeyUp(UINT vk);
    // Text typed (UTF-8), as a layout or an input method delivers it: one WM_CHAR per UTF-16
    // unit.
    void Type(const char* utf8);
    // The keyboard goes to another program's window, as a backend reports it: the keys held
    // are released.
    void LoseKeyboard();
    // The window with the keyboard focus, or null.
    HWND Focus() const;

    // --- observation ---
    // Records every message sent to `wnd` from now on (WM_COMMAND from its children, for one).
    void Record(HWND wnd);
    const std::vector<MSG>& Recorded() const { return m_recorded; }
    void ClearRecorded() { m_recorded.clear(); }
    // The recorded WM_COMMAND messages with notification `code`.
    std::vector<MSG> Commands(UINT code) const;
    // How many WM_PAINT messages `wnd` was sent since this driver began or ClearPaints: what
    // a change repainted, window by window.
    int Paints(HWND wnd) const;
    void ClearPaints() { m_paints.clear(); }
    // A copy of the window's device pixels as shown (its window rectangle, clipped to its
    // top-level), after pumping; null for a window that is not shown.
    std::unique_ptr<Gdiplus::Bitmap> Capture(HWND wnd);
    // The first device pixel of logical point `client`, as ARGB (not premultiplied), after
    // pumping.
    DWORD PixelAt(HWND wnd, POINT client);
    // The device rectangle a window covers on its top-level's surface (DeviceScale.h).
    RECT DeviceRectOf(HWND wnd);

    // --- message boxes and beeps ---
    struct MessageBoxRecord
    {
        HWND owner;
        CString text;
        CString caption;
        UINT type;
    };
    // Every box shown since this driver began, in order.
    const std::vector<MessageBoxRecord>& MessageBoxes() const;
    // The answer the next boxes get; 0 (the start) takes each box's default button.
    void AnswerMessageBoxes(int id);
    int Beeps() const;

    // --- cursor and tooltips ---
    // The system cursor shown last (IDC_ number: 32512 the arrow, 32649 the hand; 0 hidden).
    int CursorShown() const;
    struct ToolTipRecord
    {
        HWND window;
        CString text; // the tip last shown, or being shown
        bool shown;
    };
    // Every tooltip control's window, in creation order, after pumping.
    std::vector<ToolTipRecord> ToolTips();

private:
    void Send(int kind, POINT client, int delta = 0);
    HWND KeyTop() const;
    HWND m_top = nullptr; // the top-level the pointer is over
    POINT m_pos{};        // in m_top's client coordinates
    POINT m_device{};     // the same in device pixels, as last sent
    std::vector<MSG> m_recorded;
    std::map<HWND, int> m_paints;
    std::vector<HWND> m_watched;
};

} // namespace platform::wnd
