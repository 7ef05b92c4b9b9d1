// The dialog manager: the keyboard interface a host's dialog gets by passing its messages
// through IsDialogMessageW (from its PreTranslateMessage, as a dialog's message loop does).
//
//   key                 unless the focus control's WM_GETDLGCODE has   does
//   Tab / Shift+Tab     DLGC_WANTTAB or DLGC_WANTALLKEYS               next / previous tab stop
//   arrows              DLGC_WANTARROWS or DLGC_WANTALLKEYS            next / previous in the group
//   Enter               DLGC_WANTALLKEYS                               the default button
//   Esc                 DLGC_WANTALLKEYS                               WM_COMMAND IDCANCEL
//   a character         DLGC_WANTCHARS or DLGC_WANTALLKEYS             the mnemonic's control
//   Alt+character       (always)                                       the mnemonic's control
//
// The order of the controls is their creation order; a visible, enabled child with
// WS_EX_CONTROLPARENT is not a control itself, its children are (in its place). Tab stops are
// the visible, enabled controls with WS_TABSTOP; a group runs from a control with WS_GROUP to
// the one before the next.
#include "platform/wnd/WndInternal.h"

#include <algorithm>
#include <cwctype>

namespace platform::wnd {
namespace {

bool Usable(const Window& w)
{
    return (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED);
}

// The dialog's controls in order, WS_EX_CONTROLPARENT children opened in place.
void CollectControls(HWND parent, std::vector<HWND>& out, int depth = 0)
{
    const Window* p = Find(parent);
    if (!p || depth > 64)
        return;
    for (HWND c : p->children) {
        const Window* w = Find(c);
        if (!w)
            continue;
        if ((w->exStyle & WS_EX_CONTROLPARENT) && Usable(*w))
            CollectControls(c, out, depth + 1);
        else
            out.push_back(c);
    }
}

std::vector<HWND> Controls(HWND dialog)
{
    std::vector<HWND> controls;
    CollectControls(dialog, controls);
    return controls;
}

bool IsTabStop(HWND h)
{
    const Window* w = Find(h);
    return w && Usable(*w) && (w->style & WS_TABSTOP) && IsWindowVisible(h);
}

LRESULT DlgCode(HWND h, WPARAM vk = 0, const MSG* msg = nullptr)
{
    return SendMessageW(h, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(msg));
}

// The letter after the first single '&' of the text ("&&" is a plain '&'), or 0.
wchar_t Mnemonic(const CString& text)
{
    const int n = text.GetLength();
    for (int i = 0; i + 1 < n; ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return text[i + 1];
    }
    return 0;
}

// A button or static with the mnemonic `ch`, searched in order after the focus control and
// wrapping: a button is clicked, a static (or group box) hands the focus to the tab stop after
// it. Answers whether one was found.
bool RunMnemonic(HWND dialog, HWND from, WPARAM ch)
{
    if (ch == 0 || ch > 0xFFFF)
        return false;
    const std::vector<HWND> controls = Controls(dialog);
    if (controls.empty())
        return false;
    const auto at = std::find(controls.begin(), controls.end(), from);
    const size_t start = at == controls.end() ? 0 : static_cast<size_t>(at - controls.begin()) + 1;
    for (size_t i = 0; i < controls.size(); ++i) {
        const HWND h = controls[(start + i) % controls.size()];
        const Window* w = Find(h);
        if (!w || !Usable(*w))
            continue;
        const LRESULT code = DlgCode(h);
        if (!(code & (DLGC_BUTTON | DLGC_STATIC)) || !(w = Find(h)))
            continue;
        // A label that shows its ampersands has no mnemonic.
        if (w->kind == ClassKind::Static && (w->style & SS_NOPREFIX))
            continue;
        const wchar_t m = Mnemonic(w->text);
        if (!m || std::towupper(m) != std::towupper(static_cast<wint_t>(ch)))
            continue;
        if ((code & DLGC_STATIC) || (w->style & BS_TYPEMASK) == BS_GROUPBOX) {
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(h), TRUE);
            SendMessageW(dialog, WM_NEXTDLGCTL, 0, 0);
        } else {
            SetFocus(h);
            SendMessageW(h, BM_CLICK, 0, 0);
        }
        return true;
    }
    return false;
}

// Enter: the focused push button, else the dialog's default id (DM_GETDEFID, else the
// BS_DEFPUSHBUTTON among its controls), else IDOK.
void PressDefault(HWND dialog)
{
    const HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus) &&
        (DlgCode(focus) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        SendMessageW(dialog, WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(focus)), BN_CLICKED),
                     reinterpret_cast<LPARAM>(focus));
        return;
    }
    const LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : 0;
    if (!id) {
        for (HWND h : Controls(dialog)) {
            const Window* w = Find(h);
            if (w && Usable(*w) && (DlgCode(h) & DLGC_DEFPUSHBUTTON)) {
                id = GetDlgCtrlID(h);
                break;
            }
        }
    }
    if (!id) {
        SendMessageW(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return;
    }
    const HWND button = GetDlgItem(dialog, id);
    if (!button || IsWindowEnabled(button))
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
}

