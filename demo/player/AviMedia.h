// One AVI file as the player sees it: the first video and audio stream's formats and decoder,
// and their packets with the time each starts, read through the library's AVI reader in its
// tolerant walk (so that OpenDML files and files without an index play too). Decodes nothing.
#pragma once

#include "avi/AviParser.h"

#include <cstdint>
#include <string>
#include <vector>

namespace player {

struct VideoStreamInfo
{
    int codecId = 0; // AVCodecID; 0 when the stream is not understood
    std::uint32_t compression = 0;
    std::uint32_t handler = 0;
    int width = 0;
    int height = 0; // as stored: positive for bottom-up pictures
    int bitCount = 0;
    std::vector<std::uint8_t> extradata; // the format's bytes after the 40-byte header
    std::uint32_t scale = 1, rate = 25;  // a frame lasts scale / rate seconds
};

struct AudioStreamInfo
{
    int codecId = 0;
    int formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
    int bytesPerSecond = 0;
    std::vector<std::uint8_t> extradata; // the bytes after WAVEFORMATEX's 18
    std::uint32_t scale = 1, rate = 1, sampleSize = 0;
};

// One packet of a stream: its number for the reader, its size, whether it is a key frame, and
// where it starts in the stream's time, in the stream's units (frames for video; for audio
// scale/rate units: blocks of sampleSize bytes, or whole chunks when sampleSize is 0).
struct StreamPacket
{
    int number;
    int size;
    bool key;
    std::int64_t start;
};

class AviMedia
{
public:
    // False, with the reason in Problem(), when the file cannot be read or has no stream we
    // can show or play.
    bool Open(const std::string& path);
    const std::string& Problem() const { return m_problem; }

    bool HasVideo() const { return !m_video.empty(); }
    bool HasAudio() const { return !m_audio.empty(); }
    const VideoStreamInfo& Video() const { return m_videoInfo; }
    const AudioStreamInfo& Audio() const { return m_audioInfo; }
    // The video stream's packets: one per frame, in order; empty ones repeat the frame before.
    const std::vector<StreamPacket>& VideoPackets() const { return m_video; }
    const std::vector<StreamPacket>& AudioPackets() const { return m_audio; }

    // Length in milliseconds: the longer stream's.
    std::int64_t LengthMs() const;
    // Where video frame k starts, and the frame shown at `ms`.
    std::int64_t MsOfFrame(std::int64_t k) const;
    int FrameAtMs(std::int64_t ms) const;
    // Where an audio packet's start lies, in milliseconds.
    std::int64_t AudioMs(const StreamPacket& p) const;
    // The latest key frame at or before frame k (0 when none is marked).
    int KeyFrameAtOrBefore(int k) const;

    // "video 160x120 MJPG, audio PCM 8000 Hz"
    std::string Describe() const;

    // Packet bytes, borrowed until the next call; null when they cannot be read.
    const std::uint8_t* Read(const StreamPacket& p);

private:
    mmAviParser m_parser;
    std::string m_problem;
    VideoStreamInfo m_videoInfo;
    AudioStreamInfo m_audioInfo;
    std::vector<StreamPacket> m_video;
    std::vector<StreamPacket> m_audio;
};

} // namespace player
