#include "platform/base/CString.h"

#include <glib.h>

#include <algorithm>
#include <cwctype>
#include <vector>

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || (c >= 0x09 && c <= 0x0D);
}

// Code points GLib cannot encode (surrogates, values past U+10FFFF) become U+FFFD.
bool IsScalarValue(wchar_t c)
{
    const auto u = static_cast<std::uint32_t>(c);
    return u <= 0x10FFFF && (u < 0xD800 || u > 0xDFFF);
}

// The reserved range for bytes of a file name that are not UTF-8: 0x80..0xFF map to
// U+DC80..U+DCFF. Bytes below 0x80 always decode, so no other value of the range is made. As
// lone surrogates they also pass through UTF-16 unchanged (a path kept in the settings store
// names the same file when read back), and never through UTF-8 text.
constexpr std::uint32_t kEscapedByte = 0xDC00;

bool IsEscapedByte(std::uint32_t c)
{
    return c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF;
}

int Clamp(int v, int lo, int hi)
{
    return std::min(std::max(v, lo), hi);
}

} // namespace

CString::CString(const wchar_t* text)
{
    if (text)
        m_str = text;
}

CString::CString(const wchar_t* text, int length)
{
    if (text && length > 0)
        m_str.assign(text, static_cast<size_t>(length));
}

CString::CString(wchar_t ch, int repeat)
{
    if (repeat > 0)
        m_str.assign(static_cast<size_t>(repeat), ch);
}

CString::CString(const char* utf8)
{
    if (utf8)
        *this = FromUtf8(utf8);
}

// --- conversions ---

CString CString::FromUtf8(std::string_view utf8)
{
    CString out;
    if (utf8.empty())
        return out;
    gchar* valid = g_utf8_make_valid(utf8.data(), static_cast<gssize>(utf8.size()));
    glong count = 0;
    gunichar* ucs = g_utf8_to_ucs4_fast(valid, -1, &count);
    out.m_str.assign(reinterpret_cast<const wchar_t*>(ucs), static_cast<size_t>(count));
    g_free(ucs);
    g_free(valid);
    return out;
}

CString CString::FromUtf16(const char16_t* text, size_t units)
{
    CString out;
    out.m_str.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF && !IsEscapedByte(c)) {
            c = 0xFFFD;
        }
        out.m_str.push_back(static_cast<wchar_t>(c));
    }
    return out;
}

std::string CString::ToUtf8() const
{
    std::string out;
    out.reserve(m_str.size());
    for (wchar_t wc : m_str) {
        const std::uint32_t c = IsScalarValue(wc) ? static_cast<std::uint32_t>(wc) : 0xFFFD;
        char buf[6];
        const int n = g_unichar_to_utf8(c, buf);
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

CString CString::FromPathBytes(std::string_view bytes)
{
    CString out;
    out.m_str.reserve(bytes.size());
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const auto lead = static_cast<unsigned char>(*p);
        if (lead < 0x80) {
            out.m_str.push_back(static_cast<wchar_t>(lead));
            ++p;
            continue;
        }
        // Rejects overlong forms, encoded surrogates and values past U+10FFFF, so that an
        // escaped byte and a decoded character can never be confused.
        const gunichar c = g_utf8_get_char_validated(p, end - p);
        if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
            out.m_str.push_back(static_cast<wchar_t>(kEscapedByte + lead));
            ++p;
            continue;
        }
        out.m_str.push_back(static_cast<wchar_t>(c));
        p = g_utf8_next_char(p);
    }
    return out;
}

std::string CString::ToPathBytes() const
{
    std::string out;
    out.reserve(m_str.size());
    for (wchar_t wc : m_str) {
        const auto u = static_cast<std::uint32_t>(wc);
        if (IsEscapedByte(u)) {
            out.push_back(static_cast<char>(u - kEscapedByte));
            continue;
        }
        const std::uint32_t c = IsScalarValue(wc) ? u : 0xFFFD;
        char buf[6];
        out.append(buf, static_cast<size_t>(g_unichar_to_utf8(c, buf)));
    }
    return out;
}