bool HandleKeyDown(HWND dialog, MSG* msg)
{
    const UINT vk = static_cast<UINT>(msg->wParam);
    const LRESULT code = DlgCode(msg->hwnd, vk, msg);
    if (code & DLGC_WANTALLKEYS)
        return false;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    // Moving about with the keyboard shows where the focus is, in the whole top-level.
    auto showFocus = [dialog] {
        SendMessageW(dialog, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    };
    switch (vk) {
    case VK_TAB:
        if (code & DLGC_WANTTAB)
            return false;
        showFocus();
        SendMessageW(dialog, WM_NEXTDLGCTL, shift ? 1 : 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (code & DLGC_WANTARROWS)
            return false;
        showFocus();
        const HWND from = msg->hwnd == dialog ? nullptr : msg->hwnd;
        const HWND next = GetNextDlgGroupItem(dialog, from, vk == VK_LEFT || vk == VK_UP);
        if (!next)
            return true;
        if (DlgCode(next, vk, msg) == (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
            SetFocus(next);
            const Window* w = Find(next);
            if (w && (w->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
                SendMessageW(next, BM_GETCHECK, 0, 0) != BST_CHECKED)
                SendMessageW(next, BM_CLICK, 1, 0);
        } else {
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        }
        return true;
    }
    case VK_ESCAPE:
        SendMessageW(dialog, WM_COMMAND, IDCANCEL,
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return true;
    case VK_RETURN:
        PressDefault(dialog);
        return true;
    default:
        return false;
    }
}

} // namespace

void NextDialogControl(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    HWND next = nullptr;
    if (lParam) {
        next = reinterpret_cast<HWND>(wParam);
    } else {
        HWND focus = GetFocus();
        if (focus && !IsChild(dialog, focus))
            focus = nullptr;
        next = GetNextDlgTabItem(dialog, focus, wParam != 0);
    }
    if (next && IsChild(dialog, next))
        SetFocus(next);
}

} // namespace platform::wnd

using namespace platform::wnd;

// Starting after `control` (before it, going back), the next tab stop, wrapping; `control`
// itself when it is the only one, null when the dialog has none. A null `control` starts
// from the ends.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    if (!Find(dialog))
        return nullptr;
    const std::vector<HWND> controls = Controls(dialog);
    const auto n = static_cast<std::ptrdiff_t>(controls.size());
    if (n == 0)
        return nullptr;
    const auto at = std::find(controls.begin(), controls.end(), control);
    std::ptrdiff_t start = at == controls.end() ? (previous ? n : -1) : at - controls.begin();
    for (std::ptrdiff_t i = 1; i <= n; ++i) {
        const std::ptrdiff_t k = ((start + (previous ? -i : i)) % n + n) % n;
        if (IsTabStop(controls[static_cast<size_t>(k)]))
            return controls[static_cast<size_t>(k)];
    }
    return at == controls.end() ? nullptr : control;
}

// The next (previous) visible, enabled control of `control`'s group, wrapping within the
// group; `control` when it is alone in it.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
    if (!Find(dialog))
        return nullptr;
    const std::vector<HWND> controls = Controls(dialog);
    const auto at = std::find(controls.begin(), controls.end(), control);
    if (at == controls.end())
        return GetNextDlgTabItem(dialog, nullptr, previous);
    auto groupStarts = [](HWND h) {
        const Window* w = Find(h);
        return w && (w->style & WS_GROUP);
    };
    // The group: back to its WS_GROUP control, on to the one before the next.
    auto first = at;
    while (first != controls.begin() && !groupStarts(*first))
        --first;
    auto last = at + 1;
    while (last != controls.end() && !groupStarts(*last))
        ++last;
    const std::vector<HWND> group(first, last);
    const auto n = static_cast<std::ptrdiff_t>(group.size());
    const std::ptrdiff_t start = std::find(group.begin(), group.end(), control) - group.begin();
    for (std::ptrdiff_t i = 1; i < n; ++i) {
        const std::ptrdiff_t k = ((start + (previous ? -i : i)) % n + n) % n;
        const Window* w = Find(group[static_cast<size_t>(k)]);
        if (w && Usable(*w))
            return group[static_cast<size_t>(k)];
    }
    return control;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg)
{
    if (!msg || !Find(dialog) || !Find(msg->hwnd))
        return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))
        return FALSE;
    switch (msg->message) {
    case WM_KEYDOWN:
        if (HandleKeyDown(dialog, msg))
            return TRUE;
        break;
    case WM_CHAR: {
        const LRESULT code = DlgCode(msg->hwnd, msg->wParam, msg);
        if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS))
            break;
        if (msg->wParam == L'\t' && (code & DLGC_WANTTAB))
            break;
        if (RunMnemonic(dialog, msg->hwnd, msg->wParam))
            return TRUE;
        break;
    }
    case WM_SYSCHAR:
        if (RunMnemonic(dialog, msg->hwnd, msg->wParam))
            return TRUE;
        break;
    default:
        break;
    }
    TranslateMessage(msg);
    DispatchToProc(*msg);
    return TRUE;
}
