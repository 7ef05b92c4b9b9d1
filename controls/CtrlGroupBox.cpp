#include "controls/CtrlGroupBox.h"

#include "controls/KeyboardAccess.h"
#include "controls/OwnerDraw.h"
#include "platform/host/HostResources.h"

#include <algorithm>
#include <cwchar>
#include <vector>

IMPLEMENT_DYNAMIC(CCtrlGroupBox, CStatic);

BEGIN_MESSAGE_MAP(CCtrlGroupBox, CStatic)
ON_WM_ERASEBKGND_NOTHING()
ON_WM_PAINT()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_ACCDESCRIBE, OnAccDescribe)
END_MESSAGE_MAP()

grp::Palette CCtrlGroupBox::m_defaultGrayPalette{};

using grp::BP_GROUPBOX;
using grp::GBS_NORMAL;
using grp::kUnset;

namespace {

// The box's parent's children lying wholly inside the box's rectangle, the box among them, in
// the parent's order: what the box encloses.
std::vector<HWND> WindowsInside(HWND box)
{
    std::vector<HWND> inside;
    RECT boxRect{};
    ::GetWindowRect(box, &boxRect);
    HWND parent = ::GetParent(box);
    if (!::IsWindow(parent))
        return inside;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        ::GetWindowRect(child, &r);
        if (grp::Inside(CRect(r), CRect(boxRect)))
            inside.push_back(child);
    }
    return inside;
}

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
    ownerdraw::DestroyOwnWindow(*this);
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
    HWND parent = ::GetParent(box);
    if (!::IsWindow(parent))
        return 0;
    // The walk first, then the changes: enabling may repaint, and a repaint must not find the
    // list half walked.
    const std::vector<HWND> inside = WindowsInside(box);
    for (HWND child : inside)
        ::EnableWindow(child, enable);
    if (!inside.empty())
        ::InvalidateRect(parent, nullptr, FALSE);
    return static_cast<int>(inside.size());
}

void CCtrlGroupBox::OnSetFocus(CWnd*)
{
    Default();
    HWND parent = ::GetParent(m_hWnd);
    if (!skinkit::KeyboardAccessEnabled() || !::IsWindow(parent))
        return;
    // The tab stops in the dialog's own order; the first one inside the box takes the focus.
    const std::vector<HWND> inside = WindowsInside(m_hWnd);
    const HWND first = ::GetNextDlgTabItem(parent, nullptr, FALSE);
    for (HWND h = first; h;) {
        if (h != m_hWnd && std::find(inside.begin(), inside.end(), h) != inside.end()) {
            ::SetFocus(h);
            return;
        }
        h = ::GetNextDlgTabItem(parent, h, FALSE);
        if (h == first)
            break;
    }
}

void CCtrlGroupBox::ReadThemeTextColor()
{
    m_crText = kUnset;
    if (FAILED(m_pTheme->GetThemeColor(m_pTheme->m_hTheme, BP_GROUPBOX, GBS_NORMAL,
                                       grp::TMT_TEXTCOLOR, &m_crText)) ||
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

LRESULT CCtrlGroupBox::OnAccDescribe(WPARAM, LPARAM lParam)
{
    Default();
    if (auto* d = reinterpret_cast<platform::wnd::AccDescription*>(lParam)) {
        d->role = platform::wnd::AccRole::Panel;
        d->text.Empty();
    }
    return TRUE;
}
