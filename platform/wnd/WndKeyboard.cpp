// The keyboard: the focus window, the state of every key, and the key and character messages
// a backend's key events become.
//
// Which message a key makes (the Alt key's own release depends on whether another key came
// between its press and its release):
//
//   key                  Alt down, Ctrl up          otherwise
//   Alt pressed          WM_SYSKEYDOWN              WM_KEYDOWN (Ctrl held)
//   Alt released         WM_SYSKEYUP if no key      WM_KEYUP
//                        came between, else WM_KEYUP
//   F10                  WM_SYSKEYDOWN / UP         WM_SYSKEYDOWN / UP
//   any other key        WM_SYSKEYDOWN / UP         WM_KEYDOWN / UP
//
// lParam: repeat count 1 in the low word, the scan code in bits 16..23, bit 24 the extended
// flag, bit 29 set on system key messages while Alt is down, bit 30 the key's previous state
// (1 for a repeat and for every release), bit 31 the transition (1 on release).
//
// The characters: text from the backend's text input becomes WM_CHAR, one per UTF-16 unit
// (a character beyond the basic plane as its two surrogates, high first). The keys whose
// characters no text input reports are given theirs here, as the system's message translation
// does after delivering the key: Backspace 8, Tab 9, Enter 13 (Ctrl+Enter 10), Esc 27,
// Ctrl+letter 1..26; a letter or digit pressed with Alt (without Ctrl) becomes WM_SYSCHAR, and
// text arriving meanwhile is dropped, since that key already made its character.
#include "platform/wnd/WndInternal.h"

#include <array>

namespace platform::wnd {
namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;
// Alt went down and no other key has come since: its release is a system key.
constexpr BYTE kAltAlone = 0x02;

struct KeyboardState
{
    HWND focus = nullptr;
    std::array<BYTE, 256> keys{};  // as of the key messages delivered so far
    std::array<BYTE, 256> async{}; // as the backend last reported them
    bool translated = false;       // TranslateMessage saw the key press being delivered
    bool swallowText = false;      // the key pressed last was taken before translation
};

KeyboardState& K()
{
    static KeyboardState keyboard;
    return keyboard;
}

bool ValidKey(UINT vk)
{
    return vk > 0 && vk < 255;
}

// The generic keys that stand for either of a left/right pair.
UINT GenericKey(UINT vk)
{
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return vk;
    }
}

void SetKey(std::array<BYTE, 256>& keys, UINT vk, bool down)
{
    BYTE& k = keys[vk];
    if (down) {
        if (!(k & kDown))
            k ^= kToggled;
        k |= kDown;
    } else {
        k &= static_cast<BYTE>(~kDown);
    }
}

bool IsDown(UINT vk)
{
    return (K().keys[vk] & kDown) != 0;
}

// The message a key event makes, by the table above; updates the Alt-alone mark.
UINT KeyMessage(UINT vk, bool down)
{
    BYTE& alt = K().keys[VK_MENU];
    const bool ctrl = IsDown(VK_CONTROL);
    if (vk == VK_MENU) {
        if (down) {
            if (ctrl)
                return WM_KEYDOWN;
            alt |= kAltAlone;
            return WM_SYSKEYDOWN;
        }
        const bool alone = (alt & (kDown | kAltAlone)) == (kDown | kAltAlone);
        alt &= static_cast<BYTE>(~kAltAlone);
        return alone ? WM_SYSKEYUP : WM_KEYUP;
    }
    if (((alt & kDown) && !ctrl) || vk == VK_F10) {
        alt &= static_cast<BYTE>(~kAltAlone);
        return down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    }
    return down ? WM_KEYDOWN : WM_KEYUP;
}

// Where keys go: the focus window, else the top-level the backend reported them for (as a
// top-level that is activated takes the focus itself when none of its windows has it).
HWND KeyTarget(HWND top)
{
    const HWND focus = K().focus;
    return Find(focus) ? focus : top;
}

