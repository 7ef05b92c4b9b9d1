#include "controls/CtrlButton.h"

#include "controls/KeyboardAccess.h"
#include "controls/OwnerDraw.h"

IMPLEMENT_DYNAMIC(CCtrlButton, CButton);

BEGIN_MESSAGE_MAP(CCtrlButton, CButton)
ON_WM_DRAWITEM()
ON_WM_MOUSEHOVER()
ON_WM_MOUSELEAVE()
ON_WM_ERASEBKGND_NOTHING()
ON_WM_MOUSEMOVE()
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnBnClicked)
ON_WM_CREATE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
ON_MESSAGE(BM_GETCHECK, OnGetCheck)
ON_MESSAGE(WM_ACCDESCRIBE, OnAccDescribe)
END_MESSAGE_MAP()

CCtrlButton::CCtrlButton()
    : m_pImage(nullptr), m_pStateImage{}, m_pImageBg(nullptr), m_rcState{}, m_nDiv(0), m_nBgX(0),
      m_nBgY(0), m_rcBg(-1, -1, -1, -1), m_bPushLike(0), m_bCheckType(0), m_bHover(0),
      m_bDisabled(0), m_bDown(0), m_nCheck(0), m_nTextOffset(0), m_nVTextOffset(0), m_nMargin(0),
      m_nButtonType(0), m_bBgStretch(0), m_pGDIpString(nullptr)
{
    for (Gdiplus::Color& c : m_clrText)
        c = Gdiplus::Color(Gdiplus::Color::Black);
}

CCtrlButton::~CCtrlButton()
{
    ownerdraw::DestroyOwnWindow(*this);
    delete m_pGDIpString;
}

// --- setters ---

void CCtrlButton::SetButtonImage(Gdiplus::Image* image, int count)
{
    // A frame count below 1 would divide by zero: the whole strip is then one frame.
    m_nDiv = count < 1 ? 1 : count;
    m_pImage = image;
    const int w = image ? static_cast<int>(image->GetWidth()) : 0;
    const int h = image ? static_cast<int>(image->GetHeight()) : 0;
    for (int s = 0; s < btn::kStateCount; ++s) {
        m_pStateImage[s] = image;
        m_rcState[s] = btn::FrameRect(w, h, m_nDiv, btn::FrameForState(m_nDiv, s));
    }
}

void CCtrlButton::SetButtonImage(Gdiplus::Image* image, int state, int imageCount)
{
    if (!image)
        return;
    const unsigned states = btn::StatesForImage(imageCount, state);
    const Gdiplus::Rect whole(0, 0, static_cast<INT>(image->GetWidth()),
                              static_cast<INT>(image->GetHeight()));
    for (int s = 0; s < btn::kStateCount; ++s)
        if (states & (1u << s)) {
            m_pStateImage[s] = image;
            m_rcState[s] = whole;
        }
}

void CCtrlButton::SetButtonImageBg(Gdiplus::Image* image, int x, int y, int stretch)
{
    m_pImageBg = image;
    m_nBgX = x;
    m_nBgY = y;
    m_bBgStretch = stretch;
}

void CCtrlButton::SetButtonImageBg(Gdiplus::Image* image, CRect rect)
{
    m_pImageBg = image;
    m_rcBg = rect;
}

void CCtrlButton::SetButtonType(int type, int margin)
{
    m_nButtonType = type;
    m_nMargin = margin;
}

void CCtrlButton::SetTextColor(Gdiplus::Color color, int state)
{
    if (state >= 0 && state < btn::kStateCount)
        m_clrText[state] = color;
    else if (state == btn::kStateCount)
        for (Gdiplus::Color& c : m_clrText)
            c = color;
}

void CCtrlButton::SetInitFont(CString family, long size, Gdiplus::FontStyle style)
{
    ownerdraw::ReplaceFont(m_pGDIpString, family, size, style);
}

void CCtrlButton::SetTextOffset(int offset)
{
    m_nTextOffset = offset;
}
void CCtrlButton::SetVerticalTextOffset(int offset)
{
    m_nVTextOffset = offset;
}

void CCtrlButton::SetCheck(int check)
{
    if (!m_bCheckType)
        return;
    m_nCheck = check;
    Invalidate();
}

