// A private desktop for tests that open things: an XDG tree of the test's own with a fake
// browser on PATH, the default for the given MIME types. Make it a static object, so that it
// exists before GLib reads (and caches) its folders. The browser logs each call as a line of
// its arguments, each in brackets, so that tests see how a command line was split.
#pragma once

#include "tests/TestKit.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <thread>

struct FakeDesktop
{
    using Path = std::filesystem::path;

    explicit FakeDesktop(std::initializer_list<const char*> mimeTypes)
    {
        namespace fs = std::filesystem;
        for (const char* d : {"data/applications", "config", "bin", "system"})
            fs::create_directories(root / d);
        const std::string log = "'" + (root / "calls.log").string() + "'";
        tmp.Write("bin/fakebrowser",
                  "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done >> " + log +
                      "\necho >> " + log + "\n");
        fs::permissions(root / "bin/fakebrowser", fs::perms::owner_all);
        std::string types, defaults = "[Default Applications]\n";
        for (const char* t : mimeTypes) {
            types += std::string(t) + ";";
            defaults += std::string(t) + "=fakebrowser.desktop\n";
        }
        tmp.Write("data/applications/fakebrowser.desktop",
                  "[Desktop Entry]\nType=Application\nName=Fake Browser\n"
                  "Exec=fakebrowser --new-window %u\nMimeType=" +
                      types + "\n");
        tmp.Write("config/mimeapps.list", defaults);
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root / "system").c_str(), 1);
        ::setenv("SKINKIT_SETTINGS_DIR", (root / "settings").c_str(), 1);
        const char* path = std::getenv("PATH");
        ::setenv("PATH", ((root / "bin").string() + ":" + (path ? path : "/usr/bin:/bin")).c_str(),
                 1);
    }

    void ClearCalls() { std::filesystem::remove(root / "calls.log"); }
    // The browser's calls so far, waiting up to five seconds for `lines` of them.
    std::string Calls(size_t lines = 1) const
    {
        for (int i = 0; i < 500; ++i) {
            std::ifstream in(root / "calls.log");
            std::stringstream text;
            text << in.rdbuf();
            const std::string s = text.str();
            if (static_cast<size_t>(std::count(s.begin(), s.end(), '\n')) >= lines)
                return s;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }

    testkit::TempDir tmp{"skinkit_desktop"};
    const Path root = tmp.Root();
};
