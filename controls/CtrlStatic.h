// An owner-drawn text label with an optional background picture and an optional icon left of
// the text; the text colour follows the window's enabled state at each paint. The alignment
// comes from the static style it was subclassed from until SetTextAlign gives one. Sends
// nothing to its parent. Pictures stay the caller's; the control owns its painter.
#pragma once

#include "controls/StaticLogic.h"
#include "controls/wndsys.h"
#include "paint/CtrlGDIpString.h"

class CCtrlStatic : public CStatic
{
    DECLARE_DYNAMIC(CCtrlStatic)
public:
    enum ColourIndex { Enabled = 0, DisabledColour = 1 };

    CCtrlStatic();
    ~CCtrlStatic() override;

    // Without a font no text is drawn.
    void SetInitFont(CString family, long size, Gdiplus::FontStyle style);
    // From now on these alignments hold, whatever the style said.
    void SetTextAlign(Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical);
    void SetImageIcon(Gdiplus::Image* image);
    // Both origins negative stretch the whole picture; otherwise with `stretch` the part the
    // picture's size from (x, y) is stretched, without it the control-sized part is copied 1:1.
    void SetBkImage(Gdiplus::Image* image, int x, int y, int stretch);
    // Index 0 the enabled colour, 1 the disabled one, negative both; above 1 ignored.
    void SetTextColor(Gdiplus::Color color, int index);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

protected:
    void PreSubclassWindow() override;
    DECLARE_MESSAGE_MAP()

public:
    CCtrlGDIpString* m_pGDIpString;
    Gdiplus::Image* m_pImageIcon;
    Gdiplus::Image* m_pImageBk;
    Gdiplus::Color m_clrText[2];
    int m_nStaticAlign;
    Gdiplus::StringAlignment m_nHAlign;
    Gdiplus::StringAlignment m_nVAlign;
    int m_bAlignSet;
    int m_nBgX;
    int m_nBgY;
    int m_bBgStretch;

private:
    void GetTextInfo(CString& text, Gdiplus::StringAlignment* horizontal,
                     Gdiplus::StringAlignment* vertical);
    void Paint(Gdiplus::Graphics& g, int w, int h, const CString& text, stc::TextPlan plan,
               Gdiplus::Color colour) const;
};
