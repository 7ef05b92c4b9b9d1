#include "controls/HyperLinkLogic.h"

#include "platform/wnd/WinUser.h"

namespace hlink {

COLORREF ChooseColour(bool hover, bool visited, COLORREF link, COLORREF visitedColour,
                      COLORREF hoverColour)
{
    return hover ? hoverColour : (visited ? visitedColour : link);
}

CRect SizedToText(const CRect& window, CSize frame, CSize text, DWORD style)
{
    CRect r = window;
    const int width = text.cx + frame.cx, height = text.cy + frame.cy;
    if (style & SS_CENTERIMAGE) {
        const int dy = (r.Height() - height) / 2;
        r.top += dy;
        r.bottom -= dy;
    } else {
        r.bottom = r.top + height;
    }
    if (style & SS_CENTER) {
        const int dx = (r.Width() - width) / 2;
        r.left += dx;
        r.right -= dx;
    } else if (style & SS_RIGHT) {
        r.left = r.right - width;
    } else {
        r.right = r.left + width;
    }
    return r;
}

CString FallbackCommand(const CString& commandLine, const CString& url)
{
    CString line = commandLine;
    int at = line.Find(L"\"%1\"");
    if (at < 0)
        at = line.Find(L"%1");
    if (at >= 0)
        line = line.Left(at);
    return line + L" " + url;
}

CString ErrorMessage(int code)
{
    CString text;
    switch (code) {
    case 0:
        text = L"The operating system is out\nof memory or resources.";
        break;
    case 2:
        text = L"The specified file was not found.";
        break;
    case 3:
        text = L"The specified path was not found.";
        break;
    case 5:
        text = L"The operating system denied\naccess to the specified file.";
        break;
    case 8:
        text = L"There was not enough memory to complete the operation.";
        break;
    case 11:
        text = L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
        break;
    case 26:
        text = L"A sharing violation occurred. ";
        break;
    case 27:
        text = L"The filename association is\nincomplete or invalid.";
        break;
    case 28:
        text = L"The DDE transaction could not\nbe completed because the request timed out.";
        break;
    case 29:
        text = L"The DDE transaction failed.";
        break;
    case 30:
        text = L"The DDE transaction could not\nbe completed because other DDE transactions\nwere "
               L"being processed.";
        break;
    case 31:
        text = L"There is no application associated\nwith the given filename extension.";
        break;
    case 32:
        text = L"The specified dynamic-link library was not found.";
        break;
    default:
        text.Format(L"Unknown Error (%d) occurred.", code);
        break;
    }
    return CString(L"Unable to open hyperlink:\n\n") + text;
}

} // namespace hlink
