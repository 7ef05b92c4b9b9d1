// CUtilPath's open-file chooser as a program, for the display test with the real zenity
// (ZenityXvfbTest.sh): given a folder, prints "ready" as it asks for a video there, then
// "CHOSEN <path>" with the path handed back (or "NONE"), and exits 0 when a file was chosen.
// With "--multiple" before the folder it asks for several videos and prints "CHOSEN <path>"
// for each, in the chooser's order.
#include "util/UtilPath.h"

#include "platform/base/CString.h"

#include <cstdio>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    const bool multiple = argc == 3 && std::string_view(argv[1]) == "--multiple";
    if (argc != 2 && !multiple)
        return 2;
    setvbuf(stdout, nullptr, _IOLBF, 0);
    wchar_t filter[] = L"Videos\0*.avi\0";
    CString folder = CString::FromUtf8(argv[argc - 1]);
    if (multiple) {
        std::vector<CString> paths;
        std::printf("ready\n");
        const int n = CUtilPath().SelectFiles(nullptr, filter, folder.GetBuffer(), paths);
        for (const CString& p : paths)
            std::printf("CHOSEN %s\n", p.ToUtf8().c_str());
        return n > 0 && n == static_cast<int>(paths.size()) ? 0 : 1;
    }
    wchar_t out[MAX_PATH] = L"";
    std::printf("ready\n");
    if (CUtilPath().SelectFile(nullptr, filter, folder.GetBuffer(), out, 0) != 1) {
        std::printf("NONE\n");
        return 1;
    }
    std::printf("CHOSEN %s\n", CString(out).ToUtf8().c_str());
    return 0;
}
