// A static text of a host's dialog turned into a hyperlink: drawn in a link colour (another
// once visited, a third under the mouse), underlined always, never or only under the mouse,
// sized to its text, with the URL in a tooltip and a hand cursor over it. A click opens the URL
// with the desktop's default handler, falls back to the registered command for HTML files,
// and when that fails too, beeps and says why in a message box.
//
// The text itself is painted by the system static control; the link only chooses the colour,
// the font and the background, and draws the focus over it.
//
// With skinkit::EnableKeyboardAccess, Enter and Space on the focused link open it as a click
// does; the dialog manager leaves it Enter rather than pressing the default button.
#pragma once

#include "controls/FocusLook.h"
#include "controls/HyperLinkLogic.h"
#include "controls/wndsys.h"
#include "platform/gdiplus/GdiObject.h"

class CHyperLink : public CStatic, public CCtrlFocusLook
{
    DECLARE_DYNAMIC(CHyperLink)
public:
    CHyperLink();
    ~CHyperLink() override;

    void SetURL(CString url);
    CString GetURL() const { return m_strURL; }
    // A hover colour of 0xFFFFFFFF takes the system highlight colour of the moment.
    void SetColours(COLORREF link, COLORREF visited, COLORREF hover = 0xFFFFFFFF);
    COLORREF GetLinkColour() const { return m_crLink; }
    COLORREF GetVisitedColour() const { return m_crVisited; }
    COLORREF GetHoverColour() const { return m_crHover; }
    void SetVisited(int visited = TRUE);
    int GetVisited() const { return m_bVisited; }
    // Not owned: the caller destroys it. Null loads the default hand.
    void SetLinkCursor(HCURSOR cursor);
    HCURSOR GetLinkCursor() const { return m_hLinkCursor; }
    // 1: always underlined; 0: never; -1: while the mouse is over the link.
    void SetUnderline(int mode = hlink::UnderlineHover);
    int GetUnderline() const { return m_nUnderlineMode; }
    void SetAutoSize(int autoSize = TRUE);
    int GetAutoSize() const { return m_bAutoSize; }

    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // Assistive technology: a link with its URL, whose action "jump" follows it as a click
    // does.
    LRESULT OnAccDescribe(WPARAM, LPARAM);
    void PreSubclassWindow() override;
    void PositionWindow();
    void SetDefaultCursor();
    LONG GetRegKey(HKEY key, LPCWSTR subKey, CString& value);
    void ReportError(int error);
    // Above 32 for success, else the cause (a ShellExecute or WinExec result).
    HINSTANCE GotoURL(LPCWSTR url, int showCommand);

    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnClicked();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    LRESULT OnGetDlgCode(WPARAM key, LPARAM msg);

    DECLARE_MESSAGE_MAP()

public:
    COLORREF m_crLink;
    COLORREF m_crVisited;
    COLORREF m_crHover;
    BOOL m_bHover;
    BOOL m_bVisited;
    int m_nUnderlineMode;
    BOOL m_bAutoSize;
    CString m_strURL;
    CFont m_fontUnderline;
    CFont m_fontNormal;
    HCURSOR m_hLinkCursor;
    CToolTipCtrl m_toolTip;
    UINT m_nHoverTimerID;
};
