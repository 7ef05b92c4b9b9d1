// The private-profile parser and the list writers, on arbitrary bytes: the first byte picks
// a buffer size, so that every way of cutting a list is tried; the buffers are exactly that
// size, so a write past their end trips the address checker.
#include "platform/ini/PrivateProfile.h"
#include "platform/ini/ProfileDocument.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::wstring& ScratchPath()
{
    static const std::wstring path =
        L"/tmp/skinkit_fuzz_ini_" + std::to_wstring(::getpid()) + L".ini";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const DWORD cut = data[0] % 48;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    using platform::ini::ProfileDocument;
    const auto doc = ProfileDocument::Parse(bytes);
    for (const auto& s : doc->Sections()) {
        const auto* first = doc->FindSection(s.name);
        if (!s.name.empty() && !first)
            __builtin_trap(); // every named section is found
        if (first != &s)
            continue;
        const auto entries = doc->Entries(s);
        // Every key of a first section is found, as the first entry of its name (letter case
        // folded), whether the section is searched line by line or through its key table.
        for (size_t k = 0; k < entries.size(); ++k) {
            const std::wstring_view name = entries[k].name;
            const ProfileDocument::Entry* want = nullptr;
            for (const auto& e : entries) {
                bool same = e.name.size() == name.size();
                for (size_t c = 0; same && c < name.size(); ++c)
                    same = platform::ini::FoldCase(e.name[c]) == platform::ini::FoldCase(name[c]);
                if (same) {
                    want = &e;
                    break;
                }
            }
            if (doc->FindKey(s, name) != want)
                __builtin_trap();
        }
    }

    std::string path(ScratchPath().begin(), ScratchPath().end());
    bool written = false;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        written = std::fclose(f) == 0 && written;
    }
    const wchar_t* p = ScratchPath().c_str();
    std::vector<wchar_t> names(cut ? cut : 1);
    const DWORD n = GetPrivateProfileSectionNamesW(names.data(), cut, p);
    if (cut > 0 && n >= cut)
        __builtin_trap();
    // One version of the file for the rest: a fresh file is otherwise re-read on every call.
    platform::ini::ProfileSnapshot snapshot(p);
    // The calls answer what the document says: the first key of each name, unquoted, cut to
    // the buffer; a key without '=' gives the default.
    size_t asked = 0;
    for (const auto& s : doc->Sections()) {
        if (!written || s.name.empty() || doc->FindSection(s.name) != &s)
            continue;
        const std::wstring section(s.name);
        for (const auto& e : doc->Entries(s)) {
            if (++asked > 256)
                break;
            const ProfileDocument::Entry* first = doc->FindKey(s, e.name);
            std::wstring_view want = L"\x01";
            if (first->hasValue) {
                want = first->value;
                if (want.size() >= 2 && (want[0] == L'"' || want[0] == L'\'') &&
                    want.back() == want[0])
                    want = want.substr(1, want.size() - 2);
            }
            wchar_t value[64];
            const DWORD got = GetPrivateProfileStringW(
                section.c_str(), std::wstring(e.name).c_str(), L"\x01", value, 64, p);
            if (std::wstring_view(value, got) != want.substr(0, 63))
                __builtin_trap();
        }
    }
    std::vector<wchar_t> full(4096);
    const DWORD all = GetPrivateProfileSectionNamesW(full.data(), 4096, p);
    size_t start = 0;
    for (size_t i = 0; i < all && i < 4096; ++i) {
        if (full[i] != 0)
            continue;
        const std::wstring section(full.data() + start, i - start);
        start = i + 1;
        std::vector<wchar_t> lines(cut ? cut : 1);
        GetPrivateProfileSectionW(section.c_str(), lines.data(), cut, p);
        std::vector<wchar_t> keys(cut ? cut : 1);
        GetPrivateProfileStringW(section.c_str(), nullptr, L"d ", keys.data(), cut, p);
        GetPrivateProfileIntW(section.c_str(), L"x", -1, p);
        std::vector<wchar_t> value(cut ? cut : 1);
        GetPrivateProfileStringW(section.c_str(), L"ColorText", L"255,255,255,255", value.data(),
                                 cut, p);
    }
    return 0;
}
