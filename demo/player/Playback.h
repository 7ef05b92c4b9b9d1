// Where playback of one file stands in time, and its sound on the way to the output. The
// sound's output is the clock: the position is where the sound was started plus what the
// output has played since. Without sound (or after its end) the tick count carries time on.
// The window asks on each tick which frame belongs to now and shows it; the frames between
// the one shown and that one are passed over, so a late picture is dropped, never shown late.
#pragma once

#include "demo/player/Audio.h"
#include "demo/player/AviMedia.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace player {

class Playback
{
public:
    // `clockMs` is the tick count time is read from when there is no sound.
    explicit Playback(std::function<std::uint32_t()> clockMs);
    ~Playback();

    // Starts over on `media` (which stays open while used) at 0, paused. `sink` (borrowed,
    // may be null) plays the sound, when the file has any.
    void Start(AviMedia& media, AudioSink* sink);
    void Stop();

    void Play();
    void Pause();
    bool Playing() const { return m_playing; }
    // Jumps to `ms` (clamped to the file); playing goes on from there.
    void Seek(std::int64_t ms);
    std::int64_t PositionMs() const;
    std::int64_t LengthMs() const { return m_media ? m_media->LengthMs() : 0; }
    bool AtEnd() const { return m_media && PositionMs() >= LengthMs(); }

    // Tops up the sound output; answers the video frame that belongs to now (-1: no video).
    int Tick();

    // The volume: 0 silence, 1 as decoded. Applies to sound decoded from now on.
    void SetGain(double gain) { m_gain = gain; }
    bool HasSound() const { return m_soundOpen; }

    // How far ahead of the output the sound is decoded.
    static constexpr int kAheadMs = 250;

private:
    void Feed();
    // The tick clock takes over from `ms`.
    void FromTicks(std::int64_t ms);

    std::function<std::uint32_t()> m_clock;
    AviMedia* m_media = nullptr;
    AudioSink* m_sink = nullptr;
    AudioDecoder m_sound;
    bool m_soundOpen = false;
    bool m_playing = false;
    double m_gain = 1.0;

    // Sound: where it started, the frames queued since, the next packet, frames still to skip
    // to reach the exact place of a seek.
    std::int64_t m_soundBaseMs = 0;
    std::int64_t m_queued = 0;
    size_t m_nextPacket = 0;
    std::int64_t m_skip = 0;
    bool m_soundDone = true;

    // Ticks: the position at m_tickBase (while playing), or the position (while paused).
    std::int64_t m_tickPosMs = 0;
    std::uint32_t m_tickBase = 0;
    bool m_byTicks = true;
};

} // namespace player
