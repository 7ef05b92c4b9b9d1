// Windows that log what reaches them or paint one colour, for the window-layer tests.
#pragma once

#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <algorithm>
#include <string>
#include <vector>

class CProbeWnd : public CWnd
{
public:
    std::vector<std::string> log;
    int createAnswer = 0;
    bool handleWheel = false;
    bool rewriteDblClk = false;
    int wheelDelta = 0;
    CPoint lastPoint;

    void Note(const std::string& s) { log.push_back(s); }
    int Count(const std::string& s) const
    {
        return static_cast<int>(std::count(log.begin(), log.end(), s));
    }

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->hwnd == m_hWnd && msg->message == WM_LBUTTONDBLCLK && rewriteDblClk)
            msg->message = WM_LBUTTONDOWN;
        return CWnd::PreTranslateMessage(msg);
    }

protected:
    void PreSubclassWindow() override { Note("presubclass"); }
    int OnCreate(LPCREATESTRUCT)
    {
        Note("create");
        return createAnswer;
    }
    void OnSize(UINT, int cx, int cy)
    {
        Note("size " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    void OnDestroy() { Note("destroy"); }
    void Mouse(const char* what, CPoint p)
    {
        lastPoint = p;
        Note(what);
    }
    void OnLButtonDown(UINT, CPoint p) { Mouse("down", p); }
    void OnLButtonUp(UINT, CPoint p) { Mouse("up", p); }
    void OnLButtonDblClk(UINT, CPoint p) { Mouse("dblclk", p); }
    void OnMouseMove(UINT, CPoint p) { Mouse("move", p); }
    BOOL OnMouseWheel(UINT, short delta, CPoint)
    {
        if (!handleWheel)
            return CWnd::OnMouseWheel(0, delta, CPoint());
        wheelDelta += delta;
        Note("wheel");
        return TRUE;
    }
    void OnMouseHover(UINT, CPoint) { Note("hover"); }
    void OnMouseLeave() { Note("leave"); }
    void OnTimer(UINT_PTR id) { Note("timer " + std::to_string(id)); }
    void OnCaptureChanged(CWnd*) { Note("capturechanged"); }
    void OnButtonClicked(UINT id) { Note("clicked " + std::to_string(id)); }
    void OnButtonDoubleClicked(UINT id) { Note("doubleclicked " + std::to_string(id)); }
    void OnStaticClicked(UINT id) { Note("static clicked " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};

// Paints its whole client (and far beyond, to prove the clip) in one colour, with a black
// 1-pixel line from (0, 3) to (20, 3) when asked; counts paints, erases and presses, and keeps
// what WM_DPICHANGED brought.
class CFillWnd : public CWnd
{
public:
    explicit CFillWnd(Gdiplus::ARGB c, bool withLine = false) : color(c), line(withLine) {}
    Gdiplus::ARGB color;
    bool line;
    int paints = 0, erases = 0, downs = 0, dpiChanges = 0;
    CPoint down{-1, -1};
    WPARAM dpi = 0;
    CRect suggested;

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        ++paints;
        Gdiplus::Graphics g(dc.m_hDC);
        Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
        g.FillRectangle(&brush, -1000, -1000, 3000, 3000);
        Gdiplus::Pen pen(Gdiplus::Color(0xFF000000u), 1);
        if (line)
            g.DrawLine(&pen, 0, 3, 20, 3);
    }
    BOOL OnEraseBkgnd(CDC*)
    {
        ++erases;
        return TRUE;
    }
    void OnLButtonDown(UINT, CPoint p)
    {
        down = p;
        ++downs;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DPICHANGED) {
            ++dpiChanges;
            dpi = wParam;
            suggested = *reinterpret_cast<const RECT*>(lParam);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};
