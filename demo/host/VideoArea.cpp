#include "demo/host/VideoArea.h"

#include "controls/OwnerDraw.h"
#include "platform/wnd/Backend.h"

#include <algorithm>
#include <climits>

BEGIN_MESSAGE_MAP(CDemoVideoArea, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_TIMER()
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {
constexpr UINT_PTR kFrameTimer = 1;
}

CDemoVideoArea::CDemoVideoArea()
    : m_playback([] { return static_cast<std::uint32_t>(::GetTickCount()); })
{
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

player::AudioSink& CDemoVideoArea::Sink()
{
    if (!m_sink) {
        // Headless runs are steered by the window layer's clock: they get the null output,
        // which follows it. A real window gets the device when there is one.
        if (std::string(platform::wnd::CurrentBackend().Name()) != "headless")
            m_sink = player::MakeSdlSink();
        if (!m_sink)
            m_sink = player::MakeNullSink(
                48000, 2, [] { return static_cast<std::uint32_t>(::GetTickCount()); });
    }
    return *m_sink;
}

bool CDemoVideoArea::Load(const std::string& path, bool play)
{
    Pause();
    m_playback.Stop();
    m_frame.reset();
    m_frameIndex = 0;
    if (!m_clip.Open(path)) {
        Invalidate();
        return false;
    }
    m_playback.Start(m_clip.Media(), &Sink());
    ShowFrame(0);
    if (play)
        Play();
    return true;
}

UINT CDemoVideoArea::TickMs() const
{
    // Often enough to show each frame near its time, rarely enough to cost nothing.
    return static_cast<UINT>(std::clamp(m_clip.FrameMs() / 3, 5, 20));
}

void CDemoVideoArea::Play()
{
    if (!m_clip.IsOpen() || !m_hWnd)
        return;
    if (m_playback.AtEnd())
        SeekTo(0);
    m_playback.Play();
    m_playing = true;
    SetTimer(kFrameTimer, TickMs());
}

void CDemoVideoArea::Pause()
{
    if (m_playing && m_hWnd)
        KillTimer(kFrameTimer);
    m_playing = false;
    m_playback.Pause();
}

void CDemoVideoArea::SeekTo(int ms)
{
    if (!m_clip.IsOpen())
        return;
    m_playback.Seek(ms);
    ShowFrame(m_clip.FrameAtMs(ms));
}

void CDemoVideoArea::SetVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 100);
    m_playback.SetGain(m_muted ? 0.0 : m_volume / 100.0);
}

void CDemoVideoArea::SetMuted(bool muted)
{
    m_muted = muted;
    SetVolume(m_volume);
}

int CDemoVideoArea::PositionMs() const
{
    if (!m_clip.IsOpen())
        return 0;
    // The shown frame's time; a file of sound alone has the clock's.
    return m_clip.FrameCount() > 0
               ? m_clip.MsOfFrame(m_frameIndex)
               : static_cast<int>(std::min<std::int64_t>(m_playback.PositionMs(), INT_MAX));
}

void CDemoVideoArea::ShowFrame(int k)
{
    m_frameIndex = k;
    // Decoded straight at the size it is shown at, so that painting only copies it.
    CRect rc;
    if (m_hWnd)
        GetClientRect(&rc);
    if (rc.IsRectEmpty())
        m_clip.FrameFittedInto(k, std::abs(m_clip.Width()), std::abs(m_clip.Height()), m_frame);
    else
        m_clip.FrameFittedInto(k, rc.Width(), rc.Height(), m_frame);
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
    // The frame of now; those between the one shown and it are late and passed over.
    const int k = m_playback.Tick();
    if (k >= 0 && k != m_frameIndex)
        ShowFrame(k);
    else if (k < 0 && onPosition)
        onPosition(PositionMs(), LengthMs());
    if (m_playback.AtEnd()) {
        Pause();
        if (onEnded)
            onEnded();
    }
}

BOOL CDemoVideoArea::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

CRect CDemoVideoArea::PictureRect() const
{
    CRect rc;
    if (!m_frame || !m_hWnd)
        return {};
    GetClientRect(&rc);
    // Fit inside, keeping the picture's shape; a picture decoded for this size is copied 1:1.
    const player::FitRect fit =
        player::FitInside(static_cast<int>(m_frame->GetWidth()),
                          static_cast<int>(m_frame->GetHeight()), rc.Width(), rc.Height());
    return {fit.x, fit.y, fit.x + fit.w, fit.y + fit.h};
}

void CDemoVideoArea::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    const CRect picture = PictureRect();
    // Straight onto the window: the picture is opaque and already at its shown size, so a
    // scratch picture would only add a copy of every frame. Black fills the rest.
    Gdiplus::Graphics g(dc.m_hDC);
    Gdiplus::SolidBrush black(Gdiplus::Color(0xFF000000u));
    if (picture.IsRectEmpty()) {
        g.FillRectangle(&black, 0, 0, rc.Width(), rc.Height());
        return;
    }
    const CRect bands[] = {{0, 0, rc.right, picture.top},
                           {0, picture.bottom, rc.right, rc.bottom},
                           {0, picture.top, picture.left, picture.bottom},
                           {picture.right, picture.top, rc.right, picture.bottom}};
    for (const CRect& b : bands)
        if (!b.IsRectEmpty())
            g.FillRectangle(&black, b.left, b.top, b.Width(), b.Height());
    g.DrawImage(m_frame.get(),
                Gdiplus::Rect(picture.left, picture.top, picture.Width(), picture.Height()), 0, 0,
                static_cast<int>(m_frame->GetWidth()), static_cast<int>(m_frame->GetHeight()),
                Gdiplus::UnitPixel);
}
