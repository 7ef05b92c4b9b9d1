// A short number shown as skin pictures of its digits: the host sets the window text to the
// digit characters and gives one picture per digit; the first SetDigit characters are drawn in
// equal cells side by side over an optional background. No formatting of its own: leading
// zeros, the count and the order are the host's text. Pictures stay the caller's.
#pragma once

#include "controls/StaticLogic.h"
#include "controls/wndsys.h"

class CCtrlNumber : public CStatic
{
    DECLARE_DYNAMIC(CCtrlNumber)
public:
    CCtrlNumber();
    ~CCtrlNumber() override;

    // The picture of `digit` 0 to 9; another index is ignored. No repaint.
    void SetImage(Gdiplus::Image* image, int digit);
    // Both origins negative stretch the whole picture; otherwise the control-sized part from
    // (x, y) is copied 1:1. No repaint.
    void SetBkImage(Gdiplus::Image* image, int x, int y);
    // How many characters are drawn. No repaint.
    void SetDigit(int count);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

protected:
    void PreSubclassWindow() override;
    DECLARE_MESSAGE_MAP()

public:
    Gdiplus::Image* m_pImage[stc::kDigitPictures];
    Gdiplus::Image* m_pImageBk;
    int m_nBgX;
    int m_nBgY;
    int m_nDigit;

private:
    void Paint(Gdiplus::Graphics& g, int w, int h, const CString& text) const;
};
