#include "controls/CtrlStatic.h"

#include "controls/OwnerDraw.h"

IMPLEMENT_DYNAMIC(CCtrlStatic, CStatic);

BEGIN_MESSAGE_MAP(CCtrlStatic, CStatic)
ON_WM_ERASEBKGND_NOTHING()
END_MESSAGE_MAP()

CCtrlStatic::CCtrlStatic()
    : m_pGDIpString(nullptr), m_pImageIcon(nullptr),
      m_pImageBk(nullptr), m_clrText{Gdiplus::Color(Gdiplus::Color::Black),
                                     Gdiplus::Color(Gdiplus::Color::Black)},
      m_nStaticAlign(0), m_nHAlign(Gdiplus::StringAlignmentNear),
      m_nVAlign(Gdiplus::StringAlignmentCenter), m_bAlignSet(0), m_nBgX(0), m_nBgY(0),
      m_bBgStretch(0)
{
}

CCtrlStatic::~CCtrlStatic()
{
    ownerdraw::DestroyOwnWindow(*this);
    delete m_pGDIpString;
}

void CCtrlStatic::SetInitFont(CString family, long size, Gdiplus::FontStyle style)
{
    ownerdraw::ReplaceFont(m_pGDIpString, family, size, style);
}

void CCtrlStatic::SetTextAlign(Gdiplus::StringAlignment horizontal,
                               Gdiplus::StringAlignment vertical)
{
    m_nHAlign = horizontal;
    m_nVAlign = vertical;
    m_bAlignSet = 1;
}

void CCtrlStatic::SetImageIcon(Gdiplus::Image* image)
{
    m_pImageIcon = image;
}

void CCtrlStatic::SetBkImage(Gdiplus::Image* image, int x, int y, int stretch)
{
    m_pImageBk = image;
    m_nBgX = x;
    m_nBgY = y;
    m_bBgStretch = stretch;
}

void CCtrlStatic::SetTextColor(Gdiplus::Color color, int index)
{
    // Index 2 would land on the remembered alignment: ignored.
    if (index < 0) {
        m_clrText[Enabled] = color;
        m_clrText[DisabledColour] = color;
    } else if (index <= DisabledColour) {
        m_clrText[index] = color;
    }
}

void CCtrlStatic::PreSubclassWindow()
{
    m_nStaticAlign = stc::AlignmentBits(GetStyle());
    ownerdraw::MakeStaticOwnerDrawn(*this);
    CStatic::PreSubclassWindow();
}

void CCtrlStatic::GetTextInfo(CString& text, Gdiplus::StringAlignment* horizontal,
                              Gdiplus::StringAlignment* vertical)
{
    const stc::TextPlan plan =
        stc::LabelText(m_nStaticAlign, m_bAlignSet != 0, m_nHAlign, m_nVAlign);
    text = plan.showText ? GetWindowText() : CString();
    *horizontal = plan.horizontal;
    *vertical = plan.vertical;
}

void CCtrlStatic::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    if (!drawItem)
        return;
    CString text;
    stc::TextPlan plan{};
    GetTextInfo(text, &plan.horizontal, &plan.vertical);
    const Gdiplus::Color colour = m_clrText[(GetStyle() & WS_DISABLED) ? DisabledColour : Enabled];
    ownerdraw::Compose(
        drawItem->hDC, ownerdraw::WindowSize(*this), ownerdraw::kPixelExact,
        [&](Gdiplus::Graphics& g, int w, int h) { Paint(g, w, h, text, plan, colour); });
}

void CCtrlStatic::Paint(Gdiplus::Graphics& g, int w, int h, const CString& text, stc::TextPlan plan,
                        Gdiplus::Color colour) const
{
    if (m_pImageBk) {
        const ownerdraw::BackgroundKind kind =
            stc::WholeBackground(m_nBgX, m_nBgY) ? ownerdraw::BackgroundKind::Whole
            : m_bBgStretch                       ? ownerdraw::BackgroundKind::StretchFrom
                                                 : ownerdraw::BackgroundKind::CopyFrom;
        ownerdraw::DrawBackground(g, m_pImageBk, kind, m_nBgX, m_nBgY, CSize(w, h));
    }
    int tx = 0;
    if (m_pImageIcon) {
        const int iw = static_cast<int>(m_pImageIcon->GetWidth());
        const int ih = static_cast<int>(m_pImageIcon->GetHeight());
        g.DrawImage(m_pImageIcon, Gdiplus::Rect(0, stc::IconTop(h, ih), iw, ih), 0, 0, iw, ih,
                    Gdiplus::UnitPixel);
        tx = stc::TextLeft(true, iw);
    }
    if (m_pGDIpString && !text.IsEmpty()) {
        const Gdiplus::Rect t = stc::TextBox(w, h, tx);
        m_pGDIpString->DrawString(&g, text, t.X, t.Y, t.Width, t.Height, colour, plan.horizontal,
                                  plan.vertical);
    }
}
