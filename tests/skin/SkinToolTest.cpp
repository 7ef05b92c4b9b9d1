// skinkit-skin run as a separate program: its JSON read back with a JSON parser, its exit
// statuses, and what it says when a file is missing (a finding or a message with status 1,
// never an empty listing or a default record shown as if it were found).
#include "Pictures.h"
#include "SkinFiles.h"

#include <nlohmann/json.hpp>

#include <set>
#include <sstream>
#include <vector>

namespace {

struct ToolRun
{
    int status = -1;
    std::string out, err;
    std::vector<nlohmann::json> lines; // the JSON objects on standard output
};

// `prefix` goes before the program on the command line ("timeout 10 ").
ToolRun Tool(const std::string& args, const std::string& prefix = "")
{
    ToolRun r;
    r.out = testkit::RunCommand(prefix + testkit::Quote(SKINKIT_SKIN_TOOL) + " " + args, &r.status,
                                &r.err);
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] == '{')
            r.lines.push_back(nlohmann::json::parse(line));
    return r;
}

std::string Q(const CString& s)
{
    return testkit::Quote(s.ToPathBytes());
}

} // namespace

using SkinTool = SkinFiles;

// The smoke test: a layout record and a language's texts as the loaders read them, one JSON
// object a line, sections in file order.
TEST_F(SkinTool, LayoutAndTextAsJson)
{
    const CString path = Write("layout.ini", "[Zeta]\nx=1\n[BtnPlay]\nx=10\ny=20\ncx=32\ncy=32\n"
                                             "ColorText=255,0,128,255\n[Zeta]\n");
    const ToolRun r = Tool("layout " + Q(path) + " --json");
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(
        std::tuple(r.lines[0]["name"], r.lines[1]["name"], r.lines[1]["rc"], r.lines[1]["crText"]),
        std::tuple("Zeta", "BtnPlay", nlohmann::json({10, 20, 42, 52}), "0x00FF8000"));

    const CString lang =
        Write("en.ini", "[Language Info]\nLanguageID=0x0409\nLanguageName=English\nMap=us\n"
                        "[Font Info]\nFontName=Tahoma\n[AppMain]\nIDC_OPEN=12,Open file\n");
    const ToolRun t = Tool("text " + Q(lang) + " --json IDC_OPEN");
    ASSERT_EQ(t.lines.size(), 2u);
    EXPECT_EQ(t.lines[0],
              nlohmann::json::parse(
                  R"({"lang_id":1033,"lang_name":"English","map":"us","font":"Tahoma"})"));
    EXPECT_EQ(t.lines[1]["main_text"], "Open file");
    EXPECT_EQ(t.lines[1]["setup_size"], -1);
}

// Per-scale pictures are checked beside their plain one: a wrong size (a@1.5x, 6 x 4 for a
// 4 x 2 picture) and one that does not decode (a@3x) are findings; a@2x is right.
TEST_F(SkinTool, CheckReportsEveryProblemAndFailsOnlyWhenThereIsOne)
{
    std::filesystem::create_directories(root / "Img");
    Write("Img/Bad.png", "not a picture");
    ASSERT_TRUE(pictures::Save(root / "Img" / "a.png", 4, 2, 0xFF0000FF));
    ASSERT_TRUE(pictures::Save(root / "Img" / "a@2x.png", 8, 4, 0xFF0000FF));
    ASSERT_TRUE(pictures::Save(root / "Img" / "a@1.5x.png", 6, 4, 0xFF0000FF));
    Write("Img/a@3x.png", "not a picture");
    const CString layout = Write("layout.ini", "[A]\nx=1\ny=2\n[B]\ncx=1\n[A]\n[a]\nx=0\ny=0\n");
    const CString list = Write("images.ini", "[HD-png]\np=missing.png\np=bad.png\na=a.png\n");
    const CString lang = Write("lang.ini", "[Language Info]\nLanguageID=0x40G\n");
    const ToolRun r = Tool("check --json --layout " + Q(layout) + " --images " +
                           Q(Root() + L"\\img") + " --list " + Q(list) + " --lang " + Q(lang));
    EXPECT_EQ(r.status, 1);
    std::multiset<std::string> problems;
    for (const auto& j : r.lines)
        problems.insert(j["problem"].get<std::string>() + " " + j["where"].get<std::string>());
    const std::multiset<std::string> want = {"duplicate name A",
                                             "duplicate name a",
                                             "no position B",
                                             "no position B",
                                             "duplicate name [HD-png] p",
                                             "missing file [HD-png] p=missing.png",
                                             "does not decode [HD-png] p=bad.png",
                                             "per-scale picture size [HD-png] a=a.png",
                                             "per-scale picture does not decode [HD-png] a=a.png",
                                             "bad language id [Language Info] LanguageID"};
    EXPECT_EQ(problems, want) << r.out;

    const ToolRun clean = Tool("check --layout " + Q(Write("ok.ini", "[A]\nx=1\ny=1\n")));
    EXPECT_EQ(clean.status, 0) << clean.out;
}

