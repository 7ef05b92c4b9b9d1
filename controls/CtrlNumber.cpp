#include "controls/CtrlNumber.h"

#include "controls/OwnerDraw.h"

IMPLEMENT_DYNAMIC(CCtrlNumber, CStatic);

BEGIN_MESSAGE_MAP(CCtrlNumber, CStatic)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CCtrlNumber::CCtrlNumber() : m_pImage{}, m_pImageBk(nullptr), m_nBgX(0), m_nBgY(0), m_nDigit(3) {}

CCtrlNumber::~CCtrlNumber()
{
    if (m_hWnd && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

void CCtrlNumber::SetImage(Gdiplus::Image* image, int digit)
{
    // Index 10 would land on the background picture: ignored.
    if (digit >= 0 && digit < stc::kDigitPictures)
        m_pImage[digit] = image;
}

void CCtrlNumber::SetBkImage(Gdiplus::Image* image, int x, int y)
{
    m_pImageBk = image;
    m_nBgX = x;
    m_nBgY = y;
}

void CCtrlNumber::SetDigit(int count)
{
    m_nDigit = count;
}

void CCtrlNumber::PreSubclassWindow()
{
    // The type bits are replaced, not OR-ed with SS_OWNERDRAW: 0xD OR-ed into SS_RIGHT gives
    // 0xF, a type that is never owner-drawn, and such a display would never be painted.
    ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
    CStatic::PreSubclassWindow();
}

BOOL CCtrlNumber::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CCtrlNumber::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    if (!drawItem)
        return;
    const CString text = GetWindowText();
    ownerdraw::Compose(drawItem->hDC, ownerdraw::WindowSize(*this), ownerdraw::kPixelExact,
                       [&](Gdiplus::Graphics& g, int w, int h) { Paint(g, w, h, text); });
}

void CCtrlNumber::Paint(Gdiplus::Graphics& g, int w, int h, const CString& text) const
{
    if (m_pImageBk) {
        const Gdiplus::Rect src = ownerdraw::BackgroundSource(
            stc::WholeBackground(m_nBgX, m_nBgY) ? ownerdraw::BackgroundKind::Whole
                                                 : ownerdraw::BackgroundKind::CopyFrom,
            m_nBgX, m_nBgY, ownerdraw::PictureSize(m_pImageBk), CSize(w, h));
        g.DrawImage(m_pImageBk, Gdiplus::Rect(0, 0, w, h), src.X, src.Y, src.Width, src.Height,
                    Gdiplus::UnitPixel);
    }
    for (int i = 0; i < m_nDigit; ++i) {
        const int digit = stc::DigitAt(text, i);
        Gdiplus::Image* picture = digit < 0 ? nullptr : m_pImage[digit];
        if (!picture)
            continue;
        const Gdiplus::Rect cell = stc::DigitCell(w, h, m_nDigit, i);
        g.DrawImage(picture, cell, 0, 0, static_cast<INT>(picture->GetWidth()),
                    static_cast<INT>(picture->GetHeight()), Gdiplus::UnitPixel);
    }
}
