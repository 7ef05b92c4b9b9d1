#include "platform/ini/PrivateProfile.h"

#include "platform/base/CString.h"
#include "platform/base/FilePath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <list>
#include <mutex>

namespace platform::ini {

namespace {

// --- the parsed-file cache ---

struct Stamp
{
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t ctimeNs = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_size,
            std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

std::int64_t NowNs()
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return std::int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Within this span of its modification a file is "racy": a second write may still come with
// the same time stamp (file system clocks tick in milliseconds, FAT's in two seconds).
constexpr std::int64_t kRacyNs = 2'000'000'000;
constexpr size_t kCacheFiles = 16;

struct CacheEntry
{
    std::string resolved;
    Stamp stamp;
    std::shared_ptr<const ProfileDocument> doc;
    std::string raw; // the bytes parsed, kept only while racy
    bool racy = false;
};

std::mutex g_mutex;
std::list<CacheEntry> g_cache; // most recently used first
std::string g_legacyPage = kDefaultLegacyPage;

bool ReadAll(const std::string& path, std::string& bytes, Stamp& stamp)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        stamp = StampOf(st);
        bytes.clear();
        bytes.reserve(static_cast<size_t>(st.st_size));
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof(chunk));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                ok = false;
            if (n <= 0)
                break;
            bytes.append(chunk, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    return ok;
}

} // namespace

// A snapshot's place on its thread's list. A loader asks for one section many times in a row
// (a key at a time), so each snapshot also keeps its last section lookup, by the name as the
// caller spelled it.
// The memo starts as the answer for the name "" (no section), so it needs no flag.
struct ProfileSnapshot::Pin
{
    std::wstring path; // as the snapshot's maker spelled it
    std::shared_ptr<const ProfileDocument> doc;
    Pin* outer = nullptr;
    std::wstring lastName;
    const ProfileDocument::Section* lastSection = nullptr;
};

namespace {

// The innermost snapshot alive on this thread. A plain pointer, reached without a call into
// the dynamic linker: every profile call looks here first.
thread_local ProfileSnapshot::Pin* t_innermost __attribute__((tls_model("initial-exec"))) = nullptr;

// Whether the NUL-ended `s` spells `known` (which holds no NUL) exactly. Section names are
// short: a plain loop costs less than the library's vector compare takes to set up. `s` is
// read no further than its first difference, so a shorter string is never read past its end.
inline bool Spells(LPCWSTR s, const std::wstring& known)
{
    const wchar_t* k = known.c_str();
    while (*k && *s == *k) {
        ++s;
        ++k;
    }
    return *s == *k;
}

// The document one call reads: a snapshot's, which outlives the call, or one opened for it.
class CallDocument
{
public:
    explicit CallDocument(LPCWSTR path)
    {
        if (path && *path)
            for (ProfileSnapshot::Pin* pin = t_innermost; pin; pin = pin->outer)
                if (path == pin->path.c_str() || Spells(path, pin->path)) {
                    m_pin = pin;
                    m_doc = pin->doc.get();
                    return;
                }
        m_owned = OpenProfile(path);
        m_doc = m_owned.get();
    }
    const ProfileDocument* operator->() const { return m_doc; }
    const ProfileDocument& operator*() const { return *m_doc; }

