#include "controls/CtrlGroupBox.h"

#include "controls/OwnerDraw.h"
#include "platform/host/HostResources.h"

#include <algorithm>
#include <cwchar>
#include <vector>

IMPLEMENT_DYNAMIC(CCtrlGroupBox, CStatic);

BEGIN_MESSAGE_MAP(CCtrlGroupBox, CStatic)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

grp::Palette CCtrlGroupBox::m_defaultGrayPalette{};

namespace {

// Visual-styles values: the group box part of the button class, its normal state, and the
// text colour property.
constexpr int BP_GROUPBOX = 4;
constexpr int GBS_NORMAL = 1;
constexpr int TMT_TEXTCOLOR = 3803;
constexpr COLORREF kUnset = 0xFFFFFFFF;

} // namespace

CCtrlGroupBox::CCtrlGroupBox()
    : m_crText(GetSysColor(COLOR_BTNTEXT)), m_crBk(GetSysColor(COLOR_BTNFACE)), m_crBorder(kUnset),
      m_nMarginX(8), m_nMarginY(0), m_nHeaderHalf(-1), m_nIconSpacing(8), m_hIcon(nullptr),
      m_hGrayIcon(nullptr), m_nIconSize(0), m_bIconOwned(FALSE), m_rcLastBorder(0, 0, 0, 0),
      m_sizeText(0, 0), m_bThemed(FALSE), m_bThemeEnabled(TRUE), m_bDisabledStyle(TRUE),
      m_bGrayPaletteReady(FALSE), m_eControlStyle(STYLE_FRAME), m_eBorderStyle(BORDER_ETCHED),
      m_eIconAlignment(ALIGN_LEFT), m_eAlignment(ALIGN_LEFT), m_pTheme(new CThemeLibrary)
{
}

CCtrlGroupBox::~CCtrlGroupBox()
{
    // The window goes while this object is still a group box.
    if (m_hWnd && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    ReleaseIcons();
    delete m_pTheme;
}

CCtrlGroupBox& CCtrlGroupBox::Redraw(int redraw)
{
    if (redraw && ::IsWindow(m_hWnd))
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return *this;
}

// --- text and font ---

LRESULT CCtrlGroupBox::OnSetText(WPARAM, LPARAM)
{
    // Whichever way the text is written, the header is measured again at the next paint.
    m_sizeText = CSize(0, 0);
    return Default();
}

CCtrlGroupBox& CCtrlGroupBox::SetWindowTextW(const wchar_t* text, int redraw)
{
    m_sizeText = CSize(0, 0);
    CString value;
    if (text && IS_INTRESOURCE(text)) {
        LPCWSTR resource = nullptr;
        const int n = LoadStringW(GetModuleHandleW(nullptr),
                                  static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)),
                                  reinterpret_cast<LPWSTR>(&resource), 0);
        if (n > 0 && resource)
            value = CString(resource, n);
    } else if (text) {
        value = text;
    }
    SetWindowText(value);
    return Redraw(redraw);
}

int CCtrlGroupBox::GetFontHeight(int pointSize)
{
    return platform::FontHeightOfPoints(pointSize);
}

int CCtrlGroupBox::GetFontPointSize(int height)
{
    return platform::PointsOfFontHeight(height);
}

void CCtrlGroupBox::ReplaceFont(const LOGFONTW& logFont)
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&logFont);
    m_sizeText = CSize(0, 0);
}

CCtrlGroupBox& CCtrlGroupBox::SetFont(const wchar_t* faceName, int pointSize, int redraw)
{
    LOGFONTW lf{};
    if (faceName && faceName[0])
        std::wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    else
        m_font.GetLogFont(&lf);
    lf.lfHeight = GetFontHeight(pointSize);
    ReplaceFont(lf);
    return Redraw(redraw);
}

CCtrlGroupBox& CCtrlGroupBox::SetFont(CFont* font, int redraw)
{
    HGDIOBJ source = font ? font->GetSafeHandle() : GetSafeFont();
    LOGFONTW lf{};
    if (!source || !GetObjectW(source, sizeof lf, &lf))
        return *this;
    ReplaceFont(lf);
    return Redraw(redraw);
}

CCtrlGroupBox& CCtrlGroupBox::SetFont(LOGFONTW* logFont, int redraw)
{
    if (!logFont)
        return *this;
    ReplaceFont(*logFont);
    return Redraw(redraw);
}

CCtrlGroupBox& CCtrlGroupBox::SetBold(int bold, int redraw)
{
    LOGFONTW lf{};
    m_font.GetLogFont(&lf);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    ReplaceFont(lf);
    return Redraw(redraw);
}

int CCtrlGroupBox::GetFont(LOGFONTW* logFont)
{
    if (!logFont)
        return 0;
    *logFont = LOGFONTW{};
    m_font.GetLogFont(logFont);
    return 1;
}

