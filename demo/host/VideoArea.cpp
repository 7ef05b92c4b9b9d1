#include "demo/host/VideoArea.h"

#include "controls/OwnerDraw.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CDemoVideoArea, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_TIMER()
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {
constexpr UINT_PTR kFrameTimer = 1;
}

CDemoVideoArea::~CDemoVideoArea()
{
    if (m_hWnd && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CDemoVideoArea::Create(CWnd* parent, const CRect& rect, UINT id)
{
    return CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

bool CDemoVideoArea::Load(const std::string& path, bool play)
{
    Pause();
    m_frame.reset();
    m_frameIndex = 0;
    if (!m_clip.Open(path)) {
        Invalidate();
        return false;
    }
    ShowFrame(0);
    if (play)
        Play();
    return true;
}

void CDemoVideoArea::Play()
{
    if (!m_clip.IsOpen() || !m_hWnd)
        return;
    if (m_frameIndex >= m_clip.FrameCount() - 1)
        ShowFrame(0);
    m_playing = true;
    SetTimer(kFrameTimer, static_cast<UINT>(m_clip.FrameMs()));
}

void CDemoVideoArea::Pause()
{
    if (m_playing && m_hWnd)
        KillTimer(kFrameTimer);
    m_playing = false;
}

void CDemoVideoArea::SeekTo(int ms)
{
    if (!m_clip.IsOpen())
        return;
    ShowFrame(m_clip.FrameAtMs(ms));
}

int CDemoVideoArea::PositionMs() const
{
    return m_clip.IsOpen() ? m_clip.MsOfFrame(m_frameIndex) : 0;
}

void CDemoVideoArea::ShowFrame(int k)
{
    m_frameIndex = k;
    // Decoded straight at the size it is shown at, so that painting only copies it.
    CRect rc;
    if (m_hWnd)
        GetClientRect(&rc);
    auto frame =
        rc.IsRectEmpty() ? m_clip.Frame(k) : m_clip.FrameFitted(k, rc.Width(), rc.Height());
    if (frame)
        m_frame = std::move(frame);
    Invalidate(FALSE);
    if (onPosition)
        onPosition(PositionMs(), LengthMs());
}

void CDemoVideoArea::OnSize(UINT, int, int)
{
    if (m_clip.IsOpen())
        ShowFrame(m_frameIndex);
}

void CDemoVideoArea::OnTimer(UINT_PTR id)
{
    if (id != kFrameTimer)
        return;
    if (m_frameIndex + 1 >= m_clip.FrameCount()) {
        Pause();
        if (onEnded)
            onEnded();
        return;
    }
    ShowFrame(m_frameIndex + 1);
}

BOOL CDemoVideoArea::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CDemoVideoArea::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    ownerdraw::Compose(dc, CSize(rc.Width(), rc.Height()), ownerdraw::kDefaultModes,
                       [&](Gdiplus::Graphics& g, int w, int h) {
                           g.Clear(Gdiplus::Color(0xFF000000u));
                           if (!m_frame)
                               return;
                           const int fw = static_cast<int>(m_frame->GetWidth());
                           const int fh = static_cast<int>(m_frame->GetHeight());
                           // Fit inside, keeping the picture's shape; a picture decoded
                           // for this size is copied 1:1.
                           const player::FitRect fit = player::FitInside(fw, fh, w, h);
                           g.DrawImage(m_frame.get(), Gdiplus::Rect(fit.x, fit.y, fit.w, fit.h), 0,
                                       0, fw, fh, Gdiplus::UnitPixel);
                       });
}
