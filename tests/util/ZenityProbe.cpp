// CUtilPath's open-file chooser as a program, for the display test with the real zenity
// (ZenityXvfbTest.sh): given a folder, prints "ready" as it asks for a video there (several
// with "--multiple" before the folder), then "CHOSEN <path>" for each path handed back, in the
// chooser's order; exits 0 when a file was chosen.
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
    std::vector<CString> paths;
    wchar_t out[MAX_PATH] = L"";
    std::printf("ready\n");
    if (multiple)
        CUtilPath().SelectFiles(nullptr, filter, folder.GetBuffer(), paths);
    else if (CUtilPath().SelectFile(nullptr, filter, folder.GetBuffer(), out, 0) == 1)
        paths.emplace_back(out);
    for (const CString& p : paths)
        std::printf("CHOSEN %s\n", p.ToUtf8().c_str());
    return paths.empty() ? 1 : 0;
}
