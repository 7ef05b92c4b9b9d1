#include "platform/ini/ProfileDocument.h"

#include <glib.h>
#include <iconv.h>

#include <cerrno>

namespace platform::ini {

namespace {

// --- decoding ---

void DecodeUtf16(std::string_view b, bool bigEndian, std::wstring& out)
{
    const size_t units = b.size() / 2; // an odd last byte is no character
    out.reserve(units);
    auto unit = [&](size_t i) -> std::uint32_t {
        const auto hi = static_cast<unsigned char>(b[2 * i + (bigEndian ? 0 : 1)]);
        const auto lo = static_cast<unsigned char>(b[2 * i + (bigEndian ? 1 : 0)]);
        return (static_cast<std::uint32_t>(hi) << 8) | lo;
    };
    for (size_t i = 0; i < units; ++i) {
        std::uint32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
            const std::uint32_t d = unit(i + 1);
            if (d >= 0xDC00 && d <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
                ++i;
            } else {
                c = 0xFFFD;
            }
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        out.push_back(static_cast<wchar_t>(c));
    }
}

// Decodes UTF-8, each malformed sequence becoming U+FFFD; answers whether all was well-formed.
bool DecodeUtf8(std::string_view b, std::wstring& out)
{
    out.reserve(b.size());
    bool clean = true;
    const auto* p = reinterpret_cast<const unsigned char*>(b.data());
    const auto* end = p + b.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            out.push_back(static_cast<wchar_t>(c));
            ++p;
            continue;
        }
        int need = 0;
        std::uint32_t cp = 0, min = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            need = 1, cp = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            need = 2, cp = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            need = 3, cp = c & 0x07, min = 0x10000;
        }
        int got = 0;
        if (need) {
            while (got < need && p + 1 + got < end && (p[1 + got] & 0xC0) == 0x80) {
                cp = (cp << 6) | (p[1 + got] & 0x3F);
                ++got;
            }
        }
        if (need == 0 || got < need || cp < min || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            clean = false;
            out.push_back(L'\uFFFD');
            p += 1 + (need ? got : 0);
            continue;
        }
        out.push_back(static_cast<wchar_t>(cp));
        p += 1 + need;
    }
    return clean;
}

void DecodeLegacy(std::string_view b, const std::string& page, std::wstring& out)
{
    out.reserve(b.size());
    iconv_t cd = iconv_open("WCHAR_T", page.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (char ch : b)
            out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(ch)));
        return;
    }
    char* in = const_cast<char*>(b.data());
    size_t inLeft = b.size();
    wchar_t chunk[1024];
    while (inLeft > 0) {
        char* o = reinterpret_cast<char*>(chunk);
        size_t oLeft = sizeof(chunk);
        const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(chunk, (sizeof(chunk) - oLeft) / sizeof(wchar_t));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // A byte the page leaves undefined keeps its value, as Windows maps them.
            out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*in)));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
}

} // namespace

wchar_t FoldOther(wchar_t c)
{
    return static_cast<wchar_t>(g_unichar_tolower(static_cast<gunichar>(c)));
}

std::wstring DecodeText(std::string_view bytes, const std::string& legacyPage)
{
    std::wstring out;
    auto starts = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
    if (starts("\xEF\xBB\xBF")) {
        DecodeUtf8(bytes.substr(3), out);
    } else if (starts("\xFF\xFE")) {
        DecodeUtf16(bytes.substr(2), false, out);
    } else if (starts("\xFE\xFF")) {
        DecodeUtf16(bytes.substr(2), true, out);
    } else if (!DecodeUtf8(bytes, out)) {
        out.clear();
        DecodeLegacy(bytes, legacyPage, out);
    }
    return out;
}

