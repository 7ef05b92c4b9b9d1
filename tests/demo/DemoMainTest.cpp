// The demo program run as a user runs it: each way it can end, with its exit status (0 done,
// 1 an operation failed, 2 bad usage) and the message that says why.
#include "tests/TestKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(DemoMain, ExitStatusAndMessageSayWhatWentWrong)
{
    // The built layout with the window made 100,000 pixels wide.
    std::ifstream in(std::string(SKINKIT_DEMO_SKIN_BUILD_DIR) + "/layout.ini");
    const std::string real{std::istreambuf_iterator<char>(in), {}};
    const std::string huge = std::regex_replace(real, std::regex("cx=800"), "cx=100000",
                                                std::regex_constants::format_first_only);
    ASSERT_NE(huge, real);

    // The arguments ({skin} and {tmp} replaced), the layout (null: the built one; "": none), the
    // exit status, and a regular expression over standard error (or output for 0).
    const std::tuple<const char*, const char*, int, const char*> cases[] = {
        {"--skin {skin} --screenshot {tmp}/shot.png", nullptr, 0, "screenshot written to"},
        // Files the reader cannot play are listed with the reason, not fatal.
        {"--skin {skin} --screenshot {tmp}/shot.png {tmp}/missing.avi {skin}", nullptr, 0,
         "screenshot written to"},
        {"--no-such-option", nullptr, 2, "usage: skinkit-demo"},
        {"--exit-after soon", nullptr, 2, "--exit-after takes milliseconds, not soon"},
        {"--backend wayland --screenshot {tmp}/shot.png", nullptr, 2, "no window backend named"},
        {"--skin {tmp}/absent --screenshot {tmp}/shot.png", nullptr, 1,
         "no sample skin in .*/absent"},
        {"--skin {skin} --screenshot {tmp}/shot.png", "", 1,
         "layout .*/skin/layout.ini is missing or unreadable"},
        {"--skin {skin} --screenshot {tmp}/shot.png", "\x01\x02[garbage\n\xff\xfe=\n", 1,
         "layout .*/skin/layout.ini is damaged"},
        {"--skin {skin} --screenshot {tmp}/shot.png", huge.c_str(), 1,
         "asks for a 100000x600 window, beyond the size that can be drawn"},
        {"--skin {skin} --screenshot {tmp}/no/folder/shot.png", nullptr, 1,
         "cannot write the screenshot .*/no/folder/shot.png"},
    };
    for (const auto& [pattern, layout, status, message] : cases) {
        // A copy of the built sample skin, its layout.ini replaced as the case says.
        const testkit::TempDir tmp{"skinkit_demo_main"};
        const std::string skin = tmp.File("skin");
        fs::copy(SKINKIT_DEMO_SKIN_BUILD_DIR, skin, fs::copy_options::recursive);
        if (layout)
            fs::remove(skin + "/layout.ini");
        if (layout && *layout)
            std::ofstream(skin + "/layout.ini", std::ios::binary) << layout;
        std::string args = std::regex_replace(pattern, std::regex("\\{skin\\}"), skin);
        args = std::regex_replace(args, std::regex("\\{tmp\\}"), tmp.Path());
        int got = -1;
        std::string err;
        // The sample media go to the case's own cache folder, never the working folder.
        const std::string out = testkit::RunCommand(
            "cd " + testkit::Quote(tmp.Path()) +
                " && XDG_CACHE_HOME=" + testkit::Quote(tmp.Path()) +
                " SKINKIT_SETTINGS_DIR=" + testkit::Quote(tmp.File("settings")) +
                " SKINKIT_DEMO_MEDIA= " + testkit::Quote(SKINKIT_DEMO_EXE) + " " + args,
            &got, &err);
        EXPECT_EQ(got, status) << args << "\n" << err;
        EXPECT_TRUE(std::regex_search(status == 0 ? out : err, std::regex(message)))
            << args << "\nout: " << out << "\nerr: " << err;
        // With no files named the sample files are made, in the cache folder.
        if (status == 0) {
            EXPECT_EQ(fs::exists(tmp.File("skinkit/Garden path.avi")),
                      args.find(".avi") == std::string::npos);
            EXPECT_FALSE(fs::exists(tmp.File("skinkit-demo-media")));
        }
    }
}

} // namespace
