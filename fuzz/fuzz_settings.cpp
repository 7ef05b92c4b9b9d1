// Key paths, value names and values from the fuzzer's bytes through the registry functions
// and CUtilReg, on a store in a temporary folder. Besides not crashing, a text written through
// CUtilReg must read back as written (cut to 259 UTF-16 units), whatever its key path.
#include "platform/base/CString.h"
#include "platform/settings/Registry.h"
#include "util/UtilReg.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A text of valid characters: separators and letters that fold are common, other characters
// from anywhere in Unicode.
std::wstring TakeText(const uint8_t*& data, size_t& size)
{
    std::wstring out;
    if (size == 0)
        return out;
    size_t length = data[0] % 24;
    ++data, --size;
    static const wchar_t common[] = L"\\\\aAzZ\u00DF\u00E9\u00C9 .";
    while (length-- > 0 && size >= 2) {
        const unsigned v = data[0] | (data[1] << 8);
        data += 2, size -= 2;
        wchar_t ch = (v & 0x8000) ? common[v % (sizeof(common) / sizeof(wchar_t) - 1)]
                                  : static_cast<wchar_t>(v % 0x10FFFF + 1);
        if (ch >= 0xD800 && ch <= 0xDFFF)
            ch = L'?';
        out += ch;
    }
    return out;
}

std::u16string Cut(const std::u16string& units)
{
    if (units.size() <= 259)
        return units;
    size_t keep = 259;
    if (units[keep - 1] >= 0xD800 && units[keep - 1] <= 0xDBFF)
        --keep;
    return units.substr(0, keep);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static char dir[] = "/tmp/skinkit_fuzz_settings_XXXXXX";
    if (::mkdtemp(dir)) {
        ::setenv("SKINKIT_SETTINGS_DIR", dir, 1);
        std::atexit([] { std::filesystem::remove_all(dir); });
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CUtilReg reg;
    while (size > 0) {
        const uint8_t op = data[0] % 6;
        ++data, --size;
        const std::wstring key = TakeText(data, size);
        const std::wstring name = TakeText(data, size);
        std::wstring value = TakeText(data, size);
        if (!value.empty() && (value.size() & 1))
            value.append(300, value[0]); // now and then past the 259-unit limit
        // A key path that starts with a backslash is refused, as Windows refuses it.
        const bool usable = key.empty() || key[0] != L'\\';
        switch (op) {
        case 0: {
            reg.WriteRegString(key.c_str(), name.c_str(), value.c_str());
            // An empty key path is the root itself, which keeps values too.
            const CString back = reg.ReadRegString(key.c_str(), name.c_str(), L"");
            if (usable && back.ToUtf16() != Cut(CString(value.c_str()).ToUtf16()))
                std::abort();
            break;
        }
        case 1:
            reg.WriteRegDWORD(key.c_str(), name.c_str(), static_cast<DWORD>(value.size()));
            if (usable && reg.ReadRegDWORD(key.c_str(), name.c_str(), 0xFFFFFFFF) != value.size())
                std::abort();
            break;
        case 2:
            reg.ReadRegDWORD(key.c_str(), name.c_str(), 5, 1);
            break;
        case 3: {
            HKEY h = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
                BYTE small[3];
                DWORD n = sizeof(small), type = 0;
                RegQueryValueExW(h, name.c_str(), nullptr, &type, small, &n);
                RegCloseKey(h);
            }
            break;
        }
        case 4: {
            wchar_t text[260];
            LONG n = sizeof(char16_t) * 260;
            RegQueryValueW(HKEY_CURRENT_USER, key.c_str(), text, &n);
            break;
        }
        default: {
            platform::settings::ListedKey listed;
            platform::settings::ListKey(HKEY_CURRENT_USER, key.c_str(), &listed);
            break;
        }
        }
    }
    return 0;
}