    // Callers' names are trimmed as the file's are.
    const ProfileDocument::Section* FindSection(LPCWSTR name) const
    {
        if (!m_pin)
            return m_doc->FindSection(TrimBlanks(name));
        if (!Spells(name, m_pin->lastName)) {
            m_pin->lastSection = m_doc->FindSection(TrimBlanks(name));
            m_pin->lastName = name;
        }
        return m_pin->lastSection;
    }
    const ProfileDocument::Entry* FindKey(const ProfileDocument::Section* section,
                                          LPCWSTR key) const
    {
        return section ? m_doc->FindKey(*section, TrimBlanks(key)) : nullptr;
    }

private:
    std::shared_ptr<const ProfileDocument> m_owned;
    const ProfileDocument* m_doc = nullptr;
    ProfileSnapshot::Pin* m_pin = nullptr;
};

// --- list output, as the Windows functions cut it ---

// Names: when the next name does not fit, it is cut so that the two closing NULs fill the
// buffer's last two characters, and the answer is size - 2 (also for an exact fit).
DWORD WriteNames(const ProfileDocument& doc, LPWSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    if (size == 1) {
        buffer[0] = 0;
        return 0;
    }
    DWORD left = size - 1;
    LPWSTR out = buffer;
    for (const auto& s : doc.Sections()) {
        if (s.name.empty())
            continue;
        const auto len = static_cast<DWORD>(s.name.size()) + 1;
        if (len >= left) {
            std::wmemcpy(out, s.name.data(), left - 1);
            out += left - 1;
            *out++ = 0;
            *out = 0;
            return size - 2;
        }
        std::wmemcpy(out, s.name.data(), s.name.size());
        out += s.name.size();
        *out++ = 0;
        left -= len;
    }
    *out = 0;
    return static_cast<DWORD>(out - buffer);
}

// Copies at most room - 1 characters and a NUL; answers the characters copied.
inline DWORD CopyCut(LPWSTR out, std::wstring_view text, DWORD room)
{
    const auto n = static_cast<DWORD>(std::min<size_t>(text.size(), room - 1));
    std::wmemcpy(out, text.data(), n);
    out[n] = 0;
    return n;
}

// Section lines (withValues) or key names: each item is cut to what is left; once fewer
// than two characters are left the list ends with two NULs and answers size - 2.
DWORD WriteSection(const ProfileDocument& doc, const ProfileDocument::Section* section,
                   bool withValues, LPWSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    if (!section || size < 3) {
        buffer[0] = 0;
        if (size > 1)
            buffer[1] = 0;
        return 0;
    }
    DWORD left = size;
    LPWSTR out = buffer;
    for (const auto& e : doc.Entries(*section)) {
        if (left <= 2)
            break;
        if (!withValues && !e.hasValue)
            continue;
        DWORD n = CopyCut(out, e.name, left - 1);
        out += n + 1;
        left -= n + 1;
        if (left < 2)
            break;
        if (withValues && e.hasValue) {
            out[-1] = L'=';
            n = CopyCut(out, e.value, left - 1);
            out += n + 1;
            left -= n + 1;
        }
    }
    *out = 0;
    if (left <= 1) {
        out[-1] = 0;
        return size - 2;
    }
    return size - left;
}

inline std::wstring_view Unquote(std::wstring_view v)
{
    if (v.size() >= 2 && (v[0] == L'"' || v[0] == L'\'') && v.back() == v[0])
        return v.substr(1, v.size() - 2);
    return v;
}

// The system's string-to-integer rule with base 0: blanks, a sign, "0x", "0o" or "0b" for
// another base, then digits up to the first other character, modulo 2^32.
inline UINT ToInteger(std::wstring_view v)
{
    size_t i = 0;
    while (i < v.size() && v[i] <= L' ')
        ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == L'+' || v[i] == L'-'))
        negative = v[i++] == L'-';
    UINT base = 10;
    if (i + 1 < v.size() && v[i] == L'0' &&
        (v[i + 1] == L'x' || v[i + 1] == L'o' || v[i + 1] == L'b')) {
        base = v[i + 1] == L'x' ? 16 : v[i + 1] == L'o' ? 8 : 2;
        i += 2;
    }
    UINT total = 0;
    for (; i < v.size(); ++i) {
        const UINT digit = platform::DigitValue(v[i]);
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}

} // namespace

void SetLegacyCodePage(const std::string& iconvName)
{
    std::lock_guard lock(g_mutex);
    g_legacyPage = iconvName.empty() ? kDefaultLegacyPage : iconvName;
    g_cache.clear();
}

std::string GetLegacyCodePage()
{
    std::lock_guard lock(g_mutex);
    return g_legacyPage;
}

void FlushProfileCache()
{
    std::lock_guard lock(g_mutex);
    g_cache.clear();
}

