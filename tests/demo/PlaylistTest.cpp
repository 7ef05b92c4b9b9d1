// What the playlist makes of the paths a user names: folders opened to their AVI files in
// name order. The rows of files it cannot play are read with the damaged files.
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
    // The paths named and the files they give.
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{tmp.Path()}, {tmp.File("A.AVI"), tmp.File("b.avi")}},
        {{tmp.File("c.txt"), tmp.File("gone.avi")}, {tmp.File("c.txt"), tmp.File("gone.avi")}},
        {{tmp.File("sub"), tmp.File("b.avi")}, {tmp.File("sub/e.avi"), tmp.File("b.avi")}},
        {{tmp.File("folder.avi")}, {}},
        {{}, {}},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(player::ExpandPaths(in), out) << (in.empty() ? "" : in[0]);
}

} // namespace
