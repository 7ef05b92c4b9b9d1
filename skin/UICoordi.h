// The skin's layout file: one entry per section, giving a window or control its position,
// size, further layout numbers and seven colours. The numbers are kept as read; the host
// gives them their meaning.
#pragma once

#include "platform/base/CMap.h"
#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/gdiplus/Gdiplus.h"

#include <cstddef>
#include <memory>
#include <vector>

// One layout entry. Hosts read it field by field, so the order and widths are fixed. The
// rectangles repeat the single values; note their order left, top, right, bottom against the
// single fields' left, right, top, bottom.
struct _WIN_POS
{
    CPoint pt; // (x, y)
    CRect rc;  // (x, y, x + cx, y + cy)
    int nX = 0;
    int nY = 0;
    int nCX = 0;
    int nCY = 0;
    int nHC = 0;
    int nVC = 0;
    int nS2L = 0;
    int nS2R = 0;
    int nS2T = 0;
    int nS2B = 0;
    CRect rcS2; // (s2l, s2t, s2r, s2b)
    int nDL = 0;
    int nDR = 0;
    int nDT = 0;
    int nDB = 0;
    CRect rcD; // (dl, dt, dr, db)
    int nHRatio = 0;
    int nType = 0;
    Gdiplus::Color clrText; // opaque black until loaded
    Gdiplus::Color clrColor[6];
    COLORREF crText = 0;
    COLORREF crColor[6] = {};
};

static_assert(offsetof(_WIN_POS, rc) == 8 && offsetof(_WIN_POS, nX) == 24 &&
                  offsetof(_WIN_POS, rcS2) == 64 && offsetof(_WIN_POS, nDL) == 80 &&
                  offsetof(_WIN_POS, rcD) == 96 && offsetof(_WIN_POS, nHRatio) == 112 &&
                  offsetof(_WIN_POS, clrText) == 120 && offsetof(_WIN_POS, clrColor) == 124 &&
                  offsetof(_WIN_POS, crText) == 148 && offsetof(_WIN_POS, crColor) == 152 &&
                  sizeof(_WIN_POS) == 176,
              "hosts read _WIN_POS field by field");

class CUICoordi
{
public:
    CUICoordi();
    virtual ~CUICoordi();
    CUICoordi(const CUICoordi&) = delete;
    CUICoordi& operator=(const CUICoordi&) = delete;

    // Adds the file's entries, replacing those of the same name. Always answers 1: a missing
    // file loads nothing.
    int LoadInfo(CString path);
    // Releases every record handed out; the default record stays.
    void UnloadInfo();
    // The record of exactly that name (letter case counts), else the default record. Never
    // null; valid until UnloadInfo or destruction.
    _WIN_POS* GetWinPos(CString name);

private:
    // "a,r,g,b" as ARGB; the four numbers are handed back as parsed.
    Gdiplus::Color GetColor(wchar_t* text, int& a, int& r, int& g, int& b);

    CMapStringTo<_WIN_POS*> m_mapWinPos;
    _WIN_POS m_defaultWinPos;
    // Every record made since the last unload, including those a later load displaced from
    // the map: a host may still hold them.
    std::vector<std::unique_ptr<_WIN_POS>> m_arrRecords;
};
