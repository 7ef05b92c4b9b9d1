// Emptying a folder and the choosers' answers use a path exactly as it is: a folder that
// differs only in letter case or in a backslash is another folder, and a name that is not
// UTF-8 is answered as its own bytes.
#include "util/UtilPath.h"

#include "StandInChooser.h"
#include "platform/base/CString.h"
#include "platform/base/FilePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class ExactFolders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/skinkit_exact_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    std::vector<std::string> Left() const
    {
        std::vector<std::string> left;
        for (const auto& e : fs::recursive_directory_iterator(root))
            left.push_back(e.path().lexically_relative(root).string());
        std::sort(left.begin(), left.end());
        return left;
    }
    fs::path root;
};

} // namespace

TEST_F(ExactFolders, EmptyingMediaLeavesMediaWithACapitalAlone)
{
    fs::create_directories(root / "Media");
    fs::create_directories(root / "media");
    std::ofstream(root / "Media" / "keep.avi") << "k";
    std::ofstream(root / "media" / "gone.avi") << "g";
    CString folder = CString::FromPathBytes((root / "media").string());
    CUtilPath().RemoveAll(folder.GetBuffer());
    EXPECT_EQ(Left(), (std::vector<std::string>{"Media", "Media/keep.avi", "media"}));
}

TEST_F(ExactFolders, AFolderThatExistsOnlyInAnotherCaseOrWithSlashesIsNotEmptied)
{
    fs::create_directories(root / "Media");
    fs::create_directories(root / "x" / "y");
    std::ofstream(root / "Media" / "keep.avi") << "k";
    std::ofstream(root / "x" / "y" / "keep.txt") << "k";
    for (const std::string& asked : {(root / "media").string(), root.string() + "/x\\y"}) {
        CString folder = CString::FromPathBytes(asked);
        CUtilPath().RemoveAll(folder.GetBuffer());
    }
    EXPECT_EQ(Left(),
              (std::vector<std::string>{"Media", "Media/keep.avi", "x", "x/y", "x/y/keep.txt"}));
}

TEST_F(ExactFolders, ALatin1FolderIsEmptiedAndAChosenLatin1NameOpens)
{
    const std::string latin1 = (root / "vid\xE9os").string();
    fs::create_directories(latin1);
    const std::string file = latin1 + "/clip \xE9t\xE9.avi";
    std::ofstream(file) << "c";

    // The chooser hands back bytes; the caller's buffer holds a name that opens the file.
    StandInChooser standIn;
    standIn.answers.push_back(StandInChooser::Chosen(file));
    wchar_t out[MAX_PATH] = {};
    ASSERT_EQ(CUtilPath().SelectFile(nullptr, nullptr, nullptr, out, 0), 1);
    EXPECT_EQ(CString(out).ToPathBytes(), file);
    FILE* f = _wfopen(out, L"rb");
    EXPECT_NE(f, nullptr);
    if (f)
        std::fclose(f);

    CString folder = CString::FromPathBytes(latin1);
    CUtilPath().RemoveAll(folder.GetBuffer());
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::is_directory(latin1));
}
