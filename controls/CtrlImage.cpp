#include "controls/CtrlImage.h"

#include "controls/OwnerDraw.h"
#include "controls/StaticLogic.h"
#include "controls/WideMath.h"

IMPLEMENT_DYNAMIC(CCtrlImage, CStatic);

BEGIN_MESSAGE_MAP(CCtrlImage, CStatic)
ON_WM_ERASEBKGND_NOTHING()
ON_MESSAGE(WM_ACCDESCRIBE, OnAccDescribe)
END_MESSAGE_MAP()

CCtrlImage::CCtrlImage()
    : m_pImage(nullptr), m_pImageBk(nullptr), m_rcBk(0, 0, 0, 0), m_pGDIpString(nullptr),
      m_nHAlign(Gdiplus::StringAlignmentNear), m_nVAlign(Gdiplus::StringAlignmentCenter),
      m_clrText(Gdiplus::Color::Black), m_nTextOffset(0)
{
}

CCtrlImage::~CCtrlImage()
{
    ownerdraw::DestroyOwnWindow(*this);
    delete m_pGDIpString;
}

void CCtrlImage::SetImage(Gdiplus::Image* image)
{
    m_pImage = image;
    if (m_hWnd)
        Invalidate();
}

void CCtrlImage::SetImageBk(Gdiplus::Image* image, CRect rect)
{
    m_pImageBk = image;
    m_rcBk = rect;
}

void CCtrlImage::SetInitFont(CString family, long size, Gdiplus::FontStyle style)
{
    ownerdraw::ReplaceFont(m_pGDIpString, family, size, style);
}

void CCtrlImage::SetTextAlign(Gdiplus::StringAlignment horizontal,
                              Gdiplus::StringAlignment vertical)
{
    m_nHAlign = horizontal;
    m_nVAlign = vertical;
}

void CCtrlImage::SetTextColor(Gdiplus::Color color)
{
    m_clrText = color;
}

void CCtrlImage::SetTextOffset(int offset)
{
    m_nTextOffset = offset;
}

void CCtrlImage::PreSubclassWindow()
{
    ownerdraw::MakeStaticOwnerDrawn(*this);
    CStatic::PreSubclassWindow();
}

void CCtrlImage::GetTextInfo(CString& text, Gdiplus::StringAlignment* horizontal,
                             Gdiplus::StringAlignment* vertical)
{
    text = GetWindowText();
    *horizontal = m_nHAlign;
    *vertical = m_nVAlign;
}

void CCtrlImage::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    if (!drawItem)
        return;
    CString text;
    Gdiplus::StringAlignment horizontal{}, vertical{};
    GetTextInfo(text, &horizontal, &vertical);
    ownerdraw::Compose(
        drawItem->hDC, ownerdraw::WindowSize(*this), ownerdraw::kDefaultModes,
        [&](Gdiplus::Graphics& g, int w, int h) { Paint(g, w, h, text, horizontal, vertical); });
}

void CCtrlImage::Paint(Gdiplus::Graphics& g, int w, int h, const CString& text,
                       Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical) const
{
    const Gdiplus::Rect whole(0, 0, w, h);
    if (m_pImageBk) {
        const Gdiplus::Rect s =
            wide::RectFromEdges(m_rcBk.left, m_rcBk.top, m_rcBk.right, m_rcBk.bottom);
        g.DrawImage(m_pImageBk, whole, s.X, s.Y, s.Width, s.Height, Gdiplus::UnitPixel);
    }
    ownerdraw::DrawStretched(g, m_pImage, whole);
    if (m_pGDIpString) {
        const Gdiplus::Rect t = stc::TextBox(w, h, m_nTextOffset);
        m_pGDIpString->DrawString(&g, text, t.X, t.Y, t.Width, t.Height, m_clrText, horizontal,
                                  vertical);
    }
}

LRESULT CCtrlImage::OnAccDescribe(WPARAM, LPARAM lParam)
{
    Default();
    if (auto* d = reinterpret_cast<platform::wnd::AccDescription*>(lParam)) {
        d->role = platform::wnd::AccRole::Image;
        d->text.Empty();
    }
    return TRUE;
}
