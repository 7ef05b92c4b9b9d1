// One private-profile (INI) file, decoded and parsed into memory. The private-profile
// functions answer from these; a document never changes once parsed, so readers may share it.
//
// How a file reads, line by line (Windows' kernel reader is the reference):
//   - lines end at CR, LF or CR LF and are trimmed of blanks (tab to CR, space, ^Z);
//     empty lines and lines starting with ';' are skipped;
//   - a line starting with '[' that holds a ']' opens a section named by the text up to the
//     last ']', trimmed; any other line is a key line of the current section, split at its
//     first '=' into a trimmed name and a trimmed value (a line without '=' has no value);
//   - lines before the first section, and sections named "", cannot be reached;
//   - names compare without regard to letter case; a lookup takes the first section of a
//     name and, inside it, the first key of a name, while the list of sections names every
//     section again.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ini {

inline const std::string kDefaultLegacyPage = "WINDOWS-1252";

// Letter case folds one character at a time, so that hashing and comparing agree.
wchar_t FoldOther(wchar_t c);
inline wchar_t FoldCase(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    return FoldOther(c);
}

class ProfileDocument
{
public:
    struct Entry
    {
        std::wstring_view name;
        std::wstring_view value;
        bool hasValue; // the line held an '='
    };
    struct Section
    {
        std::wstring_view name;
        std::uint32_t first; // index of its first entry
        std::uint32_t count;
        // Its slice of the key table; size 0 for a section short enough to search line by line.
        std::uint32_t tableAt;
        std::uint32_t tableSize;
        // One bit per key name hash (its top six bits): a name whose bit is clear is not there.
        std::uint64_t keyMask;
    };

    // Decodes the file's bytes (see DecodeText) and parses them.
    static std::shared_ptr<const ProfileDocument>
    Parse(std::string_view bytes, const std::string& legacyPage = kDefaultLegacyPage);
    static std::shared_ptr<const ProfileDocument> ParseText(std::wstring text);
    static const std::shared_ptr<const ProfileDocument>& Empty();

    const std::vector<Section>& Sections() const { return m_sections; }
    std::span<const Entry> Entries(const Section& s) const
    {
        return std::span<const Entry>(m_entries).subspan(s.first, s.count);
    }
    // The first section of that name (letter case ignored), or null. `name` is taken as it
    // stands: callers trim it.
    const Section* FindSection(std::wstring_view name) const;
    // The first entry of that name inside `section`, with or without a value, or null.
    const Entry* FindKey(const Section& section, std::wstring_view name) const;

private:
    ProfileDocument();
    void Build();
    void IndexKeys(Section& section);

    std::wstring m_text;
    std::vector<Section> m_sections;
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_hashes; // of each entry's name: most mismatches end here
    // Open-addressed section indices (the first section of each name), and their hashes.
    std::vector<std::uint32_t> m_sectionTable;
    std::vector<std::uint32_t> m_sectionHash;
    // Open-addressed slices of entry indices, one per section with many keys.
    std::vector<std::uint32_t> m_keyTable;
};

// Blanks as the reader trims them: tab to carriage return, space and ^Z.
inline bool IsProfileBlank(wchar_t c)
{
    return c == L' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A;
}
std::wstring_view TrimBlanks(std::wstring_view s);
// The same for a caller's NUL-ended name, in one pass.
inline std::wstring_view TrimBlanks(const wchar_t* s)
{
    while (IsProfileBlank(*s))
        ++s;
    const wchar_t* end = s;
    for (const wchar_t* p = s; *p; ++p)
        if (!IsProfileBlank(*p))
            end = p + 1;
    return {s, static_cast<size_t>(end - s)};
}

// The text of a file: UTF-16 (either byte order) or UTF-8 after a byte-order mark; without
// one, UTF-8 when the bytes are valid UTF-8, else the legacy 8-bit code page `legacyPage`
// (an iconv name). Bytes that page does not define keep their value as a code point.
std::wstring DecodeText(std::string_view bytes, const std::string& legacyPage = kDefaultLegacyPage);

} // namespace platform::ini
