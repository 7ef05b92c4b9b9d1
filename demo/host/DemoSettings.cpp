#include "demo/host/DemoSettings.h"

#include "util/UtilReg.h"

#include <algorithm>

namespace {

const wchar_t kKey[] = L"Software\\skinkit\\demo";
const wchar_t kPlaylistKey[] = L"Software\\skinkit\\demo\\playlist";

// A window place beyond this is a damaged setting, not a screen.
constexpr int kMaxPlace = 100000;

int Signed(DWORD v)
{
    return static_cast<int>(static_cast<std::int32_t>(v));
}

} // namespace

DemoSettings DemoSettings::Load()
{
    CUtilReg reg;
    DemoSettings s;
    s.volume = static_cast<int>(std::min<DWORD>(reg.ReadRegDWORD(kKey, L"Volume", 70), 100));
    s.lastFolder = reg.ReadRegString(kKey, L"LastFolder", L"").ToUtf8();
    const DWORD rows = std::min<DWORD>(reg.ReadRegDWORD(kPlaylistKey, L"Count", 0), kMaxRows);
    for (DWORD i = 0; i < rows; ++i) {
        const std::string path =
            reg.ReadRegString(kPlaylistKey, CString::FromUtf8(std::to_string(i)), L"").ToUtf8();
        if (!path.empty())
            s.playlist.push_back(path);
    }
    // A place is kept only when both numbers are there and plausible.
    const DWORD missing = 0x80000000u;
    const int x = Signed(reg.ReadRegDWORD(kKey, L"WindowX", missing));
    const int y = Signed(reg.ReadRegDWORD(kKey, L"WindowY", missing));
    s.hasPlace = std::abs(static_cast<long long>(x)) <= kMaxPlace &&
                 std::abs(static_cast<long long>(y)) <= kMaxPlace;
    if (s.hasPlace) {
        s.x = x;
        s.y = y;
    }
    return s;
}

void DemoSettings::Save() const
{
    CUtilReg reg;
    reg.WriteRegDWORD(kKey, L"Volume", static_cast<DWORD>(std::clamp(volume, 0, 100)));
    if (lastFolder.size() <= kMaxPath)
        reg.WriteRegString(kKey, L"LastFolder", CString::FromUtf8(lastFolder));
    DWORD rows = 0;
    for (const std::string& path : playlist) {
        if (path.size() > kMaxPath || path.empty())
            continue;
        if (rows >= static_cast<DWORD>(kMaxRows))
            break;
        reg.WriteRegString(kPlaylistKey, CString::FromUtf8(std::to_string(rows)),
                           CString::FromUtf8(path));
        ++rows;
    }
    reg.WriteRegDWORD(kPlaylistKey, L"Count", rows);
    if (hasPlace) {
        reg.WriteRegDWORD(kKey, L"WindowX", static_cast<DWORD>(x));
        reg.WriteRegDWORD(kKey, L"WindowY", static_cast<DWORD>(y));
    }
}
