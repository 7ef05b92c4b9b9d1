// A file's sound: packets decoded with libavcodec and turned by libswresample into the
// output's interleaved 16-bit samples, and the outputs that play them: the SDL2 audio device,
// or, with no device (or none wanted), a null sink that plays nothing but keeps the same time.
// The samples an output has played are the player's clock.
#pragma once

#include "demo/player/AviMedia.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

namespace player {

class AudioDecoder
{
public:
    AudioDecoder();
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    // Decodes to `rate` samples a second on `channels` channels (1 or 2).
    bool Open(const AudioStreamInfo& info, int rate, int channels, std::string* why = nullptr);
    void Close();
    // Decodes one packet and appends its samples (interleaved) to `out`; false when the
    // decoder refused the packet.
    bool Decode(const std::uint8_t* data, int size, std::vector<std::int16_t>& out);
    // Forgets what is in flight, before a jump.
    void Flush();

private:
    bool Take(std::vector<std::int16_t>& out);

    AVCodecContext* m_ctx = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    SwrContext* m_swr = nullptr;
    int m_rate = 0;
    int m_channels = 0;
};

class AudioSink
{
public:
    virtual ~AudioSink() = default;
    virtual int Rate() const = 0;
    virtual int Channels() const = 0;
    // Plays `frames` interleaved sample frames after those queued.
    virtual void Queue(const std::int16_t* samples, std::int64_t frames) = 0;
    // Sample frames queued and not yet played.
    virtual std::int64_t Pending() const = 0;
    // Pausing may let the output go idle and drop what it held (Pending still tells how much
    // was left): the player queues again from its place when it plays on.
    virtual void Pause(bool paused) = 0;
    // Drops what is queued.
    virtual void Clear() = 0;
    // "SDL2 audio device" or "no audio device"
    virtual const char* Name() const = 0;
};

// Plays nothing; time passes by `clockMs` (the window layer's tick count in the demo, so that
// a headless test steers it).
std::unique_ptr<AudioSink> MakeNullSink(int rate, int channels,
                                        std::function<std::uint32_t()> clockMs);
// The SDL2 audio device, or null (and why) when there is none.
std::unique_ptr<AudioSink> MakeSdlSink(std::string* why = nullptr);

// Scales samples by `gain` (0 silence, 1 as decoded), clamped to the 16-bit range.
void ApplyGain(std::int16_t* samples, size_t count, double gain);

} // namespace player
