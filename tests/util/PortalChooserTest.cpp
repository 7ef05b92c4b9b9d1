// The portal backend against a fake org.freedesktop.portal.Desktop on a private session bus:
// what the library asks for, and how it reads the answer that arrives as a signal.
#include "util/UtilPath.h"

#include "platform/base/CString.h"
#include "tests/TestKit.h"
#include "util/chooser/Chooser.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <future>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;

namespace {

const char kIntrospection[] = R"(
<node>
  <interface name="org.freedesktop.portal.FileChooser">
    <method name="OpenFile">
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
      <arg type="o" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
</node>)";

// Serves the file chooser on its own thread (the library blocks while it waits for the answer)
// and answers every call with the response and URIs (one a line) it was given.
class FakePortal
{
public:
    explicit FakePortal(guint32 version) : m_version(version)
    {
        std::promise<bool> owns;
        m_thread = std::thread([this, &owns] { Run(owns); });
        owned = owns.get_future().get();
    }
    ~FakePortal()
    {
        g_main_loop_quit(m_loop);
        m_thread.join();
    }

    void Answer(guint32 response, const std::string& uri)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_response = response;
        m_uri = uri;
    }
    struct Call
    {
        std::string parent, title, options; // the options as GVariant prints them
    };
    std::vector<Call> Calls()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    bool owned = false;

private:
    void Run(std::promise<bool>& owns)
    {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        m_loop = g_main_loop_new(context, FALSE);
        GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
            std::getenv("DBUS_SESSION_BUS_ADDRESS"),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
        static const GDBusInterfaceVTable vtable = {
            &FakePortal::OnCall, &FakePortal::OnGet, nullptr, {}};
        guint32 result = 0;
        if (bus) {
            g_dbus_connection_register_object(bus, "/org/freedesktop/portal/desktop",
                                              node->interfaces[0], &vtable, this, nullptr, nullptr);
            GVariant* reply = g_dbus_connection_call_sync(
                bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                "RequestName", g_variant_new("(su)", "org.freedesktop.portal.Desktop", 4u),
                G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
            if (reply) {
                g_variant_get(reply, "(u)", &result);
                g_variant_unref(reply);
            }
        }
        owns.set_value(result == 1); // 1: the primary owner
        if (result == 1)
            g_main_loop_run(m_loop);
        if (bus) {
            g_dbus_connection_close_sync(bus, nullptr, nullptr);
            g_object_unref(bus);
        }
        g_dbus_node_info_unref(node);
        g_main_loop_unref(m_loop);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }

    static void OnCall(GDBusConnection* bus, const gchar* sender, const gchar*, const gchar*,
                       const gchar*, GVariant* parameters, GDBusMethodInvocation* invocation,
                       gpointer data)
    {
        auto* self = static_cast<FakePortal*>(data);
        const gchar* parent = nullptr;
        const gchar* title = nullptr;
        GVariant* options = nullptr;
        g_variant_get(parameters, "(&s&s@a{sv})", &parent, &title, &options);
        const gchar* token = "none";
        g_variant_lookup(options, "handle_token", "&s", &token);
        std::string handle =
            std::string("/org/freedesktop/portal/desktop/request/") + (sender + 1) + "/" + token;
        for (char& c : handle)
            if (c == '.')
                c = '_';
        gchar* printed = g_variant_print(options, FALSE);
        g_variant_unref(options);
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_calls.push_back({parent, title, printed});
        g_free(printed);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", handle.c_str()));
        GVariantBuilder results;
        g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
        gchar** uris = g_strsplit(self->m_uri.c_str(), "\n", -1);
        g_variant_builder_add(&results, "{sv}", "uris", g_variant_new_strv(uris, -1));
        g_strfreev(uris);
        g_dbus_connection_emit_signal(
            bus, nullptr, handle.c_str(), "org.freedesktop.portal.Request", "Response",
            g_variant_new("(ua{sv})", self->m_response, &results), nullptr);
    }

    static GVariant* OnGet(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                           GError**, gpointer data)
    {
        return g_variant_new_uint32(static_cast<FakePortal*>(data)->m_version);
    }

    guint32 m_version;
    std::thread m_thread;
    GMainLoop* m_loop = nullptr;
    std::mutex m_mutex;
    guint32 m_response = 1;
    std::string m_uri;
    std::vector<Call> m_calls;
};

