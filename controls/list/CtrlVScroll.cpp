#include "controls/list/CtrlVScroll.h"

#include "controls/KeyboardAccess.h"
#include "controls/OwnerDraw.h"

IMPLEMENT_DYNAMIC(CCtrlVScroll, CWnd);

BEGIN_MESSAGE_MAP(CCtrlVScroll, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_SIZE()
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
ON_BN_CLICKED(IDC_SCROLL_TOP, OnBnClickedScrollTop)
ON_BN_CLICKED(IDC_SCROLL_BOTTOM, OnBnClickedScrollBottom)
ON_MESSAGE(WM_ACCDESCRIBE, OnAccDescribe)
ON_MESSAGE(WM_ACCSETVALUE, OnAccSetValue)
END_MESSAGE_MAP()

namespace {

int ImageHeight(Gdiplus::Image* image)
{
    return image ? static_cast<int>(image->GetHeight()) : 0;
}

} // namespace

CCtrlVScroll::CCtrlVScroll()
    : m_pImage{}, m_pImageBg(nullptr), m_nItemCount(0), m_nCurPos(0), m_nThumbHeight(m_minThumb),
      m_bDragging(0), m_nBgX(0), m_nBgY(0), m_nScrollType(0), m_nMaxRowCount(13),
      m_rcThumb(0, 0, 0, 0)
{
}

CCtrlVScroll::~CCtrlVScroll()
{
    if (m_btnTop.m_hWnd)
        m_btnTop.DestroyWindow();
    if (m_btnBottom.m_hWnd)
        m_btnBottom.DestroyWindow();
    ownerdraw::DestroyOwnWindow(*this);
}

// --- setters ---

void CCtrlVScroll::SetImage(Gdiplus::Image* image, int index)
{
    if (index < 0 || index > 3)
        return;
    m_pImage[index] = image;
    if (index > 1)
        return;
    CCtrlButton& button = index == 0 ? m_btnTop : m_btnBottom;
    if (!button.m_hWnd)
        button.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this,
                      index == 0 ? IDC_SCROLL_TOP : IDC_SCROLL_BOTTOM);
    button.SetButtonImage(image, 4);
}

void CCtrlVScroll::SetImageBG(Gdiplus::Image* image, int x, int y)
{
    m_pImageBg = image;
    m_nBgX = x;
    m_nBgY = y;
}

void CCtrlVScroll::SetItemCount(int count)
{
    m_nItemCount = count;
    UpdateThumbHeight();
}

void CCtrlVScroll::SetMaxRowCount(int rows)
{
    m_nMaxRowCount = rows;
    UpdateThumbHeight();
}

void CCtrlVScroll::SetCurPos(int position, int notify)
{
    if (position == m_nCurPos)
        return;
    m_nCurPos = position;
    Invalidate();
    if (notify)
        ownerdraw::SendToParent(*this, UM_VSCROLL_POS, static_cast<WPARAM>(m_nCurPos), 0);
}

void CCtrlVScroll::SetScrollType(int type)
{
    m_nScrollType = type;
}

// --- geometry ---

vscroll::Arrows CCtrlVScroll::ArrowsNow() const
{
    return {m_pImage[0] && m_pImage[1], ImageHeight(m_pImage[0]), ImageHeight(m_pImage[1])};
}

CSize CCtrlVScroll::ClientSize() const
{
    CRect rc;
    if (m_hWnd)
        GetClientRect(&rc);
    return CSize(rc.Width(), rc.Height());
}

vscroll::Track CCtrlVScroll::TrackNow() const
{
    return vscroll::TrackOf(ClientSize().cy, ArrowsNow());
}

bool CCtrlVScroll::HasThumbNow() const
{
    return m_pImage[3] && vscroll::HasThumb(m_nItemCount, m_nMaxRowCount);
}

CRect CCtrlVScroll::GetThumbRect() const
{
    if (!HasThumbNow())
        return CRect(0, 0, 0, 0);
    const int top = vscroll::ThumbTop(TrackNow(), m_nThumbHeight, m_nCurPos,
                                      vscroll::Range(m_nItemCount, m_nMaxRowCount));
    return vscroll::ThumbRect(ClientSize().cx, top, m_nThumbHeight);
}

void CCtrlVScroll::EnableButtons(int enable)
{
    if (!m_btnTop.m_hWnd || !m_btnBottom.m_hWnd)
        return;
    m_btnTop.EnableWindow(enable);
    m_btnBottom.EnableWindow(enable);
}

void CCtrlVScroll::UpdateThumbHeight()
{
    const int t = vscroll::ThumbHeight(TrackNow().length, m_nItemCount, m_nMaxRowCount);
    EnableButtons(vscroll::ArrowsEnabled(m_nItemCount, m_nMaxRowCount) ? TRUE : FALSE);
    if (t != m_nThumbHeight) {
        m_nThumbHeight = t;
        Invalidate();
    }
}

void CCtrlVScroll::MoveTo(int position)
{
    SetCurPos(position, 1);
}

// --- handlers ---

void CCtrlVScroll::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (cx < 1 || cy < 1)
        return;
    if (m_btnTop.m_hWnd)
        m_btnTop.MoveWindow(0, 0, cx, ImageHeight(m_pImage[0]));
    if (m_btnBottom.m_hWnd) {
        const int h = ImageHeight(m_pImage[1]);
        m_btnBottom.MoveWindow(0, cy - h, cx, h);
    }
    // The track's length follows the height, and the thumb's follows the track.
    UpdateThumbHeight();
}

