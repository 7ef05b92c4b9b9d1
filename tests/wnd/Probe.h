// A window that logs what reaches it, for the window-layer tests.
#pragma once

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
    DWORD lastMessagePos = 0;

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
    void OnTimer(UINT_PTR id)
    {
        lastMessagePos = GetMessagePos();
        Note("timer " + std::to_string(id));
    }
    void OnCaptureChanged(CWnd*) { Note("capturechanged"); }
    void OnButtonClicked(UINT id) { Note("clicked " + std::to_string(id)); }
    void OnButtonDoubleClicked(UINT id) { Note("doubleclicked " + std::to_string(id)); }
    void OnStaticClicked(UINT id) { Note("static clicked " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};