// A picture section longer than the loaders read is a finding wherever the cut falls: in its
// first line (nothing loads, and nothing else could be checked), a middle line or the last.
// One that fills the loaders' buffer exactly is whole.
TEST_F(SkinTool, APictureSectionCutAnywhereIsAFinding)
{
    // Lines of 100 characters with their NUL; the loaders read 16384 characters.
    const auto lines = [](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "n%03d=", i);
            text += name + std::string(94, 'f') + "\n";
        }
        return text;
    };
    const std::string tooLong = "long=" + std::string(20000, 'f') + "\n";
    // Where the cut falls, the section, whether it is cut.
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"first line", tooLong + lines(3), true},
        {"middle line", lines(100) + tooLong + lines(3), true},
        {"last line", lines(100) + tooLong, true},
        {"after the last line that fits", lines(200), true},
        // 163 lines and one of 81 characters: 16382 characters and the closing NUL.
        {"exact fit", lines(163) + "last=" + std::string(76, 'f') + "\n", false},
    };
    for (const auto& [where, section, cut] : cases) {
        const CString list = Write("images.ini", "[HD-png]\n" + section + "[HD-bmp]\n");
        const ToolRun r = Tool("check --json --images " + Q(Root()) + " --list " + Q(list));
        EXPECT_EQ(r.status, 1) << where; // the pictures do not exist either
        int cuts = 0;
        for (const auto& j : r.lines)
            cuts += j["problem"] == "section too long" && j["where"] == "[HD-png]";
        EXPECT_EQ(cuts, cut ? 1 : 0) << where << "\n" << r.out;
        const ToolRun text = Tool("check --images " + Q(Root()) + " --list " + Q(list));
        EXPECT_EQ(text.out.find("no problems found"), std::string::npos) << where;
    }
}

// layout and text answer alike for a file they cannot read: status 1 and the same cause, never
// defaults shown as if read. /dev/zero is refused without being read (it never ends).
TEST_F(SkinTool, LayoutAndTextRefuseTheSameUnreadableFiles)
{
    std::filesystem::create_directories(root / "folder.ini");
    const std::pair<std::string, const char*> cases[] = {
        {Q(Write("empty.ini", "")), "no entries"},
        {Q(Write("blank.ini", "\n\n; a comment\n")), "no entries"},
        {"/dev/zero", "is not a regular file"},
        {Q(Root() + L"/folder.ini"), "is a directory"},
        {Q(Root() + L"/none.ini"), "does not exist"},
    };
    for (const auto& [file, says] : cases)
        for (const char* command : {"layout --json ", "text --json ", "layout ", "text "}) {
            const ToolRun r = Tool(command + file, "timeout 10 ");
            EXPECT_EQ(r.status, 1) << command << file << "\n" << r.out << r.err;
            EXPECT_NE(r.err.find(says), std::string::npos) << command << file << ": " << r.err;
            EXPECT_EQ(r.out, "") << command << file;
        }
}

// Exit status 0 success, 1 a finding or a failed operation, 2 bad usage; each unreadable file
// (a missing list too: a finding, never an empty listing) and a missing folder named in what the
// tool says.
TEST_F(SkinTool, ExitStatusesAndWhatIsMissing)
{
    const std::string none = Q(Root() + L"/none.ini");
    const std::string list = Q(Write("images.ini", "[HD-png]\na=a.png\n"));
    const std::string layout = Q(Write("layout.ini", "[Btn]\nx=1\ny=2\n"));
    const std::string lang = Q(Write("lang.ini", "[AppMain]\nIDC_OPEN=Open\n"));
    // Arguments, exit status, what is said.
    const std::tuple<std::string, int, std::string> cases[] = {
        {"check --images " + Q(Root() + L"/noimg") + " --list " + list, 1,
         "unreadable image folder"},
        {"check --images " + Q(Root()) + " --list " + none, 1, "unreadable image list file"},
        {"layout --json " + layout + " Nope", 1, "no entry [Nope]"},
        {"text --json " + lang + " IDC_NONE", 1, "no text IDC_NONE"},
        {"--codepage NO-SUCH-PAGE layout " + layout, 2, "NO-SUCH-PAGE"},
        {"--codepage CP1251 layout " + layout, 0, ""},
        {"layout " + layout + " Btn", 0, ""},
    };
    for (const auto& [args, status, says] : cases) {
        const ToolRun r = Tool(args);
        EXPECT_EQ(r.status, status) << args << "\n" << r.out << r.err;
        EXPECT_NE((r.out + r.err).find(says), std::string::npos) << args << "\n" << r.out << r.err;
        if (status != 0) {
            EXPECT_EQ(r.out.find("\"name\""), std::string::npos) << "a default record: " << r.out;
        }
    }
}
