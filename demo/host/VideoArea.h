// The demo's video area: shows one AVI clip's frames at the clip's rate, scaled to fit on a
// black ground, and tells whoever listens where playback stands (the control bar's seek slider
// and time display follow it, and seek through SeekTo).
#pragma once

#include "controls/wndsys.h"
#include "demo/host/SampleMedia.h"

#include <functional>
#include <memory>
#include <string>

class CDemoVideoArea : public CWnd
{
public:
    CDemoVideoArea() = default;
    ~CDemoVideoArea() override;

    BOOL Create(CWnd* parent, const CRect& rect, UINT id);

    // Opens the clip and shows its first frame; plays when `play`.
    bool Load(const std::string& path, bool play);
    void Play();
    void Pause();
    bool IsPlaying() const { return m_playing; }
    void SeekTo(int ms);
    int PositionMs() const;
    int LengthMs() const { return m_clip.IsOpen() ? m_clip.LengthMs() : 0; }

    // The hook the control bar listens on: position and length in milliseconds, after each
    // frame shown and after each seek.
    std::function<void(int positionMs, int lengthMs)> onPosition;
    // Playback ran to the clip's end.
    std::function<void()> onEnded;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnTimer(UINT_PTR id);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void ShowFrame(int k);

    demo::AviClip m_clip;
    std::unique_ptr<Gdiplus::Bitmap> m_frame;
    int m_frameIndex = 0;
    bool m_playing = false;
};
