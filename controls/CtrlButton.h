// An owner-drawn push or check button painted entirely from skin images: an optional
// background, a strip of frames (one per visual state) and a text drawn with the painter.
// The host subclasses a dialog's button or creates one, hands over images, colours and a
// font, and receives the ordinary BN_CLICKED notifications. Images stay the caller's.
#pragma once

#include "controls/ButtonLogic.h"
#include "controls/FocusLook.h"
#include "controls/wndsys.h"
#include "paint/CtrlGDIpString.h"

class CCtrlButton : public CButton, public CCtrlFocusLook
{
    DECLARE_DYNAMIC(CCtrlButton)
public:
    CCtrlButton();
    ~CCtrlButton() override;

    // A horizontal strip of `count` frames, sliced for the six states.
    void SetButtonImage(Gdiplus::Image* image, int count);
    // A whole image for a group of states (see btn::StatesForImage); null changes nothing.
    void SetButtonImage(Gdiplus::Image* image, int state, int imageCount);
    void SetButtonImageBg(Gdiplus::Image* image, int x, int y, int stretch);
    void SetButtonImageBg(Gdiplus::Image* image, CRect rect);
    // Type 2 nine-slices the frames with `margin` on every side; other types stretch them.
    void SetButtonType(int type, int margin);
    // State 0 to 5: that state; 6: all six; anything else: nothing.
    void SetTextColor(Gdiplus::Color color, int state);
    void SetInitFont(CString family, long size, Gdiplus::FontStyle style);
    void SetTextOffset(int offset);
    void SetVerticalTextOffset(int offset);
    // Check-type buttons only; the value is kept as given, and the button repaints.
    void SetCheck(int check);
    int GetCheck();

    // The state the button shows now, from its pushed and enabled state, its check and the
    // mouse: what the next paint draws, answered without waiting for it.
    btn::State GetVisualState() const;

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;

    int OnCreate(LPCREATESTRUCT createStruct);
    void OnMouseMove(UINT flags, CPoint point);
    void OnMouseHover(UINT flags, CPoint point);
    void OnMouseLeave();
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    BOOL OnBnClicked();
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    // Assistive technology: the system button's answer, with the check and toggle kinds this
    // button keeps itself (its style is owner-drawn).
    LRESULT OnAccDescribe(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

public:
    Gdiplus::Image* m_pImage;
    Gdiplus::Image* m_pStateImage[btn::kStateCount];
    Gdiplus::Image* m_pImageBg;
    Gdiplus::Rect m_rcState[btn::kStateCount];
    int m_nDiv;
    int m_nBgX;
    int m_nBgY;
    Gdiplus::Color m_clrText[btn::kStateCount];
    CRect m_rcBg;
    int m_bPushLike;
    int m_bCheckType;
    int m_bHover;
    // Disabled and down at the last paint; GetVisualState answers the present.
    int m_bDisabled;
    int m_bDown;
    int m_nCheck;
    int m_nTextOffset;
    int m_nVTextOffset;
    int m_nMargin;
    int m_nButtonType;
    int m_bBgStretch;
    CCtrlGDIpString* m_pGDIpString;

protected:
    void GetTextInfo(CString& text, Gdiplus::StringAlignment* horizontal,
                     Gdiplus::StringAlignment* vertical);
    // The state to draw for a paint request's item flags (ODS_SELECTED, ODS_DISABLED).
    btn::State StateFor(UINT itemState) const;
    // Keeps the record of the last paint (m_bDown, m_bDisabled) for hosts that read it; the
    // button itself never reads it back.
    void NotePainted(UINT itemState);
    // Composes the face for `state` onto `dc` (size > 0); DrawItem has taken the state, the
    // text and its alignment. Buttons with another face override this alone.
    virtual void ComposeFace(HDC dc, CSize size, btn::State state, CString text,
                             btn::TextAlign align);

private:
    void Classify(DWORD style);
    // After a focus change: the parent repaints under a face that leaves it the background.
    void RepaintForFocus();
    // Composes the whole button for `state` into `g` (w x h); reads fields, changes none.
    void Paint(Gdiplus::Graphics& g, int state, int w, int h, CString text,
               btn::TextAlign align) const;
};
