#include "platform/shell/Shell.h"

#include <gio/gio.h>

#include <algorithm>
#include <cwctype>
#include <mutex>
#include <sys/stat.h>

namespace {

std::mutex g_lock;
platform::shell::Desktop g_desktop;

platform::shell::Desktop Current()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return g_desktop;
}

INT_PTR OpenWithDefaultHandler(const std::string& uri)
{
    GError* error = nullptr;
    if (g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error))
        return 42;
    INT_PTR result = 0;
    if (error && error->domain == G_IO_ERROR) {
        switch (error->code) {
        case G_IO_ERROR_NOT_SUPPORTED:
            result = SE_ERR_NOASSOC;
            break;
        case G_IO_ERROR_NOT_FOUND:
            result = SE_ERR_FNF;
            break;
        case G_IO_ERROR_PERMISSION_DENIED:
            result = SE_ERR_ACCESSDENIED;
            break;
        default:
            break;
        }
    } else if (error && error->domain == G_SPAWN_ERROR) {
        // The handler is registered but cannot be started: its association is broken.
        result = error->code == G_SPAWN_ERROR_NOENT ? SE_ERR_ASSOCINCOMPLETE : 0;
    }
    if (error)
        g_error_free(error);
    return result;
}

UINT RunProgram(const std::vector<std::string>& args)
{
    if (args.empty() || args[0].empty())
        return 2; // ERROR_FILE_NOT_FOUND
    std::vector<gchar*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<gchar*>(a.c_str()));
    argv.push_back(nullptr);
    GError* error = nullptr;
    // Without DO_NOT_REAP_CHILD GLib starts the program through an intermediate child, so no
    // zombie is left behind for a host that never waits.
    const GSpawnFlags flags = static_cast<GSpawnFlags>(
        G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL);
    if (g_spawn_async(nullptr, argv.data(), nullptr, flags, nullptr, nullptr, nullptr, &error))
        return 33;
    UINT result = 0;
    if (error && error->domain == G_SPAWN_ERROR &&
        (error->code == G_SPAWN_ERROR_NOENT || error->code == G_SPAWN_ERROR_ACCES))
        result = error->code == G_SPAWN_ERROR_NOENT ? 2 : 5;
    if (error)
        g_error_free(error);
    return result;
}

std::optional<platform::shell::Desktop::Handler> DesktopHtmlHandler()
{
    GAppInfo* info = g_app_info_get_default_for_type("text/html", FALSE);
    if (!info)
        return std::nullopt;
    std::optional<platform::shell::Desktop::Handler> handler;
    const char* id = g_app_info_get_id(info);
    const char* exec = g_app_info_get_commandline(info);
    if (id && exec)
        handler = platform::shell::Desktop::Handler{
            CString::FromUtf8(id).Str(),
            platform::shell::CommandLineOfExec(CString::FromUtf8(exec).Str())};
    g_object_unref(info);
    return handler;
}

bool SameNoCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

bool IsUrl(const std::string& text)
{
    gchar* scheme = g_uri_parse_scheme(text.c_str());
    const bool url = scheme != nullptr;
    g_free(scheme);
    return url;
}

} // namespace

HINSTANCE ShellExecuteW(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, int)
{
    auto answer = [](INT_PTR code) { return reinterpret_cast<HINSTANCE>(code); };
    if (verb && CString(verb).CompareNoCase(L"open") != 0)
        return answer(SE_ERR_NOASSOC);
    if (!file || !file[0])
        return answer(SE_ERR_FNF);
    std::string target = CString(file).ToUtf8();
    if (!IsUrl(target)) {
        // A path: it must exist, and goes to the handler as a file URL.
        struct stat st;
        if (::stat(target.c_str(), &st) != 0)
            return answer(errno == ENOENT ? SE_ERR_FNF : SE_ERR_PNF);
        gchar* absolute = g_canonicalize_filename(target.c_str(), nullptr);
        gchar* uri = g_filename_to_uri(absolute, nullptr, nullptr);
        g_free(absolute);
        if (!uri)
            return answer(SE_ERR_FNF);
        target = uri;
        g_free(uri);
    }
    const platform::shell::Desktop desktop = Current();
    return answer(desktop.open ? desktop.open(target) : OpenWithDefaultHandler(target));
}

UINT WinExec(LPCSTR commandLine, UINT)
{
    if (!commandLine || !commandLine[0])
        return 2;
    gint argc = 0;
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(commandLine, &argc, &argv, nullptr))
        return ERROR_BAD_FORMAT;
    std::vector<std::string> args(argv, argv + argc);
    g_strfreev(argv);
    const platform::shell::Desktop desktop = Current();
    return desktop.run ? desktop.run(args) : RunProgram(args);
}

namespace platform::shell {

void SetDesktop(Desktop desktop)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_desktop = std::move(desktop);
}

std::optional<Desktop::Handler> HtmlHandler()
{
    const Desktop desktop = Current();
    return desktop.htmlHandler ? desktop.htmlHandler() : DesktopHtmlHandler();
}

std::wstring CommandLineOfExec(const std::wstring& exec)
{
    std::wstring out;
    bool placed = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] != L'%' || i + 1 == exec.size()) {
            out += exec[i];
            continue;
        }
        const wchar_t code = exec[++i];
        switch (code) {
        case L'%':
            out += L'%';
            break;
        case L'u':
        case L'U':
        case L'f':
        case L'F':
            if (!placed)
                out += L"%1";
            placed = true;
            break;
        default:
            // %i, %c, %k and the deprecated codes expand to nothing here.
            break;
        }
    }
    // Blanks left where codes were dropped at the end.
    while (!out.empty() && out.back() == L' ')
        out.pop_back();
    return out;
}

bool ClassesKey(const std::wstring& path, std::wstring* value)
{
    const std::optional<Desktop::Handler> handler = HtmlHandler();
    if (!handler || handler->id.empty())
        return false;
    std::wstring found;
    bool exists = true;
    if (SameNoCase(path, L".htm") || SameNoCase(path, L".html"))
        found = handler->id;
    else if (SameNoCase(path, handler->id + L"\\shell\\open\\command"))
        found = handler->commandLine;
    else
        exists = SameNoCase(path, handler->id) || SameNoCase(path, handler->id + L"\\shell") ||
                 SameNoCase(path, handler->id + L"\\shell\\open");
    if (exists && value)
        *value = found;
    return exists;
}

} // namespace platform::shell
