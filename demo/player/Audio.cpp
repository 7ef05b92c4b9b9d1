#include "demo/player/Audio.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace player {

// --- decoding ---

AudioDecoder::AudioDecoder() = default;

AudioDecoder::~AudioDecoder()
{
    Close();
}

void AudioDecoder::Close()
{
    avcodec_free_context(&m_ctx);
    av_packet_free(&m_packet);
    av_frame_free(&m_frame);
    swr_free(&m_swr);
}

bool AudioDecoder::Open(const AudioStreamInfo& info, int rate, int channels, std::string* why)
{
    Close();
    const auto fail = [&](const char* reason) {
        if (why)
            *why = reason;
        Close();
        return false;
    };
    const AVCodec* codec = avcodec_find_decoder(static_cast<AVCodecID>(info.codecId));
    if (!codec)
        return fail("no decoder for the sound format");
    if (info.channels <= 0 || info.channels > 64 || info.sampleRate <= 0 ||
        info.sampleRate > 768000 || rate <= 0 || channels < 1 || channels > 2)
        return fail("the sound's format is not plausible");
    m_ctx = avcodec_alloc_context3(codec);
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_ctx || !m_packet || !m_frame)
        return fail("out of memory");
    m_ctx->sample_rate = info.sampleRate;
    av_channel_layout_default(&m_ctx->ch_layout, info.channels);
    m_ctx->block_align = info.blockAlign;
    m_ctx->bit_rate = static_cast<std::int64_t>(info.bytesPerSecond) * 8;
    m_ctx->bits_per_coded_sample = info.bitsPerSample;
    m_ctx->codec_tag = static_cast<unsigned>(info.formatTag);
    if (!info.extradata.empty()) {
        m_ctx->extradata = static_cast<std::uint8_t*>(
            av_mallocz(info.extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!m_ctx->extradata)
            return fail("out of memory");
        std::memcpy(m_ctx->extradata, info.extradata.data(), info.extradata.size());
        m_ctx->extradata_size = static_cast<int>(info.extradata.size());
    }
    if (avcodec_open2(m_ctx, codec, nullptr) < 0)
        return fail("the decoder refused the sound format");
    m_rate = rate;
    m_channels = channels;
    return true;
}

bool AudioDecoder::Take(std::vector<std::int16_t>& out)
{
    // The converter is made for the first decoded frame's format, and again when it changes.
    if (!m_swr) {
        AVChannelLayout outLayout;
        av_channel_layout_default(&outLayout, m_channels);
        if (swr_alloc_set_opts2(&m_swr, &outLayout, AV_SAMPLE_FMT_S16, m_rate, &m_frame->ch_layout,
                                static_cast<AVSampleFormat>(m_frame->format), m_frame->sample_rate,
                                0, nullptr) < 0 ||
            swr_init(m_swr) < 0) {
            swr_free(&m_swr);
            return false;
        }
    }
    const int most = swr_get_out_samples(m_swr, m_frame->nb_samples);
    if (most <= 0)
        return true;
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(most) * m_channels);
    auto* dst = reinterpret_cast<std::uint8_t*>(out.data() + at);
    const int made =
        swr_convert(m_swr, &dst, most, const_cast<const std::uint8_t**>(m_frame->extended_data),
                    m_frame->nb_samples);
    out.resize(at + static_cast<size_t>(std::max(made, 0)) * m_channels);
    return made >= 0;
}

bool AudioDecoder::Decode(const std::uint8_t* data, int size, std::vector<std::int16_t>& out)
{
    if (!m_ctx || !data || size <= 0)
        return false;
    if (av_new_packet(m_packet, size) < 0)
        return false;
    std::memcpy(m_packet->data, data, static_cast<size_t>(size));
    const int r = avcodec_send_packet(m_ctx, m_packet);
    av_packet_unref(m_packet);
    if (r < 0)
        return false;
    while (avcodec_receive_frame(m_ctx, m_frame) >= 0) {
        const bool changed = m_swr && (m_frame->sample_rate != m_ctx->sample_rate ||
                                       m_frame->format != m_ctx->sample_fmt);
        if (changed)
            swr_free(&m_swr);
        const bool ok = Take(out);
        av_frame_unref(m_frame);
        if (!ok)
            return false;
    }
    return true;
}

void AudioDecoder::Flush()
{
    if (m_ctx)
        avcodec_flush_buffers(m_ctx);
    // Samples the converter holds belong to the place left.
    swr_free(&m_swr);
}

void ApplyGain(std::int16_t* samples, size_t count, double gain)
{
    if (gain == 1.0)
        return;
    gain = std::clamp(gain, 0.0, 8.0);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::int16_t>(
            std::clamp<long>(std::lround(samples[i] * gain), -32768, 32767));
}

// --- outputs ---

