// The common controls' tooltip: a small borderless top-level window that shows a tool's text
// once the mouse has rested over the tool for 500 ms, and hides when the mouse leaves the tool
// or a button is pressed. The tools' windows hand it their mouse messages (RelayEvent); it
// finds out by itself, by polling the cursor, when the mouse has left.
#pragma once

#include "platform/wnd/Wnd.h"

#include <vector>

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override;

    // The tooltip's window, hidden; `parent` owns it (it is not its child).
    BOOL Create(CWnd* parent, DWORD style = 0);
    // A tool: `rect` in `wnd`'s client coordinates (null: its whole client area).
    BOOL AddTool(CWnd* wnd, LPCWSTR text, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void UpdateTipText(LPCWSTR text, CWnd* wnd, UINT_PTR id = 0);
    void SetToolRect(CWnd* wnd, UINT_PTR id, LPCRECT rect);
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }
    // An inactive tooltip shows nothing.
    void Activate(BOOL active);
    // Mouse messages of the tools' windows: moves (re)start the wait, presses hide the tip.
    void RelayEvent(LPMSG msg);

    // Milliseconds the mouse rests before the tip shows.
    static constexpr UINT kInitialDelay = 500;

    // The text of a tool that covers all of `wnd`'s client area, from any tooltip there is;
    // empty for none. What a screen reader names a control without text of its own.
    static CString TipCovering(HWND wnd);

protected:
    void OnTimer(UINT_PTR id);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    // A tooltip is made with its own Create only.
    using CWnd::Create;

    struct Tool
    {
        HWND wnd;
        UINT_PTR id;
        RECT rect; // client coordinates of wnd
        bool wholeClient;
        CString text;
    };
    Tool* Find(HWND wnd, UINT_PTR id);
    // The tool under the cursor, or null.
    Tool* ToolAtCursor();
    void Show(const Tool& tool);
    void Hide();

    std::vector<Tool> m_tools;
    bool m_active = true;
    bool m_shown = false;
    bool m_suppressed = false; // after a press, until the mouse leaves the tool
    HWND m_toolWnd = nullptr;  // the tool shown or waited for
    UINT_PTR m_toolId = 0;
};
