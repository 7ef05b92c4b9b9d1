// skinkit-avi as a user runs it: exit status 0 success, 1 a failed operation or finding,
// 2 bad usage; messages on standard error that name the cause; a copy that never loses data.
#include "AviTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <map>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace avitest;

namespace {

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
    // Runs the tool in the temp folder after the shell commands `prefix`; standard output, and
    // standard error in `err`.
    std::string Run(const std::string& args, int* status, std::string* err = nullptr,
                    const std::string& prefix = "")
    {
        return RunCommand("cd " + Quote(m_dir.Path()) + " && " + prefix + Quote(SKINKIT_AVI_TOOL) +
                              " " + args,
                          status, err ? err : &m_err);
    }
    std::string m_err;
    TempDir m_dir;
};

TEST_F(Tool, PacketsJsonListsEveryPacketThenStopsAtTheFirstBadStream)
{
    FileLayout f = TwoStreams();
    f.indexExtra = Cat(IndexEntry("00dc", 0, 4, 1u << 30), // beyond the file
                       IndexEntry("07dc", 0x10, 4, 8), IndexEntry("00dc", 0x10, 4, 8));
    m_dir.Write("t.avi", Build(f));

    int status = 0;
    std::string err;
    const std::string out = Run("packets t.avi --json", &status, &err);
    EXPECT_EQ(out, R"({"open":0,"video":1,"audio":1,"meta":0}
{"n":0,"stream":0,"type":"vids","type_index":0,"size":300,"flags":16,"md5":")" +
                       Md5(Pattern(300, 1).data(), 300) + R"("}
{"n":1,"stream":1,"type":"auds","type_index":0,"size":33,"flags":0,"md5":")" +
                       Md5(Pattern(33, 2).data(), 33) + R"("}
{"n":2,"result":-2}
{"n":3,"error":"invalid_argument"}
)");
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("names stream 7"), std::string::npos) << err;
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
    for (const char* text : {"streams: 2 (video 1, audio 0, meta 1)", "handler \"MJPG\"",
                             "rate 30000/1001 (29.970 per second)", "format: none",
                             "packets: 3 (stream 0: 2, stream 1: 1)"})
        EXPECT_NE(out.find(text), std::string::npos) << text << "\n" << out;
}

// A copy replaces OUT and keeps every stream and packet; --skip-unreadable leaves out the
// packets that lie outside the file.
TEST_F(Tool, CopyKeepsEveryStreamAndPacket)
{
    FileLayout f;
    f.streams.push_back({StreamHeader("txts", 1, 1000, 2), Pattern(6, 1), {}});
    f.streams.push_back({StreamHeader("vids"), Pattern(40, 2), {}});
    f.packets = {
        {"00tx", Pattern(5, 1), 0}, {"01dc", Pattern(50, 2), 0x10}, {"00tx", Pattern(7, 3), 0}};
    m_dir.Write("in.avi", Build(f));
    m_dir.Write("out.avi", Bytes(10, 'x'));
    int status = 0;
    Run("copy in.avi out.avi", &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(Run("packets in.avi --json", &status), Run("packets out.avi --json", &status));

    f = TwoStreams();
    f.indexExtra = IndexEntry("00dc", 0, 4, 1u << 20);
    m_dir.Write("in.avi", Build(f));
    std::string err;
    Run("copy --skip-unreadable in.avi out.avi", &status, &err);
    EXPECT_EQ(status, 0) << err;
    const std::string out = Run("packets out.avi --json", &status);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3); // head, two packets
}

// A copy ended by any signal whose default action ends the process leaves no temporary file,
// and the process still ends by that signal, so that whoever started it sees why.
TEST_F(Tool, CopyEndedByASignalLeavesNoTemporaryFile)
{
    FileLayout f = TwoStreams();
    // 16 MB: far longer to copy than the few milliseconds it takes to see the copy start.
    for (int i = 0; i < 256; ++i)
        f.packets.push_back({"00dc", Pattern(65536, static_cast<std::uint8_t>(i)), 0});
    m_dir.Write("in.avi", Build(f));
    const auto temporary = [this] {
        for (const auto& e : std::filesystem::directory_iterator(m_dir.Path()))
            if (e.path().filename().string().rfind(".out.avi.", 0) == 0)
                return true;
        return false;
    };
    std::vector<int> signals = {SIGHUP,  SIGINT,  SIGQUIT, SIGILL,   SIGTRAP,   SIGABRT,
                                SIGBUS,  SIGFPE,  SIGUSR1, SIGSEGV,  SIGUSR2,   SIGPIPE,
                                SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ,  SIGVTALRM, SIGPROF,
                                SIGIO,   SIGPWR,  SIGSYS,  SIGRTMIN, SIGRTMAX};
    for (int sig : signals) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // No core files: the signals that dump one would fill the folder.
            const rlimit none{0, 0};
            setrlimit(RLIMIT_CORE, &none);
            if (chdir(m_dir.Path().c_str()) == 0)
                execl(SKINKIT_AVI_TOOL, SKINKIT_AVI_TOOL, "copy", "in.avi", "out.avi", nullptr);
            _exit(127);
        }
        bool started = false;
        for (int wait = 0; wait < 10000 && !started; ++wait) {
            started = temporary();
            if (!started)
                usleep(1000);
        }
        kill(pid, started ? sig : SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(started) << "the copy did not start";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig)
            << strsignal(sig) << ": status " << status;
        EXPECT_FALSE(temporary()) << strsignal(sig);
        EXPECT_FALSE(std::filesystem::exists(m_dir.File("out.avi"))) << strsignal(sig);
    }
}

