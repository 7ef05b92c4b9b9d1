// Settings kept as named values below caller-given key paths: 32-bit numbers and texts of at
// most 259 characters. Reading a value that is missing (or does not fit) answers the caller's
// default and stores it, so that after the first run every setting is present. Nothing is
// reported: a key that cannot be opened makes a read answer its default and a write do nothing.
//
// Root selector 1 reads the machine-wide settings (never written); any other selector, and the
// forms without one, use the current user's settings, creating keys as needed.
//
// A text longer than 259 characters (as default or as value) is cut to its first 259, so that
// what a read answers is always what the next read finds stored.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CUtilReg
{
public:
    CUtilReg();
    CUtilReg& operator=(const CUtilReg& other);
    ~CUtilReg();

    DWORD ReadRegDWORD(CString strKey, CString strName, DWORD dwDefault);
    DWORD ReadRegDWORD(CString strKey, CString strName, DWORD dwDefault, int nRoot);
    void WriteRegDWORD(CString strKey, CString strName, DWORD dwValue);
    void WriteRegDWORD(CString strKey, CString strName, DWORD dwValue, int nRoot);
    CString ReadRegString(CString strKey, CString strName, CString strDefault);
    CString ReadRegString(CString strKey, CString strName, CString strDefault, int nRoot);
    void WriteRegString(CString strKey, CString strName, CString strValue);
    void WriteRegString(CString strKey, CString strName, CString strValue, int nRoot);

private:
    int CreateRegKey(CString strKey);
    int CreateRegKey(CString strKey, int nRoot);
    void CloseRegKey();

    HKEY m_hKey;
    BOOL m_bKeyOpen;
};