int CCtrlGroupBox::GetBold()
{
    LOGFONTW lf{};
    if (!m_font.GetLogFont(&lf))
        return 0;
    return lf.lfWeight == FW_BOLD ? 1 : 0;
}

CString CCtrlGroupBox::GetFontFaceName()
{
    LOGFONTW lf{};
    if (!m_font.GetLogFont(&lf))
        return CString(L"MS Sans Serif");
    return CString(lf.lfFaceName);
}

int CCtrlGroupBox::GetFontPointSize()
{
    LOGFONTW lf{};
    if (!m_font.GetLogFont(&lf))
        return 8;
    return GetFontPointSize(lf.lfHeight);
}

HFONT CCtrlGroupBox::GetSafeFont()
{
    return ownerdraw::WindowFont(*this);
}

// --- icon ---

void CCtrlGroupBox::ReleaseIcons()
{
    if (m_hIcon && m_bIconOwned)
        DestroyIcon(m_hIcon);
    if (m_hGrayIcon)
        DestroyIcon(m_hGrayIcon);
    m_hIcon = nullptr;
    m_hGrayIcon = nullptr;
}

CCtrlGroupBox& CCtrlGroupBox::SetIcon(HICON icon, UINT size, int redraw)
{
    ReleaseIcons();
    m_nIconSize = icon ? static_cast<int>(size) : 0;
    m_hIcon = icon;
    m_bIconOwned = FALSE;
    return Redraw(redraw);
}

CCtrlGroupBox& CCtrlGroupBox::SetIcon(UINT id, UINT size, int redraw)
{
    ReleaseIcons();
    m_nIconSize = static_cast<int>(size);
    if (id)
        m_hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                IMAGE_ICON, static_cast<int>(size),
                                                static_cast<int>(size), 0));
    if (!m_hIcon)
        m_nIconSize = 0;
    m_bIconOwned = TRUE;
    return Redraw(redraw);
}

CCtrlGroupBox& CCtrlGroupBox::SetImageList(CImageList* list, int index, int redraw)
{
    ReleaseIcons();
    m_nIconSize = 0;
    if (!list || !list->GetSafeHandle() || index >= list->GetImageCount())
        return *this;
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list->GetSafeHandle(), &cx, &cy);
    m_nIconSize = cy;
    m_hIcon = ImageList_GetIcon(list->GetSafeHandle(), index, ILD_NORMAL);
    if (!m_hIcon)
        m_nIconSize = 0;
    m_bIconOwned = TRUE;
    return Redraw(redraw);
}

// --- enabling and theme ---

int CCtrlGroupBox::EnableWindow(int enable, int withChildren)
{
    const int result = CWnd::EnableWindow(enable);
    if (withChildren)
        EnableChildWindows(m_hWnd, enable, 0);
    return result;
}

int CCtrlGroupBox::EnableChildWindows(HWND box, int enable, int enableBox)
{
    if (enableBox)
        ::EnableWindow(box, enable);
    RECT boxRect{};
    ::GetWindowRect(box, &boxRect);
    HWND parent = ::GetParent(box);
    if (!::IsWindow(parent))
        return 0;
    // The walk first, then the changes: enabling may repaint, and a repaint must not find the
    // list half walked.
    std::vector<HWND> inside;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        ::GetWindowRect(child, &r);
        if (grp::Inside(CRect(r), CRect(boxRect)))
            inside.push_back(child);
    }
    for (HWND child : inside)
        ::EnableWindow(child, enable);
    if (!inside.empty())
        ::InvalidateRect(parent, nullptr, FALSE);
    return static_cast<int>(inside.size());
}

void CCtrlGroupBox::ReadThemeTextColor()
{
    m_crText = kUnset;
    if (FAILED(m_pTheme->GetThemeColor(m_pTheme->m_hTheme, BP_GROUPBOX, GBS_NORMAL, TMT_TEXTCOLOR,
                                       &m_crText)) ||
        m_crText == kUnset)
        m_crText = GetSysColor(COLOR_HIGHLIGHT);
}

CCtrlGroupBox& CCtrlGroupBox::EnableTheme(int enable, int redraw)
{
    m_bThemeEnabled = enable;
    if (enable && m_bThemed) {
        m_crBorder = kUnset;
        ReadThemeTextColor();
    }
    return Redraw(redraw);
}

