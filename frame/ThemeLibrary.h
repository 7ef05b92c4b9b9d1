// Holds the visual-styles library ("UxTheme.dll") loaded, and calls its functions through
// entry points that are looked up once per process and shared by every holder. Where the
// library or a function is missing, a fallback answers instead (not active, not themed, no
// theme handle, E_FAIL).
#pragma once

#include "platform/base/WinTypes.h"

class CThemeLibrary
{
public:
    CThemeLibrary();
    ~CThemeLibrary();
    CThemeLibrary(const CThemeLibrary&) = delete;
    CThemeLibrary& operator=(const CThemeLibrary&) = delete;

    BOOL IsThemeActive();
    BOOL IsAppThemed();
    HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList);
    HRESULT CloseThemeData(HTHEME theme);
    HRESULT DrawThemeBackground(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* rect,
                                const RECT* clipRect);
    HRESULT GetThemeColor(HTHEME theme, int partId, int stateId, int propId, COLORREF* color);

    HMODULE m_hModule;
    HTHEME m_hTheme;
};

// The process-wide holder: made before the module entry attaches, released after it detaches.
CThemeLibrary* AfxGetThemeLibrary();
