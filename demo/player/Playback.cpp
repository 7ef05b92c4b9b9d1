#include "demo/player/Playback.h"

#include <algorithm>
#include <vector>

namespace player {

Playback::Playback(std::function<std::uint32_t()> clockMs) : m_clock(std::move(clockMs)) {}

Playback::~Playback() = default;

void Playback::Start(AviMedia& media, AudioSink* sink)
{
    Stop();
    m_media = &media;
    m_sink = sink;
    m_soundOpen =
        sink && media.HasAudio() && m_sound.Open(media.Audio(), sink->Rate(), sink->Channels());
    Seek(0);
}

void Playback::Stop()
{
    Pause();
    if (m_sink)
        m_sink->Clear();
    m_sound.Close();
    m_soundOpen = false;
    m_media = nullptr;
    m_sink = nullptr;
    m_byTicks = true;
    m_tickPosMs = 0;
}

void Playback::FromTicks(std::int64_t ms)
{
    m_byTicks = true;
    m_tickPosMs = ms;
    m_tickBase = m_clock();
}

std::int64_t Playback::PositionMs() const
{
    if (!m_media)
        return 0;
    std::int64_t ms;
    if (m_byTicks)
        ms = m_tickPosMs + (m_playing ? static_cast<std::uint32_t>(m_clock() - m_tickBase) : 0);
    else
        ms = m_soundBaseMs + (m_queued - m_sink->Pending()) * 1000 / m_sink->Rate();
    return std::clamp<std::int64_t>(ms, 0, LengthMs());
}

void Playback::Play()
{
    if (!m_media || m_playing)
        return;
    if (AtEnd())
        Seek(0);
    const std::int64_t at = PositionMs();
    m_playing = true;
    if (m_byTicks)
        FromTicks(at);
    else
        Seek(at); // an output may drop what it held while paused: queue again from here
    Feed();
    if (m_sink && !m_byTicks)
        m_sink->Pause(false);
}

void Playback::Pause()
{
    if (!m_playing)
        return;
    const std::int64_t at = PositionMs();
    m_playing = false;
    if (m_byTicks)
        m_tickPosMs = at;
    if (m_sink && !m_byTicks)
        m_sink->Pause(true);
}

void Playback::Seek(std::int64_t ms)
{
    if (!m_media)
        return;
    ms = std::clamp<std::int64_t>(ms, 0, LengthMs());
    const auto& packets = m_media->AudioPackets();
    // The sound starts again at the last packet that begins at or before the place, and the
    // samples before the place are skipped.
    size_t first = 0;
    while (first + 1 < packets.size() && m_media->AudioMs(packets[first + 1]) <= ms)
        ++first;
    m_soundDone = !m_soundOpen || packets.empty() || m_media->AudioMs(packets[first]) > ms + 1000;
    if (m_soundDone) {
        FromTicks(ms);
        if (m_sink)
            m_sink->Clear();
        return;
    }
    m_sink->Clear();
    m_sound.Flush();
    m_byTicks = false;
    m_nextPacket = first;
    m_soundBaseMs = ms;
    m_queued = 0;
    m_skip = (ms - m_media->AudioMs(packets[first])) * m_sink->Rate() / 1000;
    // Paused, nothing is queued: the output stays closed, and Play queues from the place.
    if (m_playing)
        Feed();
    else
        m_sink->Pause(true);
}

void Playback::Feed()
{
    if (m_byTicks || m_soundDone || !m_sink)
        return;
    const auto& packets = m_media->AudioPackets();
    const std::int64_t ahead = static_cast<std::int64_t>(kAheadMs) * m_sink->Rate() / 1000;
    const int channels = m_sink->Channels();
    std::vector<std::int16_t> samples;
    while (m_sink->Pending() < ahead && m_nextPacket < packets.size()) {
        const StreamPacket& p = packets[m_nextPacket++];
        samples.clear();
        m_sound.Decode(m_media->Read(p), p.size, samples);
        std::int64_t frames = static_cast<std::int64_t>(samples.size()) / channels;
        const std::int64_t skip = std::min(m_skip, frames);
        m_skip -= skip;
        frames -= skip;
        if (frames <= 0)
            continue;
        std::int16_t* from = samples.data() + skip * channels;
        ApplyGain(from, static_cast<size_t>(frames * channels), m_gain);
        m_sink->Queue(from, frames);
        m_queued += frames;
    }
    if (m_nextPacket >= packets.size())
        m_soundDone = true;
}

int Playback::Tick()
{
    if (!m_media)
        return -1;
    if (m_playing) {
        Feed();
        // The sound has run out: time goes on by the ticks from where it stopped.
        if (!m_byTicks && m_soundDone && m_sink->Pending() == 0)
            FromTicks(PositionMs());
    }
    return m_media->HasVideo() ? m_media->FrameAtMs(PositionMs()) : -1;
}

} // namespace player
