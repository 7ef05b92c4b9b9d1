#include "controls/HyperLink.h"

#include "controls/KeyboardAccess.h"
#include "controls/OwnerDraw.h"
#include "platform/host/HostResources.h"
#include "platform/settings/Registry.h"
#include "platform/shell/Shell.h"

IMPLEMENT_DYNAMIC(CHyperLink, CStatic);

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_KEYDOWN()
ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
ON_MESSAGE(WM_ACCDESCRIBE, OnAccDescribe)
END_MESSAGE_MAP()

namespace {

constexpr UINT kToolId = 1;
constexpr UINT kHoverPeriod = 100; // ms
constexpr int kRegistryChars = 260;

} // namespace

CHyperLink::CHyperLink()
    : m_crLink(RGB(0, 0, 238)), m_crVisited(RGB(85, 26, 139)), m_crHover(RGB(255, 0, 0)),
      m_bHover(FALSE), m_bVisited(FALSE), m_nUnderlineMode(hlink::UnderlineHover),
      m_bAutoSize(TRUE), m_hLinkCursor(nullptr), m_nHoverTimerID(100)
{
}

CHyperLink::~CHyperLink()
{
    // The window goes while this object is still a hyperlink; the fonts it shows go after it.
    ownerdraw::DestroyOwnWindow(*this);
}

// --- settings ---

void CHyperLink::SetURL(CString url)
{
    m_strURL = url;
    if (::IsWindow(m_hWnd)) {
        PositionWindow();
        m_toolTip.UpdateTipText(m_strURL, this, kToolId);
    }
}

void CHyperLink::SetColours(COLORREF link, COLORREF visited, COLORREF hover)
{
    m_crLink = link;
    m_crVisited = visited;
    m_crHover = hover == 0xFFFFFFFF ? GetSysColor(COLOR_HIGHLIGHT) : hover;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CHyperLink::SetVisited(int visited)
{
    m_bVisited = visited;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CHyperLink::SetLinkCursor(HCURSOR cursor)
{
    m_hLinkCursor = cursor;
    if (!m_hLinkCursor)
        SetDefaultCursor();
}

void CHyperLink::SetUnderline(int mode)
{
    if (mode != m_nUnderlineMode && ::IsWindow(m_hWnd)) {
        CFont& font = hlink::UnderlinedBySetting(mode) ? m_fontUnderline : m_fontNormal;
        SetFont(static_cast<HFONT>(font.GetSafeHandle()));
        Invalidate();
    }
    m_nUnderlineMode = mode;
}

void CHyperLink::SetAutoSize(int autoSize)
{
    m_bAutoSize = autoSize;
    if (::IsWindow(m_hWnd))
        PositionWindow();
}

BOOL CHyperLink::DestroyWindow()
{
    KillTimer(m_nHoverTimerID);
    return CStatic::DestroyWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* msg)
{
    m_toolTip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

// --- attaching ---

void CHyperLink::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);

    if (m_strURL.IsEmpty())
        m_strURL = GetWindowText();
    if (GetWindowText().IsEmpty())
        SetWindowText(m_strURL);

    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (!font)
        font = GetStockObject(DEFAULT_GUI_FONT);
    if (!font)
        // Stock object 12, which hosts of the original platform ask for under the name
        // SYSTEM_FONT: 12 is ANSI_VAR_FONT there (SYSTEM_FONT is 13), so they get the
        // variable-pitch font, and so does this one.
        font = GetStockObject(ANSI_VAR_FONT);
    LOGFONTW lf{};
    if (font && GetObjectW(font, sizeof lf, &lf)) {
        m_fontNormal.DeleteObject();
        m_fontNormal.CreateFontIndirect(&lf);
        lf.lfUnderline = TRUE;
        m_fontUnderline.DeleteObject();
        m_fontUnderline.CreateFontIndirect(&lf);
    }

    PositionWindow();
    SetDefaultCursor();
    SetUnderline(hlink::UnderlineHover);

    RECT client{};
    GetClientRect(&client);
    m_toolTip.Create(this);
    m_toolTip.AddTool(this, m_strURL, &client, kToolId);

    CStatic::PreSubclassWindow();
}

void CHyperLink::PositionWindow()
{
    if (!::IsWindow(m_hWnd) || !m_bAutoSize)
        return;
    RECT window{}, client{};
    GetWindowRect(&window);
    GetClientRect(&client);
    CRect rect(window);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&rect);

    // Measured in the underlined font, the widest the text is ever shown in.
    const CString text = GetWindowText();
    SIZE extent{};
    HDC dc = CreateCompatibleDC(nullptr);
    {
        platform::ScopedSelect font(dc, m_fontUnderline.GetSafeHandle());
        GetTextExtentPoint32W(dc, text, text.GetLength(), &extent);
    }
    DeleteDC(dc);

    const CSize frame((window.right - window.left) - (client.right - client.left),
                      (window.bottom - window.top) - (client.bottom - client.top));
    const CRect sized = hlink::SizedToText(rect, frame, CSize(extent.cx, extent.cy), GetStyle());
    SetWindowPos(nullptr, sized.left, sized.top, sized.Width(), sized.Height(), SWP_NOZORDER);
}

void CHyperLink::SetDefaultCursor()
{
    if (m_hLinkCursor)
        return;
    // Where the original platform borrows its help program's hand, the desktop has a hand of
    // its own.
    if (HCURSOR hand = LoadCursorW(nullptr, IDC_HAND))
        m_hLinkCursor = CopyIcon(hand);
}

// --- messages ---

