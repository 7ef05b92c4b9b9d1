#include "platform/gdiplus/GdiObject.h"

#include <cwchar>

IMPLEMENT_DYNAMIC(CGdiObject, CObject);
IMPLEMENT_DYNAMIC(CFont, CGdiObject);
IMPLEMENT_DYNAMIC(CPen, CGdiObject);
IMPLEMENT_DYNAMIC(CBrush, CGdiObject);
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject);
IMPLEMENT_DYNAMIC(CImageList, CObject);

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (!object || m_hObject)
        return FALSE;
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int size, LPVOID buffer) const
{
    return m_hObject ? ::GetObjectW(m_hObject, size, buffer) : 0;
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* logFont)
{
    return Attach(::CreateFontIndirectW(logFont));
}

BOOL CFont::CreatePointFont(int pointSize, LPCWSTR faceName)
{
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    // Tenths of a point at 96 dots per inch, as a character height.
    lf.lfHeight = -MulDiv(pointSize, 96, 720);
    if (faceName)
        std::wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONTW* logFont) const
{
    return GetObject(static_cast<int>(sizeof(LOGFONTW)), logFont);
}

BOOL CPen::CreatePen(int style, int width, COLORREF colour)
{
    return Attach(::CreatePen(style, width, colour));
}

BOOL CBrush::CreateSolidBrush(COLORREF colour)
{
    return Attach(::CreateSolidBrush(colour));
}

BOOL CBitmap::CreateCompatibleBitmap(HDC dc, int cx, int cy)
{
    return Attach(::CreateCompatibleBitmap(dc, cx, cy));
}

CImageList::~CImageList()
{
    DeleteImageList();
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    if (m_hImageList)
        return FALSE;
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    const BOOL done = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return done;
}

int CImageList::GetImageCount() const
{
    return ImageList_GetImageCount(m_hImageList);
}

int CImageList::Add(HICON icon)
{
    return ImageList_AddIcon(m_hImageList, icon);
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Add(m_hImageList, bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr,
                         mask ? static_cast<HBITMAP>(*mask) : nullptr);
}

HICON CImageList::ExtractIcon(int index)
{
    return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL);
}
