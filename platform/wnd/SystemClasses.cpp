// The built-in window procedures: the generic default procedure, and the system button and
// static controls as far as the skinned controls lean on them.
#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/WndInternal.h"

#include <algorithm>
#include <cstring>

namespace platform::wnd {
namespace {

Gdiplus::Color FromColorRef(COLORREF c)
{
    return Gdiplus::Color(GetRValue(c), GetGValue(c), GetBValue(c));
}

void Notify(HWND hwnd, UINT code)
{
    const Window* w = Find(hwnd);
    if (!w || !w->parent)
        return;
    SendMessageW(w->parent, WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(w->id), static_cast<WORD>(code)),
                 reinterpret_cast<LPARAM>(hwnd));
}

void DrawPlainText(HDC dc, const CString& text, const RECT& box, COLORREF color,
                   Gdiplus::StringAlignment align, bool vcenter)
{
    if (text.IsEmpty())
        return;
    Gdiplus::Graphics g(dc);
    Gdiplus::Font font(Gdiplus::FontFamily::GenericSansSerif(), 12.0f, Gdiplus::FontStyleRegular,
                       Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetAlignment(align);
    format.SetLineAlignment(vcenter ? Gdiplus::StringAlignmentCenter
                                    : Gdiplus::StringAlignmentNear);
    Gdiplus::SolidBrush brush(FromColorRef(color));
    const Gdiplus::RectF layout(static_cast<float>(box.left), static_cast<float>(box.top),
                                static_cast<float>(box.right - box.left),
                                static_cast<float>(box.bottom - box.top));
    g.DrawString(text.GetString(), text.GetLength(), &font, layout, &format, &brush);
}

void Fill(HDC dc, const RECT& r, COLORREF color)
{
    Gdiplus::Graphics g(dc);
    Gdiplus::SolidBrush brush(FromColorRef(color));
    g.FillRectangle(&brush, static_cast<INT>(r.left), static_cast<INT>(r.top),
                    static_cast<INT>(r.right - r.left), static_cast<INT>(r.bottom - r.top));
}

void SetPushed(HWND hwnd, bool pushed)
{
    Window* w = Find(hwnd);
    if (!w || w->pushed == pushed)
        return;
    w->pushed = pushed;
    InvalidateRect(hwnd, nullptr, FALSE);
}

bool InsideClient(HWND hwnd, LPARAM lParam)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return CRect(rc).PtInRect(CPoint(lParam)) != FALSE;
}

// The font of a control that was given none: a 12-pixel sans-serif.
HFONT DefaultControlFont()
{
    static const HFONT font = [] {
        LOGFONTW lf{};
        lf.lfHeight = -12;
        lf.lfCharSet = DEFAULT_CHARSET;
        return CreateFontIndirectW(&lf);
    }();
    return font;
}

// Selects the window's WM_SETFONT font (or the default one) for one scope.
struct ControlFont : platform::ScopedSelect
{
    ControlFont(HDC dc, HFONT font) : ScopedSelect(dc, font, DefaultControlFont()) {}
};

void Outline(HDC dc, COLORREF colour, int l, int t, int r, int b)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    {
        platform::ScopedSelect usePen(dc, pen), hollow(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, l, t, r, b);
    }
    DeleteObject(pen);
}