std::wstring_view TrimBlanks(std::wstring_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsProfileBlank(s[b]))
        ++b;
    while (e > b && IsProfileBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// --- parsing ---

namespace {

// Sections with up to this many lines are searched line by line: faster than hashing, and
// no table to build.
constexpr std::uint32_t kScanLimit = 24;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFFu;

// A rotation and an exclusive or per character (letter case folded), so that short names hash
// in a few cycles; one multiplication at the end spreads them, its high half depending on
// every bit below it.
[[gnu::always_inline]] inline std::uint32_t HashName(std::wstring_view name)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    for (wchar_t c : name)
        h = ((h << 5) | (h >> 59)) ^ static_cast<std::uint64_t>(FoldCase(c));
    return static_cast<std::uint32_t>((h * 0x9E3779B97F4A7C15ull) >> 32);
}

// The key mask's bit of a name: the hash's top six bits.
std::uint64_t KeyBit(std::uint32_t hash)
{
    return std::uint64_t(1) << (hash >> 26);
}

[[gnu::always_inline]] inline bool CaselessEqual(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

} // namespace

ProfileDocument::ProfileDocument() = default;

std::shared_ptr<const ProfileDocument> ProfileDocument::Parse(std::string_view bytes,
                                                              const std::string& legacyPage)
{
    return ParseText(DecodeText(bytes, legacyPage));
}

std::shared_ptr<const ProfileDocument> ProfileDocument::ParseText(std::wstring text)
{
    std::shared_ptr<ProfileDocument> doc(new ProfileDocument);
    doc->m_text = std::move(text);
    doc->Build();
    return doc;
}

const std::shared_ptr<const ProfileDocument>& ProfileDocument::Empty()
{
    static const std::shared_ptr<const ProfileDocument> empty = ParseText(std::wstring());
    return empty;
}

void ProfileDocument::Build()
{
    const std::wstring_view text(m_text);
    // A rough line count keeps the entry list from growing by copies.
    size_t lines = 1;
    for (wchar_t c : text)
        lines += c == L'\n';
    m_entries.reserve(lines);
    m_hashes.reserve(lines);

    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != L'\r' && text[end] != L'\n')
            ++end;
        std::wstring_view line = text.substr(pos, end - pos);
        pos =
            end + ((end + 1 < text.size() && text[end] == L'\r' && text[end + 1] == L'\n') ? 2 : 1);

        // Text after a NUL is out of reach of every reader of a NUL-ended buffer.
        if (const size_t nul = line.find(L'\0'); nul != std::wstring_view::npos)
            line = line.substr(0, nul);
        line = TrimBlanks(line);
        if (line.empty() || line[0] == L';')
            continue;

        if (line[0] == L'[') {
            const size_t close = line.rfind(L']');
            if (close != std::wstring_view::npos) {
                const std::wstring_view name = TrimBlanks(line.substr(1, close - 1));
                m_sections.push_back(
                    {name, static_cast<std::uint32_t>(m_entries.size()), 0, 0, 0, 0});
                continue;
            }
        }
        if (m_sections.empty())
            continue;

        Entry entry{line, {}, false};
        if (const size_t eq = line.find(L'='); eq != std::wstring_view::npos) {
            entry.name = TrimBlanks(line.substr(0, eq));
            entry.value = TrimBlanks(line.substr(eq + 1));
            entry.hasValue = true;
        }
        const std::uint32_t hash = HashName(entry.name);
        Section& section = m_sections.back();
        m_entries.push_back(entry);
        m_hashes.push_back(hash);
        ++section.count;
        section.keyMask |= KeyBit(hash);
    }

    // Only the first section of a name is ever looked into: index those, and their keys.
    std::uint32_t size = 16;
    while (size < m_sections.size() * 2)
        size *= 2;
    m_sectionTable.assign(size, kNoEntry);
    m_sectionHash.resize(m_sections.size());
    for (std::uint32_t i = 0; i < m_sections.size(); ++i) {
        const std::wstring_view name = m_sections[i].name;
        m_sectionHash[i] = HashName(name);
        if (name.empty())
            continue;
        for (size_t slot = m_sectionHash[i] & (size - 1);; slot = (slot + 1) & (size - 1)) {
            const std::uint32_t other = m_sectionTable[slot];
            if (other == kNoEntry) {
                m_sectionTable[slot] = i;
                IndexKeys(m_sections[i]);
                break;
            }
            if (m_sectionHash[other] == m_sectionHash[i] &&
                CaselessEqual(m_sections[other].name, name))
                break;
        }
    }
}

void ProfileDocument::IndexKeys(Section& section)
{
    if (section.count <= kScanLimit)
        return;
    std::uint32_t size = 64;
    while (size < section.count * 2)
        size *= 2;
    section.tableAt = static_cast<std::uint32_t>(m_keyTable.size());
    section.tableSize = size;
    m_keyTable.resize(m_keyTable.size() + size, kNoEntry);
    std::uint32_t* table = m_keyTable.data() + section.tableAt;
    for (std::uint32_t i = section.first; i < section.first + section.count; ++i) {
        const std::wstring_view name = m_entries[i].name;
        for (size_t slot = m_hashes[i] & (size - 1);; slot = (slot + 1) & (size - 1)) {
            if (table[slot] == kNoEntry) {
                table[slot] = i;
                break;
            }
            if (CaselessEqual(m_entries[table[slot]].name, name))
                break; // the first key of a name answers
        }
    }
}

const ProfileDocument::Section* ProfileDocument::FindSection(std::wstring_view name) const
{
    if (name.empty())
        return nullptr;
    const std::uint32_t hash = HashName(name);
    const size_t mask = m_sectionTable.size() - 1;
    for (size_t slot = hash & mask; m_sectionTable[slot] != kNoEntry; slot = (slot + 1) & mask) {
        const std::uint32_t i = m_sectionTable[slot];
        if (m_sectionHash[i] == hash && CaselessEqual(m_sections[i].name, name))
            return &m_sections[i];
    }
    return nullptr;
}

const ProfileDocument::Entry* ProfileDocument::FindKey(const Section& section,
                                                       std::wstring_view name) const
{
    const std::uint32_t hash = HashName(name);
    if (!(section.keyMask & KeyBit(hash)))
        return nullptr; // most keys a loader asks for and does not find end here
    if (section.tableSize == 0) {
        for (std::uint32_t i = section.first; i < section.first + section.count; ++i)
            if (m_hashes[i] == hash && CaselessEqual(m_entries[i].name, name))
                return &m_entries[i];
        return nullptr;
    }
    const std::uint32_t* table = m_keyTable.data() + section.tableAt;
    const size_t mask = section.tableSize - 1;
    for (size_t slot = hash & mask; table[slot] != kNoEntry; slot = (slot + 1) & mask) {
        const std::uint32_t i = table[slot];
        if (m_hashes[i] == hash && CaselessEqual(m_entries[i].name, name))
            return &m_entries[i];
    }
    return nullptr;
}

} // namespace platform::ini
