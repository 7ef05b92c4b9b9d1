// A skinned button whose frame has a fixed left area, a stretchable middle and a fixed right
// cap, and whose height may differ from the skin's: the frame is cut into those three pieces
// and scaled with the control's height, and the text and its font scale with it. States,
// frame slicing, checking, hover tracking, style classification, alignment and the check-box
// glyph are the skinned button's own (this class is one).
#pragma once

#include "controls/ButtonExLogic.h"
#include "controls/CtrlButton.h"

class CCtrlButtonEx : public CCtrlButton
{
    DECLARE_DYNAMIC(CCtrlButtonEx)
public:
    CCtrlButtonEx();
    ~CCtrlButtonEx() override;

    // Widths in skin pixels of a frame's left area and right cap (28 and 5 until set).
    void SetButtonDiv(int left, int right);
    // Kept for the host; the painting does not depend on it.
    void SetButtonType(int type);
    // Also remembers the font at skin scale, from which every paint scales it.
    void SetInitFont(CString family, long size, Gdiplus::FontStyle style);

protected:
    void ComposeFace(HDC dc, CSize size, btn::State state, CString text,
                     btn::TextAlign align) override;

public:
    int m_nDivLeft;
    int m_nDivRight;
    CString m_strFontName;
    long m_nFontSize;
    Gdiplus::FontStyle m_nFontStyle;

private:
    void PaintDivided(Gdiplus::Graphics& g, int state, int w, int h, const CString& text,
                      btn::TextAlign align) const;
    void PaintCheckBox(Gdiplus::Graphics& g, int state, int w, int h, const CString& text,
                       btn::TextAlign align) const;
};