HBRUSH CHyperLink::CtlColor(CDC* dc, UINT)
{
    dc->SetTextColor(hlink::ChooseColour(m_bHover, m_bVisited, m_crLink, m_crVisited, m_crHover));
    SetBkMode(dc->GetSafeHdc(), TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!m_hLinkCursor)
        return FALSE;
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CHyperLink::OnMouseMove(UINT, CPoint)
{
    if (!m_bHover) {
        m_bHover = TRUE;
        if (hlink::UnderlineOnHover(m_nUnderlineMode))
            SetFont(static_cast<HFONT>(m_fontUnderline.GetSafeHandle()));
        Invalidate();
        SetTimer(m_nHoverTimerID, kHoverPeriod);
    }
    Default();
}

void CHyperLink::OnTimer(UINT_PTR)
{
    const DWORD pos = GetMessagePos();
    POINT p{static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos))};
    ScreenToClient(&p);
    RECT client{};
    GetClientRect(&client);
    CRect rect(client);
    if (!rect.PtInRect(p)) {
        m_bHover = FALSE;
        KillTimer(m_nHoverTimerID);
        if (hlink::PlainOnLeave(m_nUnderlineMode))
            SetFont(static_cast<HFONT>(m_fontNormal.GetSafeHandle()));
        rect.bottom += 10;
        InvalidateRect(&rect);
    }
    Default();
}

LRESULT CHyperLink::OnAccDescribe(WPARAM, LPARAM lParam)
{
    // The static's answer has the text and, as the link reports clicks, the click action.
    Default();
    if (auto* d = reinterpret_cast<platform::wnd::AccDescription*>(lParam)) {
        d->role = platform::wnd::AccRole::Link;
        d->url = m_strURL;
        d->actions = {"jump"};
    }
    return TRUE;
}

void CHyperLink::OnClicked()
{
    m_bHover = FALSE;
    const auto result = reinterpret_cast<INT_PTR>(GotoURL(m_strURL, SW_SHOW));
    m_bVisited = result > 32;
    if (!m_bVisited) {
        MessageBeep(MB_ICONEXCLAMATION);
        ReportError(static_cast<int>(result));
    } else {
        Invalidate();
    }
}

BOOL CHyperLink::OnEraseBkgnd(CDC* dc)
{
    RECT client{};
    GetClientRect(&client);
    CBrush face(GetSysColor(COLOR_3DFACE));
    FillRect(dc->GetSafeHdc(), &client, face);
    return TRUE;
}

// --- keys and focus ---

void CHyperLink::OnPaint()
{
    // The system static paints the text; the focus goes over it, on the same update.
    Default();
    if (!ownerdraw::ShowsFocus(*this))
        return;
    RECT client{};
    GetClientRect(&client);
    HDC dc = ::GetDC(m_hWnd);
    ownerdraw::PaintFocus(*this, dc, CSize(client.right, client.bottom), m_focusLook);
    ::ReleaseDC(m_hWnd, dc);
}

// The system static does not repaint for the focus; the link shows it.
void CHyperLink::OnSetFocus(CWnd*)
{
    ownerdraw::RepaintForFocus(*this);
    Default();
}

void CHyperLink::OnKillFocus(CWnd*)
{
    ownerdraw::RepaintForFocus(*this);
    Default();
}

void CHyperLink::OnKeyDown(UINT vk, UINT, UINT flags)
{
    // A held key opens the link once, not once per repeat.
    const bool repeat = (flags & (KF_REPEAT_BIT >> 16)) != 0;
    if (!skinkit::KeyboardAccessEnabled() || (vk != VK_RETURN && vk != VK_SPACE)) {
        Default();
        return;
    }
    // The notification a click sends, so that the parent hears the key as it hears the mouse
    // and the link opens through its reflected handler.
    if (!repeat)
        ownerdraw::SendToParent(*this, WM_COMMAND,
                                MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), STN_CLICKED),
                                reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CHyperLink::OnGetDlgCode(WPARAM, LPARAM lParam)
{
    LRESULT code = Default();
    // Enter opens the link instead of pressing the dialog's default button.
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (skinkit::KeyboardAccessEnabled() && msg && msg->message == WM_KEYDOWN &&
        msg->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
    return code;
}

// --- opening ---

LONG CHyperLink::GetRegKey(HKEY key, LPCWSTR subKey, CString& value)
{
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExW(key, subKey, 0, KEY_QUERY_VALUE, &opened);
    if (result != ERROR_SUCCESS)
        return result;
    wchar_t data[kRegistryChars];
    LONG size = static_cast<LONG>(sizeof(char16_t)) * kRegistryChars;
    result = RegQueryValueW(opened, nullptr, data, &size);
    if (result == ERROR_SUCCESS)
        value = data;
    RegCloseKey(opened);
    return result;
}

HINSTANCE CHyperLink::GotoURL(LPCWSTR url, int showCommand)
{
    HINSTANCE result = ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, showCommand);
    if (reinterpret_cast<INT_PTR>(result) > 32)
        return result;

    // The command the desktop registers for HTML files, with the URL in place of the document.
    // (Texts are unbounded here: a type name too long for a fixed key buffer cannot overrun it.)
    CString type, command;
    if (GetRegKey(HKEY_CLASSES_ROOT, L".htm", type) != ERROR_SUCCESS)
        return result;
    if (GetRegKey(HKEY_CLASSES_ROOT, type + L"\\shell\\open\\command", command) != ERROR_SUCCESS)
        return result;
    const std::string line = hlink::FallbackCommand(command, url ? url : L"").ToUtf8();
    return reinterpret_cast<HINSTANCE>(
        static_cast<INT_PTR>(WinExec(line.c_str(), static_cast<UINT>(showCommand))));
}

void CHyperLink::ReportError(int error)
{
    AfxMessageBox(hlink::ErrorMessage(error), MB_ICONEXCLAMATION);
}
