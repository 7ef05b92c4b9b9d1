// The demo's video area: plays one AVI file, its pictures fitted on a black ground at the
// time the sound's output gives (player::Playback), its sound on the audio device (or, with
// none or headless, on a null output that keeps the same time), and tells whoever listens
// where playback stands (the control bar's seek slider and time display follow it, and seek
// through SeekTo). Paused or stopped it sets no timer.
#pragma once

#include "controls/wndsys.h"
#include "demo/host/SampleMedia.h"
#include "demo/player/Playback.h"

#include <functional>
#include <memory>
#include <string>

class CDemoVideoArea : public CWnd
{
public:
    CDemoVideoArea();
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
    // 0 silent to 100 as decoded; muting keeps the volume for later.
    void SetVolume(int volume);
    void SetMuted(bool muted);
    int Volume() const { return m_volume; }
    // Why the last Load failed.
    const std::string& Problem() const { return m_clip.Problem(); }
    // The output the sound goes to, made at first use.
    player::AudioSink& Sink();

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
    UINT TickMs() const;

    demo::AviClip m_clip;
    std::unique_ptr<Gdiplus::Bitmap> m_frame;
    int m_frameIndex = 0;
    bool m_playing = false;
    std::unique_ptr<player::AudioSink> m_sink;
    int m_volume = 100;
    bool m_muted = false;
    player::Playback m_playback;
};
