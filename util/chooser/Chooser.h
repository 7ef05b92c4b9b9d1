// The desktop's own file and folder choosers and its yes/no question box, behind one small
// interface. The backends, tried in this order: the XDG desktop portal (D-Bus), zenity,
// kdialog. SKINKIT_CHOOSER=portal|zenity|kdialog|none names the only one to try. Tests put a
// stand-in of their own in front with SetBackend.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace chooser {

struct Filter
{
    std::string description;           // UTF-8
    std::vector<std::string> patterns; // "*.png"; "*" for every file
};

struct Request
{
    enum class Kind { OpenFile, Folder };
    Kind kind = Kind::OpenFile;
    bool allowNewName = false; // a file that does not exist yet may be named (the caller asks)
    bool newFolderButton = false;
    // Several files may be chosen at once (OpenFile without allowNewName only); every one of
    // them comes back in Answer::paths.
    bool multiple = false;
    std::string title;         // empty: the chooser's own
    std::string initialFolder; // a path on disk; empty: the chooser's default
    std::string acceptLabel;   // empty: the chooser's own
    std::string cancelLabel;   // empty: the chooser's own
    std::vector<Filter> filters;
    // The window the chooser belongs to, as the portal names one ("x11:<hex window id>");
    // empty: none.
    std::string parentWindow;
};

struct Answer
{
    enum class Result {
        Chosen,
        Cancelled,
        Unavailable, // this backend cannot show a chooser here; the next one is tried
    };
    Result result = Result::Unavailable;
    // The chosen item as a path on disk; empty when it has none (a portal may hand back a
    // location that is not a local file).
    std::string path;
    // Every chosen item that is a path on disk, in the chooser's order: path alone for a
    // single choice, all of them when the request asked for several (path is then the first).
    std::vector<std::string> paths = {};
};

struct Question
{
    std::string title;
    std::string text;
};

class Backend
{
public:
    virtual ~Backend() = default;
    virtual const char* Name() const = 0;
    virtual Answer Choose(const Request& request) = 0;
    // Chosen for yes, Cancelled for no, Unavailable when no box can be shown.
    virtual Answer Ask(const Question& question) = 0;
};

std::unique_ptr<Backend> MakePortalBackend();
std::unique_ptr<Backend> MakeZenityBackend();
std::unique_ptr<Backend> MakeKDialogBackend();

// Puts `backend` (borrowed) in place of the desktop's choosers; null goes back to them.
void SetBackend(Backend* backend);

// Through the stand-in when one is set, else the first backend that can show a chooser.
Answer Choose(const Request& request);

// Whether `request` lets the user choose several files at once.
inline bool WantsSeveral(const Request& request)
{
    return request.multiple && request.kind == Request::Kind::OpenFile && !request.allowNewName;
}
Answer Ask(const Question& question);

} // namespace chooser
