// zenity and kdialog as the library runs them: fake programs first in PATH record their
// arguments and answer as told.
#include "platform/base/CString.h"
#include "tests/TestKit.h"
#include "util/chooser/Chooser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using Args = std::vector<std::string>;

class FakeDialogPrograms : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(dir / "bin");
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
        ::setenv("FAKE_ANSWER", "/m/a clip.avi\n/m/b.avi", 1);
        chooser::SetBackend(nullptr);
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved)
            ::setenv(name.c_str(), value.c_str(), 1);
        for (const char* name : {"FAKE_ARGS", "FAKE_ANSWER", "FAKE_EXIT", "SKINKIT_CHOOSER"})
            ::unsetenv(name);
    }

    // The argument lists of every run since the last call.
    std::vector<Args> Runs() const
    {
        std::vector<Args> runs(1);
        std::ifstream in(dir / "args");
        for (std::string line; std::getline(in, line);)
            line == "--" ? void(runs.emplace_back()) : runs.back().push_back(line);
        runs.pop_back();
        fs::remove(dir / "args");
        return runs;
    }

    testkit::TempDir tmp{"skinkit_fakebin"};
    const fs::path dir = tmp.Root();
    std::vector<std::pair<std::string, std::string>> saved;
};

} // namespace

// A file chooser for a new name (which never asks for several), a folder chooser with its own
// texts and several files, each in the program's own syntax; an X11 owner is attached in
// decimal, other owners are left out. Every line printed names a file when several were asked
// for; otherwise the first line alone answers. Exit 1 is a cancel, any other failure leaves the
// next backend to try; the question box asks in each program's syntax; "none" runs no program.
TEST_F(FakeDialogPrograms, EachRequestInTheProgramsOwnSyntaxAndCancelsFailuresQuestionsAndNone)
{
    chooser::Request newName, folder, several;
    newName.allowNewName = newName.multiple = true;
    newName.initialFolder = "/m";
    newName.filters = {{"Videos", {"*.avi", "*.mkv"}}, {"All", {"*"}}};
    newName.parentWindow = "x11:1a00003";
    folder.kind = chooser::Request::Kind::Folder;
    folder.title = "Record to";
    folder.acceptLabel = "Use";
    folder.cancelLabel = "Back";
    folder.parentWindow = "x11:zz";
    several.multiple = true;
    several.parentWindow = "wayland:Hx9s";
    // The program, the request, its arguments as the fake records them.
    const std::tuple<const char*, const chooser::Request&, Args> cases[] = {
        {"zenity",
         newName,
         {"--file-selection", "--modal", "--save", "--attach=27262979", "--filename=/m/",
          "--file-filter=Videos | *.avi *.mkv", "--file-filter=All | *"}},
        // zenity refuses button texts for its file chooser and shows nothing at all.
        {"zenity", folder, {"--file-selection", "--modal", "--directory", "--title=Record to"}},
        // The separator is a newline: the fake records an argument a line.
        {"zenity", several, {"--file-selection", "--modal", "--multiple", "--separator=", ""}},
        {"kdialog",
         newName,
         {"--attach", "27262979", "--getsavefilename", "/m/", "*.avi *.mkv|Videos",
          "*|All"}}, // one argument of two lines
        {"kdialog", folder, {"--title", "Record to", "--getexistingdirectory", "."}},
        {"kdialog", several, {"--getopenfilename", ".", "--multiple", "--separate-output"}},
    };
    for (const auto& [program, request, args] : cases) {
        ::setenv("SKINKIT_CHOOSER", program, 1);
        const chooser::Answer a = chooser::Choose(request);
        EXPECT_EQ(Runs(), std::vector<Args>{args}) << program << " " << args.back();
        EXPECT_EQ(a.result, chooser::Answer::Result::Chosen);
        EXPECT_EQ(a.path, "/m/a clip.avi");
        EXPECT_EQ(a.paths, (&request == &several ? Args{"/m/a clip.avi", "/m/b.avi"}
                                                 : Args{"/m/a clip.avi"}));
    }

    for (const char* program : {"zenity", "kdialog"}) {
        ::setenv("SKINKIT_CHOOSER", program, 1);
        for (const auto& [exit, result] :
             {std::pair{"1", chooser::Answer::Result::Cancelled},
              std::pair{"255", chooser::Answer::Result::Unavailable}}) {
            ::setenv("FAKE_EXIT", exit, 1);
            EXPECT_EQ(chooser::Choose({}).result, result) << program << " " << exit;
        }
        ::unsetenv("FAKE_EXIT");
        EXPECT_EQ(chooser::Ask({"Open", "Create it?"}).result, chooser::Answer::Result::Chosen);
        const auto runs = Runs();
        ASSERT_EQ(runs.size(), 3u);
        EXPECT_EQ(runs[2], (std::string(program) == "zenity"
                                ? Args{"--question", "--modal", "--text=Create it?", "--title=Open"}
                                : Args{"--title", "Open", "--yesno", "Create it?"}));
    }
    ::setenv("SKINKIT_CHOOSER", "none", 1);
    EXPECT_EQ(chooser::Choose({}).result, chooser::Answer::Result::Unavailable);
    EXPECT_TRUE(Runs().empty());
}
