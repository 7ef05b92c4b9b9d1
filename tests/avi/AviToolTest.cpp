// skinkit-avi as a user runs it: exit status 0 success, 1 a failed operation or finding,
// 2 bad usage; messages on standard error that name the cause; a copy that never loses data.
#include "AviTestFiles.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

#include <unistd.h>

using namespace avitest;
using nlohmann::json;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Md5(const Bytes& b)
{
    gchar* hex = g_compute_checksum_for_data(G_CHECKSUM_MD5, b.data(), b.size());
    std::string s = hex;
    g_free(hex);
    return s;
}

FileLayout TwoStreams()
{
    FileLayout f;
    f.streams.push_back({StreamHeader("vids"), Pattern(40, 1), {}});
    f.streams.push_back({StreamHeader("auds", 1, 8000), Pattern(16, 2), {}});
    f.packets = {{"00dc", Pattern(300, 1), 0x10}, {"01wb", Pattern(33, 2), 0}};
    return f;
}

class Tool : public ::testing::Test
{
protected:
    // Runs the tool in the temp folder; standard output, and standard error in `err`.
    std::string Run(const std::string& args, int* status, std::string* err = nullptr)
    {
        const std::string errFile = m_dir.File("stderr.txt");
        const std::string out =
            RunCommand("cd " + Quote(m_dir.Path()) + " && " + Quote(SKINKIT_AVI_TOOL) + " " + args +
                           " 2>" + Quote(errFile),
                       status);
        if (err) {
            const Bytes e = ReadAll(errFile);
            err->assign(e.begin(), e.end());
        }
        return out;
    }
    // The folder's entries beside the test's own files: no temporary file may stay behind.
    std::vector<std::string> Entries()
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_dir.Path()))
            if (e.path().filename() != "stderr.txt")
                names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    TempDir m_dir;
};

TEST_F(Tool, PacketsJsonListsEveryPacketThenStopsAtTheFirstBadStream)
{
    FileLayout f = TwoStreams();
    f.indexExtra = IndexEntry("00dc", 0, 4, 1u << 30); // beyond the file
    const Bytes bad = IndexEntry("07dc", 0x10, 4, 8);
    f.indexExtra.insert(f.indexExtra.end(), bad.begin(), bad.end());
    const Bytes never = IndexEntry("00dc", 0x10, 4, 8);
    f.indexExtra.insert(f.indexExtra.end(), never.begin(), never.end());
    m_dir.Write("t.avi", Build(f));

    int status = 0;
    std::string err;
    const auto lines = Lines(Run("packets t.avi --json", &status, &err));
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("names stream 7"), std::string::npos) << err;
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], R"({"open":0,"video":1,"audio":1,"meta":0})");
    EXPECT_EQ(lines[1],
              R"({"n":0,"stream":0,"type":"vids","type_index":0,"size":300,"flags":16,"md5":")" +
                  Md5(Pattern(300, 1)) + "\"}");
    const json second = json::parse(lines[2]);
    EXPECT_EQ(second["type"], "auds");
    EXPECT_EQ(second["md5"], Md5(Pattern(33, 2)));
    EXPECT_EQ(lines[3], R"({"n":2,"result":-2})");
    EXPECT_EQ(lines[4], R"({"n":3,"error":"invalid_argument"})");
}

TEST_F(Tool, InfoDescribesStreamsAndCountsPackets)
{
    FileLayout f;
    Bytes strh = StreamHeader("vids", 1001, 30000, 2);
    std::memcpy(strh.data() + 4, "MJPG", 4);
    f.streams.push_back({strh, Pattern(40, 1), {}});
    f.streams.push_back({StreamHeader("txts", 1, 1000, 1), std::nullopt, {}});
    f.packets = {{"00dc", Pattern(10, 1)}, {"00dc", Pattern(10, 2)}, {"01tx", Pattern(3, 3)}};
    m_dir.Write("i.avi", Build(f));
    int status = 0;
    const std::string out = Run("info i.avi", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("streams: 2 (video 1, audio 0, meta 1)"), std::string::npos) << out;
    EXPECT_NE(out.find("handler \"MJPG\""), std::string::npos) << out;
    EXPECT_NE(out.find("rate 30000/1001 (29.970 per second)"), std::string::npos) << out;
    EXPECT_NE(out.find("format: none"), std::string::npos) << out;
    EXPECT_NE(out.find("packets: 3 (stream 0: 2, stream 1: 1)"), std::string::npos) << out;
}

