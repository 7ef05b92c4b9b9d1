// The framework's wrappers of GDI objects: each owns one handle of the GDI handle table and
// deletes it when it is destroyed or given a new one.
#pragma once

#include "platform/base/CObject.h"
#include "platform/gdiplus/Gdi.h"

class CGdiObject : public CObject
{
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    // Takes over a handle (the object must hold none).
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    // Deletes the handle (stock objects survive, as GDI keeps them); FALSE when there is none.
    BOOL DeleteObject();
    int GetObject(int size, LPVOID buffer) const;

    HGDIOBJ m_hObject = nullptr;
};

class CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont)
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    BOOL CreateFontIndirect(const LOGFONTW* logFont);
    // A font of `pointSize` tenths of a point at the display's 96 dots per inch.
    BOOL CreatePointFont(int pointSize, LPCWSTR faceName);
    int GetLogFont(LOGFONTW* logFont) const;
};

class CPen : public CGdiObject
{
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    BOOL CreatePen(int style, int width, COLORREF colour);
};

class CBrush : public CGdiObject
{
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    BOOL CreateSolidBrush(COLORREF colour);
};

class CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap)
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL CreateCompatibleBitmap(HDC dc, int cx, int cy);
};

// The common controls' image list: icons of one size, kept in order.
class CImageList : public CObject
{
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL DeleteImageList();
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
    int GetImageCount() const;
    // The index of the new image, -1 for a failure.
    int Add(HICON icon);
    int Add(CBitmap* bitmap, CBitmap* mask);
    // A new icon of image `index` (the caller destroys it).
    HICON ExtractIcon(int index);

    HIMAGELIST m_hImageList = nullptr;
};
