#include "demo/player/Playlist.h"

#include "demo/player/AviMedia.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace player {

namespace fs = std::filesystem;

bool IsAviName(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".avi";
}

std::vector<std::string> ExpandPaths(const std::vector<std::string>& paths)
{
    std::vector<std::string> out;
    for (const std::string& p : paths) {
        std::error_code ec;
        if (!fs::is_directory(p, ec)) {
            out.push_back(p);
            continue;
        }
        std::vector<std::string> inside;
        for (fs::directory_iterator it(p, ec), end; !ec && it != end; it.increment(ec))
            if (IsAviName(it->path().filename().string()) && !it->is_directory(ec))
                inside.push_back(it->path().string());
        std::sort(inside.begin(), inside.end());
        out.insert(out.end(), inside.begin(), inside.end());
    }
    return out;
}

PlaylistEntry ReadEntry(const std::string& path)
{
    PlaylistEntry e;
    e.path = path;
    const size_t slash = path.find_last_of('/');
    e.name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (IsAviName(e.name))
        e.name.resize(e.name.size() - 4);
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        e.problem = "no such file";
        return e;
    }
    AviMedia media;
    if (!media.Open(path)) {
        e.problem = media.Problem();
        return e;
    }
    e.playable = true;
    e.streams = media.Describe();
    e.lengthMs = media.LengthMs();
    return e;
}

} // namespace player
