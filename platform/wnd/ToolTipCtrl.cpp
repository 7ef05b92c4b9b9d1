#include "platform/wnd/ToolTipCtrl.h"

#include "platform/gdiplus/Gdi.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd);

BEGIN_MESSAGE_MAP(CToolTipCtrl, CWnd)
ON_WM_TIMER()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kLeaveTimer = 2;
constexpr UINT kLeavePoll = 100; // ms
constexpr int kPadX = 4, kPadY = 2;
constexpr int kBelowCursor = 20;
constexpr COLORREF kInfoBk = RGB(255, 255, 225);
constexpr COLORREF kInfoText = RGB(0, 0, 0);

bool CursorIn(HWND wnd, const RECT& clientRect)
{
    POINT p{};
    if (!::IsWindow(wnd) || !::IsWindowVisible(wnd) || !::GetCursorPos(&p))
        return false;
    ::ScreenToClient(wnd, &p);
    return CRect(clientRect).PtInRect(p) != FALSE;
}

// The tooltips made, for TipCovering.
std::vector<CToolTipCtrl*>& Made()
{
    static std::vector<CToolTipCtrl*> made;
    return made;
}

} // namespace

CString CToolTipCtrl::TipCovering(HWND wnd)
{
    RECT client{};
    if (!::GetClientRect(wnd, &client))
        return CString();
    for (const CToolTipCtrl* tip : Made())
        for (const Tool& t : tip->m_tools)
            if (t.wnd == wnd && !t.text.IsEmpty() &&
                (t.wholeClient || (t.rect.left <= client.left && t.rect.top <= client.top &&
                                   t.rect.right >= client.right && t.rect.bottom >= client.bottom)))
                return t.text;
    return CString();
}

