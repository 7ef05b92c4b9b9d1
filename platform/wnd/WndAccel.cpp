// Accelerator tables: keys that stand for commands whichever window has the focus.
//
// A virtual-key entry (FVIRTKEY) matches WM_KEYDOWN or WM_SYSKEYDOWN of its key when Shift,
// Ctrl and Alt are held exactly as the entry's FSHIFT, FCONTROL and FALT ask; a character
// entry matches WM_CHAR of its character (WM_SYSCHAR with FALT). A match sends WM_COMMAND
// (high word 1, the entry's id, lParam 0) to the window given, unless that window is disabled;
// either way the message counts as translated and is not dispatched.
#include "platform/wnd/WndInternal.h"

#include <vector>

struct AcceleratorTable
{
    std::vector<ACCEL> entries;
};

using namespace platform::wnd;

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count)
{
    if (!entries || count <= 0)
        return nullptr;
    // A table is small by nature; a count beyond any keyboard's worth is a caller's slip.
    constexpr int kMostEntries = 32767;
    if (count > kMostEntries)
        return nullptr;
    auto* table = new AcceleratorTable;
    table->entries.assign(entries, entries + count);
    return table;
}

BOOL DestroyAcceleratorTable(HACCEL table)
{
    if (!table)
        return FALSE;
    delete table;
    return TRUE;
}

namespace {

bool Held(int vk)
{
    return (GetKeyState(vk) & 0x8000) != 0;
}

bool Matches(const ACCEL& a, const MSG& msg)
{
    const bool alt = Held(VK_MENU);
    if (a.fVirt & FVIRTKEY) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
            return false;
        if (msg.wParam != a.key)
            return false;
        return Held(VK_SHIFT) == ((a.fVirt & FSHIFT) != 0) &&
               Held(VK_CONTROL) == ((a.fVirt & FCONTROL) != 0) && alt == ((a.fVirt & FALT) != 0);
    }
    if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR)
        return false;
    if (msg.wParam != a.key)
        return false;
    return (msg.message == WM_SYSCHAR) == ((a.fVirt & FALT) != 0);
}

} // namespace

int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg)
{
    if (!table || !msg || !IsWindow(hwnd))
        return 0;
    for (const ACCEL& a : table->entries) {
        if (!Matches(a, *msg))
            continue;
        if (IsWindowEnabled(hwnd))
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}
