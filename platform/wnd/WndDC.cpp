// The device-context wrappers: CDC, and the paint and client DCs that give their handle back.
#include "platform/gdiplus/Gdi.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"

using namespace platform::wnd;

CDC::~CDC()
{
    if (m_hDC)
        UnregisterDCWrapper(m_hDC, this);
}

CDC* CDC::FromHandle(HDC dc)
{
    return DCWrapper(dc);
}

BOOL CDC::Attach(HDC dc)
{
    if (!dc || m_hDC)
        return FALSE;
    m_hDC = dc;
    RegisterDCWrapper(dc, this);
    return TRUE;
}

HDC CDC::Detach()
{
    const HDC dc = m_hDC;
    if (dc)
        UnregisterDCWrapper(dc, this);
    m_hDC = nullptr;
    return dc;
}

// A wrapper without a device context keeps the colours itself.
COLORREF CDC::SetTextColor(COLORREF color)
{
    const COLORREF old = GetTextColor();
    m_crText = color;
    ::SetTextColor(m_hDC, color);
    return old;
}

COLORREF CDC::GetTextColor() const
{
    const COLORREF c = m_hDC ? ::GetTextColor(m_hDC) : 0xFFFFFFFF;
    return c == 0xFFFFFFFF ? m_crText : c;
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    const COLORREF old = GetBkColor();
    m_crBk = color;
    ::SetBkColor(m_hDC, color);
    return old;
}

COLORREF CDC::GetBkColor() const
{
    const COLORREF c = m_hDC ? ::GetBkColor(m_hDC) : 0xFFFFFFFF;
    return c == 0xFFFFFFFF ? m_crBk : c;
}

int CDC::SetBkMode(int mode)
{
    return ::SetBkMode(m_hDC, mode);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr)
{
    // Attach before BeginPaint would be too late for WM_ERASEBKGND to find this wrapper, but
    // the handle only exists afterwards; the erase handler gets a wrapper of its own.
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    const HDC dc = Detach();
    if (dc)
        ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    const HDC dc = Detach();
    if (dc)
        ::ReleaseDC(m_hWnd, dc);
}
