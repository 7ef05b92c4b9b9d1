// skinkit-skin says what is missing: a file it cannot read is a finding or a message with exit
// status 1, never an empty listing or a default record shown as if it were found.
#include "SkinFiles.h"

#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

struct Outcome
{
    int status = -1;
    std::string out, err;
};

Outcome Skin(const std::string& args)
{
    char errName[] = "/tmp/skinkit_skin_err_XXXXXX";
    const int fd = ::mkstemp(errName);
    ::close(fd);
    Outcome r;
    const std::string command =
        std::string("'") + SKINKIT_SKIN_TOOL + "' " + args + " 2>'" + errName + "'";
    FILE* p = ::popen(command.c_str(), "r");
    char buf[4096];
    while (p && std::fgets(buf, sizeof buf, p))
        r.out += buf;
    const int status = p ? ::pclose(p) : -1;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* e = std::fopen(errName, "r")) {
        while (std::fgets(buf, sizeof buf, e))
            r.err += buf;
        std::fclose(e);
    }
    std::remove(errName);
    return r;
}

std::string Q(const CString& s)
{
    return "'" + s.ToPathBytes() + "'";
}

} // namespace

using SkinToolMissing = SkinFiles;

TEST_F(SkinToolMissing, CheckWithAMissingListIsAFinding)
{
    std::filesystem::create_directories(root / "img");
    const Outcome r = Skin("check --json --images " + Q(Root() + L"/img") + " --list " +
                           Q(Root() + L"/nope.ini"));
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    std::set<std::string> problems;
    size_t start = 0;
    while (start < r.out.size()) {
        const size_t end = r.out.find('\n', start);
        const std::string line = r.out.substr(start, end - start);
        if (!line.empty())
            problems.insert(nlohmann::json::parse(line)["problem"].get<std::string>());
        start = end == std::string::npos ? r.out.size() : end + 1;
    }
    EXPECT_EQ(problems, std::set<std::string>{"unreadable image list file"});
    EXPECT_NE(r.out.find("does not exist"), std::string::npos) << r.out;
}

TEST_F(SkinToolMissing, EachUnreadableFileAndAMissingFolderIsNamed)
{
    const CString dirAsFile = Root() + L"/folder.ini";
    std::filesystem::create_directories(root / "folder.ini");
    const CString list = Write("images.ini", "[HD-png]\na=a.png\n");
    struct
    {
        std::string args, problem;
    } const cases[] = {
        {"--layout " + Q(Root() + L"/none.ini"), "unreadable layout file"},
        {"--layout " + Q(dirAsFile), "unreadable layout file"},
        {"--lang " + Q(Root() + L"/none.ini"), "unreadable language file"},
        {"--images " + Q(Root() + L"/noimg") + " --list " + Q(list), "unreadable image folder"},
    };
    for (const auto& c : cases) {
        const Outcome r = Skin("check " + c.args);
        EXPECT_EQ(r.status, 1) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.problem), std::string::npos) << c.args << "\n" << r.out;
    }
}

TEST_F(SkinToolMissing, LayoutAndTextNameWhatIsMissing)
{
    const CString layout = Write("layout.ini", "[Btn]\nx=1\ny=2\n");
    const CString lang = Write("lang.ini", "[AppMain]\nIDC_OPEN=Open\n");
    struct
    {
        std::string args, said;
    } const cases[] = {
        {"layout " + Q(Root() + L"/none.ini"), "does not exist"},
        {"layout " + Q(layout) + " Nope", "no entry [Nope]"},
        {"layout " + Q(layout) + " btn", "no entry [btn]"},
        {"layout " + Q(Write("empty.ini", "")), "no entries"},
        {"text " + Q(Root() + L"/none.ini"), "does not exist"},
        {"text " + Q(lang) + " IDC_NONE", "no text IDC_NONE"},
    };
    for (const auto& c : cases) {
        const Outcome r = Skin(c.args + " --json");
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(r.out.find("\"name\""), std::string::npos) << "a default record: " << r.out;
    }
    EXPECT_EQ(Skin("layout " + Q(layout) + " Btn").status, 0);
    EXPECT_EQ(Skin("text " + Q(lang) + " IDC_OPEN").status, 0);
}

TEST_F(SkinToolMissing, AnUnknownCodePageIsRefused)
{
    const CString layout = Write("layout.ini", "[Btn]\nx=1\ny=2\n");
    const Outcome bad = Skin("--codepage NO-SUCH-PAGE layout " + Q(layout));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("NO-SUCH-PAGE"), std::string::npos) << bad.err;
    EXPECT_EQ(Skin("--codepage CP1251 layout " + Q(layout)).status, 0);
    const Outcome help = Skin("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);
}
