// Keys on a real SDL2 window, for the display test (SdlKeysXvfbTest.sh): a dialog with two
// push buttons ("&One" 11, "&Two" 12), a text catcher (13) that keeps characters and a skinned
// slider (14, range 0..20 at 10), keyboard access on, all tab stops in that order, driven
// through the dialog manager. Prints "FOCUS <id>" as each takes the focus, "BN_CLICKED <id>",
// "CHAR <hex>" for each character the catcher gets, "KEYUP <hex> <still down>" for each key it
// hears released, "SLIDER <message hex> <position>" for what the slider tells, and exits 0 on
// Esc (IDCANCEL), 3 when no Esc came within 20 seconds.
#include "controls/CtrlSlider.h"
#include "controls/KeyboardAccess.h"

#include "SdlProbeKit.h"

namespace {

class CCatcher : public CWnd
{
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETDLGCODE)
            return DLGC_WANTCHARS;
        if (message == WM_SETFOCUS)
            std::printf("FOCUS 13\n");
        if (message == WM_CHAR)
            std::printf("CHAR %x\n", static_cast<unsigned>(wParam));
        if (message == WM_KEYUP)
            std::printf("KEYUP %x %d\n", static_cast<unsigned>(wParam),
                        (GetKeyState(static_cast<int>(wParam)) & 0x8000) != 0);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CKeysHost : public CWnd
{
protected:
    BOOL PreTranslateMessage(MSG* msg) override { return IsDialogMessageW(m_hWnd, msg); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_SLIDER_LBUTTONDOWN && message <= WM_SLIDER_MOUSEMOVE)
            std::printf("SLIDER %x %d\n", message, static_cast<int>(lParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IDCANCEL) {
            std::printf("IDCANCEL\n");
            PostQuitMessage(0);
        } else if (code == BN_SETFOCUS) {
            std::printf("FOCUS %d\n", id);
        } else if (code == BN_CLICKED) {
            std::printf("BN_CLICKED %d\n", id);
        }
        return CWnd::OnCommand(wParam, lParam);
    }
};

} // namespace

int main()
{
    if (!StartSdlProbe())
        return 2;
    CKeysHost host;
    if (!host.CreateEx(0, nullptr, L"skinkit keys probe", WS_VISIBLE, CRect(40, 40, 280, 210),
                       nullptr, 0))
        return 2;
    CButton one, two;
    one.Create(L"&One", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY, CRect(10, 10, 80, 40),
               &host, 11);
    two.Create(L"&Two", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY, CRect(90, 10, 160, 40),
               &host, 12);
    CCatcher catcher;
    catcher.Create(nullptr, L"catcher", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 50, 160, 80),
                   &host, 13);
    skinkit::EnableKeyboardAccess(true);
    Gdiplus::Bitmap thumb(10, 16, Gdiplus::PixelFormat32bppARGB);
    CCtrlSlider slider;
    slider.Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 85, 220, 101), &host,
                  14);
    slider.SetImage(&thumb, 2);
    slider.SetRange(0, 20);
    slider.SetPos(10);
    ShowProbe(host, 20000);
    return RunProbe();
}
