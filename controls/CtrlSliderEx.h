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
    void Paint(Gdiplus::Graphics& g, int w, int h) const override;
    bool PlaceThumb(CSize size, CRect* thumb) const override;
    void NotePainted(const CRect& thumb) override;
    DECLARE_MESSAGE_MAP()

public:
    // The thumb at its drawn size at the last paint, at (0, 0).
    CRect m_rcThumb;
    int m_nBarType;

private:
    // False when there is no thumb to scale by; `l` is then left alone.
    bool Layout(CSize size, slider::ExLayout* l) const;
};
