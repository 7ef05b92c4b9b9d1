// The real zenity on a private X server, driven by xdotool as a user would: it must accept the
// arguments we give it (filters, folder) and hand the typed path back through CUtilPath.
#include "util/UtilPath.h"

#include "platform/base/CString.h"
#include "util/chooser/Chooser.h"

#include <gtest/gtest.h>

#include <glib.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

bool InPath(const char* program)
{
    gchar* found = g_find_program_in_path(program);
    g_free(found);
    return found != nullptr;
}

class RealZenity : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* program : {"Xvfb", "xdotool", "zenity"})
            if (!InPath(program))
                GTEST_SKIP() << program << " is not installed";
        char pattern[] = "/tmp/skinkit_zenity_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
        fs::create_directories(dir / "Videos");
        std::ofstream(dir / "Videos" / "clip.avi") << "x";
        StartServer();
        ASSERT_GT(xvfb, 0);
        ::setenv("SKINKIT_CHOOSER", "zenity", 1);
        ::setenv("NO_AT_BRIDGE", "1", 1);           // no accessibility bus to wait for
        ::setenv("GSETTINGS_BACKEND", "memory", 1); // nor a settings daemon to start
        chooser::SetBackend(nullptr);
    }

    void TearDown() override
    {
        StopServer();
        ::unsetenv("SKINKIT_CHOOSER");
        if (!dir.empty())
            fs::remove_all(dir);
    }

    // Xvfb picks a free display itself and writes its number to the pipe.
    void StartServer()
    {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        xvfb = ::fork();
        if (xvfb == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlive the test
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                     "1024x768x24", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c;
        while (::poll(&p, 1, 10000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (number.empty()) {
            StopServer();
            return;
        }
        ::setenv("DISPLAY", (":" + number).c_str(), 1);
    }

    void StopServer()
    {
        if (xvfb > 0) {
            ::kill(xvfb, SIGTERM);
            ::waitpid(xvfb, nullptr, 0);
            xvfb = 0;
        }
    }

    // Types `path` into the chooser once it shows and presses Return. Should the chooser not
    // answer within 20 s, the X server goes, and zenity with it.
    std::thread Drive(const std::string& path, std::atomic<bool>& done)
    {
        return std::thread([this, path, &done] {
            const std::string find =
                "timeout 15 xdotool search --sync --onlyvisible --class zenity | head -n 1";
            std::string window;
            if (FILE* out = ::popen(find.c_str(), "r")) {
                char buf[64] = {};
                if (std::fgets(buf, sizeof(buf), out))
                    window = buf;
                ::pclose(out);
            }
            while (!window.empty() && (window.back() == '\n'))
                window.pop_back();
            if (!window.empty()) {
                // One program per step: a chained xdotool types with synthetic events, which
                // GTK ignores.
                const std::string steps[] = {"xdotool windowfocus --sync " + window, "sleep 0.4",
                                             "xdotool type --delay 10 '" + path + "'", "sleep 0.4",
                                             "xdotool key Return"};
                for (const std::string& step : steps)
                    if (std::system(("timeout 10 " + step).c_str()) != 0)
                        break;
            }
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!done && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (!done)
                ::kill(xvfb, SIGTERM);
        });
    }

    fs::path dir;
    pid_t xvfb = 0;
};

} // namespace

TEST_F(RealZenity, OpenFileAnswersTheTypedPath)
{
    const std::string want = (dir / "Videos" / "clip.avi").string();
    std::atomic<bool> done{false};
    std::thread driver = Drive(want, done);
    wchar_t filter[] = L"Videos\0*.avi\0";
    CString folder = CString::FromUtf8((dir / "Videos").string());
    wchar_t out[MAX_PATH] = L"";
    const int result = CUtilPath().SelectFile(nullptr, filter, folder.GetBuffer(), out, 0);
    done = true;
    driver.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(CString(out).ToUtf8(), want);
}
