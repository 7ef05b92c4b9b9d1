#include "frame/ModuleFrame.h"

#include "frame/ThemeLibrary.h"
#include "platform/gdiplus/Gdiplus.h"

#include <dlfcn.h>

#include <new>

namespace {

AFX_EXTENSION_MODULE g_extensionModule = {};
ULONG_PTR g_gdiplusToken = 0;
constinit const Gdiplus::GdiplusStartupInput g_gdiplusStartupInput;
CThemeLibrary* g_themeLibrary = nullptr;

// The load address stands for the module handle, as a Windows module handle is its base.
HINSTANCE ThisModule()
{
    Dl_info info{};
    static int anchor;
    if (dladdr(&anchor, &info) && info.dli_fbase)
        return static_cast<HINSTANCE>(info.dli_fbase);
    return reinterpret_cast<HINSTANCE>(&anchor);
}

// Priority 101 runs before any other constructor of the library and, as a destructor, after
// every other: the theme holder outlives the module entry's attached state on both ends.
__attribute__((constructor(101))) void OnLibraryLoad()
{
    g_themeLibrary = new (std::nothrow) CThemeLibrary();
    DllMain(ThisModule(), DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor(101))) void OnLibraryUnload()
{
    DllMain(ThisModule(), DLL_PROCESS_DETACH, nullptr);
    delete g_themeLibrary;
    g_themeLibrary = nullptr;
}

} // namespace

AFX_EXTENSION_MODULE& AfxGetSkinkitModule()
{
    return g_extensionModule;
}

CThemeLibrary* AfxGetThemeLibrary()
{
    return g_themeLibrary;
}

// Protected: the load hooks call this library's entry, whatever else a process defines.
__attribute__((visibility("protected"))) BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(g_extensionModule, instance))
            return FALSE;
        // The framework owns the chain entry from here on; a failed allocation is passed over.
        new (std::nothrow) CDynLinkLibrary(g_extensionModule, FALSE);
        // A failed start leaves the token as it was; drawing then fails without effect.
        Gdiplus::GdiplusStartup(&g_gdiplusToken, &g_gdiplusStartupInput, nullptr);
        return TRUE;
    }
    if (reason == DLL_PROCESS_DETACH) {
        Gdiplus::GdiplusShutdown(g_gdiplusToken);
        AfxTermExtensionModule(g_extensionModule, FALSE);
        return TRUE;
    }
    return TRUE;
}