// The character the system's translation gives a key that text input does not report, or 0.
WPARAM TranslatedChar(UINT message, UINT vk)
{
    const bool ctrl = IsDown(VK_CONTROL);
    if (message == WM_SYSKEYDOWN) {
        if (vk >= 'A' && vk <= 'Z')
            return IsDown(VK_SHIFT) ? vk : vk - 'A' + 'a';
        return vk >= '0' && vk <= '9' ? vk : 0;
    }
    if (message != WM_KEYDOWN)
        return 0;
    switch (vk) {
    case VK_BACK:
        return 8;
    case VK_TAB:
        return ctrl ? 0 : 9;
    case VK_RETURN:
        return ctrl ? 10 : 13;
    case VK_ESCAPE:
        return 27;
    default:
        break;
    }
    if (ctrl && !IsDown(VK_MENU) && vk >= 'A' && vk <= 'Z')
        return vk - 'A' + 1;
    return 0;
}

void DeliverKey(const QueueItem& item)
{
    KeyboardState& k = K();
    const UINT vk = item.vk;
    const bool down = item.kind == Input::KeyDown;
    const bool wasDown = IsDown(vk);
    if (item.lost)
        k.keys[VK_MENU] &= static_cast<BYTE>(~kAltAlone);
    const UINT message = item.lost ? WM_KEYUP : KeyMessage(vk, down);
    // Alt's own press already counts as Alt held.
    const bool altContext = (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) &&
                            (IsDown(VK_MENU) || (vk == VK_MENU && down));
    SetKey(k.keys, vk, down);
    LPARAM lParam = 1 | static_cast<LPARAM>((item.scan & 0xFF) << 16);
    if (item.extended)
        lParam |= KF_EXTENDED_BIT;
    if (altContext)
        lParam |= KF_ALTDOWN_BIT;
    if (wasDown)
        lParam |= KF_REPEAT_BIT;
    if (!down)
        lParam |= KF_UP_BIT;
    const HWND target = KeyTarget(item.msg.hwnd);
    const MSG msg{target, message, vk, lParam, Now(), CursorPos()};
    // A key taken by a PreTranslateMessage (an accelerator, the dialog manager) is not
    // translated, and neither is the text its press made.
    k.translated = false;
    const bool dispatched = Deliver(msg);
    if (dispatched)
        TranslateMessage(&msg);
    // Text input reports a press's text before its release. A PreTranslateMessage that passed
    // the press on itself (the dialog manager does) translated it too.
    k.swallowText = down && !k.translated;
}

void DeliverText(const QueueItem& item)
{
    // A letter typed with Alt made its WM_SYSCHAR from the key.
    if ((IsDown(VK_MENU) && !IsDown(VK_CONTROL)) || K().swallowText)
        return;
    for (const char16_t unit : item.text) {
        const HWND target = KeyTarget(item.msg.hwnd);
        if (!Find(target))
            return;
        Deliver(MSG{target, WM_CHAR, unit, 1, Now(), CursorPos()});
    }
}

// Puts `hwnd` in the focus: WM_KILLFOCUS to the old one, then WM_SETFOCUS to the new one
// (unless the kill handler moved the focus on meanwhile).
HWND MoveFocus(HWND hwnd)
{
    KeyboardState& k = K();
    const HWND old = k.focus;
    if (old == hwnd)
        return old;
    k.focus = hwnd;
    if (old && Find(old))
        SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && k.focus == hwnd)
        SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    if (k.focus == hwnd)
        TellAccessibility(hwnd, AccEvent::Focus);
    return old;
}

bool FocusInside(HWND hwnd)
{
    const HWND focus = K().focus;
    return focus && (focus == hwnd || IsChild(hwnd, focus));
}

} // namespace

void ProcessKey(const QueueItem& item)
{
    if (!Find(item.msg.hwnd))
        return;
    if (item.kind == Input::Text)
        DeliverText(item);
    else if (ValidKey(item.vk))
        DeliverKey(item);
}

void FocusLeavesHidden(HWND hwnd)
{
    if (!FocusInside(hwnd))
        return;
    const Window* w = Find(hwnd);
    MoveFocus(w && w->parent ? w->parent : nullptr);
}

