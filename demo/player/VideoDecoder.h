// A video stream's packets decoded with libavcodec, and the pictures turned into 32-bit BGRA
// (Gdiplus's ARGB layout in memory) with libswscale at the size they are shown at.
#pragma once

#include "demo/player/AviMedia.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace player {

// The largest picture that fits `box` keeping the w:h shape, centred: x, y, width, height.
struct FitRect
{
    int x, y, w, h;
};
FitRect FitInside(int w, int h, int boxW, int boxH);

class VideoDecoder
{
public:
    VideoDecoder();
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // False, with the reason in `why`, when libavcodec has no decoder for the stream or
    // refuses its format.
    bool Open(const VideoStreamInfo& info, std::string* why = nullptr);
    void Close();

    // Hands one packet (frame number `index`; empty data for a frame the file dropped) to
    // the decoder. False when the decoder refused it; the decoder goes on with the next.
    bool Send(const std::uint8_t* data, int size, std::int64_t index);
    // Tells the decoder no more packets come, so that it gives out the pictures it holds.
    void Drain();
    // The next decoded picture and its frame number, or null when it needs more packets.
    // Borrowed until the next call.
    const AVFrame* Receive(std::int64_t* index);
    // Forgets the pictures and packets in flight, before a jump.
    void Flush();

    // The picture in its own pixel format packed without padding, as `ffmpeg -f framemd5`
    // hashes it.
    static std::vector<std::uint8_t> Packed(const AVFrame* frame);
    // The picture scaled to w x h as BGRA rows `stride` bytes apart (0: w * 4); false when it
    // cannot be.
    bool ToBgra(const AVFrame* frame, int w, int h, std::uint8_t* out, int stride = 0);
    // Whether the picture's format carries its own alpha (else BGRA comes out opaque).
    static bool HasAlpha(const AVFrame* frame);

private:
    AVCodecContext* m_ctx = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    SwsContext* m_sws = nullptr;
    // The frame numbers of packets sent and not yet given back as pictures, in order: a
    // decoder gives out one picture per packet, later when it reorders.
    std::deque<std::int64_t> m_pending;
};

// The pictures of a file's video stream by frame number, as playing and seeking ask for them:
// the next frame is decoded on from where decoding stands; a jump back, or past a key frame,
// starts again at the latest key frame at or before the target and decodes forward to it.
class VideoFrames
{
public:
    VideoFrames();
    ~VideoFrames();
    VideoFrames(const VideoFrames&) = delete;
    VideoFrames& operator=(const VideoFrames&) = delete;

    // `media` must stay open while this is used.
    bool Open(AviMedia& media, std::string* why = nullptr);
    // The picture shown at frame k: frame k's own, or the latest before it when k was dropped
    // or could not be decoded; null when there is none. Borrowed until the next call.
    const AVFrame* At(int k);
    // The frame number of the picture At answered last (-1 before any).
    std::int64_t HeldIndex() const { return m_heldIndex; }
    // How many packets were handed to the decoder since Open, for tests of the seek rule.
    std::int64_t PacketsSent() const { return m_sent; }
    VideoDecoder& Decoder() { return m_decoder; }

private:
    void Restart(int key);

    AviMedia* m_media = nullptr;
    VideoDecoder m_decoder;
    AVFrame* m_held = nullptr;
    AVFrame* m_ahead = nullptr; // a picture decoded past the target, kept for the next call
    std::int64_t m_heldIndex = -1;
    std::int64_t m_aheadIndex = -1;
    size_t m_next = 0; // the next packet to send
    bool m_drained = false;
    std::int64_t m_sent = 0;
};

} // namespace player
