// zenity and kdialog as the library runs them: fake programs first in PATH record their
// arguments and answer as told.
#include "util/UtilPath.h"

#include "platform/base/CString.h"
#include "tests/TestKit.h"
#include "util/chooser/Chooser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class FakeDialogPrograms : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(dir / "bin");
        fs::create_directories(dir / "Media");
        // Each run appends its arguments, one a line, then "--"; a question gets its own exit.
        const std::string script =
            "#!/bin/sh\n"
            "for a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$FAKE_ARGS\"\n"
            "echo -- >> \"$FAKE_ARGS\"\n"
            "case \"$1$2$3\" in *--question*|*--yesno*) exit 0;; esac\n"
            "[ -n \"$FAKE_ANSWER\" ] && printf '%s\\n' \"$FAKE_ANSWER\"\n"
            "exit ${FAKE_EXIT:-0}\n";
        for (const char* name : {"zenity", "kdialog"}) {
            std::ofstream(dir / "bin" / name) << script;
            fs::permissions(dir / "bin" / name, fs::perms::owner_all);
        }
        for (const char* name : {"PATH", "DISPLAY"})
            saved.emplace_back(name, std::getenv(name) ? std::getenv(name) : "");
        ::setenv("PATH", ((dir / "bin").string() + ":" + saved[0].second).c_str(), 1);
        ::setenv("DISPLAY", ":99", 1);
        ::setenv("FAKE_ARGS", (dir / "args").c_str(), 1);
        chooser::SetBackend(nullptr);
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved)
            ::setenv(name.c_str(), value.c_str(), 1);
        for (const char* name : {"FAKE_ARGS", "FAKE_ANSWER", "FAKE_EXIT", "SKINKIT_CHOOSER"})
            ::unsetenv(name);
    }

    // The argument lists of every run so far.
    std::vector<std::vector<std::string>> Runs() const
    {
        std::vector<std::vector<std::string>> runs(1);
        std::ifstream in(dir / "args");
        for (std::string line; std::getline(in, line);)
            line == "--" ? void(runs.emplace_back()) : runs.back().push_back(line);
        runs.pop_back();
        return runs;
    }
    static bool Has(const std::vector<std::string>& list, const std::string& item)
    {
        return std::find(list.begin(), list.end(), item) != list.end();
    }

    testkit::TempDir tmp{"skinkit_fakebin"};
    const fs::path dir = tmp.Root();
    std::vector<std::pair<std::string, std::string>> saved;
};

} // namespace

using ZenityArguments = FakeDialogPrograms;

// One run of each kind: the file chooser with filters, folder and a new name (then the question
// box), the folder browser, and a cancel.
TEST_F(ZenityArguments, FileFolderAndQuestionInItsOwnSyntax)
{
    ::setenv("SKINKIT_CHOOSER", "zenity", 1);
    const std::string fresh = (dir / "Media" / "new.avi").string();
    ::setenv("FAKE_ANSWER", fresh.c_str(), 1);
    wchar_t filter[] = L"Videos\0*.avi;*.mkv\0All\0*.*\0";
    CString folder = CString::FromUtf8((dir / "Media").string());
    wchar_t out[MAX_PATH] = L"";
    EXPECT_EQ(CUtilPath().SelectFile(nullptr, filter, folder.GetBuffer(), out, 1), 1);
    EXPECT_EQ(CString(out).ToUtf8(), fresh);
    wchar_t caption[] = L"Record to", ok[] = L"Use", cancel[] = L"Back";
    ::setenv("FAKE_ANSWER", (dir / "Media").c_str(), 1);
    EXPECT_EQ(CUtilPath().SelectFolder(nullptr, nullptr, caption, out, ok, cancel, 0), 1);
    EXPECT_EQ(CString(out).ToUtf8(), (dir / "Media").string());
    for (const char* status : {"1", "255"}) { // a cancel, a failure
        ::setenv("FAKE_EXIT", status, 1);
        wchar_t untouched[MAX_PATH] = L"untouched";
        EXPECT_EQ(CUtilPath().SelectFolder(nullptr, untouched), 0) << status;
        EXPECT_STREQ(untouched, L"untouched");
    }
    const auto runs = Runs();
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0][0], "--file-selection");
    const std::string wantFile[] = {"--save", "--filename=" + (dir / "Media").string() + "/",
                                    "--file-filter=Videos | *.avi *.mkv", "--file-filter=All | *"};
    for (const std::string& want : wantFile)
        EXPECT_TRUE(Has(runs[0], want)) << want;
    EXPECT_EQ(runs[1][0], "--question");
    for (const std::string want : {"--file-selection", "--directory", "--title=Record to"})
        EXPECT_TRUE(Has(runs[2], want)) << want;
    // zenity refuses button texts for its file chooser and shows nothing at all.
    for (const std::string refused : {"--ok-label=Use", "--cancel-label=Back"})
        EXPECT_FALSE(Has(runs[2], refused)) << refused;

    // "none" runs no program at all.
    ::setenv("SKINKIT_CHOOSER", "none", 1);
    ::unsetenv("FAKE_EXIT");
    wchar_t untouched[MAX_PATH] = L"untouched";
    EXPECT_EQ(CUtilPath().SelectFile(nullptr, nullptr, nullptr, untouched, 0), 0);
    EXPECT_STREQ(untouched, L"untouched");
    EXPECT_EQ(Runs().size(), 5u);
}

