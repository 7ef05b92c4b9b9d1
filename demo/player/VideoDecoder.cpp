#include "demo/player/VideoDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

namespace player {

FitRect FitInside(int w, int h, int boxW, int boxH)
{
    if (w <= 0 || h <= 0 || boxW <= 0 || boxH <= 0)
        return {0, 0, 0, 0};
    // Wide arithmetic: the picture's and the box's sides multiply.
    const long long byWidth = static_cast<long long>(boxW) * h; // fit across: height boxW*h/w
    int fw, fh;
    if (byWidth <= static_cast<long long>(boxH) * w) {
        fw = boxW;
        fh = static_cast<int>(std::max<long long>(1, byWidth / w));
    } else {
        fh = boxH;
        fw = static_cast<int>(std::max<long long>(1, static_cast<long long>(boxH) * w / h));
    }
    return {(boxW - fw) / 2, (boxH - fh) / 2, fw, fh};
}

VideoDecoder::VideoDecoder() = default;

VideoDecoder::~VideoDecoder()
{
    Close();
}

void VideoDecoder::Close()
{
    avcodec_free_context(&m_ctx);
    av_packet_free(&m_packet);
    av_frame_free(&m_frame);
    sws_freeContext(m_sws);
    m_sws = nullptr;
    m_pending.clear();
}

bool VideoDecoder::Open(const VideoStreamInfo& info, std::string* why)
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
        return fail("no decoder for the video format");
    // 8192 a side: pictures past it would take hundreds of megabytes for each frame held.
    if (info.width <= 0 || info.width > 8192 || info.height == 0 ||
        std::abs(static_cast<long long>(info.height)) > 8192)
        return fail("the video's picture size is not plausible");
    m_ctx = avcodec_alloc_context3(codec);
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_ctx || !m_packet || !m_frame)
        return fail("out of memory");
    m_ctx->width = info.width;
    m_ctx->height = std::abs(info.height);
    m_ctx->codec_tag = info.compression;
    m_ctx->bits_per_coded_sample = info.bitCount;
    std::vector<std::uint8_t> extra = info.extradata;
    // Uncompressed pictures stored bottom row first: the raw decoder turns them upright when
    // its extradata ends with this mark.
    if (info.codecId == AV_CODEC_ID_RAWVIDEO && info.compression == 0 && info.height > 0) {
        static const char kBottomUp[] = "BottomUp"; // 9 bytes with its terminator
        extra.insert(extra.end(), kBottomUp, kBottomUp + sizeof kBottomUp);
    }
    if (!extra.empty()) {
        m_ctx->extradata =
            static_cast<std::uint8_t*>(av_mallocz(extra.size() + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!m_ctx->extradata)
            return fail("out of memory");
        std::memcpy(m_ctx->extradata, extra.data(), extra.size());
        m_ctx->extradata_size = static_cast<int>(extra.size());
    }
    // One thread: the demo decodes small pictures, and a frame in is a picture out sooner.
    m_ctx->thread_count = 1;
    if (avcodec_open2(m_ctx, codec, nullptr) < 0)
        return fail("the decoder refused the video format");
    return true;
}

bool VideoDecoder::Send(const std::uint8_t* data, int size, std::int64_t index)
{
    if (!m_ctx)
        return false;
    // A dropped frame: nothing to decode; the picture before it stays.
    if (size <= 0)
        return true;
    // libavcodec reads up to the padding past the end of the data: copy into a padded packet.
    if (av_new_packet(m_packet, size) < 0)
        return false;
    std::memcpy(m_packet->data, data, static_cast<size_t>(size));
    m_packet->pts = index;
    const int r = avcodec_send_packet(m_ctx, m_packet);
    av_packet_unref(m_packet);
    if (r < 0)
        return false;
    m_pending.push_back(index);
    return true;
}

void VideoDecoder::Drain()
{
    if (m_ctx)
        avcodec_send_packet(m_ctx, nullptr);
}

const AVFrame* VideoDecoder::Receive(std::int64_t* index)
{
    if (!m_ctx || avcodec_receive_frame(m_ctx, m_frame) < 0)
        return nullptr;
    // Pictures come out in showing order; AVI frames are numbered in that order, so the
    // n-th picture out takes the n-th smallest number sent.
    std::int64_t k = m_frame->best_effort_timestamp;
    if (!m_pending.empty()) {
        k = m_pending.front();
        m_pending.pop_front();
    }
    if (index)
        *index = k;
    return m_frame;
}

void VideoDecoder::Flush()
{
    if (m_ctx)
        avcodec_flush_buffers(m_ctx);
    m_pending.clear();
}

std::vector<std::uint8_t> VideoDecoder::Packed(const AVFrame* f)
{
    const auto format = static_cast<AVPixelFormat>(f->format);
    const int size = av_image_get_buffer_size(format, f->width, f->height, 1);
    if (size <= 0)
        return {};
    std::vector<std::uint8_t> out(static_cast<size_t>(size));
    av_image_copy_to_buffer(out.data(), size, f->data, f->linesize, format, f->width, f->height, 1);
    return out;
}