std::shared_ptr<const ProfileDocument> OpenProfile(LPCWSTR path)
{
    if (!path || !*path)
        return ProfileDocument::Empty();
    const std::string resolved = platform::ResolvePath(CString(path));
    struct stat st;
    if (::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return ProfileDocument::Empty();
    const Stamp now = StampOf(st);

    std::lock_guard lock(g_mutex);
    const std::int64_t readAt = NowNs();
    auto it = std::find_if(g_cache.begin(), g_cache.end(),
                           [&](const CacheEntry& e) { return e.resolved == resolved; });
    std::string bytes;
    Stamp read;
    if (it != g_cache.end() && it->stamp == now) {
        g_cache.splice(g_cache.begin(), g_cache, it);
        if (!it->racy)
            return it->doc;
        if (!ReadAll(resolved, bytes, read))
            return ProfileDocument::Empty();
        if (read == it->stamp && bytes == it->raw) {
            if (readAt - read.mtimeNs >= kRacyNs) {
                it->racy = false;
                it->raw = std::string();
            }
            return it->doc;
        }
    } else {
        if (!ReadAll(resolved, bytes, read))
            return ProfileDocument::Empty();
    }
    CacheEntry entry{resolved, read, ProfileDocument::Parse(bytes, g_legacyPage), {}, false};
    if (readAt - read.mtimeNs < kRacyNs) {
        entry.racy = true;
        entry.raw = std::move(bytes);
    }
    if (it != g_cache.end())
        g_cache.erase(it);
    g_cache.push_front(std::move(entry));
    if (g_cache.size() > kCacheFiles)
        g_cache.pop_back();
    return g_cache.front().doc;
}

ProfileSnapshot::ProfileSnapshot(LPCWSTR path) : m_pin(std::make_unique<Pin>())
{
    m_pin->path = path ? path : L"";
    m_pin->doc = OpenProfile(path);
    m_pin->outer = t_innermost;
    t_innermost = m_pin.get();
}

LPCWSTR ProfileSnapshot::Path() const
{
    return m_pin->path.c_str();
}

ProfileSnapshot::~ProfileSnapshot()
{
    // Usually the innermost one goes; one dropped out of order is unlinked where it stands.
    for (Pin** link = &t_innermost; *link; link = &(*link)->outer)
        if (*link == m_pin.get()) {
            *link = m_pin->outer;
            break;
        }
}

} // namespace platform::ini

using platform::ini::ProfileDocument;

DWORD GetPrivateProfileSectionNamesW(LPWSTR buffer, DWORD size, LPCWSTR path)
{
    const platform::ini::CallDocument doc(path);
    return platform::ini::WriteNames(*doc, buffer, size);
}

DWORD GetPrivateProfileSectionW(LPCWSTR section, LPWSTR buffer, DWORD size, LPCWSTR path)
{
    if (!section)
        return 0;
    const platform::ini::CallDocument doc(path);
    return platform::ini::WriteSection(*doc, doc.FindSection(section), true, buffer, size);
}

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer,
                               DWORD size, LPCWSTR path)
{
    if (!buffer || size == 0)
        return 0;
    // Trailing spaces of the default go, though never its first character.
    auto fallback = [defaultValue] {
        std::wstring_view def = defaultValue ? std::wstring_view(defaultValue) : L"";
        while (def.size() > 1 && def.back() == L' ')
            def.remove_suffix(1);
        return platform::ini::Unquote(def);
    };

    const platform::ini::CallDocument doc(path);
    if (!section)
        return platform::ini::WriteNames(*doc, buffer, size);
    const ProfileDocument::Section* s = doc.FindSection(section);
    if (!key) {
        const DWORD n = platform::ini::WriteSection(*doc, s, false, buffer, size);
        if (buffer[0])
            return n;
        return platform::ini::CopyCut(buffer, fallback(), size);
    }
    const ProfileDocument::Entry* e = doc.FindKey(s, key);
    return platform::ini::CopyCut(
        buffer, (e && e->hasValue) ? platform::ini::Unquote(e->value) : fallback(), size);
}

UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR path)
{
    // Windows reads the value as a string of at most 29 characters first, then converts it.
    constexpr size_t kValueChars = 29;
    std::wstring_view value;
    if (!section || !key) {
        wchar_t listed[kValueChars + 1];
        value = std::wstring_view(
            listed, GetPrivateProfileStringW(section, key, L"", listed, kValueChars + 1, path));
        return value.empty() ? static_cast<UINT>(defaultValue) : platform::ini::ToInteger(value);
    }
    const platform::ini::CallDocument doc(path);
    const ProfileDocument::Section* s = doc.FindSection(section);
    const ProfileDocument::Entry* e = doc.FindKey(s, key);
    if (!e || !e->hasValue)
        return static_cast<UINT>(defaultValue);
    value = platform::ini::Unquote(e->value).substr(0, kValueChars);
    return value.empty() ? static_cast<UINT>(defaultValue) : platform::ini::ToInteger(value);
}
