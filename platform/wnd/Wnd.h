// The framework's window classes over our window manager: CWnd with message maps, the
// button and static classes, and the device-context wrappers handed to paint and colour
// handlers.
//
// Dispatch follows the framework: WindowProc looks the message up in the class's message map
// (chained to the base classes' maps); a handler that wants the system's behaviour calls
// Default(), and a message without an entry goes to DefWindowProc, which is the procedure of
// the window's class (BUTTON, STATIC or the generic one). A parent's WM_COMMAND, WM_DRAWITEM
// and WM_CTLCOLOR* are offered to the child that sent them first (reflection); only when the
// child's reflected handler does not take it does the parent's own map see it.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/wnd/MsgMap.h"
#include "platform/wnd/WinUser.h"

// --- device contexts ---

// The framework's device-context wrapper. The text and background colours and the background
// mode that colour handlers set are the device context's own (GDI's SetTextColor and friends),
// which the window layer's own painting then draws with.
class CDC : public CObject
{
public:
    CDC() = default;
    explicit CDC(HDC dc) { Attach(dc); }
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // The wrapper of a device context the window layer handed out (the same object every
    // time during one paint), or null for a null handle.
    static CDC* FromHandle(HDC dc);

    BOOL Attach(HDC dc);
    HDC Detach();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);

    HDC m_hDC = nullptr;

protected:
    COLORREF m_crText = 0x000000;
    COLORREF m_crBk = 0xFFFFFF;
};

// BeginPaint on construction, EndPaint on destruction.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

// GetDC on construction, ReleaseDC on destruction.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// --- windows ---

class CWnd : public CObject
{
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    // Destroys the window if this object is still its handler.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object attached to a window; a window created without one (a dialog's control
    // made with CreateWindowExW) gets a plain CWnd that the window layer owns.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // --- creation ---
    // A null class name gives the generic class (double clicks, no background brush).
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, LPVOID createContext = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                          const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
    // Makes this object the handler of an existing window; PreSubclassWindow runs first.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();

    // --- dispatch ---
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled, passed on to DefWindowProc.
    LRESULT Default();
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Offers a parent's message to the child that sent it; TRUE when the child took it.
    static BOOL ReflectLastMsg(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* result = nullptr);
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // --- state ---
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int id) const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    void SetWindowText(LPCWSTR text);
    void GetWindowText(CString& text) const;
    CString GetWindowText() const;
    int GetWindowTextLength() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    void SetFont(HFONT font, BOOL redraw = TRUE);
    HFONT GetFontHandle() const;

    // --- geometry ---
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);

    // --- painting ---
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

    // --- input ---
    CWnd* SetCapture();
    static CWnd* GetCapture();
    CWnd* SetFocus();
    static CWnd* GetFocus();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    HWND m_hWnd = nullptr;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();

    // Runs before the object becomes the window's handler, on subclassing and on creation.
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}

    // Handlers: each passes the message to Default().
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnEnable(BOOL enable);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    UINT OnGetDlgCode();
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnMouseHover(UINT flags, CPoint point);
    void OnMouseLeave();
    void OnCaptureChanged(CWnd* wnd);
    void OnTimer(UINT_PTR id);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    // Reflects to the child; Default() when it does not take the message. (WM_CTLCOLOR* is
    // offered to the child before any handler of the parent runs.)
    void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);

    // Looks up reflected entries of this window's map.
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    // The first entry for `key` along the map chain: for WM_COMMAND, the one for the
    // notification `code` and control `id`; for a reflected WM_COMMAND, the one for `code`.
    const AFX_MSGMAP_ENTRY* FindEntry(UINT key, UINT code, UINT id) const;
    // Calls the entry for `key` with the message; TRUE when one took it.
    BOOL CallEntry(UINT key, UINT code, UINT id, UINT message, WPARAM wParam, LPARAM lParam,
                   LRESULT* result);
    friend struct CWndAccess;
};

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    using CWnd::Create;

    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    void SetState(BOOL highlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);

    // Owner-drawn buttons paint here; the parent's WM_DRAWITEM is reflected to it.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    using CWnd::Create;

    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
