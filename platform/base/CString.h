// The framework's wide string. It holds wchar_t text (UTF-32 on Linux), so L"..." literals and
// wchar_t* arguments work unchanged; conversion to UTF-8 (file names, the terminal) and to
// UTF-16 (file formats, size rules that count UTF-16 units) happens at those boundaries only.
#pragma once

#include "platform/base/WinTypes.h"

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CString
{
public:
    CString() = default;
    CString(const wchar_t* text); // null gives an empty string
    CString(const wchar_t* text, int length);
    CString(wchar_t ch, int repeat = 1);
    CString(std::wstring text) : m_str(std::move(text)) {}
    CString(std::wstring_view text) : m_str(text) {}
    explicit CString(const char* utf8);

    // --- conversions at the boundaries ---
    static CString FromUtf8(std::string_view utf8); // invalid sequences become U+FFFD
    static CString FromUtf16(const char16_t* text, size_t units);
    static CString FromUtf16(std::u16string_view text)
    {
        return FromUtf16(text.data(), text.size());
    }
    std::string ToUtf8() const;
    std::u16string ToUtf16() const;

    // File names are bytes on Linux, and not every byte sequence is UTF-8. Every file name
    // crosses between bytes and CString here: valid UTF-8 becomes its characters, and each
    // byte that does not decode becomes U+DC80..U+DCFF (a lone low surrogate, never a
    // character of a decoded text), which ToPathBytes turns back into that byte. So any name
    // read from the disk, an argument or a chooser opens again as the same file.
    static CString FromPathBytes(std::string_view bytes);
    std::string ToPathBytes() const;

    // --- access ---
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    const wchar_t* GetString() const { return m_str.c_str(); }
    operator const wchar_t*() const { return m_str.c_str(); }
    const std::wstring& Str() const { return m_str; }
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);
    wchar_t operator[](int index) const { return GetAt(index); }

    // A writable buffer of at least minLength characters plus the terminator; ReleaseBuffer
    // takes the text back, up to the first NUL when no length is given.
    wchar_t* GetBuffer(int minLength = 0);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // --- assignment and concatenation ---
    CString& operator=(const wchar_t* text);
    CString& operator=(wchar_t ch);
    CString& operator+=(const CString& other);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);
    void Append(const wchar_t* text, int length);
    void AppendChar(wchar_t ch) { m_str.push_back(ch); }

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const wchar_t* b);
    friend CString operator+(const wchar_t* a, const CString& b);
    friend CString operator+(const CString& a, wchar_t b);

    // --- comparison (case-sensitive unless the name says otherwise) ---
    int Compare(const wchar_t* other) const;
    int CompareNoCase(const wchar_t* other) const;
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
    friend bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

    // --- searching and extracting ---
    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* chars) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(const wchar_t* chars) const;
    CString SpanExcluding(const wchar_t* chars) const;
    // The next token after `start` split at any of `delims`; runs of delimiters are skipped.
    // At the end it answers an empty string and sets start to -1.
    CString Tokenize(const wchar_t* delims, int& start) const;

    // --- editing ---
    int Delete(int index, int count = 1);
    int Insert(int index, wchar_t ch);
    int Insert(int index, const wchar_t* text);
    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Remove(wchar_t ch);
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim(const wchar_t* chars);
    CString& TrimLeft(const wchar_t* chars);
    CString& TrimRight(const wchar_t* chars);
    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();
    void Truncate(int length);

    // printf-style formatting with the framework's wide conventions: %s and %c take wide
    // arguments, %S and %C narrow ones.
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);

private:
    std::wstring m_str;
};

template <> struct std::hash<CString>
{
    size_t operator()(const CString& s) const noexcept
    {
        return std::hash<std::wstring>()(s.Str());
    }
};

using CStringW = CString;

// C runtime helpers of the Windows wide API.

namespace platform {
// The conversion of _wtoi: leading blanks (space, tab to carriage return) skipped, an optional
// sign, decimal digits up to the first other character; no digits gives 0. Values past the int
// range wrap as 32-bit arithmetic does. `text` is left at the first character not converted.
inline std::int32_t ParseDecimal(const wchar_t*& text)
{
    const wchar_t* p = text;
    while (*p == L' ' || (*p >= 0x09 && *p <= 0x0D))
        ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-')
        negative = *p++ == L'-';
    std::uint32_t value = 0;
    while (*p >= L'0' && *p <= L'9')
        value = value * 10u + static_cast<std::uint32_t>(*p++ - L'0');
    text = p;
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

// The value of a digit in any base up to 36: '0' to '9', then 'a' to 'z' or 'A' to 'Z' for
// 10 to 35; 36 for every other character, so that `DigitValue(c) < base` tests a digit.
inline unsigned DigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return static_cast<unsigned>(c - L'0');
    if (c >= L'a' && c <= L'z')
        return static_cast<unsigned>(c - L'a' + 10);
    if (c >= L'A' && c <= L'Z')
        return static_cast<unsigned>(c - L'A' + 10);
    return 36;
}
} // namespace platform

// Converted as platform::ParseDecimal converts.
int _wtoi(const wchar_t* text);
LONG _wtol(const wchar_t* text);
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count);
