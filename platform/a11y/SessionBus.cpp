// Whether the desktop wants the accessibility tree: one short, private, blocking conversation
// with the session bus through libdbus (loaded for it; GDBus would start a worker thread for
// the question). The accessibility bus is asked about only when it runs already: asking a bus
// that is not running would have the session bus start it for every program.
#include "platform/a11y/Accessibility.h"

#if SKINKIT_HAVE_ATK
#include <dbus/dbus.h>
#include <dlfcn.h>
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <cstring>

namespace platform::a11y {

#if SKINKIT_HAVE_ATK
namespace {

#define SKINKIT_DBUS_FUNCTIONS(X)                                                                  \
    X(dbus_error_init)                                                                             \
    X(dbus_error_free)                                                                             \
    X(dbus_connection_open_private)                                                                \
    X(dbus_connection_set_exit_on_disconnect)                                                      \
    X(dbus_bus_register)                                                                           \
    X(dbus_connection_close)                                                                       \
    X(dbus_connection_unref)                                                                       \
    X(dbus_message_new_method_call)                                                                \
    X(dbus_message_append_args)                                                                    \
    X(dbus_connection_send_with_reply_and_block)                                                   \
    X(dbus_message_iter_init)                                                                      \
    X(dbus_message_iter_next)                                                                      \
    X(dbus_message_iter_get_arg_type)                                                              \
    X(dbus_message_iter_recurse)                                                                   \
    X(dbus_message_iter_get_basic)                                                                 \
    X(dbus_message_unref)

struct DbusApi
{
#define SKINKIT_DBUS_POINTER(name) decltype(&::name) name = nullptr;
    SKINKIT_DBUS_FUNCTIONS(SKINKIT_DBUS_POINTER)
#undef SKINKIT_DBUS_POINTER
};

const DbusApi* LoadDbus()
{
    static DbusApi api;
    static const bool loaded = [] {
        void* h = dlopen("libdbus-1.so.3", RTLD_NOW | RTLD_LOCAL);
        if (!h)
            return false;
        bool complete = true;
#define SKINKIT_DBUS_RESOLVE(name)                                                                 \
    api.name = reinterpret_cast<decltype(&::name)>(dlsym(h, #name));                               \
    complete = complete && api.name;
        SKINKIT_DBUS_FUNCTIONS(SKINKIT_DBUS_RESOLVE)
#undef SKINKIT_DBUS_RESOLVE
        // Kept loaded: libdbus keeps process-wide state that does not survive unloading.
        return complete;
    }();
    return loaded ? &api : nullptr;
}

// A wait for an answer that a live bus gives in well under a millisecond; a bus that hangs
// must not hold the program's start for long.
constexpr int kReplyTimeoutMs = 300;

// One method call; the reply, or null.
DBusMessage* Call(const DbusApi& d, DBusConnection* bus, const char* dest, const char* path,
                  const char* iface, const char* method, const char* arg)
{
    DBusMessage* m = d.dbus_message_new_method_call(dest, path, iface, method);
    if (!m)
        return nullptr;
    d.dbus_message_append_args(m, DBUS_TYPE_STRING, &arg, DBUS_TYPE_INVALID);
    DBusError error;
    d.dbus_error_init(&error);
    DBusMessage* reply =
        d.dbus_connection_send_with_reply_and_block(bus, m, kReplyTimeoutMs, &error);
    d.dbus_error_free(&error);
    d.dbus_message_unref(m);
    return reply;
}

bool NameHasOwner(const DbusApi& d, DBusConnection* bus, const char* name)
{
    DBusMessage* reply = Call(d, bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus", "NameHasOwner", name);
    if (!reply)
        return false;
    dbus_bool_t owned = FALSE;
    DBusMessageIter it;
    if (d.dbus_message_iter_init(reply, &it) &&
        d.dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_BOOLEAN)
        d.dbus_message_iter_get_basic(&it, &owned);
    d.dbus_message_unref(reply);
    return owned;
}

// org.a11y.Status's IsEnabled or ScreenReaderEnabled: one GetAll, a{sv}.
bool StatusEnabled(const DbusApi& d, DBusConnection* bus)
{
    DBusMessage* reply = Call(d, bus, "org.a11y.Bus", "/org/a11y/bus",
                              "org.freedesktop.DBus.Properties", "GetAll", "org.a11y.Status");
    if (!reply)
        return false;
    bool enabled = false;
    DBusMessageIter top, array, entry, variant;
    if (d.dbus_message_iter_init(reply, &top) &&
        d.dbus_message_iter_get_arg_type(&top) == DBUS_TYPE_ARRAY) {
        d.dbus_message_iter_recurse(&top, &array);
        while (d.dbus_message_iter_get_arg_type(&array) == DBUS_TYPE_DICT_ENTRY) {
            d.dbus_message_iter_recurse(&array, &entry);
            const char* key = nullptr;
            if (d.dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_STRING) {
                d.dbus_message_iter_get_basic(&entry, &key);
                d.dbus_message_iter_next(&entry);
            }
            if (key && d.dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_VARIANT) {
                d.dbus_message_iter_recurse(&entry, &variant);
                dbus_bool_t on = FALSE;
                if (d.dbus_message_iter_get_arg_type(&variant) == DBUS_TYPE_BOOLEAN)
                    d.dbus_message_iter_get_basic(&variant, &on);
                if (on && (std::strcmp(key, "IsEnabled") == 0 ||
                           std::strcmp(key, "ScreenReaderEnabled") == 0))
                    enabled = true;
            }
            d.dbus_message_iter_next(&array);
        }
    }
    d.dbus_message_unref(reply);
    return enabled;
}

} // namespace

BusAnswer AskSessionBus(const std::string& address)
{
    if (address.empty())
        return BusAnswer::NoBus;
    const DbusApi* d = LoadDbus();
    if (!d)
        return BusAnswer::NoBus;
    DBusError error;
    d->dbus_error_init(&error);
    DBusConnection* bus = d->dbus_connection_open_private(address.c_str(), &error);
    d->dbus_error_free(&error);
    if (!bus)
        return BusAnswer::NoBus;
    d->dbus_connection_set_exit_on_disconnect(bus, FALSE);
    BusAnswer answer = BusAnswer::NoBus;
    d->dbus_error_init(&error);
    if (d->dbus_bus_register(bus, &error) && NameHasOwner(*d, bus, "org.a11y.Bus"))
        answer = StatusEnabled(*d, bus) ? BusAnswer::Enabled : BusAnswer::Disabled;
    d->dbus_error_free(&error);
    d->dbus_connection_close(bus);
    d->dbus_connection_unref(bus);
    return answer;
}

std::string SessionBusAddress()
{
    if (const char* a = std::getenv("DBUS_SESSION_BUS_ADDRESS"); a && *a)
        return a;
    // libdbus would otherwise "autolaunch" a bus through X11, which no start-up should do.
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run) {
        const std::string socket = std::string(run) + "/bus";
        struct stat st
        {
        };
        if (stat(socket.c_str(), &st) == 0 && S_ISSOCK(st.st_mode))
            return "unix:path=" + socket;
    }
    return {};
}

#else

BusAnswer AskSessionBus(const std::string&)
{
    return BusAnswer::NoBus;
}

std::string SessionBusAddress()
{
    return {};
}

#endif

} // namespace platform::a11y
