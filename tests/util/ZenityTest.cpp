// The real zenity on a private X server, driven by xdotool as a user would: it must accept the
// arguments we give it (filters, folder) and hand the typed path back through CUtilPath.
#include "util/UtilPath.h"

#include "platform/base/CString.h"
#include "tests/TestKit.h"
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

TEST(RealZenity, OpenFileAnswersTheTypedPath)
{
    for (const char* program : {"Xvfb", "xdotool", "zenity"}) {
        gchar* found = g_find_program_in_path(program);
        g_free(found);
        if (!found)
            GTEST_SKIP() << program << " is not installed";
    }
    const testkit::TempDir tmp{"skinkit_zenity"};
    const fs::path dir = tmp.Root();
    fs::create_directories(dir / "Videos");
    const std::string want = (dir / "Videos" / "clip.avi").string();
    std::ofstream(want) << "x";

    // Xvfb picks a free display itself and writes its number to the pipe.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t xvfb = ::fork();
    if (xvfb == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlive the test
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                 "1024x768x24", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string display = ":";
    pollfd p{fds[0], POLLIN, 0};
    for (char c; ::poll(&p, 1, 10000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n';)
        display += c;
    ::close(fds[0]);
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("SKINKIT_CHOOSER", "zenity", 1);
    ::setenv("NO_AT_BRIDGE", "1", 1);           // no accessibility bus to wait for
    ::setenv("GSETTINGS_BACKEND", "memory", 1); // nor a settings daemon to start
    chooser::SetBackend(nullptr);

    // Types the path once the chooser shows and presses Return, one xdotool per step (a chained
    // xdotool types with synthetic events, which GTK ignores). Should the chooser not answer
    // within 20 s, the X server goes, and zenity with it.
    std::atomic<bool> done{false};
    std::thread driver([&] {
        const std::string script =
            "w=$(timeout 15 xdotool search --sync --onlyvisible --class zenity | head -n 1) && "
            "timeout 10 xdotool windowfocus --sync \"$w\" && sleep 0.4 && "
            "timeout 10 xdotool type --delay 10 '" +
            want +
            "' && sleep 0.4 && "
            "timeout 10 xdotool key Return";
        if (display.size() > 1 && std::system(script.c_str()) == -1)
            ::kill(xvfb, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!done)
            ::kill(xvfb, SIGTERM);
    });
    wchar_t filter[] = L"Videos\0*.avi\0";
    CString folder = CString::FromUtf8((dir / "Videos").string());
    wchar_t out[MAX_PATH] = L"";
    const int result = CUtilPath().SelectFile(nullptr, filter, folder.GetBuffer(), out, 0);
    done = true;
    driver.join();
    ::kill(xvfb, SIGTERM);
    ::waitpid(xvfb, nullptr, 0);
    ::unsetenv("SKINKIT_CHOOSER");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(CString(out).ToUtf8(), want);
}
