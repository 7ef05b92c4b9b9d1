// skinkit-skin run as a separate program: its JSON read back with a JSON parser, its exit
// status for a broken skin.
#include "SkinFiles.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <set>
#include <sys/wait.h>
#include <vector>

namespace {

struct ToolRun
{
    int status;
    std::vector<nlohmann::json> lines;
    std::string text;
};

ToolRun Tool(const std::string& args)
{
    ToolRun r{};
    const std::string command = std::string(SKINKIT_SKIN_TOOL) + " " + args + " 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    char buf[4096];
    while (p && fgets(buf, sizeof buf, p))
        r.text += buf;
    r.status = p ? WEXITSTATUS(pclose(p)) : -1;
    size_t start = 0;
    while (start < r.text.size()) {
        const size_t end = r.text.find('\n', start);
        const std::string line = r.text.substr(start, end - start);
        if (!line.empty() && line[0] == '{')
            r.lines.push_back(nlohmann::json::parse(line));
        start = end == std::string::npos ? r.text.size() : end + 1;
    }
    return r;
}

std::string Q(const CString& s)
{
    return "'" + s.ToUtf8() + "'";
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
    EXPECT_EQ(r.lines[0]["name"], "Zeta");
    EXPECT_EQ(r.lines[1]["name"], "BtnPlay");
    EXPECT_EQ(r.lines[1]["rc"], nlohmann::json({10, 20, 42, 52}));
    EXPECT_EQ(r.lines[1]["clrText"], "0xFF0080FF");
    EXPECT_EQ(r.lines[1]["crText"], "0x00FF8000");
    for (const char* key : {"x",  "y",    "cx",  "cy",      "s2l",    "s2r",      "s2t",     "s2b",
                            "hc", "vc",   "dl",  "dr",      "dt",     "db",       "h_ratio", "type",
                            "rc", "rcS2", "rcD", "clrText", "crText", "clrColor", "crColor"})
        EXPECT_TRUE(r.lines[1].contains(key)) << key;

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

TEST_F(SkinTool, CheckReportsEveryProblemAndFailsOnlyWhenThereIsOne)
{
    std::filesystem::create_directories(root / "Img");
    Write("Img/Bad.png", "not a picture");
    const CString layout = Write("layout.ini", "[A]\nx=1\ny=2\n[B]\ncx=1\n[A]\n[a]\nx=0\ny=0\n");
    const CString list = Write("images.ini", "[HD-png]\np=missing.png\np=bad.png\n");
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
                                             "bad language id [Language Info] LanguageID"};
    EXPECT_EQ(problems, want) << r.text;

    const ToolRun clean = Tool("check --layout " + Q(Write("ok.ini", "[A]\nx=1\ny=1\n")));
    EXPECT_EQ(clean.status, 0) << clean.text;
}
