// The hyperlink's decisions, free of windows: the colour for its state, what each underline
// mode does on hover and leave, sizing to the text, the fallback command line for HTML files
// and the texts of the error report.
#pragma once

#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

namespace hlink {

// Underline modes: always, never, or while the mouse is over the link.
enum Underline { UnderlineNever = 0, UnderlineAlways = 1, UnderlineHover = -1 };

// Hover wins over visited, visited over the plain link colour.
COLORREF ChooseColour(bool hover, bool visited, COLORREF link, COLORREF visitedColour,
                      COLORREF hoverColour);

// | mode   | font set by SetUnderline | on hover start | on leave         |
// |--------|--------------------------|----------------|------------------|
// | 1      | underlined               | unchanged      | unchanged        |
// | 0      | plain                    | unchanged      | plain            |
// | -1     | plain                    | underlined     | plain            |
inline bool UnderlinedBySetting(int mode)
{
    return mode == UnderlineAlways;
}
inline bool UnderlineOnHover(int mode)
{
    return mode == UnderlineHover;
}
inline bool PlainOnLeave(int mode)
{
    return mode != UnderlineAlways;
}

// The window rectangle sized to the text: `frame` is the window size minus the client size.
// SS_CENTERIMAGE keeps the vertical centre and SS_CENTER the horizontal one (shrinking both
// sides by half the difference, rounded toward zero); SS_RIGHT keeps the right edge; otherwise
// the top and left edges stay.
CRect SizedToText(const CRect& window, CSize frame, CSize text, DWORD style);

// The registered command line for HTML files cut before its placeholder: the quoted "%1"
// first, else a bare %1; a line without either stays whole. Then a blank and the URL.
CString FallbackCommand(const CString& commandLine, const CString& url);

// The message shown when a link cannot be opened: the prefix and the text for `code`.
CString ErrorMessage(int code);

} // namespace hlink