CToolTipCtrl::~CToolTipCtrl()
{
    std::erase(Made(), this);
    if (m_hWnd && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    if (std::find(Made().begin(), Made().end(), this) == Made().end())
        Made().push_back(this);
    return CreateEx(0, L"tooltips_class32", L"", WS_POPUP | style, CRect(0, 0, 0, 0), parent, 0);
}

CToolTipCtrl::Tool* CToolTipCtrl::Find(HWND wnd, UINT_PTR id)
{
    for (Tool& t : m_tools)
        if (t.wnd == wnd && t.id == id)
            return &t;
    return nullptr;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCWSTR text, LPCRECT rect, UINT_PTR id)
{
    if (!wnd || !::IsWindow(wnd->m_hWnd))
        return FALSE;
    Tool tool{wnd->m_hWnd, id, rect ? *rect : RECT{}, rect == nullptr, CString(text)};
    if (Tool* existing = Find(tool.wnd, id))
        *existing = tool;
    else
        m_tools.push_back(tool);
    return TRUE;
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id)
{
    if (!wnd)
        return;
    if (m_toolWnd == wnd->m_hWnd && m_toolId == id)
        Hide();
    std::erase_if(m_tools, [&](const Tool& t) { return t.wnd == wnd->m_hWnd && t.id == id; });
}

void CToolTipCtrl::UpdateTipText(LPCWSTR text, CWnd* wnd, UINT_PTR id)
{
    Tool* tool = wnd ? Find(wnd->m_hWnd, id) : nullptr;
    if (!tool)
        return;
    tool->text = text;
    if (m_shown && m_toolWnd == tool->wnd && m_toolId == id)
        Show(*tool);
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR id, LPCRECT rect)
{
    if (Tool* tool = wnd ? Find(wnd->m_hWnd, id) : nullptr) {
        tool->wholeClient = rect == nullptr;
        tool->rect = rect ? *rect : RECT{};
    }
}

void CToolTipCtrl::Activate(BOOL active)
{
    m_active = active != FALSE;
    if (!m_active)
        Hide();
}

CToolTipCtrl::Tool* CToolTipCtrl::ToolAtCursor()
{
    for (Tool& t : m_tools) {
        RECT r = t.rect;
        if (t.wholeClient)
            ::GetClientRect(t.wnd, &r);
        if (CursorIn(t.wnd, r))
            return &t;
    }
    return nullptr;
}

void CToolTipCtrl::RelayEvent(LPMSG msg)
{
    if (!msg || !::IsWindow(m_hWnd) || !m_active)
        return;
    switch (msg->message) {
    case WM_MOUSEMOVE: {
        Tool* tool = ToolAtCursor();
        if (!tool || tool->wnd != msg->hwnd) {
            if (!tool)
                m_suppressed = false;
            return;
        }
        if (m_shown && m_toolWnd == tool->wnd && m_toolId == tool->id)
            return;
        if (m_shown)
            Hide();
        if (m_suppressed)
            return;
        // Each move over the tool starts the wait again: the tip shows once the mouse rests.
        m_toolWnd = tool->wnd;
        m_toolId = tool->id;
        SetTimer(kShowTimer, kInitialDelay);
        SetTimer(kLeaveTimer, kLeavePoll);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (ToolAtCursor()) {
            Hide();
            m_suppressed = true;
            SetTimer(kLeaveTimer, kLeavePoll);
        }
        break;
    default:
        break;
    }
}

void CToolTipCtrl::OnTimer(UINT_PTR id)
{
    Tool* under = ToolAtCursor();
    const bool same = under && under->wnd == m_toolWnd && under->id == m_toolId;
    if (id == kShowTimer) {
        KillTimer(kShowTimer);
        if (same && !m_suppressed && m_active)
            Show(*under);
        return;
    }
    if (id == kLeaveTimer && !same) {
        Hide();
        m_suppressed = false;
        KillTimer(kLeaveTimer);
    }
}

void CToolTipCtrl::Show(const Tool& tool)
{
    SetWindowText(tool.text);
    HDC dc = CreateCompatibleDC(nullptr);
    RECT text{0, 0, 0, 0};
    {
        platform::ScopedSelect font(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(dc, tool.text, tool.text.GetLength(), &text, DT_CALCRECT | DT_NOPREFIX);
    }
    DeleteDC(dc);
    POINT at{};
    ::GetCursorPos(&at);
    const int w = (text.right - text.left) + 2 * kPadX + 2;
    const int h = (text.bottom - text.top) + 2 * kPadY + 2;
    SetWindowPos(nullptr, at.x, at.y + kBelowCursor, w, h, SWP_NOZORDER | SWP_SHOWWINDOW);
    m_shown = true;
    m_toolWnd = tool.wnd;
    m_toolId = tool.id;
    Invalidate();
}

void CToolTipCtrl::Hide()
{
    KillTimer(kShowTimer);
    if (m_shown && ::IsWindow(m_hWnd))
        ShowWindow(SW_HIDE);
    m_shown = false;
}

BOOL CToolTipCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CToolTipCtrl::OnPaint()
{
    CPaintDC paint(this);
    const HDC dc = paint.GetSafeHdc();
    RECT client{};
    GetClientRect(&client);
    HBRUSH bk = CreateSolidBrush(kInfoBk);
    FillRect(dc, &client, bk);
    DeleteObject(bk);
    HPEN pen = CreatePen(PS_SOLID, 1, kInfoText);
    {
        platform::ScopedSelect hollow(dc, GetStockObject(NULL_BRUSH)), usePen(dc, pen);
        Rectangle(dc, client.left, client.top, client.right, client.bottom);
    }
    DeleteObject(pen);
    const CString text = GetWindowText();
    platform::ScopedSelect font(dc, GetStockObject(DEFAULT_GUI_FONT));
    ::SetTextColor(dc, kInfoText);
    SetBkMode(dc, TRANSPARENT);
    RECT box{client.left + 1 + kPadX, client.top + 1 + kPadY, client.right - 1, client.bottom - 1};
    DrawTextW(dc, text, text.GetLength(), &box, DT_NOPREFIX);
}
