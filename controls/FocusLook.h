// How a skinned control shows that it has the keyboard focus, when the skin gives it a look of
// its own: a picture drawn over the whole control, else a colour drawn as a 1-pixel frame along
// the control's edge. With neither, the control shows the platform's dotted focus rectangle.
// ownerdraw::PaintFocus draws it.
#pragma once

#include "controls/wndsys.h"

namespace ownerdraw {

struct FocusLook
{
    Gdiplus::Image* picture = nullptr; // borrowed from the skin
    // Alpha 0: no colour.
    Gdiplus::Color color = Gdiplus::Color(0, 0, 0, 0);
};

} // namespace ownerdraw

// The focus look's setters, shared by every control that takes the focus. Like the other
// setters they store the value and do not repaint.
class CCtrlFocusLook
{
public:
    // The picture drawn over the focused control, its corners kept and its middle stretched
    // (cut at its centre: a frame picture keeps its line widths); null for none.
    void SetFocusImage(Gdiplus::Image* image) { m_focusLook.picture = image; }
    // The colour of a 1-pixel frame along the focused control's edge, for a skin without a
    // focus picture; a colour with alpha 0 for none.
    void SetFocusColor(Gdiplus::Color color) { m_focusLook.color = color; }
    const ownerdraw::FocusLook& GetFocusLook() const { return m_focusLook; }

protected:
    ownerdraw::FocusLook m_focusLook;
};
