// The group box's painting: the whole control composed in a GDI memory picture and copied in
// one step, the parent showing through below the header strip in the frame style.
#include "controls/CtrlGroupBox.h"

#include "controls/OwnerDraw.h"

#include <algorithm>

using grp::BP_GROUPBOX;
using grp::GBS_NORMAL;
using grp::kUnset;

void CCtrlGroupBox::OnPaint()
{
    // Nothing a paint calls dispatches another paint (the parent's pixels are read as they are
    // shown, not repainted), so one box's paint cannot start inside another's: no guard needed.
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
