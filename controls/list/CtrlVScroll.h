// A skinned vertical scroll bar for a list showing a page of its items at a time: a track, a
// thumb (stretched or tiled) and two arrow buttons that are skinned buttons of their own. The
// user's moves reach the parent as UM_VSCROLL_POS; the parent's own SetCurPos calls are silent
// unless asked otherwise. Images stay the caller's.
#pragma once

#include "controls/CtrlButton.h"
#include "controls/FocusLook.h"
#include "controls/list/VScrollLogic.h"
#include "controls/wndsys.h"

// Sent to the parent when the user moves the bar: wParam the new first visible item, lParam 0.
constexpr UINT UM_VSCROLL_POS = WM_USER + 101;
constexpr UINT IDC_SCROLL_TOP = 1280;
constexpr UINT IDC_SCROLL_BOTTOM = 1281;

class CCtrlVScroll : public CWnd, public CCtrlFocusLook
{
    DECLARE_DYNAMIC(CCtrlVScroll)
public:
    static const int m_minThumb = vscroll::kMinThumb;

    CCtrlVScroll();
    ~CCtrlVScroll() override;

    // Index 0 and 1 are the arrow strips (4 frames each) and make the arrow buttons, so the
    // bar's window must exist first; 2 is the track, 3 the thumb. Other indices are ignored.
    void SetImage(Gdiplus::Image* image, int index);
    // Kept for the host; the bar's own painting does not read it.
    void SetImageBG(Gdiplus::Image* image, int x, int y);
    void SetItemCount(int count);
    void SetMaxRowCount(int rows);
    // Not clamped. Repaints when the position changes, and tells the parent only if `notify`.
    void SetCurPos(int position, int notify);
    // 1 tiles the thumb image downward; anything else stretches it.
    void SetScrollType(int type);

    int GetCurPos() const { return m_nCurPos; }
    // Where the thumb stands for the present state and size, the rectangle that painting fills
    // and that presses hit; empty while no thumb is shown.
    CRect GetThumbRect() const;

protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnSize(UINT type, int cx, int cy);
    // With keyboard access on: Up and Down as the arrows, Page Up and Page Down as clicks in
    // the track, Home and End to the ends; each press and each of its repeats is one such
    // action, told as the mouse's is. Keys wait while the mouse is captured.
    void OnKeyDown(UINT vk, UINT repeat, UINT flags);
    UINT OnGetDlgCode();
    void OnBnClickedScrollTop();
    void OnBnClickedScrollBottom();
    // Assistive technology: a vertical scroll bar whose value is the first visible item; a
    // value set there scrolls as a drag of the thumb does.
    LRESULT OnAccDescribe(WPARAM, LPARAM);
    LRESULT OnAccSetValue(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

public:
    Gdiplus::Image* m_pImage[4];
    Gdiplus::Image* m_pImageBg;
    int m_nItemCount;
    int m_nCurPos;
    int m_nThumbHeight;
    int m_bDragging;
    int m_nBgX;
    int m_nBgY;
    int m_nScrollType;
    int m_nMaxRowCount;
    // The thumb as the last paint that drew one left it, for hosts that read it; the bar's
    // own presses and painting ask GetThumbRect instead.
    CRect m_rcThumb;
    CCtrlButton m_btnTop;
    CCtrlButton m_btnBottom;

private:
    void EnableButtons(int enable);
    void UpdateThumbHeight();
    vscroll::Arrows ArrowsNow() const;
    CSize ClientSize() const;
    // Stores a position the user made, repaints and tells the parent.
    void MoveTo(int position);
    vscroll::Track TrackNow() const;
    bool HasThumbNow() const;
    // Composes the bar; reads fields, changes none.
    void Paint(Gdiplus::Graphics& g, int w) const;
};