// Failures and bad usage: the status, a message that names the cause, and no file changed,
// added or left behind (a copy writes to a temporary file renamed over OUT only when whole).
struct FailureCase
{
    const char* name;
    const char* args;
    int status;
    const char* message; // in standard error ("" for none expected)
    const char* prefix = "";
};
class ToolFailure : public Tool, public ::testing::WithParamInterface<FailureCase>
{
protected:
    std::map<std::string, Bytes> Snapshot()
    {
        std::map<std::string, Bytes> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(m_dir.Path()))
            files[e.path().string()] = e.is_regular_file() ? ReadAll(e.path()) : Bytes{};
        return files;
    }
};
TEST_P(ToolFailure, NamesTheCauseAndChangesNoFile)
{
    FileLayout f = TwoStreams();
    m_dir.Write("ok.avi", Build(f));
    m_dir.Write("out.avi", Bytes(100, 'o'));
    ASSERT_EQ(link(m_dir.File("ok.avi").c_str(), m_dir.File("link.avi").c_str()), 0);
    ASSERT_EQ(symlink("ok.avi", m_dir.File("sym.avi").c_str()), 0);
    std::filesystem::create_directory(m_dir.File("folder"));
    // An OUT that is no regular file (a FIFO stands for devices and sockets: one test of the
    // file's kind refuses them all) would be replaced by a plain file when the copy is renamed
    // over it.
    ASSERT_EQ(mkfifo(m_dir.File("fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink("fifo", m_dir.File("to-fifo").c_str()), 0);
    f.headerExtra = List("INFO", {});
    m_dir.Write("info.avi", Build(f));
    f.headerExtra.clear();
    f.indexExtra = IndexEntry("00dc", 0, 4, 1u << 20);
    m_dir.Write("unreadable.avi", Build(f));
    for (int i = 0; i < 40; ++i)
        f.packets.push_back({"00dc", Pattern(4000, static_cast<std::uint8_t>(i)), 0});
    m_dir.Write("big.avi", Build(f));

    const auto before = Snapshot();
    int status = 0;
    std::string err;
    Run(GetParam().args, &status, &err, GetParam().prefix);
    EXPECT_EQ(status, GetParam().status);
    EXPECT_NE(err.find(GetParam().message), std::string::npos) << err;
    EXPECT_TRUE(Snapshot() == before);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ToolFailure,
    ::testing::Values(
        FailureCase{"MissingFile", "info none.avi", 1, "No such file or directory"},
        FailureCase{"Directory", "packets folder", 1, "is a directory"},
        FailureCase{"NotAnAviTheDefaultWalkReads", "info info.avi", 1, "try --tolerant"},
        FailureCase{"TolerantReadsIt", "info --tolerant info.avi", 0, ""},
        // An AVI file read through a pipe is an AVI file the reader cannot move about in, in
        // either walk (every command opens it alike).
        FailureCase{"ThroughAPipe", "info /dev/stdin", 1, "needs a seekable file", "cat ok.avi | "},
        FailureCase{"ThroughAPipeTolerant", "packets --tolerant /dev/stdin", 1,
                    "needs a seekable file", "cat ok.avi | "},
        FailureCase{"UnknownCommand", "frobnicate", 2, ""},
        FailureCase{"MissingArgument", "copy only-one-argument", 2, ""},
        FailureCase{"UnknownOption", "info --frob ok.avi", 2, ""},
        FailureCase{"CopyFromAMissingFile", "copy none.avi out.avi", 1, "No such file"},
        FailureCase{"CopyIntoAFolder", "copy ok.avi folder", 1, "is a directory"},
        FailureCase{"CopyOntoAFifo", "copy ok.avi fifo", 1, "is not a regular file"},
        FailureCase{"CopyOntoALinkToAFifo", "copy ok.avi to-fifo", 1, "is not a regular file"},
        // OUT naming IN under another name would destroy IN while it is read: a hard link is
        // another name even for canonical paths, a symbolic link must be followed.
        FailureCase{"CopyOntoAHardLink", "copy ok.avi link.avi", 1, "same file"},
        FailureCase{"CopyOntoASymbolicLink", "copy ok.avi sym.avi", 1, "same file"},
        FailureCase{"CopyWithUnreadablePackets", "copy unreadable.avi out.avi", 1,
                    "--skip-unreadable"},
        // A file size limit below the copy's size: the copy cannot be completed.
        FailureCase{"CopyThatCannotBeCompleted", "copy big.avi out.avi", 1, "out.avi",
                    "ulimit -f 64; "}),
    [](const auto& i) { return std::string(i.param.name); });

} // namespace
