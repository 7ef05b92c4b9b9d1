// What the playlist holds, without a window: the files a user names (files and folders, the
// AVI files directly inside a folder in name order), each read once for its name, length and
// streams, or for the reason it cannot be played.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace player {

struct PlaylistEntry
{
    std::string path;
    std::string name;    // the file name without ".avi"
    std::string streams; // "video 160x120 MJPG, audio PCM"; empty when not playable
    std::int64_t lengthMs = 0;
    bool playable = false;
    std::string problem; // why not, for the user
};

// Files and folders to files: a folder gives the AVI files directly inside it, sorted by name;
// a file is kept as it is (the reader says later whether it is one we play); a path that does
// not exist is kept too, so that its row says so.
std::vector<std::string> ExpandPaths(const std::vector<std::string>& paths);

// Reads the file's header and index for its entry; never throws, whatever the file holds.
PlaylistEntry ReadEntry(const std::string& path);

// True for names ending in ".avi", in any letter case.
bool IsAviName(const std::string& path);

} // namespace player