class PortalChooser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bus = g_test_dbus_new(G_TEST_DBUS_NONE);
        g_test_dbus_up(bus);
        ::setenv("SKINKIT_CHOOSER", "portal", 1);
        chooser::SetBackend(nullptr);
        fs::create_directories(dir / "My Videos");
    }
    void TearDown() override
    {
        ::unsetenv("SKINKIT_CHOOSER");
        g_test_dbus_down(bus);
        g_object_unref(bus);
    }

    GTestDBus* bus = nullptr;
    testkit::TempDir tmp{"skinkit_portal"};
    const fs::path dir = tmp.Root();
};

} // namespace

// An open-file request with filters and folder, several files with an owner window, and a
// folder request with caption and OK text: each as the portal wants it. Of the URIs answered
// the local files come back as paths, in order; a single choice keeps the first alone.
TEST_F(PortalChooser, FileFolderAndOwnerInItsOwnSyntax)
{
    FakePortal portal(3);
    ASSERT_TRUE(portal.owned);
    portal.Answer(0, "file:///tmp/a%20clip.avi\nhttps://example.invalid/x\nfile:///tmp/b.avi");
    wchar_t filter[] = L"Videos\0*.avi;*.mkv\0All\0*.*\0";
    CString folder = CString::FromUtf8((dir / "My Videos").string());
    wchar_t out[MAX_PATH] = L"";
    EXPECT_EQ(CUtilPath().SelectFile(nullptr, filter, folder.GetBuffer(), out, 0), 1);
    EXPECT_STREQ(out, L"/tmp/a clip.avi");
    chooser::Request request;
    EXPECT_EQ(chooser::Choose(request).paths, std::vector<std::string>{"/tmp/a clip.avi"});
    request.multiple = true;
    request.parentWindow = "x11:1a00003";
    EXPECT_EQ(chooser::Choose(request).paths,
              (std::vector<std::string>{"/tmp/a clip.avi", "/tmp/b.avi"}));
    portal.Answer(0, "file://" + (dir / "My Videos").string());
    wchar_t caption[] = L"Record to", ok[] = L"Use";
    EXPECT_EQ(CUtilPath().SelectFolder(nullptr, nullptr, caption, out, ok, nullptr, 1), 1);
    EXPECT_EQ(CString(out).ToUtf8(), (dir / "My Videos").string());

    const auto calls = portal.Calls();
    // Whether a call's options hold `entry` as GVariant prints it ("'multiple': <true>").
    auto Has = [](const FakePortal::Call& call, const std::string& entry) {
        return call.options.find(entry) != std::string::npos;
    };
    ASSERT_EQ(calls.size(), 4u);
    // Folders go as NUL-terminated byte strings, as the portal wants them.
    for (const std::string& entry : std::vector<std::string>{
             "'filters': <[('Videos', [(uint32 0, '*.avi'), (0, '*.mkv')]), ('All', [(0, '*')])]>",
             "'current_folder': <b'" + (dir / "My Videos").string() + "'>", "'multiple': <false>"})
        EXPECT_TRUE(Has(calls[0], entry)) << entry << " in " << calls[0].options;
    EXPECT_FALSE(Has(calls[0], "'directory'"));
    EXPECT_EQ(calls[0].parent, ""); // no owner window
    EXPECT_TRUE(Has(calls[2], "'multiple': <true>")) << calls[2].options;
    EXPECT_EQ(calls[2].parent, "x11:1a00003");
    EXPECT_EQ(calls[3].title, "Record to");
    for (const char* entry : {"'directory': <true>", "'accept_label': <'Use'>"})
        EXPECT_TRUE(Has(calls[3], entry)) << entry << " in " << calls[3].options;
}

// No portal, one without folder choosers (before version 3), a cancel, a failure and a location
// outside the file system all answer 0 and leave the buffer alone.
TEST_F(PortalChooser, NoAnswerGivesZero)
{
    wchar_t out[MAX_PATH] = L"untouched";
    EXPECT_EQ(CUtilPath().SelectFolder(nullptr, out), 0);
    {
        FakePortal old(2);
        ASSERT_TRUE(old.owned);
        EXPECT_EQ(CUtilPath().SelectFolder(nullptr, out), 0);
        EXPECT_TRUE(old.Calls().empty());
    }
    FakePortal portal(3);
    ASSERT_TRUE(portal.owned);
    for (const auto& [response, uri] : {std::pair<guint32, const char*>{1, "file:///tmp"},
                                        {2, "file:///tmp"},
                                        {0, "https://example.invalid/x"}}) {
        portal.Answer(response, uri);
        EXPECT_EQ(CUtilPath().SelectFolder(nullptr, out), 0) << uri;
    }
    EXPECT_STREQ(out, L"untouched");
}
