#include "frame/ThemeLibrary.h"

namespace {

using IsThemeActiveFn = BOOL (*)();
using IsAppThemedFn = BOOL (*)();
using OpenThemeDataFn = HTHEME (*)(HWND, LPCWSTR);
using CloseThemeDataFn = HRESULT (*)(HTHEME);
using DrawThemeBackgroundFn = HRESULT (*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using GetThemeColorFn = HRESULT (*)(HTHEME, int, int, int, COLORREF*);

BOOL FallbackIsThemeActive()
{
    return FALSE;
}
BOOL FallbackIsAppThemed()
{
    return FALSE;
}
HTHEME FallbackOpenThemeData(HWND, LPCWSTR)
{
    return nullptr;
}
HRESULT FallbackCloseThemeData(HTHEME)
{
    return E_FAIL;
}
HRESULT FallbackDrawThemeBackground(HTHEME, HDC, int, int, const RECT*, const RECT*)
{
    return E_FAIL;
}
HRESULT FallbackGetThemeColor(HTHEME, int, int, int, COLORREF*)
{
    return E_FAIL;
}

// Process-wide, written on first use by the user-interface thread, which is the only one
// that paints.
IsThemeActiveFn g_isThemeActive;
IsAppThemedFn g_isAppThemed;
OpenThemeDataFn g_openThemeData;
CloseThemeDataFn g_closeThemeData;
DrawThemeBackgroundFn g_drawThemeBackground;
GetThemeColorFn g_getThemeColor;

template <class Fn> Fn Entry(Fn& cached, HMODULE module, const char* name, Fn fallback)
{
    if (!cached) {
        void* found = module ? GetProcAddress(module, name) : nullptr;
        cached = found ? reinterpret_cast<Fn>(found) : fallback;
    }
    return cached;
}

} // namespace

CThemeLibrary::CThemeLibrary() : m_hModule(LoadLibraryW(L"UxTheme.dll")), m_hTheme(nullptr) {}

CThemeLibrary::~CThemeLibrary()
{
    if (m_hTheme)
        CloseThemeData(m_hTheme);
    m_hTheme = nullptr;
    if (m_hModule)
        FreeLibrary(m_hModule);
    m_hModule = nullptr;
}

BOOL CThemeLibrary::IsThemeActive()
{
    return Entry(g_isThemeActive, m_hModule, "IsThemeActive", &FallbackIsThemeActive)();
}

BOOL CThemeLibrary::IsAppThemed()
{
    return Entry(g_isAppThemed, m_hModule, "IsAppThemed", &FallbackIsAppThemed)();
}

HTHEME CThemeLibrary::OpenThemeData(HWND hwnd, LPCWSTR classList)
{
    return Entry(g_openThemeData, m_hModule, "OpenThemeData", &FallbackOpenThemeData)(hwnd,
                                                                                      classList);
}

HRESULT CThemeLibrary::CloseThemeData(HTHEME theme)
{
    return Entry(g_closeThemeData, m_hModule, "CloseThemeData", &FallbackCloseThemeData)(theme);
}

HRESULT CThemeLibrary::DrawThemeBackground(HTHEME theme, HDC hdc, int partId, int stateId,
                                           const RECT* rect, const RECT* clipRect)
{
    return Entry(g_drawThemeBackground, m_hModule, "DrawThemeBackground",
                 &FallbackDrawThemeBackground)(theme, hdc, partId, stateId, rect, clipRect);
}

HRESULT CThemeLibrary::GetThemeColor(HTHEME theme, int partId, int stateId, int propId,
                                     COLORREF* color)
{
    return Entry(g_getThemeColor, m_hModule, "GetThemeColor",
                 &FallbackGetThemeColor)(theme, partId, stateId, propId, color);
}
