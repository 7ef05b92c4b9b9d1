// The desktop services a host reaches through the Windows shell: opening a document or URL with
// its default handler, running a command line, and the registered command for HTML files that
// the classes root of the registry answers. On Linux the desktop's handlers are those of GIO
// (the freedesktop MIME associations); each service can be replaced, for tests or for a host
// with its own idea of a browser.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// ShellExecute results: above 32 is success; these are the failures it answers.
constexpr INT_PTR SE_ERR_FNF = 2;
constexpr INT_PTR SE_ERR_PNF = 3;
constexpr INT_PTR SE_ERR_ACCESSDENIED = 5;
constexpr INT_PTR SE_ERR_OOM = 8;
constexpr INT_PTR SE_ERR_SHARE = 26;
constexpr INT_PTR SE_ERR_ASSOCINCOMPLETE = 27;
constexpr INT_PTR SE_ERR_NOASSOC = 31;
constexpr UINT ERROR_BAD_FORMAT = 11;

// Opens `file` (a URL, or a path on disk) with the desktop's default handler for it. Only the
// verbs "open" and null are known (others answer SE_ERR_NOASSOC); parameters and folder are
// not passed on. Answers a value above 32 for success, else the cause: SE_ERR_FNF for a path
// that does not exist, SE_ERR_NOASSOC when nothing handles it, SE_ERR_ACCESSDENIED, or 0.
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, int show);
// Runs a command line (UTF-8, split as a shell would, without running one) and does not wait
// for it. Above 31 for success; 0, ERROR_FILE_NOT_FOUND (2) for no command or no such
// program, ERROR_BAD_FORMAT (11) for a line that cannot be split.
UINT WinExec(LPCSTR commandLine, UINT show);

namespace platform::shell {

// The desktop as the shell functions use it. Each member left empty means the real desktop's.
struct Desktop
{
    // Opens a URL ("file://..." for paths); answers a ShellExecute result.
    std::function<INT_PTR(const std::string& uri)> open;
    // Starts a program; answers a WinExec result.
    std::function<UINT(const std::vector<std::string>& argv)> run;
    // The handler of HTML files: an identifier and its command line (with "%1" where the
    // document goes); nothing when there is none.
    struct Handler
    {
        std::wstring id;
        std::wstring commandLine;
    };
    std::function<std::optional<Handler>()> htmlHandler;
};
// Replaces the desktop (members left empty keep the real one); a default-made Desktop goes back.
void SetDesktop(Desktop desktop);

// The desktop's default handler of text/html: its desktop entry id and its command line with
// "%1" in place of the document field code (%u, %U, %f or %F; any later ones are dropped, as
// are %i, %c and %k, and %% becomes %).
std::optional<Desktop::Handler> HtmlHandler();
// An Exec line of a desktop entry turned into such a command line (see HtmlHandler).
std::wstring CommandLineOfExec(const std::wstring& exec);

// The keys the classes root of the registry holds (letter case ignored), and each one's
// unnamed value: ".htm" and ".html" name the HTML handler's id, and "<id>\shell\open\command"
// holds its command line ("<id>", "<id>\shell" and "<id>\shell\open" exist, with empty
// values). False for every other key, and for all of them when there is no HTML handler.
bool ClassesKey(const std::wstring& path, std::wstring* value);

} // namespace platform::shell