// An owner-drawn control is drawn whole by its parent, in `state`, into `rc` of `dc`.
void SendDrawItem(HWND hwnd, const Window& w, HDC dc, UINT controlType, UINT state, const RECT& rc)
{
    if (!w.parent)
        return;
    DRAWITEMSTRUCT dis{};
    dis.CtlType = controlType;
    dis.CtlID = static_cast<UINT>(w.id);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = rc;
    SendMessageW(w.parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

// One WM_PAINT of a system control: `paint(dc, window, client rectangle)` runs between
// BeginPaint and EndPaint, unless the window went while the paint began.
template <typename PaintFn> LRESULT PaintControl(HWND hwnd, PaintFn&& paint)
{
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    if (Window* w = dc ? Find(hwnd) : nullptr)
        paint(dc, *w, ClientRect(*w));
    EndPaint(hwnd, &ps);
    return 0;
}

// A BS_GROUPBOX button: an etched frame below the middle of its text, the text on the frame's
// top edge; the inside is left to what lies below.
void PaintGroupButton(HDC dc, const Window& w, const RECT& rc)
{
    ControlFont font(dc, w.font);
    SIZE text{};
    GetTextExtentPoint32W(dc, w.text, w.text.GetLength(), &text);
    const int top = text.cy / 2;
    Outline(dc, GetSysColor(COLOR_BTNHIGHLIGHT), rc.left + 1, top + 1, rc.right, rc.bottom);
    Outline(dc, GetSysColor(COLOR_BTNSHADOW), rc.left, top, rc.right - 1, rc.bottom - 1);
    if (w.text.IsEmpty())
        return;
    ::SetTextColor(dc, GetSysColor((w.style & WS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    ::SetBkColor(dc, GetSysColor(COLOR_3DFACE));
    SetBkMode(dc, OPAQUE);
    RECT box{rc.left + 8, rc.top, rc.left + 8 + text.cx, rc.top + text.cy};
    ::DrawTextW(dc, w.text, w.text.GetLength(), &box, DT_SINGLELINE);
}

// A text static: the WM_CTLCOLORSTATIC answer fills the background (a null brush, or no
// answer, fills nothing) and sets the colours, starting from the system's text colour and a
// transparent background; the text is drawn in the WM_SETFONT font.
void PaintStaticText(HWND hwnd, HDC dc, const RECT& rc, DWORD type, bool disabled)
{
    Window* w = Find(hwnd);
    ::SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc, GetSysColor(COLOR_3DFACE));
    SetBkMode(dc, TRANSPARENT);
    CDC::FromHandle(dc); // the colour handler's wrapper of this context
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(w->parent, WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(hwnd)));
    if (!(w = Find(hwnd)))
        return;
    if (brush)
        FillRect(dc, &rc, brush);
    if (disabled)
        ::SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    ControlFont font(dc, w->font);
    UINT format = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
    if (w->style & SS_CENTERIMAGE)
        format |= DT_SINGLELINE | DT_VCENTER;
    else if (type <= SS_RIGHT)
        format |= DT_WORDBREAK;
    if (type == 0xC) // SS_LEFTNOWORDWRAP
        format |= DT_EXPANDTABS;
    if (w->style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    RECT box = rc;
    ::DrawTextW(dc, w->text, w->text.GetLength(), &box, format);
}

// Whether a focused window shows its focus: only once the keyboard was used in its top-level.
bool ShowsFocus(HWND hwnd, const Window& w)
{
    return GetFocus() == hwnd && !(w.uiState & UISF_HIDEFOCUS);
}

void PaintPlainButton(HWND hwnd, HDC dc, const Window& w, const RECT& rc)
{
    Fill(dc, rc, GetSysColor(w.pushed ? COLOR_BTNSHADOW : COLOR_3DFACE));
    const COLORREF text =
        (w.style & WS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_BTNTEXT);
    DrawPlainText(dc, w.text, rc, text, Gdiplus::StringAlignmentCenter, true);
    if (ShowsFocus(hwnd, w)) {
        // Inside the edge, as the classic push button draws it.
        RECT focus{rc.left + 3, rc.top + 3, rc.right - 3, rc.bottom - 3};
        DrawFocusRect(dc, &focus);
    }
}

// What a button keeps from the dialog manager and what it is, by type.
LRESULT ButtonDlgCode(DWORD type)
{
    switch (type) {
    case BS_PUSHBUTTON:
    case BS_USERBUTTON:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
        return DLGC_STATIC;
    default:
        return DLGC_BUTTON;
    }
}

// A completed click (mouse released inside, Space released while still pressed, BM_CLICK):
// the automatic types change their check, then the parent hears BN_CLICKED.
void ClickButton(HWND hwnd, Window& w, DWORD type)
{
    if (type == BS_AUTOCHECKBOX)
        w.check = w.check ? 0 : 1;
    else if (type == BS_AUTO3STATE)
        w.check = (w.check + 1) % 3;
    else if (type == BS_AUTORADIOBUTTON)
        w.check = 1;
    if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON)
        InvalidateRect(hwnd, nullptr, FALSE);
    Notify(hwnd, BN_CLICKED);
}

} // namespace

LRESULT GenericProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    switch (message) {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        // Top-level windows erase with the dialog colour so that a window without a paint
        // handler shows no garbage; children have no class brush.
        if (!w->parent) {
            Fill(reinterpret_cast<HDC>(wParam), ClientRect(*w), GetSysColor(COLOR_3DFACE));
            return 1;
        }
        return 0;
    case WM_MOUSEWHEEL:
        // Unhandled wheel turns go up the parent chain.
        return w->parent ? SendMessageW(w->parent, message, wParam, lParam) : 0;
    case WM_SETCURSOR:
        if (w->parent && (w->style & WS_CHILD) &&
            SendMessageW(w->parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
        // Nobody chose one: the class cursor, which is the arrow for every class here.
        if (LOWORD(lParam) == HTCLIENT)
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return FALSE;
    case WM_SETTEXT:
        w->text = lParam ? CString(reinterpret_cast<LPCWSTR>(lParam)) : CString();
        if (!w->parent && w->native)
            CurrentBackend().SetTitle(hwnd, w->text);
        TellAccessibility(hwnd, AccEvent::Changed);
        return TRUE;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<LPWSTR>(lParam);
        const int size = static_cast<int>(wParam);
        if (!buffer || size <= 0)
            return 0;
        const int n = std::min(size - 1, w->text.GetLength());
        std::wmemcpy(buffer, w->text.GetString(), static_cast<size_t>(n));
        buffer[n] = L'\0';
        return n;
    }
    case WM_GETTEXTLENGTH:
        return w->text.GetLength();
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        if (lParam)
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->font);
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_NEXTDLGCTL:
        NextDialogControl(hwnd, wParam, lParam);
        return 0;
    // The UI state (focus rectangles and mnemonic underlines shown or hidden) belongs to the
    // top-level: a change asked anywhere goes up to it and, when it changes anything, comes
    // down to every window as WM_UPDATEUISTATE.
    case WM_CHANGEUISTATE: {
        if ((w->style & WS_CHILD) && w->parent)
            return SendMessageW(w->parent, message, wParam, lParam);
        const WORD flags = HIWORD(wParam) & (UISF_HIDEFOCUS | UISF_HIDEACCEL);
        const WORD action = LOWORD(wParam);
        const WORD next = action == UIS_SET     ? (w->uiState | flags)
                          : action == UIS_CLEAR ? (w->uiState & ~flags)
                                                : w->uiState;
        if (flags && next != w->uiState)
            SendMessageW(hwnd, WM_UPDATEUISTATE, wParam, lParam);
        return 0;
    }
    case WM_UPDATEUISTATE: {
        const WORD flags = HIWORD(wParam) & (UISF_HIDEFOCUS | UISF_HIDEACCEL);
        const WORD action = LOWORD(wParam);
        if (action == UIS_SET)
            w->uiState |= flags;
        else if (action == UIS_CLEAR)
            w->uiState &= static_cast<WORD>(~flags);
        const std::vector<HWND> children = w->children;
        for (HWND c : children)
            SendMessageW(c, message, wParam, lParam);
        return 0;
    }
    case WM_QUERYUISTATE:
        return w->uiState;
    case WM_ACCDESCRIBE:
        if (lParam)
            DescribeWindow(hwnd, *w, *reinterpret_cast<AccDescription*>(lParam));
        return TRUE;
    // Alt shows what was hidden until the keyboard was used.
    case WM_SYSKEYDOWN:
        if (wParam == VK_MENU)
            SendMessageW(hwnd, WM_CHANGEUISTATE,
                         MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
        return 0;
    default:
        return 0;
    }
}

// Type = style & BS_TYPEMASK, read afresh for every message, so that a style change made by
// subclassing takes effect at once.
LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    const DWORD type = w->style & BS_TYPEMASK;
    switch (message) {
    case WM_NCHITTEST:
        // A group box never takes the clicks meant for the controls inside it.
        return type == BS_GROUPBOX ? HTTRANSPARENT : HTCLIENT;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return PaintControl(hwnd, [&](HDC dc, Window& painted, const RECT& rc) {
            if (type == BS_GROUPBOX) {
                PaintGroupButton(dc, painted, rc);
                return;
            }
            if (type != BS_OWNERDRAW) {
                PaintPlainButton(hwnd, dc, painted, rc);
                return;
            }
            const UINT state = (painted.pushed ? ODS_SELECTED : 0) |
                               ((painted.style & WS_DISABLED) ? ODS_DISABLED : 0) |
                               (GetFocus() == hwnd ? ODS_FOCUS : 0) |
                               ((painted.uiState & UISF_HIDEFOCUS) ? ODS_NOFOCUSRECT : 0) |
                               ((painted.uiState & UISF_HIDEACCEL) ? ODS_NOACCEL : 0);
            SendDrawItem(hwnd, painted, dc, ODT_BUTTON, state, rc);
        });
    case WM_LBUTTONDBLCLK:
        // Owner-drawn and radio buttons report the double click instead of a second press.
        if (type == BS_OWNERDRAW || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
            type == BS_USERBUTTON) {
            Notify(hwnd, BN_DOUBLECLICKED);
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        w->tracking = true;
        SetCapture(hwnd);
        SetFocus(hwnd);
        SetPushed(hwnd, true);
        return 0;
    case WM_MOUSEMOVE:
        if (w->tracking && GetCapture() == hwnd)
            SetPushed(hwnd, InsideClient(hwnd, lParam));
        return 0;
    case WM_LBUTTONUP: {
        if (!w->tracking)
            return 0;
        w->tracking = false;
        const bool inside = InsideClient(hwnd, lParam);
        SetPushed(hwnd, false);
        ReleaseCapture();
        if (inside && (w = Find(hwnd)))
            ClickButton(hwnd, *w, type);
        return 0;
    }
    // Space presses the button as the left mouse button does (capture included, so that the
    // mouse can still take the press away); its release clicks when the button still looks
    // pressed. Losing the focus meanwhile releases the capture, which ends the press unclicked.
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && type != BS_GROUPBOX) {
            w->tracking = true;
            SetPushed(hwnd, true);
            SetCapture(hwnd);
        }
        return 0;
    case WM_KEYUP: {
        if (wParam != VK_SPACE || !w->tracking)
            return 0;
        w->tracking = false;
        const bool pushed = w->pushed;
        SetPushed(hwnd, false);
        ReleaseCapture();
        if (pushed && (w = Find(hwnd)))
            ClickButton(hwnd, *w, type);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (w->tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
            w->tracking = false;
            SetPushed(hwnd, false);
        }
        return 0;
    case WM_GETDLGCODE:
        return ButtonDlgCode(type);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (message == WM_KILLFOCUS && w->tracking && GetCapture() == hwnd)
            ReleaseCapture();
        if ((w = Find(hwnd)) && (w->style & BS_NOTIFY))
            Notify(hwnd, message == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_UPDATEUISTATE:
        GenericProc(hwnd, message, wParam, lParam);
        if (GetFocus() == hwnd)
            InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETTEXT:
        GenericProc(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    case BM_GETCHECK:
        return w->check;
    case BM_SETCHECK:
        w->check = static_cast<int>(wParam & 3);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case BM_GETSTATE:
        return w->check | (w->pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(hwnd, wParam != 0);
        return 0;
    case BM_SETSTYLE:
        w->style = (w->style & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFFu);
        if (lParam)
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case BM_CLICK:
        ClickButton(hwnd, *w, type);
        return 0;
    case WM_ACCDESCRIBE:
        if (auto* d = reinterpret_cast<AccDescription*>(lParam)) {
            DescribeWindow(hwnd, *w, *d);
            DescribeButton(hwnd, *w, *d);
        }
        return TRUE;
    // The one action of a button is a click, as the mouse gives it (BM_CLICK through the
    // window, so that a subclass hears it).
    case WM_ACCDOACTION:
        if (wParam != 0 || type == BS_GROUPBOX)
            return FALSE;
        SendMessageW(hwnd, BM_CLICK, 0, 0);
        return TRUE;
    default:
        return GenericProc(hwnd, message, wParam, lParam);
    }
}

// Type = style & SS_TYPEMASK.
LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    const DWORD type = w->style & SS_TYPEMASK;
    switch (message) {
    case WM_NCHITTEST:
        // Without SS_NOTIFY a static lets the mouse through to what lies below.
        return (w->style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_LBUTTONDOWN:
        if (w->style & SS_NOTIFY)
            Notify(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (w->style & SS_NOTIFY)
            Notify(hwnd, STN_DBLCLK);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_PAINT:
        return PaintControl(hwnd, [&](HDC dc, Window& painted, const RECT& rc) {
            if (!painted.parent)
                return;
            const bool disabled = (painted.style & WS_DISABLED) != 0;
            if (type == SS_OWNERDRAW)
                SendDrawItem(hwnd, painted, dc, ODT_STATIC, disabled ? ODS_DISABLED : 0, rc);
            else if (type <= SS_RIGHT || type == 0xB || type == 0xC)
                // The parent (or the static itself, by reflection) chooses the colours.
                PaintStaticText(hwnd, dc, rc, type, disabled);
        });
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETTEXT:
        GenericProc(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case WM_ACCDESCRIBE:
        if (auto* d = reinterpret_cast<AccDescription*>(lParam)) {
            DescribeWindow(hwnd, *w, *d);
            DescribeStatic(*w, *d);
        }
        return TRUE;
    // A static that reports clicks is clicked as the mouse clicks it.
    case WM_ACCDOACTION:
        if (wParam != 0 || !(w->style & SS_NOTIFY))
            return FALSE;
        Notify(hwnd, STN_CLICKED);
        return TRUE;
    default:
        return GenericProc(hwnd, message, wParam, lParam);
    }
}

} // namespace platform::wnd

DWORD GetSysColor(int index)
{
    // The default colours of the classic window manager scheme of recent versions.
    static constexpr struct
    {
        int index;
        COLORREF color;
    } colors[] = {
        {COLOR_WINDOW, RGB(255, 255, 255)},    {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
        {COLOR_HIGHLIGHT, RGB(0, 120, 215)},   {COLOR_3DFACE, RGB(240, 240, 240)},
        {COLOR_BTNSHADOW, RGB(160, 160, 160)}, {COLOR_GRAYTEXT, RGB(109, 109, 109)},
        {COLOR_BTNTEXT, RGB(0, 0, 0)},         {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
    };
    for (const auto& c : colors)
        if (c.index == index)
            return c.color;
    return 0;
}
