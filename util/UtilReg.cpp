#include "util/UtilReg.h"

#include "platform/settings/Registry.h"

#include <cstring>
#include <string>

namespace {

constexpr int kMachineRoot = 1;
constexpr int kTextUnits = 260; // UTF-16 units of a text buffer, the terminating NUL included

// The text as the UTF-16 units of a 260-unit buffer: at most 259, never half a surrogate pair.
std::u16string FitText(const CString& text)
{
    std::u16string units = text.ToUtf16();
    if (units.size() > kTextUnits - 1) {
        size_t keep = kTextUnits - 1;
        if (units[keep - 1] >= 0xD800 && units[keep - 1] <= 0xDBFF)
            --keep;
        units.resize(keep);
    }
    return units;
}

void StoreText(HKEY key, const CString& name, const std::u16string& units)
{
    // Stored without a terminating NUL: the byte count is twice the length.
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(units.data()),
                   static_cast<DWORD>(units.size() * 2));
}

} // namespace

CUtilReg::CUtilReg() : m_hKey(nullptr), m_bKeyOpen(0) {}

CUtilReg& CUtilReg::operator=(const CUtilReg& other)
{
    m_hKey = other.m_hKey;
    m_bKeyOpen = other.m_bKeyOpen;
    return *this;
}

// Keys live for one call only; there is nothing left to close here.
CUtilReg::~CUtilReg() = default;

// --- keys ---

int CUtilReg::CreateRegKey(CString strKey)
{
    return CreateRegKey(strKey, 0);
}

int CUtilReg::CreateRegKey(CString strKey, int nRoot)
{
    if (m_bKeyOpen)
        return 1;
    m_bKeyOpen = 0;
    LSTATUS status;
    if (nRoot == kMachineRoot)
        status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, strKey, 0, KEY_QUERY_VALUE, &m_hKey);
    else
        status = RegCreateKeyExW(HKEY_CURRENT_USER, strKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &m_hKey, nullptr);
    if (status == ERROR_SUCCESS)
        m_bKeyOpen = 1;
    return m_bKeyOpen;
}

void CUtilReg::CloseRegKey()
{
    if (m_bKeyOpen)
        RegCloseKey(m_hKey);
    m_bKeyOpen = 0;
}

// --- numbers ---

DWORD CUtilReg::ReadRegDWORD(CString strKey, CString strName, DWORD dwDefault)
{
    return ReadRegDWORD(strKey, strName, dwDefault, 0);
}

DWORD CUtilReg::ReadRegDWORD(CString strKey, CString strName, DWORD dwDefault, int nRoot)
{
    DWORD result = dwDefault;
    if (!CreateRegKey(strKey, nRoot))
        return dwDefault;
    // A stored value of up to 4 bytes lands over the default's bytes, whatever its type.
    DWORD size = sizeof(result);
    DWORD type = 0;
    if (RegQueryValueExW(m_hKey, strName, nullptr, &type, reinterpret_cast<LPBYTE>(&result),
                         &size) != ERROR_SUCCESS) {
        result = dwDefault;
        RegSetValueExW(m_hKey, strName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&result),
                       sizeof(result));
    }
    CloseRegKey();
    return result;
}

void CUtilReg::WriteRegDWORD(CString strKey, CString strName, DWORD dwValue)
{
    WriteRegDWORD(strKey, strName, dwValue, 0);
}

void CUtilReg::WriteRegDWORD(CString strKey, CString strName, DWORD dwValue, int nRoot)
{
    if (!CreateRegKey(strKey, nRoot))
        return;
    RegSetValueExW(m_hKey, strName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                   sizeof(dwValue));
    CloseRegKey();
}

// --- texts ---

CString CUtilReg::ReadRegString(CString strKey, CString strName, CString strDefault)
{
    return ReadRegString(strKey, strName, strDefault, 0);
}

CString CUtilReg::ReadRegString(CString strKey, CString strName, CString strDefault, int nRoot)
{
    if (!CreateRegKey(strKey, nRoot))
        return strDefault;
    char16_t buffer[kTextUnits] = {};
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    std::u16string text;
    if (RegQueryValueExW(m_hKey, strName, nullptr, &type, reinterpret_cast<LPBYTE>(buffer),
                         &size) == ERROR_SUCCESS) {
        // Up to the first NUL, or to the end of the data: texts are stored without one.
        const size_t units = size / 2;
        text.assign(buffer, units);
        if (const size_t nul = text.find(u'\0'); nul != std::u16string::npos)
            text.resize(nul);
    } else {
        text = FitText(strDefault);
        StoreText(m_hKey, strName, text);
    }
    CloseRegKey();
    return CString::FromUtf16(text);
}

void CUtilReg::WriteRegString(CString strKey, CString strName, CString strValue)
{
    WriteRegString(strKey, strName, strValue, 0);
}

void CUtilReg::WriteRegString(CString strKey, CString strName, CString strValue, int nRoot)
{
    if (!CreateRegKey(strKey, nRoot))
        return;
    StoreText(m_hKey, strName, FitText(strValue));
    CloseRegKey();
}