void CCtrlVScroll::OnBnClickedScrollTop()
{
    if (m_nCurPos >= 1) // p = pos − 1 must stay at 0 or more
        MoveTo(m_nCurPos - 1);
}

void CCtrlVScroll::OnBnClickedScrollBottom()
{
    if (m_nCurPos < vscroll::Range(m_nItemCount, m_nMaxRowCount)) // p = pos + 1 up to R
        MoveTo(m_nCurPos + 1);
}

void CCtrlVScroll::OnLButtonDown(UINT flags, CPoint point)
{
    if (vscroll::TrackActive(m_nItemCount, m_nMaxRowCount) && GetThumbRect().PtInRect(point)) {
        m_bDragging = 1;
        SetCapture();
    }
    CWnd::OnLButtonDown(flags, point);
}

void CCtrlVScroll::OnMouseMove(UINT flags, CPoint point)
{
    if (m_bDragging)
        MoveTo(vscroll::DragPosition(point.y, m_nThumbHeight, ClientSize().cy, ArrowsNow(),
                                     vscroll::Range(m_nItemCount, m_nMaxRowCount)));
    CWnd::OnMouseMove(flags, point);
}

void CCtrlVScroll::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_bDragging) {
        ReleaseCapture();
        m_bDragging = 0;
        CWnd::OnLButtonUp(flags, point);
        return;
    }
    if (vscroll::TrackActive(m_nItemCount, m_nMaxRowCount))
        MoveTo(vscroll::PagePosition(point.y, GetThumbRect(), m_nCurPos, m_nMaxRowCount,
                                     vscroll::Range(m_nItemCount, m_nMaxRowCount)));
    CWnd::OnLButtonUp(flags, point);
}

// --- keys ---

namespace {

bool BarKey(UINT vk, vscroll::Key* key)
{
    return skinkit::KeyFor<vscroll::Key>(vk,
                                         {{VK_UP, vscroll::Key::LineUp},
                                          {VK_DOWN, vscroll::Key::LineDown},
                                          {VK_PRIOR, vscroll::Key::PageUp},
                                          {VK_NEXT, vscroll::Key::PageDown},
                                          {VK_HOME, vscroll::Key::Top},
                                          {VK_END, vscroll::Key::Bottom}},
                                         key);
}

} // namespace

void CCtrlVScroll::OnKeyDown(UINT vk, UINT, UINT)
{
    vscroll::Key key;
    if (!skinkit::KeyboardAccessEnabled() || ::GetCapture() || !BarKey(vk, &key)) {
        Default();
        return;
    }
    MoveTo(vscroll::PosForKey(key, m_nCurPos, m_nItemCount, m_nMaxRowCount));
}

UINT CCtrlVScroll::OnGetDlgCode()
{
    return skinkit::KeyboardAccessEnabled() ? DLGC_WANTARROWS : static_cast<UINT>(Default());
}

// --- painting ---

void CCtrlVScroll::OnPaint()
{
    CPaintDC dc(this);
    ownerdraw::Compose(dc, ClientSize(), ownerdraw::kPixelExact,
                       [&](Gdiplus::Graphics& g, int w, int) { Paint(g, w); });
    ownerdraw::PaintFocus(*this, dc, ClientSize(), m_focusLook);
    if (HasThumbNow())
        m_rcThumb = GetThumbRect();
}

void CCtrlVScroll::Paint(Gdiplus::Graphics& g, int w) const
{
    const vscroll::Track track = TrackNow();
    ownerdraw::DrawStretched(g, m_pImage[2], Gdiplus::Rect(0, track.top, w, track.length));
    if (!HasThumbNow())
        return;
    const int thumbTop = GetThumbRect().top;
    Gdiplus::Image* image = m_pImage[3];
    const int iw = static_cast<int>(image->GetWidth());
    const int ih = static_cast<int>(image->GetHeight());
    if (m_nScrollType != 1) {
        g.DrawImage(image, Gdiplus::Rect(1, thumbTop, w - 2, m_nThumbHeight - 2), 0, 0, iw, ih,
                    Gdiplus::UnitPixel);
        return;
    }
    for (const vscroll::Tile& tile : vscroll::ThumbTiles(thumbTop, m_nThumbHeight, ih))
        g.DrawImage(image, Gdiplus::Rect(1, tile.y, w - 2, tile.height), 0, 0, iw, tile.height,
                    Gdiplus::UnitPixel);
}

// --- assistive technology ---

LRESULT CCtrlVScroll::OnAccDescribe(WPARAM, LPARAM lParam)
{
    Default();
    if (auto* d = reinterpret_cast<platform::wnd::AccDescription*>(lParam)) {
        d->role = platform::wnd::AccRole::ScrollBar;
        d->hasValue = true;
        d->value = {0.0, double(vscroll::Range(m_nItemCount, m_nMaxRowCount)), double(m_nCurPos),
                    1.0};
    }
    return TRUE;
}

LRESULT CCtrlVScroll::OnAccSetValue(WPARAM, LPARAM lParam)
{
    const auto* value = reinterpret_cast<const double*>(lParam);
    int pos = 0;
    if (!value || m_bDragging ||
        !platform::wnd::PositionForValue(0, vscroll::Range(m_nItemCount, m_nMaxRowCount), *value,
                                         &pos))
        return FALSE;
    MoveTo(pos);
    return TRUE;
}
