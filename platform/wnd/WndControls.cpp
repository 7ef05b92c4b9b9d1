// CButton and CStatic: the system button and static classes for objects; owner-drawn ones
// paint in DrawItem, reflected from the parent's WM_DRAWITEM.
#include "platform/wnd/Wnd.h"

IMPLEMENT_DYNAMIC(CButton, CWnd);
IMPLEMENT_DYNAMIC(CStatic, CWnd);

namespace {

// The parent's WM_DRAWITEM goes to DrawItem; other reflected messages to the message map.
template <class Control>
BOOL DrawOrReflect(Control* self, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM)
        return self->CWnd::OnChildNotify(message, wParam, lParam, result);
    self->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    return TRUE;
}

} // namespace

// --- CButton ---

BOOL CButton::Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(L"BUTTON", caption, style, rect, parent, id);
}

int CButton::GetCheck() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0));
}
void CButton::SetCheck(int check)
{
    ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}
UINT CButton::GetState() const
{
    return static_cast<UINT>(::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0));
}
void CButton::SetState(BOOL highlight)
{
    ::SendMessageW(m_hWnd, BM_SETSTATE, highlight, 0);
}
UINT CButton::GetButtonStyle() const
{
    return static_cast<UINT>(GetStyle() & 0xFFFF);
}

void CButton::SetButtonStyle(UINT style, BOOL redraw)
{
    ::SendMessageW(m_hWnd, BM_SETSTYLE, style, redraw);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return DrawOrReflect(this, message, wParam, lParam, result);
}

// --- CStatic ---

BOOL CStatic::Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(L"STATIC", text, style, rect, parent, id);
}

void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return DrawOrReflect(this, message, wParam, lParam, result);
}
