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
        // No two key names hash alike, so no name is there twice: any match is the first.
        // Kept for sections searched line by line only (those without a key table).
        bool uniqueKeys;
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
    const Entry* FindKey(const Section& section, std::wstring_view name) const
    {
        return FindKey(section, name, HashName(name));
    }
    // The same, for a caller that has hashed the name already (see HashName).
    const Entry* FindKey(const Section& section, std::wstring_view name, std::uint32_t hash) const
    {
        std::uint32_t hint = 0;
        return FindKey(section, name, hash, hint);
    }
    // The same, for a caller that reads many keys of one section, mostly in file order: the
    // search starts at `hint` (an offset into the section, 0 at first) and `hint` moves past
    // each key found, so that keys read in file order are found at the first look. Only where
    // no name is there twice may a search start past the top: elsewhere the first match must be
    // the first of its name.
    const Entry* FindKey(const Section& section, std::wstring_view name, std::uint32_t hash,
                         std::uint32_t& hint) const
    {
        if (!(section.keyMask & KeyBit(hash)))
            return nullptr;
        if (section.tableSize != 0)
            return FindKeyInTable(section, name, hash);
        const std::uint32_t* hashes = m_hashes.data() + section.first;
        std::uint32_t i = section.uniqueKeys && hint < section.count ? hint : 0;
        for (std::uint32_t n = 0; n < section.count; ++n) {
            if (hashes[i] == hash && CaselessEqual()(m_entries[section.first + i].name, name)) {
                hint = i + 1;
                return &m_entries[section.first + i];
            }
            i = i + 1 == section.count ? 0 : i + 1;
        }
        return nullptr;
    }

    // The hash of a name with its letter case folded, as sections and keys are hashed.
    static std::uint32_t HashName(std::wstring_view name)
    {
        std::uint64_t h = kHashBasis;
        for (wchar_t c : name)
            h = HashStep(h, c);
        return HashEnd(h);
    }
    // A character at a time, for callers that hash while they scan: start from kHashBasis,
    // step each character, end with HashEnd. A step is a rotation and an exclusive or, so that
    // short names hash in a few cycles; the end spreads them by one multiplication.
    static constexpr std::uint64_t kHashBasis = 0x9E3779B97F4A7C15ull;
    static std::uint64_t HashStep(std::uint64_t h, wchar_t c)
    {
        return ((h << 5) | (h >> 59)) ^ static_cast<std::uint64_t>(FoldCase(c));
    }
    static std::uint32_t HashEnd(std::uint64_t h)
    {
        // The high half of a product depends on every bit below it.
        return static_cast<std::uint32_t>((h * 0x9E3779B97F4A7C15ull) >> 32);
    }
    static std::uint64_t KeyBit(std::uint32_t hash) { return std::uint64_t(1) << (hash >> 26); }

    // Unique among all documents of the process, so that a cached lookup can tell them apart.
    std::uint64_t Id() const { return m_id; }

private:
    ProfileDocument();
    void Build();
    void IndexKeys(Section& section);
    const Entry* FindKeyInTable(const Section& section, std::wstring_view name,
                                std::uint32_t hash) const;

    struct CaselessEqual
    {
        bool operator()(std::wstring_view a, std::wstring_view b) const noexcept
        {
            if (a.size() != b.size())
                return false;
            for (size_t i = 0; i < a.size(); ++i)
                if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i]))
                    return false;
            return true;
        }
    };

    std::uint64_t m_id;
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

// The text of a file: UTF-16 (either byte order) or UTF-8 after a byte-order mark; without
// one, UTF-8 when the bytes are valid UTF-8, else the legacy 8-bit code page `legacyPage`
// (an iconv name). Bytes that page does not define keep their value as a code point.
std::wstring DecodeText(std::string_view bytes, const std::string& legacyPage = kDefaultLegacyPage);

} // namespace platform::ini