std::u16string CString::ToUtf16() const
{
    std::u16string out;
    out.reserve(m_str.size());
    for (wchar_t wc : m_str) {
        std::uint32_t c = IsScalarValue(wc) || IsEscapedByte(static_cast<std::uint32_t>(wc))
                              ? static_cast<std::uint32_t>(wc)
                              : 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

// --- access ---

wchar_t CString::GetAt(int index) const
{
    if (index < 0 || index >= GetLength())
        return 0;
    return m_str[static_cast<size_t>(index)];
}

void CString::SetAt(int index, wchar_t ch)
{
    if (index >= 0 && index < GetLength())
        m_str[static_cast<size_t>(index)] = ch;
}

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_str.resize(static_cast<size_t>(minLength), L'\0');
    return m_str.data();
}

wchar_t* CString::GetBufferSetLength(int length)
{
    m_str.resize(static_cast<size_t>(std::max(length, 0)), L'\0');
    return m_str.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(wcsnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}

// --- assignment and concatenation ---

CString& CString::operator=(const wchar_t* text)
{
    if (!text)
        m_str.clear();
    else
        m_str = text;
    return *this;
}

CString& CString::operator=(wchar_t ch)
{
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    m_str += other.m_str;
    return *this;
}

CString& CString::operator+=(const wchar_t* text)
{
    if (text)
        m_str += text;
    return *this;
}

CString& CString::operator+=(wchar_t ch)
{
    m_str.push_back(ch);
    return *this;
}

void CString::Append(const wchar_t* text, int length)
{
    if (text && length > 0)
        m_str.append(text, static_cast<size_t>(length));
}

CString operator+(const CString& a, const CString& b)
{
    return CString(a.m_str + b.m_str);
}
CString operator+(const CString& a, const wchar_t* b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const wchar_t* a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, wchar_t b)
{
    CString r(a);
    r += b;
    return r;
}

// --- comparison ---

int CString::Compare(const wchar_t* other) const
{
    return wcscmp(m_str.c_str(), other ? other : L"");
}

int CString::CompareNoCase(const wchar_t* other) const
{
    return _wcsicmp(m_str.c_str(), other ? other : L"");
}

// --- searching ---

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    const size_t pos = m_str.find(ch, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const wchar_t* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength())
        return -1;
    const size_t pos = m_str.find(sub, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const
{
    const size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const wchar_t* chars) const
{
    if (!chars)
        return -1;
    const size_t pos = m_str.find_first_of(chars);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const
{
    count = Clamp(count, 0, GetLength());
    return CString(m_str.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const
{
    count = Clamp(count, 0, GetLength());
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(count)));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::SpanIncluding(const wchar_t* chars) const
{
    const size_t n = chars ? m_str.find_first_not_of(chars) : 0;
    return Left(n == std::wstring::npos ? GetLength() : static_cast<int>(n));
}

CString CString::SpanExcluding(const wchar_t* chars) const
{
    const size_t n = chars ? m_str.find_first_of(chars) : std::wstring::npos;
    return Left(n == std::wstring::npos ? GetLength() : static_cast<int>(n));
}

CString CString::Tokenize(const wchar_t* delims, int& start) const
{
    if (start < 0 || start >= GetLength() || !delims) {
        start = -1;
        return CString();
    }
    const size_t from = m_str.find_first_not_of(delims, static_cast<size_t>(start));
    if (from == std::wstring::npos) {
        start = -1;
        return CString();
    }
    size_t to = m_str.find_first_of(delims, from);
    if (to == std::wstring::npos)
        to = m_str.size();
    start = static_cast<int>(std::min(to + 1, m_str.size()));
    return CString(m_str.substr(from, to - from));
}

// --- editing ---

int CString::Delete(int index, int count)
{
    if (index < 0)
        index = 0;
    if (count > 0 && index < GetLength())
        m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

int CString::Insert(int index, wchar_t ch)
{
    index = Clamp(index, 0, GetLength());
    m_str.insert(m_str.begin() + index, ch);
    return GetLength();
}

int CString::Insert(int index, const wchar_t* text)
{
    index = Clamp(index, 0, GetLength());
    if (text)
        m_str.insert(static_cast<size_t>(index), text);
    return GetLength();
}

int CString::Replace(wchar_t oldCh, wchar_t newCh)
{
    int n = 0;
    for (auto& c : m_str) {
        if (c == oldCh) {
            c = newCh;
            ++n;
        }
    }
    return n;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText)
{
    if (!oldText || !*oldText)
        return 0;
    const std::wstring from(oldText), to(newText ? newText : L"");
    int n = 0;
    size_t pos = 0;
    while ((pos = m_str.find(from, pos)) != std::wstring::npos) {
        m_str.replace(pos, from.size(), to);
        pos += to.size();
        ++n;
    }
    return n;
}

int CString::Remove(wchar_t ch)
{
    const auto before = m_str.size();
    std::erase(m_str, ch);
    return static_cast<int>(before - m_str.size());
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && IsBlank(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_str.empty() && IsBlank(m_str.back()))
        m_str.pop_back();
    return *this;
}

CString& CString::Trim(const wchar_t* chars)
{
    return TrimRight(chars).TrimLeft(chars);
}

CString& CString::TrimLeft(const wchar_t* chars)
{
    const size_t n = chars ? m_str.find_first_not_of(chars) : 0;
    m_str.erase(0, n == std::wstring::npos ? m_str.size() : n);
    return *this;
}

CString& CString::TrimRight(const wchar_t* chars)
{
    if (!chars)
        return *this;
    const size_t n = m_str.find_last_not_of(chars);
    m_str.erase(n == std::wstring::npos ? 0 : n + 1);
    return *this;
}

CString& CString::MakeLower()
{
    for (auto& c : m_str)
        c = static_cast<wchar_t>(g_unichar_tolower(static_cast<gunichar>(c)));
    return *this;
}

CString& CString::MakeUpper()
{
    for (auto& c : m_str)
        c = static_cast<wchar_t>(g_unichar_toupper(static_cast<gunichar>(c)));
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

void CString::Truncate(int length)
{
    if (length >= 0 && length < GetLength())
        m_str.resize(static_cast<size_t>(length));
}

// --- formatting ---

namespace {

// Rewrites the framework's wide conventions into glibc's: %s/%c become %ls/%lc, %S/%C become
// %s/%c, and %I64 becomes %ll.
std::wstring ToGlibcFormat(const wchar_t* fmt)
{
    std::wstring out;
    for (const wchar_t* p = fmt; *p; ++p) {
        out.push_back(*p);
        if (*p != L'%')
            continue;
        ++p;
        if (*p == L'%') {
            out.push_back(L'%');
            continue;
        }
        while (*p && wcschr(L"-+ #0", *p))
            out.push_back(*p++);
        while (*p && (iswdigit(static_cast<wint_t>(*p)) || *p == L'*' || *p == L'.'))
            out.push_back(*p++);
        bool sized = false;
        if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
            out += L"ll";
            p += 3;
            sized = true;
        }
        while (*p && wcschr(L"hlLqjzt", *p)) {
            out.push_back(*p++);
            sized = true;
        }
        if (!*p)
            break;
        if ((*p == L's' || *p == L'c') && !sized)
            out.push_back(L'l');
        if (*p == L'S' || *p == L'C')
            out.push_back(static_cast<wchar_t>(*p == L'S' ? L's' : L'c'));
        else
            out.push_back(*p);
    }
    return out;
}

} // namespace

void CString::FormatV(const wchar_t* format, va_list args)
{
    m_str.clear();
    if (!format)
        return;
    const std::wstring fmt = ToGlibcFormat(format);
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int n = vswprintf(buf.data(), buf.size(), fmt.c_str(), copy);
        va_end(copy);
        if (n >= 0) {
            m_str.assign(buf.data(), static_cast<size_t>(n));
            return;
        }
        // vswprintf reports -1 both for a short buffer and for an encoding error; stop growing
        // at a size no caller's text reaches.
        if (buf.size() >= (1u << 24))
            return;
        buf.resize(buf.size() * 4);
    }
}

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...)
{
    CString more;
    va_list args;
    va_start(args, format);
    more.FormatV(format, args);
    va_end(args);
    *this += more;
}

// --- C runtime helpers ---

int _wtoi(const wchar_t* text)
{
    return static_cast<int>(_wtol(text));
}

LONG _wtol(const wchar_t* text)
{
    return text ? static_cast<LONG>(platform::ParseDecimal(text)) : 0;
}

int _wcsicmp(const wchar_t* a, const wchar_t* b)
{
    return _wcsnicmp(a, b, static_cast<size_t>(-1));
}

int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const gunichar ca = g_unichar_tolower(static_cast<gunichar>(a[i]));
        const gunichar cb = g_unichar_tolower(static_cast<gunichar>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
    return 0;
}
