// An owner-drawn static showing a skin picture stretched over the control, optionally over a
// part of a background picture, with the window text on top. Sends nothing to its parent.
// Pictures stay the caller's; the control owns its painter.
#pragma once

#include "controls/wndsys.h"
#include "paint/CtrlGDIpString.h"

class CCtrlImage : public CStatic
{
    DECLARE_DYNAMIC(CCtrlImage)
public:
    CCtrlImage();
    ~CCtrlImage() override;

    // The foreground picture; the control repaints.
    void SetImage(Gdiplus::Image* image);
    // The part `rect` of `image` is stretched over the control, under the foreground.
    void SetImageBk(Gdiplus::Image* image, CRect rect);
    // Without a font no text is drawn.
    void SetInitFont(CString family, long size, Gdiplus::FontStyle style);
    void SetTextAlign(Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical);
    void SetTextColor(Gdiplus::Color color);
    // Left inset of the text box.
    void SetTextOffset(int offset);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

protected:
    // Assistive technology: an image, named by its text.
    LRESULT OnAccDescribe(WPARAM, LPARAM);
    void PreSubclassWindow() override;
    DECLARE_MESSAGE_MAP()

public:
    Gdiplus::Image* m_pImage;
    Gdiplus::Image* m_pImageBk;
    CRect m_rcBk;
    CCtrlGDIpString* m_pGDIpString;
    Gdiplus::StringAlignment m_nHAlign;
    Gdiplus::StringAlignment m_nVAlign;
    Gdiplus::Color m_clrText;
    int m_nTextOffset;

private:
    void GetTextInfo(CString& text, Gdiplus::StringAlignment* horizontal,
                     Gdiplus::StringAlignment* vertical);
    void Paint(Gdiplus::Graphics& g, int w, int h, const CString& text,
               Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical) const;
};