namespace {

class NullSink final : public AudioSink
{
public:
    NullSink(int rate, int channels, std::function<std::uint32_t()> clockMs)
        : m_rate(rate), m_channels(channels), m_clock(std::move(clockMs))
    {
        m_since = m_clock();
    }
    int Rate() const override { return m_rate; }
    int Channels() const override { return m_channels; }
    void Queue(const std::int16_t*, std::int64_t frames) override
    {
        Settle();
        m_pending += std::max<std::int64_t>(frames, 0);
    }
    std::int64_t Pending() const override
    {
        return std::max<std::int64_t>(0, m_pending - Played());
    }
    void Pause(bool paused) override
    {
        Settle();
        m_paused = paused;
    }
    void Clear() override
    {
        Settle();
        m_pending = 0;
    }
    const char* Name() const override { return "no audio device"; }

private:
    // Frames played since the last settling, in thousandths of a frame: time passes only
    // while playing and queued.
    std::int64_t PlayedMilli() const
    {
        if (m_paused)
            return 0;
        const std::uint32_t elapsed = m_clock() - m_since;
        return static_cast<std::int64_t>(elapsed) * m_rate + m_partMilli;
    }
    std::int64_t Played() const { return std::min(m_pending, PlayedMilli() / 1000); }
    void Settle()
    {
        const std::int64_t milli = PlayedMilli();
        const std::int64_t played = Played();
        m_pending -= played;
        // The part of a frame played is carried to the next settling: dropped at every
        // queueing, it made this clock lose a quarter of a second in ten minutes at 44.1 kHz.
        // An output that ran dry banks no time.
        m_partMilli = played == milli / 1000 ? milli % 1000 : 0;
        m_since = m_clock();
    }

    int m_rate;
    int m_channels;
    std::function<std::uint32_t()> m_clock;
    std::uint32_t m_since = 0;
    std::int64_t m_partMilli = 0;
    std::int64_t m_pending = 0;
    bool m_paused = false;
};

// The device is open only while playing: SDL's audio thread keeps waking to play silence for
// a paused device, so a paused player closes it to stay idle, and opens it again (with the
// same format) when sound is queued or playing resumes.
class SdlSink final : public AudioSink
{
public:
    SdlSink(SDL_AudioDeviceID device, const SDL_AudioSpec& format)
        : m_device(device), m_format(format)
    {
    }
    ~SdlSink() override
    {
        Close();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    int Rate() const override { return m_format.freq; }
    int Channels() const override { return m_format.channels; }
    void Queue(const std::int16_t* samples, std::int64_t frames) override
    {
        if (frames <= 0 || !Reopen())
            return;
        SDL_QueueAudio(m_device, samples,
                       static_cast<Uint32>(frames * m_format.channels * sizeof(std::int16_t)));
    }
    std::int64_t Pending() const override
    {
        if (!m_device)
            return m_pendingWhenClosed;
        return SDL_GetQueuedAudioSize(m_device) / (m_format.channels * sizeof(std::int16_t));
    }
    void Pause(bool paused) override
    {
        m_paused = paused;
        if (paused) {
            m_pendingWhenClosed = Pending();
            Close();
        } else if (Reopen())
            SDL_PauseAudioDevice(m_device, 0);
    }
    void Clear() override
    {
        if (m_device)
            SDL_ClearQueuedAudio(m_device);
        m_pendingWhenClosed = 0;
    }
    const char* Name() const override { return "SDL2 audio device"; }

private:
    void Close()
    {
        if (m_device)
            SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    // Opens the device again, paused unless playing; what was queued before closing is gone.
    bool Reopen()
    {
        if (m_device)
            return true;
        SDL_AudioSpec got{};
        m_device = SDL_OpenAudioDevice(nullptr, 0, &m_format, &got, 0);
        m_pendingWhenClosed = 0;
        if (m_device && !m_paused)
            SDL_PauseAudioDevice(m_device, 0);
        return m_device != 0;
    }

    SDL_AudioDeviceID m_device;
    SDL_AudioSpec m_format;
    std::int64_t m_pendingWhenClosed = 0;
    bool m_paused = true;
};

} // namespace

std::unique_ptr<AudioSink> MakeNullSink(int rate, int channels,
                                        std::function<std::uint32_t()> clockMs)
{
    return std::make_unique<NullSink>(std::max(rate, 1), std::clamp(channels, 1, 2),
                                      std::move(clockMs));
}

std::unique_ptr<AudioSink> MakeSdlSink(std::string* why)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (why)
            *why = SDL_GetError();
        return nullptr;
    }
    SDL_AudioSpec want{}, got{};
    want.freq = 48000;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    // Queued, not called back: the samples are decoded on the window thread.
    const SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &want, &got, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device == 0) {
        if (why)
            *why = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    // Opened only to learn the format the device plays; it opens again when sound comes.
    SDL_CloseAudioDevice(device);
    return std::make_unique<SdlSink>(0, got);
}

} // namespace player
