// The extended slider: the value arithmetic and the mouse handling of CCtrlSlider, painted
// differently: the thumb and both bars are scaled to the control's height, the bars meet at
// the thumb's centre, and the played bar may be tiled (SetBarType(1)) instead of stretched.
#pragma once

#include "controls/CtrlSlider.h"

class CCtrlSliderEx : public CCtrlSlider
{
    DECLARE_DYNAMIC(CCtrlSliderEx)
public:
    CCtrlSliderEx();
    ~CCtrlSliderEx() override;

    // 1 tiles the played bar at its own width; any other value stretches it.
    void SetBarType(int type);

protected:
    void Paint(Gdiplus::Graphics& g, int w, int h) override;
    DECLARE_MESSAGE_MAP()

public:
    CRect m_rcThumb;
    int m_nBarType;
};
