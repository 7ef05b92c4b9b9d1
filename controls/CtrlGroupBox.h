// A group frame in place of a dialog's static one: a rectangle frame (or a single line) with a
// header holding a text and an optional icon, in chosen colours, font, alignment and margins.
// It follows the visual style when one is active, shows a grayscale icon and gray text while
// disabled, and can enable or disable every control inside its rectangle together with itself.
// Drawn with GDI into a memory bitmap and copied to the screen in one step.
//
// With skinkit::EnableKeyboardAccess, the focus given to the box passes on to the first tab stop
// inside it, in the dialog's order (a group box shows no focus of its own).
//
// Every setter answers the control, so that calls chain, and takes a trailing redraw flag: when
// it is non-zero the control is redrawn at once.
#pragma once

#include "controls/GroupBoxLogic.h"
#include "controls/wndsys.h"
#include "frame/ThemeLibrary.h"
#include "platform/gdiplus/GdiObject.h"

class CCtrlGroupBox : public CStatic
{
    DECLARE_DYNAMIC(CCtrlGroupBox)
public:
    enum ALIGNMENT { ALIGN_LEFT = 0, ALIGN_CENTER = 1, ALIGN_RIGHT = 2 };
    enum BORDER_STYLE { BORDER_FLAT = 0, BORDER_ETCHED = 1 };
    enum CONTROL_STYLE { STYLE_FRAME = 0, STYLE_HEADER = 1 };

    CCtrlGroupBox();
    ~CCtrlGroupBox() override;

    // --- appearance ---
    // Each stores its value as given (the header's arithmetic copes with any) and redraws.
    CCtrlGroupBox& SetControlStyle(CONTROL_STYLE style, int redraw = TRUE)
    {
        return Change(m_eControlStyle, style, redraw);
    }
    CONTROL_STYLE GetControlStyle() const { return m_eControlStyle; }
    CCtrlGroupBox& SetBorderStyle(BORDER_STYLE style, int redraw = TRUE)
    {
        return Change(m_eBorderStyle, style, redraw);
    }
    BORDER_STYLE GetBorderStyle() const { return m_eBorderStyle; }
    CCtrlGroupBox& SetAlignment(ALIGNMENT alignment, int redraw = TRUE)
    {
        return Change(m_eAlignment, alignment, redraw);
    }
    ALIGNMENT GetAlignment() const { return m_eAlignment; }
    CCtrlGroupBox& SetIconAlignment(ALIGNMENT alignment, int redraw = TRUE)
    {
        return Change(m_eIconAlignment, alignment, redraw);
    }
    ALIGNMENT GetIconAlignment() const { return m_eIconAlignment; }
    CCtrlGroupBox& SetTextColor(COLORREF colour, int redraw = TRUE)
    {
        return Change(m_crText, colour, redraw);
    }
    COLORREF GetTextColor() const { return m_crText; }
    CCtrlGroupBox& SetBkColor(COLORREF colour, int redraw = TRUE)
    {
        return Change(m_crBk, colour, redraw);
    }
    COLORREF GetBkColor() const { return m_crBk; }
    // 0xFFFFFFFF: the visual style's frame, or the system shadow colour.
    CCtrlGroupBox& SetBorderColor(COLORREF colour, int redraw = TRUE)
    {
        return Change(m_crBorder, colour, redraw);
    }
    COLORREF GetBorderColor() const { return m_crBorder; }
    CCtrlGroupBox& SetMargins(int x, int y, int redraw = TRUE)
    {
        m_nMarginX = x;
        return Change(m_nMarginY, y, redraw);
    }
    void GetMargins(int& x, int& y) const
    {
        x = m_nMarginX;
        y = m_nMarginY;
    }
    CCtrlGroupBox& SetIconSpacing(int spacing, int redraw = TRUE)
    {
        return Change(m_nIconSpacing, spacing, redraw);
    }
    int GetIconSpacing() const { return m_nIconSpacing; }
    CCtrlGroupBox& SetDisabledStyle(int grayed, int redraw = TRUE)
    {
        return Change(m_bDisabledStyle, grayed, redraw);
    }
    int GetDisabledStyle() const { return m_bDisabledStyle; }

