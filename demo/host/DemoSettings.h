// What the demo remembers between runs, in the library's settings store (CUtilReg) under
// Software\skinkit\demo: the volume, the folder the last chooser was left in, the playlist and
// the window's place.
#pragma once

#include <string>
#include <vector>

struct DemoSettings
{
    int volume = 70;
    std::string lastFolder;
    std::vector<std::string> playlist;
    bool hasPlace = false;
    int x = 0, y = 0;

    // The store holds at most this many playlist rows; a path past 259 bytes cannot be kept
    // whole there and is left out.
    static constexpr int kMaxRows = 1000;
    static constexpr size_t kMaxPath = 259;

    static DemoSettings Load();
    void Save() const;
};
