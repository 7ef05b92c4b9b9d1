// The texts of one user-interface language and the font sizes to draw them with, read from a
// language file: the main window's texts all at once, the settings dialog's on demand.
#pragma once

#include "platform/base/CMap.h"
#include "platform/base/CString.h"

namespace skin {

// The sections of a language file: the main texts, in the order LoadTextMain reads them (one
// name space), and the settings texts, read key by key.
inline constexpr const wchar_t* kMainTextSections[] = {L"AppMain", L"AppPopup", L"AppViewerSetup"};
inline constexpr const wchar_t* kSetupTextSection = L"AppSetup";

} // namespace skin

// One cached settings text.
class CStringInfo
{
public:
    CStringInfo(int size, const CString& text) : m_nSize(size), m_strText(text) {}
    virtual ~CStringInfo() = default;

    int m_nSize; // never negative in the cache
    CString m_strText;
};

class CUIText
{
public:
    CUIText() = default;
    virtual ~CUIText();
    CUIText(const CUIText&) = delete;
    CUIText& operator=(const CUIText&) = delete;

    // --- the file's identity, read anew on every call ---
    // "LanguageID" in hexadecimal, with or without 0x: 0 when missing or empty, 0xFFFF when
    // it holds anything else than hexadecimal digits after the last 'x'.
    unsigned short GetLangID(CString path);
    CString GetLangName(CString path);
    CString GetMapInfo(CString path);
    CString GetFontName(CString path);

    // --- "AppMain", "AppPopup" and "AppViewerSetup", one name space ---
    int LoadTextMain(CString path); // adds to what is loaded; always 1
    void UnloadTextMain();
    CString GetTextMain(CString key); // "" when not loaded
    int GetFontSizeMain(CString key); // -1 when not loaded
    // Stores the text when there is one, answers the size when both are there, else -1.
    int GetFontAndTextMain(CString key, CString& text);
    // Stores what is found; 1 when both text and size were found, else 0.
    int GetFontAndTextMain2(CString key, CString& text, int& size);

    // --- "AppSetup", read key by key and cached by key alone (whatever the path) ---
    CString GetTextSetup(CString path, CString key);
    int GetFontSizeSetup(CString path, CString key);
    void UnloadTextSetup();

private:
    CStringInfo* FindSetup(const CString& path, const CString& key);

    CMapStringTo<CString> m_mapTextMain;
    CMapStringTo<int> m_mapFontSizeMain;
    CMapStringTo<CStringInfo*> m_mapSetup;
};
