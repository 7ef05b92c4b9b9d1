// What the playlist makes of the paths a user names: folders opened to their AVI files in
// name order, and each file read for its row or for the reason it cannot be played.
#include "demo/player/Playlist.h"
#include "tests/TestKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(Playlist, FoldersGiveTheirAviFilesInNameOrder)
{
    const testkit::TempDir tmp{"skinkit_playlist"};
    for (const char* name : {"b.avi", "A.AVI", "c.txt", "d.avi.part", "sub/e.avi"}) {
        std::filesystem::create_directories(std::filesystem::path(tmp.File(name)).parent_path());
        std::ofstream(tmp.File(name)) << "x";
    }
    std::filesystem::create_directories(tmp.File("folder.avi"));
    const struct
    {
        std::vector<std::string> in;
        std::vector<std::string> out;
    } cases[] = {
        {{tmp.Path()}, {tmp.File("A.AVI"), tmp.File("b.avi")}},
        {{tmp.File("c.txt"), tmp.File("gone.avi")}, {tmp.File("c.txt"), tmp.File("gone.avi")}},
        {{tmp.File("sub"), tmp.File("b.avi")}, {tmp.File("sub/e.avi"), tmp.File("b.avi")}},
        {{tmp.File("folder.avi")}, {}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(player::ExpandPaths(c.in), c.out) << (c.in.empty() ? "" : c.in[0]);
}

TEST(Playlist, AFileTheReaderRefusesSaysWhy)
{
    const testkit::TempDir tmp{"skinkit_playlist"};
    // Which files the reader refuses is its own test; one of them here.
    const struct
    {
        const char* name;
        std::string bytes; // empty: no file
        const char* problem;
    } cases[] = {
        {"gone.avi", "", "no such file"},
        {"text.avi", "hello, not a video", "not an AVI file this reader understands"},
    };
    for (const auto& c : cases) {
        const std::string path = c.bytes.empty() ? tmp.File(c.name) : tmp.Write(c.name, c.bytes);
        const player::PlaylistEntry e = player::ReadEntry(path);
        EXPECT_FALSE(e.playable) << c.name;
        EXPECT_EQ(e.problem, c.problem) << c.name;
        EXPECT_EQ(e.name + ".avi", c.name);
    }
}

} // namespace
