// LoadLibraryW and friends over the dynamic loader.
#include "platform/base/CString.h"

#include <dlfcn.h>

HMODULE LoadLibraryW(LPCWSTR name)
{
    if (!name || !*name)
        return nullptr;
    const std::string file = CString(name).ToPathBytes();
    return static_cast<HMODULE>(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL));
}

BOOL FreeLibrary(HMODULE module)
{
    if (!module)
        return FALSE;
    return dlclose(module) == 0;
}

void* GetProcAddress(HMODULE module, const char* name)
{
    if (!module || !name)
        return nullptr;
    return dlsym(module, name);
}