int CCtrlButton::GetCheck()
{
    return m_nCheck;
}

// --- classification ---

void CCtrlButton::Classify(DWORD style)
{
    const btn::Kind k = btn::Classify(style);
    m_bCheckType = k.checkType ? 1 : 0;
    m_bPushLike = k.pushLike ? 1 : 0;
}

void CCtrlButton::PreSubclassWindow()
{
    const DWORD style = GetStyle();
    Classify(style);
    ownerdraw::MakeButtonOwnerDrawn(*this);
    CButton::PreSubclassWindow();
}

int CCtrlButton::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CButton::OnCreate(createStruct) == -1)
        return -1;
    // PreSubclassWindow has normally classified the button already. The test looks at the
    // type bits only: BS_LEFTTEXT, BS_ICON or BS_BITMAP in the low byte must not make a
    // classified push button look unclassified (it would turn into a check button).
    const DWORD style = GetStyle();
    if ((style & BS_TYPEMASK) == BS_OWNERDRAW)
        return 0;
    Classify(style);
    ownerdraw::MakeButtonOwnerDrawn(*this);
    return 0;
}

// --- handlers ---

void CCtrlButton::OnMouseMove(UINT, CPoint)
{
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, m_hWnd, 1};
    _TrackMouseEvent(&tme);
    Default();
}

void CCtrlButton::OnMouseHover(UINT, CPoint)
{
    m_bHover = 1;
    Invalidate();
    Default();
}

void CCtrlButton::OnMouseLeave()
{
    m_bHover = 0;
    Invalidate();
    Default();
}

BOOL CCtrlButton::OnBnClicked()
{
    if (m_bCheckType) {
        m_nCheck = m_nCheck == 0 ? 1 : 0;
        Invalidate();
    }
    return FALSE; // the parent gets BN_CLICKED as well
}

LRESULT CCtrlButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    if (!m_bCheckType)
        return 0;
    m_nCheck = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
    Invalidate();
    return 0;
}

LRESULT CCtrlButton::OnGetCheck(WPARAM, LPARAM)
{
    return m_nCheck;
}

LRESULT CCtrlButton::OnAccDescribe(WPARAM, LPARAM lParam)
{
    Default();
    auto* d = reinterpret_cast<platform::wnd::AccDescription*>(lParam);
    if (d && m_bCheckType) {
        namespace acc = platform::wnd::acc;
        d->role =
            m_bPushLike ? platform::wnd::AccRole::ToggleButton : platform::wnd::AccRole::CheckBox;
        d->states |= acc::Checkable | (m_nCheck ? acc::Checked : 0u) |
                     (m_nCheck && m_bPushLike ? acc::Pressed : 0u);
    }
    return TRUE;
}

BOOL CCtrlButton::PreTranslateMessage(MSG* msg)
{
    // The system button answers a double click with BN_DOUBLECLICKED and no press; as an
    // ordinary press the second click of a double click toggles and clicks like the first.
    if (msg->message == WM_LBUTTONDBLCLK)
        msg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(msg);
}

// --- focus ---

void CCtrlButton::OnSetFocus(CWnd*)
{
    Default();
    RepaintForFocus();
}

void CCtrlButton::OnKillFocus(CWnd*)
{
    Default();
    RepaintForFocus();
}

void CCtrlButton::RepaintForFocus()
{
    // A check box's face is drawn over what its parent shows there: its own repaint would
    // blend over the focus look, never removing it. Push faces cover their whole window.
    if (!skinkit::KeyboardAccessEnabled() || m_pImageBg ||
        !btn::DrawnAsCheckBox({m_bCheckType != 0, m_bPushLike != 0}))
        return;
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect under;
    GetWindowRect(&under);
    parent->ScreenToClient(&under);
    parent->InvalidateRect(&under, TRUE);
}

// --- painting ---

void CCtrlButton::GetTextInfo(CString& text, Gdiplus::StringAlignment* horizontal,
                              Gdiplus::StringAlignment* vertical)
{
    text = GetWindowText();
    const btn::TextAlign a = btn::AlignmentFromStyle(
        GetStyle(), btn::DrawnAsCheckBox({m_bCheckType != 0, m_bPushLike != 0}));
    *horizontal = a.horizontal;
    *vertical = a.vertical;
}