// Failures and bad usage: the status, and a message that names the cause.
struct StatusCase
{
    const char* name;
    const char* args;
    int status;
    const char* message; // in standard error ("" for none expected)
};
void PrintTo(const StatusCase& c, std::ostream* os)
{
    *os << c.name;
}
class ToolStatus : public Tool, public ::testing::WithParamInterface<StatusCase>
{
};
TEST_P(ToolStatus, NamesTheCause)
{
    FileLayout info = TwoStreams();
    info.headerExtra = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'};
    m_dir.Write("info.avi", Build(info));
    m_dir.Write("ok.avi", Build(TwoStreams()));
    std::filesystem::create_directory(m_dir.File("folder"));
    int status = 0;
    std::string err;
    Run(GetParam().args, &status, &err);
    EXPECT_EQ(status, GetParam().status);
    EXPECT_NE(err.find(GetParam().message), std::string::npos) << err;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ToolStatus,
    ::testing::Values(
        StatusCase{"MissingFile", "info none.avi", 1, "No such file or directory"},
        StatusCase{"Directory", "packets folder", 1, "is a directory"},
        StatusCase{"NotAnAviTheDefaultWalkReads", "info info.avi", 1, "try --tolerant"},
        StatusCase{"TolerantReadsIt", "info --tolerant info.avi", 0, ""},
        StatusCase{"CopyFromAMissingFile", "copy none.avi out.avi", 1, "No such file"},
        StatusCase{"CopyIntoAFolder", "copy ok.avi folder", 1, "is a directory"},
        StatusCase{"UnknownCommand", "frobnicate", 2, ""},
        StatusCase{"MissingArgument", "copy only-one-argument", 2, ""},
        StatusCase{"UnknownOption", "info --frob ok.avi", 2, ""}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(Tool, HelpSaysWhatCopyReplacesAndRefuses)
{
    int status = 0;
    const std::string help = Run("copy --help", &status) + Run("--help", &status);
    EXPECT_EQ(status, 0);
    for (const char* text :
         {"OUT is replaced", "same file", "hard or symbolic link", "--skip-unreadable",
          "--tolerant", "Exit status: 0 success; 1", "2 bad usage"})
        EXPECT_NE(help.find(text), std::string::npos) << text << "\n" << help;
}

// --- copy ---

TEST_F(Tool, CopyKeepsEveryStreamAndPacket)
{
    FileLayout f;
    f.streams.push_back({StreamHeader("txts", 1, 1000, 2), Pattern(6, 1), {}});
    f.streams.push_back({StreamHeader("vids"), Pattern(40, 2), {}});
    f.packets = {
        {"00tx", Pattern(5, 1), 0}, {"01dc", Pattern(50, 2), 0x10}, {"00tx", Pattern(7, 3), 0}};
    m_dir.Write("in.avi", Build(f));
    m_dir.Write("out.avi", Bytes(10, 'x')); // replaced
    int status = 0;
    Run("copy in.avi out.avi", &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(Run("packets in.avi --json", &status), Run("packets out.avi --json", &status));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.avi", "out.avi"}));
}

// OUT naming IN under another name would destroy IN while it is read: refused before anything
// is opened for writing, and IN is left whole.
struct SameFileCase
{
    const char* name;
    const char* setup; // shell commands run in the folder first
    const char* out;
};
void PrintTo(const SameFileCase& c, std::ostream* os)
{
    *os << c.name;
}
class CopyOntoItself : public Tool, public ::testing::WithParamInterface<SameFileCase>
{
};
TEST_P(CopyOntoItself, IsRefused)
{
    const Bytes in = Build(TwoStreams());
    m_dir.Write("in.avi", in);
    int status = 0;
    RunCommand("cd " + Quote(m_dir.Path()) + " && " + GetParam().setup, &status);
    ASSERT_EQ(status, 0);
    const std::vector<std::string> before = Entries();
    std::string err;
    Run(std::string("copy in.avi ") + GetParam().out, &status, &err);
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("same file"), std::string::npos) << err;
    EXPECT_EQ(ReadAll(m_dir.File("in.avi")), in);
    EXPECT_EQ(Entries(), before);
}
INSTANTIATE_TEST_SUITE_P(
    Names, CopyOntoItself,
    ::testing::Values(SameFileCase{"SamePath", "true", "in.avi"},
                      SameFileCase{"AnotherSpelling", "mkdir sub", "sub/../././in.avi"},
                      SameFileCase{"HardLink", "ln in.avi link.avi", "link.avi"},
                      SameFileCase{"SymbolicLink", "ln -s in.avi sym.avi", "sym.avi"}),
    [](const auto& i) { return std::string(i.param.name); });

// Packets outside the file fail the copy unless --skip-unreadable; a failed copy leaves OUT as
// it was and no temporary file behind.
TEST_F(Tool, UnreadablePacketsFailTheCopyUnlessSkipped)
{
    FileLayout f = TwoStreams();
    f.indexExtra = IndexEntry("00dc", 0, 4, 1u << 20);
    m_dir.Write("in.avi", Build(f));
    const Bytes old(100, 'o');
    m_dir.Write("out.avi", old);
    int status = 0;
    std::string err;
    Run("copy in.avi out.avi", &status, &err);
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("--skip-unreadable"), std::string::npos) << err;
    EXPECT_EQ(ReadAll(m_dir.File("out.avi")), old);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.avi", "out.avi"}));

    Run("copy --skip-unreadable in.avi out.avi", &status, &err);
    EXPECT_EQ(status, 0) << err;
    const auto lines = Lines(Run("packets out.avi --json", &status));
    EXPECT_EQ(lines.size(), 3u); // the head and the two readable packets
}

// A copy that cannot be completed (here: a file size limit below the copy's size) fails with
// status 1 and leaves OUT as it was.
TEST_F(Tool, CopyThatCannotBeCompletedLeavesOutAsItWas)
{
    FileLayout f = TwoStreams();
    for (int i = 0; i < 40; ++i)
        f.packets.push_back({"00dc", Pattern(4000, static_cast<std::uint8_t>(i)), 0});
    m_dir.Write("in.avi", Build(f));
    const Bytes old(100, 'o');
    m_dir.Write("out.avi", old);
    int status = 0;
    std::string err;
    RunCommand("cd " + Quote(m_dir.Path()) + " && (ulimit -f 64; " + Quote(SKINKIT_AVI_TOOL) +
                   " copy in.avi out.avi) 2>" + Quote(m_dir.File("stderr.txt")),
               &status);
    const Bytes e = ReadAll(m_dir.File("stderr.txt"));
    err.assign(e.begin(), e.end());
    EXPECT_EQ(status, 1) << err;
    EXPECT_NE(err.find("out.avi"), std::string::npos) << err;
    EXPECT_EQ(ReadAll(m_dir.File("out.avi")), old);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.avi", "out.avi"}));
}

} // namespace
