// File names are bytes: every byte sequence must come back unchanged from a CString, and a
// name that is not UTF-8 must open, be written and be found as itself.
#include "avi/AviWriter.h"
#include "platform/base/CString.h"
#include "platform/base/FilePath.h"
#include "tests/TestKit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace fs = std::filesystem;

TEST(PathBytes, EveryByteSequenceComesBackUnchanged)
{
    const std::string cases[] = {
        "",
        "plain/ascii.png",
        "caf\xC3\xA9/\xE6\x97\xA5\xE6\x9C\xAC.avi", // valid UTF-8 stays characters
        "caf\xE9.avi",                              // Latin-1 e acute
        "\xFF\xFE\x80",                             // bytes that never start UTF-8
        "\xC3",                                     // a sequence cut at the end
        "\xC0\xAF",                                 // overlong "/"
        "\xED\xB2\x80",                             // U+DC80 encoded: must not alias byte 0x80
        "\xF4\x90\x80\x80",                         // past U+10FFFF
        "\xF0\x9F\x8E\xAC mixed \xE9 and \xC3\xA9",
    };
    for (const std::string& bytes : cases) {
        const CString name = CString::FromPathBytes(bytes);
        EXPECT_EQ(name.ToPathBytes(), bytes) << "bytes: " << bytes;
    }
    // Valid UTF-8 is text; an encoded U+DC80 is three undecodable bytes, not one.
    EXPECT_EQ(CString::FromPathBytes("caf\xC3\xA9"), CString(L"caf\u00E9"));
    EXPECT_EQ(CString::FromPathBytes("\xED\xB2\x80").GetLength(), 3);
}

class Latin1Names : public ::testing::Test
{
protected:
    // The names in the folder as the file system holds them.
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.insert(e.path().filename().native());
        return names;
    }
    testkit::TempDir tmp{"skinkit_bytes"};
    const std::string dir = tmp.Path();
};

// A Latin-1 name opens and a new one is written under its own bytes (no replacement character,
// EF BF BD); reading may find "Media" for "media", but writing must create "media" itself, and a
// backslash is part of a Linux name.
TEST_F(Latin1Names, WritingNeverLandsInANameThatDiffersInCaseOrSlashes)
{
    const std::string source = "caf\xE9.txt", copy = "copie \xE0 c\xF4t\xE9.txt";
    std::ofstream(dir + "/" + source) << "skin";
    fs::create_directory(fs::path(dir) / "Media");
    // Names as a listing hands them over, turned into a CString and back.
    const CString folder = CString::FromPathBytes(dir);
    FILE* in = _wfopen(folder + L"/" + CString::FromPathBytes(source), L"rb");
    ASSERT_NE(in, nullptr) << "a Latin-1 name does not open";
    std::fclose(in);
    for (const CString& name :
         {L"/" + CString::FromPathBytes(copy), CString(L"/media"), CString(L"/x\\y")}) {
        FILE* f = _wfopen(folder + name, L"wb");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    // The AVI writer creates its file through the same rule.
    mmAviWriter writer;
    ASSERT_EQ(writer.OpenAVI(CString::FromPathBytes(dir + "/s\xE9quence.avi")), 0);
    writer.CloseAVI();
    EXPECT_EQ(Names(),
              (std::set<std::string>{source, copy, "Media", "media", "x\\y", "s\xE9quence.avi"}));
    EXPECT_EQ(_waccess(folder + L"/" + CString::FromPathBytes(copy), 0), 0);
    EXPECT_EQ(platform::ExactPath(folder + L"/x\\y"), dir + "/x\\y");
}
