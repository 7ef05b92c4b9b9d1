#include "platform/base/FilePath.h"
#include "tests/TestKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class WindowsAuthoredPaths : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(root / "Skin" / "Img");
        std::ofstream(root / "Skin" / "Img" / "Play.PNG") << "x";
    }
    CString Win(const std::string& rel) { return CString::FromUtf8(root.string() + "\\" + rel); }
    testkit::TempDir tmp{"skinkit_test"};
    const fs::path root = tmp.Root();
};

TEST_F(WindowsAuthoredPaths, BackslashesAndOtherLetterCaseFindTheFileMissingNamesKeepTheirs)
{
    const std::string want = (root / "Skin" / "Img" / "Play.PNG").string();
    EXPECT_EQ(platform::ResolvePath(Win("skin\\img\\play.png")), want);
    EXPECT_EQ(platform::ResolvePath(Win("SKIN\\Img\\\\PLAY.png")), want);
    FILE* f = _wfopen(Win("skin\\IMG\\play.png"), L"rb");
    ASSERT_NE(f, nullptr);
    fclose(f);
    EXPECT_EQ(_waccess(Win("skin\\img\\PLAY.PNG"), 0), 0);
    // Missing names keep their spelling, for creation.
    EXPECT_EQ(platform::ResolvePath(Win("skin\\img\\New.png")),
              (root / "Skin" / "Img" / "New.png").string());
    EXPECT_EQ(platform::ResolvePath(Win("nope\\Deep\\x")), (root / "nope" / "Deep" / "x").string());
    EXPECT_EQ(_wfopen(Win("skin\\img\\missing.png"), L"rb"), nullptr);
}
