#include "skin/UIText.h"

#include "skin/ProfileList.h"

#include "platform/ini/PrivateProfile.h"

#include <vector>

namespace {

constexpr DWORD kListChars = 16384;
constexpr DWORD kValueChars = 260;

CString ReadValue(const CString& path, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[kValueChars] = {};
    GetPrivateProfileStringW(section, key, nullptr, value, kValueChars, path);
    return CString(value);
}

} // namespace

CUIText::~CUIText()
{
    UnloadTextMain();
    UnloadTextSetup();
}

// --- identity ---

unsigned short CUIText::GetLangID(CString path)
{
    const CString value = ReadValue(path, L"Language Info", L"LanguageID");
    std::uint32_t id = 0;
    unsigned shift = 0;
    for (int i = value.GetLength() - 1; i >= 0; --i) {
        const wchar_t c = value[i];
        if (c == L'x' || c == L'X')
            break;
        const unsigned digit = platform::DigitValue(c);
        if (digit >= 16)
            return 0xFFFF;
        // Digits past the eighth cannot reach the answer's low 16 bits; shifting them would
        // overflow.
        if (shift < 32)
            id += digit << shift;
        shift += 4;
    }
    return static_cast<unsigned short>(id & 0xFFFF);
}

CString CUIText::GetLangName(CString path)
{
    return ReadValue(path, L"Language Info", L"LanguageName");
}
CString CUIText::GetMapInfo(CString path)
{
    return ReadValue(path, L"Language Info", L"Map");
}
CString CUIText::GetFontName(CString path)
{
    return ReadValue(path, L"Font Info", L"FontName");
}

// --- main texts ---

int CUIText::LoadTextMain(CString path)
{
    platform::ini::ProfileSnapshot snapshot(path);
    std::vector<wchar_t> buffer(kListChars, 0);
    for (const wchar_t* section : skin::kMainTextSections) {
        buffer[0] = buffer[1] = 0;
        const DWORD count = GetPrivateProfileSectionW(section, buffer.data(), kListChars, path);
        skin::ForEachListItem(buffer.data(), count, [&](const wchar_t* item, size_t length) {
            CString key, rest;
            skin::SplitLine(CString(item, static_cast<int>(length)), key, rest);
            const int comma = rest.Find(L',');
            const int size = comma < 0 ? 0 : _wtoi(rest.Left(comma));
            const CString text = comma < 0 ? rest : rest.Mid(comma + 1);
            m_mapTextMain.SetAt(key, text);
            m_mapFontSizeMain.SetAt(key, size);
        });
    }
    return 1;
}

void CUIText::UnloadTextMain()
{
    m_mapTextMain.RemoveAll();
    m_mapFontSizeMain.RemoveAll();
}

CString CUIText::GetTextMain(CString key)
{
    CString text;
    m_mapTextMain.Lookup(key, text);
    return text;
}

int CUIText::GetFontSizeMain(CString key)
{
    int size = -1;
    return m_mapFontSizeMain.Lookup(key, size) ? size : -1;
}

int CUIText::GetFontAndTextMain(CString key, CString& text)
{
    CString found;
    if (!m_mapTextMain.Lookup(key, found))
        return -1;
    text = found;
    int size = -1;
    return m_mapFontSizeMain.Lookup(key, size) ? size : -1;
}

int CUIText::GetFontAndTextMain2(CString key, CString& text, int& size)
{
    CString foundText;
    int foundSize = 0;
    const BOOL hasText = m_mapTextMain.Lookup(key, foundText);
    const BOOL hasSize = m_mapFontSizeMain.Lookup(key, foundSize);
    if (hasText)
        text = foundText;
    if (hasSize)
        size = foundSize;
    return hasText && hasSize ? 1 : 0;
}

// --- setup texts ---

CStringInfo* CUIText::FindSetup(const CString& path, const CString& key)
{
    CStringInfo* info = nullptr;
    if (m_mapSetup.Lookup(key, info) && info)
        return info;

    const CString value = ReadValue(path, skin::kSetupTextSection, key);
    int size = -1;
    CString text;
    int pos = 0;
    bool first = true;
    for (CString token = value.Tokenize(L",", pos); pos >= 0; token = value.Tokenize(L",", pos)) {
        if (first)
            size = _wtoi(token);
        else
            text = token;
        first = false;
    }
    if (size < 0)
        return nullptr; // not cached: the next call reads the file again
    info = new CStringInfo(size, text);
    m_mapSetup.SetAt(key, info);
    return info;
}

CString CUIText::GetTextSetup(CString path, CString key)
{
    const CStringInfo* info = FindSetup(path, key);
    return info ? info->m_strText : CString();
}

int CUIText::GetFontSizeSetup(CString path, CString key)
{
    const CStringInfo* info = FindSetup(path, key);
    return info ? info->m_nSize : -1;
}

void CUIText::UnloadTextSetup()
{
    POSITION pos = m_mapSetup.GetStartPosition();
    while (pos) {
        CString key;
        CStringInfo* info = nullptr;
        m_mapSetup.GetNextAssoc(pos, key, info);
        delete info;
    }
    m_mapSetup.RemoveAll();
}
