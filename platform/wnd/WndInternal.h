// Internal to platform/wnd: the window record and the operations the free functions, the
// framework classes and the built-in class procedures share.
#pragma once

#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/wnd/WinUser.h"

#include <memory>
#include <vector>

namespace Gdiplus {
class Bitmap;
}
class CWnd;

namespace platform::wnd {

enum class ClassKind { Generic, Button, Static };

struct Window
{
    HWND handle = nullptr;
    CWnd* obj = nullptr;
    // The plain CWnd of a window made without an object, and those replaced by subclassing
    // (callers may still hold them; they keep working through the window).
    std::unique_ptr<CWnd> wrapper;
    std::vector<std::unique_ptr<CWnd>> retired;
    HWND parent = nullptr;
    std::vector<HWND> children; // creation order; later ones are on top
    ClassKind kind = ClassKind::Generic;
    CString className;
    UINT classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    CString text;
    HFONT font = nullptr;
    CRect rect;   // window rectangle: parent client coordinates, screen for top-levels
    CRect update; // client coordinates
    bool erase = false;
    bool destroying = false;
    // System button state.
    bool pushed = false;
    bool tracking = false; // pressed with the left button, capture held
    int check = 0;
    // Top-level windows.
    std::unique_ptr<Gdiplus::Bitmap> surface;
    CRect dirty; // surface pixels drawn since the last present
    bool native = false;
};

Window* Find(HWND hwnd);
int BorderWidth(const Window& w);

HWND CreateWindowInternal(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                          const RECT& rect, HWND parent, UINT id, CWnd* object, LPVOID param);
BOOL DestroyWindowInternal(HWND hwnd);
void AttachObject(HWND hwnd, CWnd* object);
void DetachObject(HWND hwnd, CWnd* object);
CWnd* ObjectOf(HWND hwnd);
bool IsPermanentObject(HWND hwnd);

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void Quit(int code);
const MSG* CurrentMessage();

HWND SetCaptureInternal(HWND hwnd);
HWND GetCaptureInternal();
HWND SetFocusInternal(HWND hwnd);
HWND GetFocusInternal();
POINT CursorPos();
BOOL TrackMouse(LPTRACKMOUSEEVENT tme);
UINT_PTR SetTimerInternal(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimerInternal(HWND hwnd, UINT_PTR id);

void Invalidate(HWND hwnd, const RECT* rect, bool erase);
void Validate(HWND hwnd, const RECT* rect);
void PaintTopLevels();
HDC BeginPaintInternal(HWND hwnd, LPPAINTSTRUCT ps);
BOOL EndPaintInternal(const PAINTSTRUCT* ps);
HDC GetDCInternal(HWND hwnd);
int ReleaseDCInternal(HDC dc);
void ResizeTopSurface(Window& w);

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT GenericProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace platform::wnd

// The protected hooks of CWnd that the window layer calls.
struct CWndAccess
{
    static void PreSubclass(CWnd* w);
    static void PostNcDestroy(CWnd* w);
};
