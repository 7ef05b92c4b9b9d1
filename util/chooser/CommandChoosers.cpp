// Choosers run as programs: zenity (GTK) and kdialog (KDE). Each prints the chosen path on its
// standard output and answers 0 for a choice, 1 for a cancel.
#include "util/chooser/Chooser.h"

#include <glib.h>

#include <cstdlib>
#include <string>

namespace chooser {
namespace {

bool HasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && x11[0]) || (wayland && wayland[0]);
}

bool InPath(const char* program)
{
    gchar* found = g_find_program_in_path(program);
    g_free(found);
    return found != nullptr;
}

// The X11 window id of an "x11:<hex id>" parent, in decimal as both programs read it; empty for
// any other kind of parent.
std::string X11Window(const std::string& parent)
{
    const std::string prefix = "x11:";
    if (parent.compare(0, prefix.size(), prefix) != 0 || parent.size() == prefix.size())
        return {};
    char* end = nullptr;
    const unsigned long long id = std::strtoull(parent.c_str() + prefix.size(), &end, 16);
    if (*end || id == 0)
        return {};
    return std::to_string(id);
}

// Runs argv and maps its exit: 0 Chosen (the first line of its output; with `several`, every
// line names one choice), 1 Cancelled, anything else (it could not start, it crashed, it could
// not open the display) Unavailable.
Answer Run(const std::vector<std::string>& args, bool several = false)
{
    std::vector<gchar*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<gchar*>(a.c_str()));
    argv.push_back(nullptr);
    gchar* out = nullptr;
    gint status = 0;
    const GSpawnFlags flags =
        static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL);
    if (!g_spawn_sync(nullptr, argv.data(), nullptr, flags, nullptr, nullptr, &out, nullptr,
                      &status, nullptr))
        return {};
    std::string text = out ? out : "";
    g_free(out);
    if (!WIFEXITED(status))
        return {};
    switch (WEXITSTATUS(status)) {
    case 0: {
        Answer answer{Answer::Result::Chosen, {}};
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            if (end > start)
                answer.paths.push_back(text.substr(start, end - start));
            start = end + 1;
            if (!several)
                break;
        }
        if (!answer.paths.empty())
            answer.path = answer.paths.front();
        return answer;
    }
    case 1:
        return {Answer::Result::Cancelled, {}};
    default:
        return {};
    }
}

// Folders are named with a trailing slash, so that the chooser opens inside them.
std::string AsFolder(const std::string& path)
{
    return !path.empty() && path.back() != '/' ? path + '/' : path;
}

class Zenity : public Backend
{
public:
    const char* Name() const override { return "zenity"; }

    Answer Choose(const Request& r) override
    {
        if (!HasDisplay() || !InPath("zenity"))
            return {};
        std::vector<std::string> args = {"zenity", "--file-selection", "--modal"};
        if (r.kind == Request::Kind::Folder)
            args.push_back("--directory");
        else if (r.allowNewName)
            args.push_back("--save"); // lets a new name be typed; the caller asks before using it
        else if (WantsSeveral(r))
            args.insert(args.end(), {"--multiple", "--separator=\n"});
        if (!r.title.empty())
            args.push_back("--title=" + r.title);
        if (const std::string parent = X11Window(r.parentWindow); !parent.empty())
            args.push_back("--attach=" + parent);
        if (!r.initialFolder.empty())
            args.push_back("--filename=" + AsFolder(r.initialFolder));
        // The file chooser keeps its own button texts: zenity refuses --ok-label and
        // --cancel-label for it (exit 255, nothing shown).
        for (const Filter& f : r.filters) {
            std::string filter = f.description + " |";
            for (const std::string& p : f.patterns)
                filter += " " + p;
            args.push_back("--file-filter=" + filter);
        }
        return Run(args, WantsSeveral(r));
    }

    Answer Ask(const Question& q) override
    {
        if (!HasDisplay() || !InPath("zenity"))
            return {};
        std::vector<std::string> args = {"zenity", "--question", "--modal", "--text=" + q.text};
        if (!q.title.empty())
            args.push_back("--title=" + q.title);
        return Run(args);
    }
};

class KDialog : public Backend
{
public:
    const char* Name() const override { return "kdialog"; }

    Answer Choose(const Request& r) override
    {
        if (!HasDisplay() || !InPath("kdialog"))
            return {};
        std::vector<std::string> args = {"kdialog"};
        if (!r.title.empty())
            args.insert(args.end(), {"--title", r.title});
        if (const std::string parent = X11Window(r.parentWindow); !parent.empty())
            args.insert(args.end(), {"--attach", parent});
        const std::string start =
            r.initialFolder.empty() ? std::string(".") : AsFolder(r.initialFolder);
        if (r.kind == Request::Kind::Folder) {
            args.insert(args.end(), {"--getexistingdirectory", start});
        } else {
            args.insert(args.end(),
                        {r.allowNewName ? "--getsavefilename" : "--getopenfilename", start});
            // "*.png *.jpg|Images" lines.
            std::string filters;
            for (const Filter& f : r.filters) {
                std::string line;
                for (const std::string& p : f.patterns)
                    line += (line.empty() ? "" : " ") + p;
                filters += (filters.empty() ? "" : "\n") + line + "|" + f.description;
            }
            if (!filters.empty())
                args.push_back(filters);
            if (WantsSeveral(r))
                args.insert(args.end(), {"--multiple", "--separate-output"});
        }
        return Run(args, WantsSeveral(r));
    }

    Answer Ask(const Question& q) override
    {
        if (!HasDisplay() || !InPath("kdialog"))
            return {};
        std::vector<std::string> args = {"kdialog"};
        if (!q.title.empty())
            args.insert(args.end(), {"--title", q.title});
        args.insert(args.end(), {"--yesno", q.text});
        return Run(args);
    }
};

} // namespace

std::unique_ptr<Backend> MakeZenityBackend()
{
    return std::make_unique<Zenity>();
}
std::unique_ptr<Backend> MakeKDialogBackend()
{
    return std::make_unique<KDialog>();
}

} // namespace chooser
