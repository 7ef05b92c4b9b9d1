#include "platform/a11y/AtkPrivate.h"

#if SKINKIT_HAVE_ATK
#include <dlfcn.h>

namespace platform::a11y {
namespace {

AtkLibrary g_atk;
bool g_loaded = false;

} // namespace

const AtkLibrary* LoadAtk()
{
    static const bool complete = [] {
        // The bridge needs ATK itself, so ATK comes first; both stay loaded for the life of
        // the process, as GType registrations cannot be undone.
        void* atk = dlopen("libatk-1.0.so.0", RTLD_NOW | RTLD_LOCAL);
        void* bridge = atk ? dlopen("libatk-bridge-2.0.so.0", RTLD_NOW | RTLD_LOCAL) : nullptr;
        if (!bridge)
            return false;
        g_loaded = true;
        bool ok = true;
#define SKINKIT_ATK_RESOLVE(name)                                                                  \
    g_atk.name = reinterpret_cast<decltype(&::name)>(dlsym(atk, #name));                           \
    ok = ok && g_atk.name;
        SKINKIT_ATK_FUNCTIONS(SKINKIT_ATK_RESOLVE)
#undef SKINKIT_ATK_RESOLVE
#define SKINKIT_BRIDGE_RESOLVE(name)                                                               \
    g_atk.name = reinterpret_cast<decltype(&::name)>(dlsym(bridge, #name));                        \
    ok = ok && g_atk.name;
        SKINKIT_BRIDGE_FUNCTIONS(SKINKIT_BRIDGE_RESOLVE)
#undef SKINKIT_BRIDGE_RESOLVE
        return ok;
    }();
    return complete ? &g_atk : nullptr;
}

bool AtkLoaded()
{
    return g_loaded;
}

} // namespace platform::a11y
#endif
