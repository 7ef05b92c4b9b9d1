// The file chooser of the XDG desktop portal (org.freedesktop.portal.FileChooser), over a
// private D-Bus connection to the session bus. A call answers at once with a request object;
// the choice arrives later as that object's Response signal, which is subscribed to before the
// call so that a quick answer is not missed.
#include "util/chooser/Chooser.h"

#include <gio/gio.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace chooser {
namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kFileChooser = "org.freedesktop.portal.FileChooser";
constexpr int kCallTimeoutMs = 5000; // starting the portal on first use can take a moment

// The session bus, only when one is named: GIO would otherwise try to launch one for X11.
GDBusConnection* ConnectSessionBus()
{
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    std::string bus = address && address[0] ? address : "";
    if (bus.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !runtime[0])
            return nullptr;
        const std::string socket = std::string(runtime) + "/bus";
        if (::access(socket.c_str(), F_OK) != 0)
            return nullptr;
        bus = "unix:path=" + socket;
    }
    const auto flags =
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    return g_dbus_connection_new_for_address_sync(bus.c_str(), flags, nullptr, nullptr, nullptr);
}

guint32 FileChooserVersion(GDBusConnection* bus)
{
    GVariant* reply = g_dbus_connection_call_sync(
        bus, kPortal, kPortalPath, "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", kFileChooser, "version"), G_VARIANT_TYPE("(v)"),
        G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, nullptr);
    if (!reply)
        return 0;
    GVariant* boxed = nullptr;
    g_variant_get(reply, "(v)", &boxed);
    const guint32 version =
        g_variant_is_of_type(boxed, G_VARIANT_TYPE_UINT32) ? g_variant_get_uint32(boxed) : 0;
    g_variant_unref(boxed);
    g_variant_unref(reply);
    return version;
}

// The request object's path is predictable from our unique name and the token we pass.
std::string RequestPath(GDBusConnection* bus, const std::string& token)
{
    std::string sender = g_dbus_connection_get_unique_name(bus) + 1; // without the ':'
    for (char& c : sender)
        if (c == '.')
            c = '_';
    return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

GVariant* Options(const Request& r, const std::string& token)
{
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "modal", g_variant_new_boolean(TRUE));
    if (r.kind == Request::Kind::Folder) {
        g_variant_builder_add(&options, "{sv}", "directory", g_variant_new_boolean(TRUE));
        g_variant_builder_add(&options, "{sv}", "multiple", g_variant_new_boolean(FALSE));
    } else if (!r.allowNewName) {
        g_variant_builder_add(&options, "{sv}", "multiple",
                              g_variant_new_boolean(WantsSeveral(r) ? TRUE : FALSE));
    }
    if (!r.acceptLabel.empty())
        g_variant_builder_add(&options, "{sv}", "accept_label",
                              g_variant_new_string(r.acceptLabel.c_str()));
    if (!r.initialFolder.empty())
        g_variant_builder_add(&options, "{sv}", "current_folder",
                              g_variant_new_bytestring(r.initialFolder.c_str()));
    if (!r.filters.empty()) {
        // a(sa(us)): a name and its glob patterns (kind 0)
        GVariantBuilder filters;
        g_variant_builder_init(&filters, G_VARIANT_TYPE("a(sa(us))"));
        for (const Filter& f : r.filters) {
            GVariantBuilder patterns;
            g_variant_builder_init(&patterns, G_VARIANT_TYPE("a(us)"));
            for (const std::string& p : f.patterns)
                g_variant_builder_add(&patterns, "(us)", 0u, p.c_str());
            g_variant_builder_add(&filters, "(sa(us))", f.description.c_str(), &patterns);
        }
        g_variant_builder_add(&options, "{sv}", "filters", g_variant_builder_end(&filters));
    }
    return g_variant_builder_end(&options);
}

struct Wait
{
    bool several = false; // every URI is read, not only the first
    bool done = false;
    Answer answer;
};

void OnResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                GVariant* parameters, gpointer data)
{
    auto* wait = static_cast<Wait*>(data);
    guint32 response = 2;
    GVariant* results = nullptr;
    g_variant_get(parameters, "(u@a{sv})", &response, &results);
    if (response == 0) {
        wait->answer.result = Answer::Result::Chosen;
        const gchar** uris = nullptr;
        if (g_variant_lookup(results, "uris", "^a&s", &uris) && uris) {
            // A location that is not a local file has no path; with one choice the answer
            // then has none, with several it is left out.
            for (const gchar** uri = uris; *uri; ++uri) {
                gchar* path = g_filename_from_uri(*uri, nullptr, nullptr);
                if (path)
                    wait->answer.paths.emplace_back(path);
                g_free(path);
                if (!wait->several)
                    break;
            }
            if (!wait->answer.paths.empty())
                wait->answer.path = wait->answer.paths.front();
        }
        g_free(uris);
    } else {
        // 1: cancelled; 2: ended some other way (closed with the window manager, for one)
        wait->answer.result = Answer::Result::Cancelled;
    }
    g_variant_unref(results);
    wait->done = true;
}

void OnPortalVanished(GDBusConnection*, const gchar*, gpointer data)
{
    auto* wait = static_cast<Wait*>(data);
    if (!wait->done) {
        wait->answer = {};
        wait->done = true;
    }
}

class Portal : public Backend
{
public:
    const char* Name() const override { return "portal"; }

    Answer Choose(const Request& r) override
    {
        // Our own main context, so that the wait dispatches nothing of the host's.
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        Answer answer = ChooseIn(context, r);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
        return answer;
    }

    // The portal has no question box; the next backend asks.
    Answer Ask(const Question&) override { return {}; }

private:
    Answer ChooseIn(GMainContext* context, const Request& r)
    {
        GDBusConnection* bus = ConnectSessionBus();
        if (!bus)
            return {};
        Answer answer;
        const guint32 version = FileChooserVersion(bus);
        // Folders need version 3; a new name needs SaveFile, there from the start.
        if (version > 0 && (r.kind != Request::Kind::Folder || version >= 3))
            answer = Call(context, bus, r);
        g_dbus_connection_close_sync(bus, nullptr, nullptr);
        g_object_unref(bus);
        return answer;
    }

    Answer Call(GMainContext* context, GDBusConnection* bus, const Request& r)
    {
        static std::atomic<unsigned> counter{0};
        const std::string token =
            "skinkit" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
        Wait wait;
        wait.several = WantsSeveral(r);
        std::string path = RequestPath(bus, token);
        guint subscription = g_dbus_connection_signal_subscribe(
            bus, kPortal, "org.freedesktop.portal.Request", "Response", path.c_str(), nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE, OnResponse, &wait, nullptr);
        const guint watch = g_bus_watch_name_on_connection(
            bus, kPortal, G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr, OnPortalVanished, &wait, nullptr);

        const bool save = r.kind == Request::Kind::OpenFile && r.allowNewName;
        GError* error = nullptr;
        GVariant* reply = g_dbus_connection_call_sync(
            bus, kPortal, kPortalPath, kFileChooser, save ? "SaveFile" : "OpenFile",
            g_variant_new("(ss@a{sv})", r.parentWindow.c_str(), r.title.c_str(), Options(r, token)),
            G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, &error);
        if (!reply) {
            g_clear_error(&error);
            wait.done = true; // Unavailable: no chooser was shown
        } else {
            const gchar* handle = nullptr;
            g_variant_get(reply, "(&o)", &handle);
            // Portals older than the handle_token option pick their own path.
            if (path != handle && !wait.done) {
                g_dbus_connection_signal_unsubscribe(bus, subscription);
                path = handle;
                subscription = g_dbus_connection_signal_subscribe(
                    bus, kPortal, "org.freedesktop.portal.Request", "Response", path.c_str(),
                    nullptr, G_DBUS_SIGNAL_FLAGS_NONE, OnResponse, &wait, nullptr);
            }
            g_variant_unref(reply);
        }
        while (!wait.done)
            g_main_context_iteration(context, TRUE);
        g_bus_unwatch_name(watch);
        g_dbus_connection_signal_unsubscribe(bus, subscription);
        return wait.answer;
    }
};

} // namespace

std::unique_ptr<Backend> MakePortalBackend()
{
    return std::make_unique<Portal>();
}

} // namespace chooser