btn::State CCtrlButton::StateFor(UINT itemState) const
{
    return btn::ChooseState(btn::FlagsFor(itemState, m_bCheckType != 0, m_nCheck, m_bHover != 0));
}

btn::State CCtrlButton::GetVisualState() const
{
    // The flags the window system paints an owner-drawn button with.
    UINT itemState = 0;
    if (m_hWnd) {
        if (GetState() & BST_PUSHED)
            itemState |= ODS_SELECTED;
        if (GetStyle() & WS_DISABLED)
            itemState |= ODS_DISABLED;
    }
    return StateFor(itemState);
}

void CCtrlButton::NotePainted(UINT itemState)
{
    const btn::Flags f = btn::FlagsFor(itemState, m_bCheckType != 0, m_nCheck, m_bHover != 0);
    m_bDown = f.down ? 1 : 0;
    m_bDisabled = f.disabled ? 1 : 0;
}

void CCtrlButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    if (!drawItem || (!m_pImage && !m_pStateImage[0]))
        return;
    const CSize size = ownerdraw::WindowSize(*this);
    if (size.cx <= 0 || size.cy <= 0)
        return;

    const btn::State state = StateFor(drawItem->itemState);

    CString text;
    btn::TextAlign align{};
    GetTextInfo(text, &align.horizontal, &align.vertical);

    ComposeFace(drawItem->hDC, size, state, std::move(text), align);
    ownerdraw::PaintFocus(*this, drawItem->hDC, size, m_focusLook);
    NotePainted(drawItem->itemState);
}

void CCtrlButton::ComposeFace(HDC dc, CSize size, btn::State state, CString text,
                              btn::TextAlign align)
{
    ownerdraw::Compose(dc, size, ownerdraw::kDefaultModes, [&](Gdiplus::Graphics& g, int w, int h) {
        Paint(g, state, w, h, std::move(text), align);
    });
}

void CCtrlButton::Paint(Gdiplus::Graphics& g, int state, int w, int h, CString text,
                        btn::TextAlign align) const
{
    const btn::Kind kind{m_bCheckType != 0, m_bPushLike != 0};
    Gdiplus::Image* frameImage = m_pStateImage[state];
    const Gdiplus::Rect& src = m_rcState[state];
    std::optional<btn::Strip> glyphs;
    if (m_pImage)
        glyphs = btn::Strip{static_cast<int>(m_pImage->GetWidth()),
                            static_cast<int>(m_pImage->GetHeight()), m_nDiv};
    const btn::Layout layout = btn::LayOut(
        {kind, w, h, m_nTextOffset, m_nVTextOffset, glyphs, Gdiplus::Size(src.Width, src.Height)});
    const Gdiplus::Rect whole(0, 0, w, h);

    if (!btn::DrawnAsCheckBox(kind)) {
        if (m_pImageBg) {
            const btn::Background bg{m_rcBg, m_nBgX, m_nBgY, m_bBgStretch != 0,
                                     static_cast<int>(m_pImageBg->GetWidth())};
            const Gdiplus::Rect s = btn::BackgroundSource(bg, w, h);
            g.DrawImage(m_pImageBg, whole, s.X, s.Y, s.Width, s.Height, Gdiplus::UnitPixel);
        }
        if (frameImage) {
            if (m_nButtonType == btn::kNineSliced) {
                CCtrlGDIpString slicer;
                const RECT margins{m_nMargin, m_nMargin, m_nMargin, m_nMargin};
                slicer.DrawBtn(&g, frameImage, whole, src, margins);
            } else {
                g.DrawImage(frameImage, whole, src.X, src.Y, src.Width, src.Height,
                            Gdiplus::UnitPixel);
            }
        }
    } else {
        ownerdraw::DrawStretched(g, m_pImageBg, whole);
        if (m_pImage)
            g.DrawImage(m_pImage, layout.glyph, src.X, src.Y, src.Width, src.Height,
                        Gdiplus::UnitPixel);
    }
    if (m_pGDIpString)
        m_pGDIpString->DrawString(&g, std::move(text), layout.text.X, layout.text.Y,
                                  layout.text.Width, layout.text.Height, m_clrText[state],
                                  align.horizontal, align.vertical);
}
