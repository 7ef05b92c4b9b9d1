#include "controls/CtrlNumber.h"

#include "controls/OwnerDraw.h"

IMPLEMENT_DYNAMIC(CCtrlNumber, CStatic);

BEGIN_MESSAGE_MAP(CCtrlNumber, CStatic)
ON_WM_ERASEBKGND_NOTHING()
END_MESSAGE_MAP()

CCtrlNumber::CCtrlNumber() : m_pImage{}, m_pImageBk(nullptr), m_nBgX(0), m_nBgY(0), m_nDigit(3) {}

CCtrlNumber::~CCtrlNumber()
{
    ownerdraw::DestroyOwnWindow(*this);
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
    ownerdraw::MakeStaticOwnerDrawn(*this);
    CStatic::PreSubclassWindow();
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
    ownerdraw::DrawBackground(g, m_pImageBk,
                              stc::WholeBackground(m_nBgX, m_nBgY)
                                  ? ownerdraw::BackgroundKind::Whole
                                  : ownerdraw::BackgroundKind::CopyFrom,
                              m_nBgX, m_nBgY, CSize(w, h));
    const int cells = stc::CellsToDraw(w, m_nDigit, text.GetLength());
    for (int i = 0; i < cells; ++i) {
        const int digit = stc::DigitAt(text, i);
        if (digit >= 0)
            ownerdraw::DrawStretched(g, m_pImage[digit], stc::DigitCell(w, h, m_nDigit, i));
    }
}
