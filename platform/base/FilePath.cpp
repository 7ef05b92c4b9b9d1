#include "platform/base/FilePath.h"

#include <dirent.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace platform {
namespace {

bool Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string Fold(const char* name)
{
    // A name that is not UTF-8 has no letter case we could know; it matches only itself.
    if (!g_utf8_validate(name, -1, nullptr))
        return name;
    std::unique_ptr<gchar, decltype(&g_free)> folded(g_utf8_casefold(name, -1), g_free);
    return folded ? std::string(folded.get()) : std::string(name);
}

// The entry of `dir` whose name equals `name` but for letter case; the first in directory
// order when there are several. Empty when there is none.
std::string FindCaseless(const std::string& dir, const std::string& name)
{
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return {};
    const std::string want = Fold(name.c_str());
    std::string found;
    while (dirent* e = ::readdir(d)) {
        if (Fold(e->d_name) == want) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

} // namespace

std::string ResolvePath(const CString& path)
{
    std::string p = path.ToPathBytes();
    for (char& c : p)
        if (c == '\\')
            c = '/';
    if (p.empty() || Exists(p))
        return p;

    // Walk the parts from the root (or the working folder) and fix the case of each one
    // that does not exist as written.
    std::string out;
    size_t pos = 0;
    if (p[0] == '/') {
        out = "/";
        pos = 1;
    }
    bool lost = false; // once a part is missing in every case, keep the rest as written
    while (pos <= p.size()) {
        size_t next = p.find('/', pos);
        if (next == std::string::npos)
            next = p.size();
        const std::string part = p.substr(pos, next - pos);
        if (!part.empty()) {
            std::string candidate = out + part;
            if (!lost && !Exists(candidate)) {
                const std::string match = FindCaseless(out.empty() ? "." : out, part);
                if (!match.empty())
                    candidate = out + match;
                else
                    lost = true;
            }
            out = candidate;
            if (next < p.size())
                out += '/';
        } else if (next < p.size() && !out.empty() && out.back() != '/') {
            out += '/';
        }
        pos = next + 1;
    }
    return out;
}

std::string ExactPath(const CString& path)
{
    return path.ToPathBytes();
}

FILE* OpenFile(const CString& path, const char* mode)
{
    if (path.IsEmpty() || !mode)
        return nullptr;
    const bool writes = std::strpbrk(mode, "wa+") != nullptr;
    return std::fopen((writes ? ExactPath(path) : ResolvePath(path)).c_str(), mode);
}

} // namespace platform

FILE* _wfopen(const wchar_t* path, const wchar_t* mode)
{
    if (!path || !mode)
        return nullptr;
    return platform::OpenFile(CString(path), CString(mode).ToUtf8().c_str());
}

int _waccess(const wchar_t* path, int mode)
{
    if (!path)
        return -1;
    return ::access(platform::ResolvePath(CString(path)).c_str(), mode);
}