void FocusLeavesDisabled(HWND hwnd)
{
    if (FocusInside(hwnd))
        MoveFocus(nullptr);
}

void ForgetFocus(HWND hwnd)
{
    if (K().focus == hwnd)
        K().focus = nullptr;
}

void ResetKeyboard()
{
    K() = KeyboardState{};
}

void QueueKey(HWND topLevel, UINT vk, bool down, UINT scan, bool extended)
{
    if (!ValidKey(vk))
        return;
    vk = GenericKey(vk);
    SetKey(K().async, vk, down);
    QueueItem item;
    item.input = true;
    item.kind = down ? Input::KeyDown : Input::KeyUp;
    item.msg.hwnd = topLevel;
    item.vk = vk;
    item.scan = scan;
    item.extended = extended;
    PostItem(std::move(item));
}

void QueueKeysReleased(HWND topLevel)
{
    // Queued behind what the backend reported before, so a press still waiting is released
    // after it is delivered.
    for (UINT vk = 1; vk < 255; ++vk) {
        if (!(K().async[vk] & kDown))
            continue;
        SetKey(K().async, vk, false);
        QueueItem item;
        item.input = true;
        item.kind = Input::KeyUp;
        item.msg.hwnd = topLevel;
        item.vk = vk;
        item.lost = true;
        PostItem(std::move(item));
    }
}

void QueueText(HWND topLevel, std::string_view utf8)
{
    QueueItem item;
    item.input = true;
    item.kind = Input::Text;
    item.msg.hwnd = topLevel;
    const CString text = CString::FromUtf8(utf8);
    for (int i = 0; i < text.GetLength(); ++i) {
        const auto c = static_cast<char32_t>(text[i]);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            item.text.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            item.text.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else if (c < 0x10000) {
            item.text.push_back(static_cast<char16_t>(c));
        }
    }
    if (!item.text.empty())
        PostItem(std::move(item));
}

} // namespace platform::wnd

using namespace platform::wnd;

// --- focus ---

// A window inside a disabled window (or disabled itself) cannot take the focus; the call
// answers null and changes nothing.
HWND SetFocus(HWND hwnd)
{
    if (hwnd) {
        if (!Find(hwnd))
            return nullptr;
        for (HWND h = hwnd; h;) {
            const Window* w = Find(h);
            if (!w)
                break;
            if (w->style & WS_DISABLED)
                return nullptr;
            h = w->parent;
        }
    }
    return MoveFocus(hwnd);
}

HWND GetFocus()
{
    return K().focus;
}

BOOL IsChild(HWND parent, HWND hwnd)
{
    const Window* w = Find(hwnd);
    while (w && w->parent) {
        if (w->parent == parent)
            return TRUE;
        w = Find(w->parent);
    }
    return FALSE;
}

// The characters of keys that text input does not report (see the top of this file).
BOOL TranslateMessage(const MSG* msg)
{
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) || !Find(msg->hwnd) ||
        msg->wParam == 0 || msg->wParam >= 255)
        return FALSE;
    K().translated = true;
    const WPARAM ch = TranslatedChar(msg->message, static_cast<UINT>(msg->wParam));
    if (!ch)
        return FALSE;
    PostStamped(msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, ch,
                msg->lParam & ~(KF_UP_BIT));
    return TRUE;
}

// --- key state ---

namespace {

SHORT StateOf(const std::array<BYTE, 256>& keys, int vk, bool toggled)
{
    if (vk <= 0 || vk >= 255)
        return 0;
    const UINT key = GenericKey(static_cast<UINT>(vk));
    const BYTE k = keys[key];
    return static_cast<SHORT>(((k & kDown) ? 0x8000 : 0) | (toggled && (k & kToggled) ? 1 : 0));
}

} // namespace

SHORT GetKeyState(int vk)
{
    return StateOf(K().keys, vk, true);
}

SHORT GetAsyncKeyState(int vk)
{
    return StateOf(K().async, vk, false);
}
