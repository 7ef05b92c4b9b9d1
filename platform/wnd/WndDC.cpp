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

namespace {

constexpr COLORREF kNoColour = 0xFFFFFFFF;
using GetColourFn = COLORREF (*)(HDC);
using SetColourFn = COLORREF (*)(HDC, COLORREF);

// A wrapper without a device context (or over one that has no colour set) answers the colour
// it keeps itself.
COLORREF ColourOf(HDC dc, GetColourFn get, COLORREF kept)
{
    const COLORREF c = dc ? get(dc) : kNoColour;
    return c == kNoColour ? kept : c;
}

COLORREF ReplaceColour(HDC dc, GetColourFn get, SetColourFn set, COLORREF& kept, COLORREF color)
{
    const COLORREF old = ColourOf(dc, get, kept);
    kept = color;
    set(dc, color);
    return old;
}

} // namespace

COLORREF CDC::SetTextColor(COLORREF color)
{
    return ReplaceColour(m_hDC, ::GetTextColor, ::SetTextColor, m_crText, color);
}

COLORREF CDC::GetTextColor() const
{
    return ColourOf(m_hDC, ::GetTextColor, m_crText);
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    return ReplaceColour(m_hDC, ::GetBkColor, ::SetBkColor, m_crBk, color);
}

COLORREF CDC::GetBkColor() const
{
    return ColourOf(m_hDC, ::GetBkColor, m_crBk);
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
