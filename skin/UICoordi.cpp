#include "skin/UICoordi.h"

#include "skin/ProfileList.h"

#include "platform/ini/PrivateProfile.h"

#include <cstring>

namespace {

constexpr DWORD kListChars = 16384;
constexpr DWORD kColorChars = 32;
constexpr const wchar_t* kDefaultColor = L"255,255,255,255";

COLORREF ColorRef(int r, int g, int b)
{
    return RGB(BYTE(r & 0xFF), BYTE(g & 0xFF), BYTE(b & 0xFF));
}

} // namespace

CUICoordi::CUICoordi()
{
    _WIN_POS& d = m_defaultWinPos;
    d.clrText = Gdiplus::Color(0);
    for (auto& c : d.clrColor)
        c = Gdiplus::Color(0);
    d.nS2L = d.nS2R = d.nS2T = d.nS2B = -1;
    d.rcS2 = CRect(-1, -1, -1, -1);
}

CUICoordi::~CUICoordi()
{
    UnloadInfo();
}

int CUICoordi::LoadInfo(CString path)
{
    // Thousands of reads follow; they all see one version of the file, checked once.
    const platform::ini::ProfileSnapshot snapshot(path);
    const LPCWSTR file = snapshot.Path();
    std::vector<wchar_t> names(kListChars, 0);
    const DWORD count = GetPrivateProfileSectionNamesW(names.data(), kListChars, file);

    static const wchar_t* const kMinusOne[] = {L"x",   L"y",   L"cx",  L"cy",
                                               L"s2l", L"s2r", L"s2t", L"s2b"};
    static const wchar_t* const kZero[] = {L"hc", L"vc", L"dl",      L"dr",
                                           L"dt", L"db", L"h_ratio", L"Type"};
    static const CString* const kColorKeys = [] {
        static CString keys[6];
        for (int c = 0; c < 6; ++c)
            keys[c].Format(L"Color%02d", c);
        return keys;
    }();
    // Cleared before each read by a copy of zeros: as a fill the compiler makes a string
    // instruction of it, slow to start for so few bytes.
    wchar_t colour[kColorChars];
    static constexpr wchar_t kCleared[kColorChars] = {};
    skin::ForEachListItem(names.data(), count, [&](const wchar_t* name, size_t) {
        auto record = std::make_unique<_WIN_POS>();
        _WIN_POS& w = *record;
        int v[16];
        for (int k = 0; k < 8; ++k)
            v[k] = static_cast<int>(GetPrivateProfileIntW(name, kMinusOne[k], -1, file));
        for (int k = 0; k < 8; ++k)
            v[8 + k] = static_cast<int>(GetPrivateProfileIntW(name, kZero[k], 0, file));
        w.nX = v[0], w.nY = v[1], w.nCX = v[2], w.nCY = v[3];
        w.nS2L = v[4], w.nS2R = v[5], w.nS2T = v[6], w.nS2B = v[7];
        w.nHC = v[8], w.nVC = v[9], w.nDL = v[10], w.nDR = v[11], w.nDT = v[12], w.nDB = v[13];
        w.nHRatio = v[14], w.nType = v[15];

        // Sums wrap as 32-bit arithmetic does instead of overflowing.
        auto add = [](int a, int b) {
            return static_cast<int>(static_cast<UINT>(a) + static_cast<UINT>(b));
        };
        w.pt = CPoint(w.nX, w.nY);
        w.rc = CRect(w.nX, w.nY, add(w.nX, w.nCX), add(w.nY, w.nCY));
        w.rcS2 = CRect(w.nS2L, w.nS2T, w.nS2R, w.nS2B);
        w.rcD = CRect(w.nDL, w.nDT, w.nDR, w.nDB);

        int a, r, g, b;
        std::memcpy(colour, kCleared, sizeof colour);
        GetPrivateProfileStringW(name, L"ColorText", kDefaultColor, colour, kColorChars, file);
        w.clrText = GetColor(colour, a, r, g, b);
        w.crText = ColorRef(r, g, b);
        for (int c = 0; c < 6; ++c) {
            std::memcpy(colour, kCleared, sizeof colour);
            GetPrivateProfileStringW(name, kColorKeys[c], kDefaultColor, colour, kColorChars, file);
            w.clrColor[c] = GetColor(colour, a, r, g, b);
            w.crColor[c] = ColorRef(r, g, b);
        }

        m_mapWinPos.SetAt(name, record.get());
        m_arrRecords.push_back(std::move(record));
    });
    return 1;
}

void CUICoordi::UnloadInfo()
{
    m_mapWinPos.RemoveAll();
    m_arrRecords.clear();
}

_WIN_POS* CUICoordi::GetWinPos(CString name)
{
    _WIN_POS* found = nullptr;
    if (m_mapWinPos.Lookup(name, found) && found)
        return found;
    return &m_defaultWinPos;
}

Gdiplus::Color CUICoordi::GetColor(wchar_t* text, int& a, int& r, int& g, int& b)
{
    // The working string is the text from `work` on. A conversion stops before any comma, so
    // the comma that ends a part is found from where its conversion stopped; once no comma is
    // left, the remaining parts are 0 and the last conversion is the one just made.
    const wchar_t* work = text ? text : L"";
    int part[4] = {0, 0, 0, 0};
    for (int i = 0; i <= 3; ++i) {
        const wchar_t* comma = work;
        const int value = platform::ParseDecimal(comma);
        if (i == 3) {
            part[3] = value;
            break;
        }
        while (*comma && *comma != L',')
            ++comma;
        if (!*comma) {
            part[3] = value;
            break;
        }
        part[i] = value;
        work = comma + 1;
    }
    a = part[0], r = part[1], g = part[2], b = part[3];
    return Gdiplus::Color(BYTE(a & 0xFF), BYTE(r & 0xFF), BYTE(g & 0xFF), BYTE(b & 0xFF));
}