bool VideoDecoder::HasAlpha(const AVFrame* f)
{
    const AVPixFmtDescriptor* d =
        f ? av_pix_fmt_desc_get(static_cast<AVPixelFormat>(f->format)) : nullptr;
    return d && (d->flags & AV_PIX_FMT_FLAG_ALPHA);
}

bool VideoDecoder::ToBgra(const AVFrame* f, int w, int h, std::uint8_t* out, int stride)
{
    if (!f || w <= 0 || h <= 0 || !out || stride < 0 || (stride > 0 && stride / 4 < w))
        return false;
    // The JPEG pixel formats are the plain ones at full range; naming them so keeps libswscale
    // from warning on every picture.
    auto format = static_cast<AVPixelFormat>(f->format);
    int fullRange = f->color_range == AVCOL_RANGE_JPEG;
    static const AVPixelFormat kJpeg[][2] = {{AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUV420P},
                                             {AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUV422P},
                                             {AV_PIX_FMT_YUVJ444P, AV_PIX_FMT_YUV444P},
                                             {AV_PIX_FMT_YUVJ440P, AV_PIX_FMT_YUV440P},
                                             {AV_PIX_FMT_YUVJ411P, AV_PIX_FMT_YUV411P}};
    for (const auto& j : kJpeg)
        if (format == j[0]) {
            format = j[1];
            fullRange = 1;
        }
    m_sws = sws_getCachedContext(m_sws, f->width, f->height, format, w, h, AV_PIX_FMT_BGRA,
                                 SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (m_sws) {
        const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
        sws_setColorspaceDetails(m_sws, coefficients, fullRange, coefficients, 1, 0, 1 << 16,
                                 1 << 16);
    }
    if (!m_sws)
        return false;
    std::uint8_t* dst[4] = {out, nullptr, nullptr, nullptr};
    const int strides[4] = {stride > 0 ? stride : w * 4, 0, 0, 0};
    return sws_scale(m_sws, f->data, f->linesize, 0, f->height, dst, strides) == h;
}

// --- frames by number ---

VideoFrames::VideoFrames() : m_held(av_frame_alloc()), m_ahead(av_frame_alloc()) {}

VideoFrames::~VideoFrames()
{
    av_frame_free(&m_held);
    av_frame_free(&m_ahead);
}

bool VideoFrames::Open(AviMedia& media, std::string* why)
{
    m_media = &media;
    m_sent = 0;
    if (!m_held || !m_ahead) {
        if (why)
            *why = "out of memory";
        return false;
    }
    if (!media.HasVideo() || !m_decoder.Open(media.Video(), why))
        return false;
    Restart(0);
    return true;
}

void VideoFrames::Restart(int key)
{
    m_decoder.Flush();
    av_frame_unref(m_held);
    av_frame_unref(m_ahead);
    m_heldIndex = m_aheadIndex = -1;
    m_next = static_cast<size_t>(std::max(key, 0));
    m_drained = false;
}

const AVFrame* VideoFrames::At(int k)
{
    if (!m_media || !m_media->HasVideo())
        return nullptr;
    const auto& packets = m_media->VideoPackets();
    k = std::clamp(k, 0, static_cast<int>(packets.size()) - 1);
    const int key = m_media->KeyFrameAtOrBefore(k);
    // Back, or forward past a key frame not yet sent: decoding on would cost more than
    // starting again there.
    if (k < m_heldIndex || static_cast<size_t>(key) > m_next)
        Restart(key);
    for (;;) {
        if (m_aheadIndex >= 0) {
            if (m_aheadIndex > k)
                break; // frame k was dropped: the held picture stands for it
            av_frame_unref(m_held);
            av_frame_move_ref(m_held, m_ahead);
            m_heldIndex = m_aheadIndex;
            m_aheadIndex = -1;
        }
        if (m_heldIndex == k)
            break;
        std::int64_t index = -1;
        if (const AVFrame* f = m_decoder.Receive(&index)) {
            AVFrame* to = index <= k ? m_held : m_ahead;
            av_frame_unref(to);
            if (av_frame_ref(to, f) < 0)
                continue;
            (index <= k ? m_heldIndex : m_aheadIndex) = index;
            continue;
        }
        if (m_next < packets.size()) {
            const StreamPacket& p = packets[m_next];
            const std::uint8_t* data = m_media->Read(p);
            m_decoder.Send(data, data ? p.size : 0, p.start);
            ++m_next;
            ++m_sent;
            continue;
        }
        if (m_drained)
            break;
        m_decoder.Drain();
        m_drained = true;
    }
    return m_heldIndex >= 0 ? m_held : nullptr;
}

} // namespace player