void CCtrlGroupBox::PreSubclassWindow()
{
    ModifyStyle(WS_BORDER | SS_SUNKEN, 0);
    ModifyStyleEx(WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME, 0);

    if (m_pTheme->m_hTheme) {
        m_pTheme->CloseThemeData(m_pTheme->m_hTheme);
        m_pTheme->m_hTheme = nullptr;
    }
    if (m_pTheme->IsThemeActive() && m_pTheme->IsAppThemed()) {
        m_pTheme->m_hTheme = m_pTheme->OpenThemeData(nullptr, L"BUTTON");
        m_bThemed = m_pTheme->m_hTheme != nullptr;
    } else {
        m_bThemed = FALSE;
    }
    if (m_bThemed)
        ReadThemeTextColor();
    else
        m_crText = GetSysColor(COLOR_BTNTEXT);

    if (HFONT safe = GetSafeFont()) {
        LOGFONTW lf{};
        if (GetObjectW(safe, sizeof lf, &lf)) {
            lf.lfCharSet = DEFAULT_CHARSET;
            ReplaceFont(lf);
        }
    }
    CStatic::PreSubclassWindow();
}

// --- painting ---

BOOL CCtrlGroupBox::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CCtrlGroupBox::OnPaint()
{
    // A paint sends and dispatches nothing that could paint again (the parent's pixels are read
    // as they are shown), so one paint cannot start inside another and needs no guard.
    CPaintDC dc(this);
    const CSize size = ownerdraw::WindowSize(*this);
    CRect rect(0, 0, size.cx, size.cy);
    DrawItem(&dc, rect);
}

void CCtrlGroupBox::DrawItem(CDC* dc, CRect& rect)
{
    if (!dc || !dc->GetSafeHdc())
        return;
    if (m_sizeText.cx == 0) {
        const CString text = GetWindowText();
        platform::ScopedSelect font(dc->GetSafeHdc(), m_font.GetSafeHandle());
        if (!text.IsEmpty()) {
            SIZE extent{};
            GetTextExtentPoint32W(dc->GetSafeHdc(), text, text.GetLength(), &extent);
            m_sizeText = CSize(extent.cx, extent.cy);
        }
    }
    const grp::Bands bands = grp::Layout(rect, m_sizeText, m_nIconSize);
    m_nHeaderHalf = bands.headerHalf;
    ownerdraw::ComposeGdi(dc->GetSafeHdc(), rect.Size(), [&](HDC mem, int, int) {
        CDC memory(mem);
        platform::FillSolidRect(mem, rect, m_crBk);
        // The frame style shows what the parent has behind it, below the header strip.
        if (grp::IsFrame(m_eControlStyle)) {
            const CSize window = ownerdraw::WindowSize(*this);
            ownerdraw::CopyParentBackground(
                *this, mem,
                grp::BelowHeaderStrip(CRect(0, 0, window.cx, window.cy), m_nHeaderHalf));
        }
        {
            platform::ScopedSelect hollow(mem, GetStockObject(NULL_BRUSH));
            CRect border = bands.border;
            if (grp::IsFrame(m_eControlStyle)) {
                EraseBorder(&memory, m_rcLastBorder, m_crBk);
                m_rcLastBorder = border;
            }
            DrawBorder(&memory, border);
        }
        CRect header = bands.header;
        EraseHeaderArea(&memory, header, m_crBk);
        CRect background = bands.header;
        GetHeaderRect(&memory, background);
        CRect textRect = bands.header, iconRect = bands.icon;
        textRect.left = background.left;
        iconRect.left = background.left;
        DrawHeader(&memory, textRect, iconRect);
    });
}

void CCtrlGroupBox::GetHeaderRect(CDC*, CRect& rect)
{
    rect =
        grp::HeaderRect(rect, {m_eControlStyle, m_eAlignment, static_cast<int>(m_sizeText.cx),
                               m_hIcon ? m_nIconSize : 0, m_nIconSpacing, m_nMarginX, m_nMarginY});
}

void CCtrlGroupBox::EraseHeaderArea(CDC* dc, CRect& rect, COLORREF colour)
{
    CRect header = rect;
    GetHeaderRect(dc, header);
    platform::FillSolidRect(dc->GetSafeHdc(), header, colour);
}

void CCtrlGroupBox::EraseBorder(CDC* dc, CRect& rect, COLORREF colour)
{
    if (rect.IsRectEmpty())
        return;
    CRect inner = rect;
    inner.DeflateRect(2, 2);
    platform::OutlineRect(dc->GetSafeHdc(), inner, 5, colour);
}

void CCtrlGroupBox::DrawEtchedRectangle(CDC* dc, CRect& rect, COLORREF colour)
{
    const HDC hdc = dc->GetSafeHdc();
    const COLORREF main = IsWindowEnabled() ? colour : GetSysColor(COLOR_BTNSHADOW);
    if (grp::IsEtched(m_eBorderStyle)) {
        platform::OutlineRect(hdc, CRect(rect.left + 1, rect.top + 1, rect.right, rect.bottom), 2,
                              GetSysColor(COLOR_BTNHIGHLIGHT));
        rect.right -= 1;
        rect.bottom -= 1;
    }
    platform::OutlineRect(hdc, rect, 1, main);
}

