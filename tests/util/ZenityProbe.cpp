// CUtilPath's open-file chooser as a program, for the display test with the real zenity
// (ZenityXvfbTest.sh): given a folder, prints "ready" as it asks for a video there, then
// "CHOSEN <path>" with the path handed back (or "NONE"), and exits 0 when a file was chosen.
#include "util/UtilPath.h"

#include "platform/base/CString.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    setvbuf(stdout, nullptr, _IOLBF, 0);
    wchar_t filter[] = L"Videos\0*.avi\0";
    CString folder = CString::FromUtf8(argv[1]);
    wchar_t out[MAX_PATH] = L"";
    std::printf("ready\n");
    if (CUtilPath().SelectFile(nullptr, filter, folder.GetBuffer(), out, 0) != 1) {
        std::printf("NONE\n");
        return 1;
    }
    std::printf("CHOSEN %s\n", CString(out).ToUtf8().c_str());
    return 0;
}