// An owner shown on X11 makes the chooser its dialog; parents of other kinds are left out.
TEST_F(FakeDialogPrograms, AnX11ParentIsAttachedInDecimal)
{
    struct Case
    {
        const char* parent;
        std::vector<std::string> zenity, kdialog; // what is passed for it
    } const cases[] = {
        {"x11:1a00003", {"--attach=27262979"}, {"--attach", "27262979"}},
        {"wayland:Hx9s", {}, {}},
        {"x11:", {}, {}},
        {"x11:zz", {}, {}},
        {"", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parent);
        chooser::Request request;
        request.kind = chooser::Request::Kind::Folder;
        request.parentWindow = c.parent;
        for (const char* program : {"zenity", "kdialog"}) {
            fs::remove(dir / "args");
            ::setenv("SKINKIT_CHOOSER", program, 1);
            EXPECT_EQ(chooser::Choose(request).result, chooser::Answer::Result::Chosen);
            const auto runs = Runs();
            ASSERT_EQ(runs.size(), 1u);
            std::vector<std::string> attach;
            for (auto it = runs[0].begin(); it != runs[0].end(); ++it) {
                if (it->rfind("--attach=", 0) == 0)
                    attach.push_back(*it);
                else if (*it == "--attach" && it + 1 != runs[0].end())
                    attach.insert(attach.end(), {*it, *(it + 1)});
            }
            EXPECT_EQ(attach, std::string(program) == "zenity" ? c.zenity : c.kdialog) << program;
        }
    }
}

// Several files at once: each program is asked for them in its own syntax and every line it
// prints is a chosen path; a single choice still answers the first line alone and asks for
// nothing more.
TEST_F(FakeDialogPrograms, SeveralFilesComeBackInOrder)
{
    const std::string a = (dir / "Media" / "a clip.avi").string();
    const std::string b = (dir / "Media" / "b.avi").string();
    ::setenv("FAKE_ANSWER", (a + "\n" + b).c_str(), 1);
    struct Case
    {
        const char* program;
        std::vector<std::string> asked; // the arguments that ask for several
    } const cases[] = {
        {"zenity", {"--multiple", "--separator="}}, // the separator is a newline
        {"kdialog", {"--multiple", "--separate-output"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        ::setenv("SKINKIT_CHOOSER", c.program, 1);
        chooser::Request request;
        request.multiple = true;
        fs::remove(dir / "args");
        const chooser::Answer several = chooser::Choose(request);
        EXPECT_EQ(several.result, chooser::Answer::Result::Chosen);
        EXPECT_EQ(several.paths, (std::vector<std::string>{a, b}));
        EXPECT_EQ(several.path, a);
        request.multiple = false;
        const chooser::Answer one = chooser::Choose(request);
        EXPECT_EQ(one.paths, std::vector<std::string>{a});
        EXPECT_EQ(one.path, a);
        // Asking for a new name never asks for several.
        request.multiple = request.allowNewName = true;
        EXPECT_EQ(chooser::Choose(request).paths, std::vector<std::string>{a});
        // CUtilPath's way: every path, and a cancel leaves the list alone.
        wchar_t filter[] = L"Videos\0*.avi\0";
        std::vector<CString> paths;
        EXPECT_EQ(CUtilPath().SelectFiles(nullptr, filter, nullptr, paths), 2);
        EXPECT_EQ(paths, (std::vector<CString>{CString::FromUtf8(a), CString::FromUtf8(b)}));
        ::setenv("FAKE_EXIT", "1", 1);
        EXPECT_EQ(CUtilPath().SelectFiles(nullptr, filter, nullptr, paths), 0);
        EXPECT_EQ(paths.size(), 2u);
        ::unsetenv("FAKE_EXIT");
        const auto runs = Runs();
        ASSERT_EQ(runs.size(), 5u);
        EXPECT_TRUE(Has(runs[3], c.asked[0]));
        for (const std::string& want : c.asked) {
            EXPECT_TRUE(Has(runs[0], want)) << want;
            EXPECT_FALSE(Has(runs[1], want)) << want;
            EXPECT_FALSE(Has(runs[2], want)) << want;
        }
    }
}

using KDialogArguments = FakeDialogPrograms;

TEST_F(KDialogArguments, FiltersAndFoldersInItsOwnSyntax)
{
    ::setenv("SKINKIT_CHOOSER", "kdialog", 1);
    ::setenv("FAKE_ANSWER", "/tmp", 1);
    wchar_t filter[] = L"Videos\0*.avi;*.mkv\0All\0*.*\0";
    CString folder = CString::FromUtf8((dir / "Media").string());
    wchar_t out[MAX_PATH] = L"";
    EXPECT_EQ(CUtilPath().SelectFile(nullptr, filter, folder.GetBuffer(), out, 0), 1);
    wchar_t title[] = L"Where";
    EXPECT_EQ(CUtilPath().SelectFolder(nullptr, out, title), 1);
    const auto runs = Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0],
              (std::vector<std::string>{"--getopenfilename", (dir / "Media").string() + "/",
                                        "*.avi *.mkv|Videos", "*|All"})); // one argument, two lines
    EXPECT_EQ(runs[1],
              (std::vector<std::string>{"--title", "Where", "--getexistingdirectory", "."}));
}