void CCtrlGroupBox::DrawEtchedLine(CDC* dc, CRect& rect, COLORREF colour)
{
    const HDC hdc = dc->GetSafeHdc();
    const COLORREF main = IsWindowEnabled() ? colour : GetSysColor(COLOR_BTNSHADOW);
    platform::SolidLine(hdc, rect.left, rect.top, rect.right, rect.top, main);
    if (grp::IsEtched(m_eBorderStyle))
        platform::SolidLine(hdc, rect.left, rect.top + 1, rect.right, rect.top + 1,
                            GetSysColor(COLOR_BTNHIGHLIGHT));
}

void CCtrlGroupBox::DrawBorder(CDC* dc, CRect& rect)
{
    if (grp::IsFrame(m_eControlStyle)) {
        if (m_crBorder != kUnset)
            DrawEtchedRectangle(dc, rect, m_crBorder);
        else if (m_pTheme->m_hTheme && m_bThemeEnabled)
            m_pTheme->DrawThemeBackground(m_pTheme->m_hTheme, dc->GetSafeHdc(), BP_GROUPBOX,
                                          GBS_NORMAL, &rect, nullptr);
        else
            DrawEtchedRectangle(dc, rect, GetSysColor(COLOR_BTNSHADOW));
    } else {
        DrawEtchedLine(dc, rect, m_crBorder != kUnset ? m_crBorder : GetSysColor(COLOR_BTNSHADOW));
    }
}

void CCtrlGroupBox::DrawHeader(CDC* dc, CRect& textRect, CRect& iconRect)
{
    const bool iconAfter = grp::IconAfterText(m_eIconAlignment);
    const grp::Placement at = grp::PlaceItems(textRect.left, m_eControlStyle, m_eAlignment,
                                              iconAfter, static_cast<int>(m_sizeText.cx),
                                              m_hIcon != nullptr, m_nIconSize, m_nIconSpacing);
    textRect.left = at.textLeft;
    iconRect.left = at.iconLeft;
    iconRect.right = grp::ClampToInt(static_cast<long long>(at.iconLeft) + m_nIconSize);
    // The first item is drawn first, as a negative spacing may make the second cover it.
    if (iconAfter) {
        DrawTextW(dc, textRect);
        DrawIcon(dc, iconRect);
    } else {
        DrawIcon(dc, iconRect);
        DrawTextW(dc, textRect);
    }
}

int CCtrlGroupBox::DrawTextW(CDC* dc, CRect& rect)
{
    const CString text = GetWindowText();
    if (text.IsEmpty())
        return rect.left;
    const HDC hdc = dc->GetSafeHdc();
    const bool gray = !IsWindowEnabled() && m_bDisabledStyle;
    ::SetTextColor(hdc, gray ? GetSysColor(COLOR_GRAYTEXT) : m_crText);
    ::SetBkColor(hdc, m_crBk);
    SetBkMode(hdc, OPAQUE);
    platform::ScopedSelect font(hdc, m_font.GetSafeHandle());
    SIZE extent{};
    GetTextExtentPoint32W(hdc, text, text.GetLength(), &extent);
    const int right = grp::ClampToInt(static_cast<long long>(rect.left) + extent.cx);
    RECT box{rect.left, rect.top, right, rect.bottom};
    ::DrawTextW(hdc, text, text.GetLength(), &box, DT_SINGLELINE | DT_VCENTER);
    return right;
}

int CCtrlGroupBox::DrawIcon(CDC* dc, CRect& rect)
{
    if (!m_hIcon)
        return rect.left;
    HICON icon = m_hIcon;
    if (!IsWindowEnabled() && m_bDisabledStyle) {
        if (!m_hGrayIcon)
            m_hGrayIcon = CreateGrayscaleIcon(m_hIcon);
        icon = m_hGrayIcon;
    }
    if (icon)
        DrawIconEx(dc->GetSafeHdc(), rect.left, rect.top, icon, m_nIconSize, m_nIconSize, 0,
                   nullptr, DI_NORMAL);
    return rect.right;
}

HICON CCtrlGroupBox::CreateGrayscaleIcon(HICON icon, const COLORREF* palette)
{
    if (!icon || !palette)
        return nullptr;
    grp::Palette table;
    std::copy(palette, palette + 256, table.begin());
    return platform::MapIconPixels(icon,
                                   [&table](DWORD bgra) { return grp::GrayPixel(bgra, table); });
}

HICON CCtrlGroupBox::CreateGrayscaleIcon(HICON icon)
{
    if (!m_bGrayPaletteReady) {
        grp::FillGrayPalette(m_defaultGrayPalette);
        m_bGrayPaletteReady = TRUE;
    }
    return CreateGrayscaleIcon(icon, m_defaultGrayPalette.data());
}