    // --- text and font ---
    // A number below 0x10000 in place of the text names a string of the host's resources.
    CCtrlGroupBox& SetWindowTextW(const wchar_t* text, int redraw = TRUE);
    // A null or empty face keeps the current one; the size is in points at 96 dots per inch.
    CCtrlGroupBox& SetFont(const wchar_t* faceName, int pointSize, int redraw = TRUE);
    // A copy of `font`; null copies the font the window or its parent uses.
    CCtrlGroupBox& SetFont(CFont* font, int redraw = TRUE);
    CCtrlGroupBox& SetFont(LOGFONTW* logFont, int redraw = TRUE);
    CCtrlGroupBox& SetBold(int bold, int redraw = TRUE);
    CFont* GetFont() { return &m_font; }
    int GetFont(LOGFONTW* logFont);
    int GetBold();
    CString GetFontFaceName();
    int GetFontPointSize();

    // --- icon ---
    // Borrowed: the caller keeps and destroys `icon`.
    CCtrlGroupBox& SetIcon(HICON icon, UINT size, int redraw = TRUE);
    // The host's icon resource `id` at `size` x `size`; owned by the control.
    CCtrlGroupBox& SetIcon(UINT id, UINT size, int redraw = TRUE);
    // A copy of image `index` of the list, at the list's size; owned by the control.
    CCtrlGroupBox& SetImageList(CImageList* list, int index, int redraw = TRUE);

    // --- enabling ---
    // Enables or disables the control and, with `withChildren`, every sibling wholly inside it.
    int EnableWindow(int enable = TRUE, int withChildren = TRUE);
    CCtrlGroupBox& EnableTheme(int enable, int redraw = TRUE);

protected:
    void PreSubclassWindow() override;
    void OnPaint();
    void OnSetFocus(CWnd* oldWnd);
    LRESULT OnSetText(WPARAM, LPARAM);
    // Assistive technology: a panel named by its caption.
    LRESULT OnAccDescribe(WPARAM, LPARAM);

    int EnableChildWindows(HWND box, int enable, int enableBox);
    HFONT GetSafeFont();
    int GetFontHeight(int pointSize);
    int GetFontPointSize(int height);

    // --- painting (CtrlGroupBoxPaint.cpp): each draws into the memory context it is given ---
    // The box paints in OnPaint, not through a reflected WM_DRAWITEM.
    using CStatic::DrawItem;
    void DrawItem(CDC* dc, CRect& rect);
    void DrawHeader(CDC* dc, CRect& textRect, CRect& iconRect);
    void GetHeaderRect(CDC* dc, CRect& rect);
    void EraseHeaderArea(CDC* dc, CRect& rect, COLORREF colour);
    void EraseBorder(CDC* dc, CRect& rect, COLORREF colour);
    void DrawEtchedRectangle(CDC* dc, CRect& rect, COLORREF colour);
    void DrawEtchedLine(CDC* dc, CRect& rect, COLORREF colour);
    void DrawBorder(CDC* dc, CRect& rect);
    int DrawIcon(CDC* dc, CRect& rect);
    int DrawTextW(CDC* dc, CRect& rect);
    HICON CreateGrayscaleIcon(HICON icon, const COLORREF* palette);
    HICON CreateGrayscaleIcon(HICON icon);

    DECLARE_MESSAGE_MAP()

public:
    CFont m_font;
    COLORREF m_crText;
    COLORREF m_crBk;
    COLORREF m_crBorder;
    int m_nMarginX;
    int m_nMarginY;
    int m_nHeaderHalf;
    int m_nIconSpacing;
    HICON m_hIcon;
    HICON m_hGrayIcon;
    int m_nIconSize;
    BOOL m_bIconOwned;
    CRect m_rcLastBorder;
    CSize m_sizeText;
    BOOL m_bThemed;
    BOOL m_bThemeEnabled;
    BOOL m_bDisabledStyle;
    BOOL m_bGrayPaletteReady;
    CONTROL_STYLE m_eControlStyle;
    BORDER_STYLE m_eBorderStyle;
    ALIGNMENT m_eIconAlignment;
    ALIGNMENT m_eAlignment;
    CThemeLibrary* m_pTheme;

    // Shared by every group box: entry i is the gray 255 - i.
    static grp::Palette m_defaultGrayPalette;

private:
    // Where the setters end: repaints at once when `redraw` is non-zero; answers the control.
    CCtrlGroupBox& Redraw(int redraw);
    template <typename Field, typename Value>
    CCtrlGroupBox& Change(Field& field, Value value, int redraw)
    {
        field = value;
        return Redraw(redraw);
    }
    void ReleaseIcons();
    void ReplaceFont(const LOGFONTW& logFont);
    void ReadThemeTextColor();
};
