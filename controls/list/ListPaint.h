// Painting the list: header, row places, column separators, texts, pictures, the indicated
// row's icon and the check boxes, in that order, into a surface the caller composes off
// screen. Reads the model and the layout and changes neither, apart from the scaled copies of
// cell pictures that rows keep for painting; only the places that fit are visited, however
// many rows the list holds.
#pragma once

#include "controls/list/ListLayout.h"
#include "controls/list/ListModel.h"
#include "paint/CtrlGDIpString.h"

namespace list {

// Skin image slots.
enum Slot {
    kHeaderBg = 0,
    kRowBg = 1,
    kLineTop = 2,
    kLineBottom = 3,
    kSeparator = 4,
    kCheckOff = 5,
    kCheckOn = 6,
    kIconPlaying = 7,
    kIconStopped = 8,
    kSelectedBg = 9,
    kScrollTrack = 10,
    kScrollThumb = 11,
    kScrollTop = 12,
    kScrollBottom = 13,
    kCheckMixed = 14,
    kSlotCount = 15
};

// Text colour indices.
enum TextColour {
    kHeaderText = 0,
    kRowText = 1,
    kSelectedText = 2,
    kIndicatedText = 3,
    kIndicatedSelectedText = 4,
    kColourCount = 5
};

// The check-box image for a state: mixed below 0, unchecked at 0, checked above.
Slot CheckSlot(int state);

// The colour index and boldness of row `i`'s texts. A greyed row keeps the boldness and takes
// the system's grey text colour (COLOR_GRAYTEXT) in place of the index's.
struct RowText
{
    TextColour colour;
    bool bold;
};
RowText RowTextFor(int i, int selected, int indicated);

struct PaintInput
{
    const Model& model;
    const Layout& layout;
    Gdiplus::Image* const* images; // kSlotCount slots
    const Gdiplus::Color* colours; // kColourCount colours
    int topIndex;
    int playStatus;
};

// Paints the list into `g`, a surface of the layout's content width and `height`, the client's
// height. The header and the places are stretched across the whole client width, as the layout
// lays them out, and the scroll bar's strip past the surface is cut off by its size, so that a
// skin's backgrounds look the same with and without a bar.
void PaintList(Gdiplus::Graphics& g, const PaintInput& in, int height, CCtrlGDIpString& regular,
               CCtrlGDIpString& bold);

} // namespace list
