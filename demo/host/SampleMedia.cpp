#include "demo/host/SampleMedia.h"

#include "avi/AviWriter.h"
#include "platform/base/Stream.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace demo {

namespace {

constexpr DWORD kBiRgb = 0;
constexpr DWORD kMjpg = mmioFOURCC('M', 'J', 'P', 'G');

struct Sample
{
    const char* name;
    DWORD compression;
    int rate; // frames per second
    int frames;
    bool sound;
    int hue; // of the moving picture
};

constexpr int kW = 160, kH = 120;

// A moving picture: a diagonal gradient, a bar sweeping across and the frame number's
// position marked by a square, so that playback and seeking are visible.
void DrawFrame(std::vector<BYTE>& rgb, int k, int frames, int hue)
{
    rgb.assign(static_cast<size_t>(kW) * kH * 3, 0);
    const int bar = (k * (kW + 20)) / std::max(frames, 1) - 10;
    const int sx = 10 + (k * (kW - 30)) / std::max(frames, 1);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            BYTE* p = &rgb[(static_cast<size_t>(y) * kW + x) * 3];
            const int t = (x + y + k * 2) & 0xFF;
            p[0] = static_cast<BYTE>((hue * 40 + t) & 0xFF);
            p[1] = static_cast<BYTE>((t / 2 + 40) & 0xFF);
            p[2] = static_cast<BYTE>((200 - t / 3 + hue * 60) & 0xFF);
            if (x >= bar && x < bar + 10)
                p[0] = p[1] = p[2] = 235;
            if (y >= kH - 20 && y < kH - 10 && x >= sx && x < sx + 10) {
                p[0] = 250;
                p[1] = 210;
                p[2] = 40;
            }
        }
}

void PutLE(std::vector<BYTE>& b, DWORD v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.push_back(static_cast<BYTE>(v >> (8 * i)));
}

std::vector<BYTE> BitmapInfo(DWORD compression)
{
    std::vector<BYTE> b;
    PutLE(b, 40, 4);          // biSize
    PutLE(b, kW, 4);          // biWidth
    PutLE(b, kH, 4);          // biHeight: bottom-up
    PutLE(b, 1, 2);           // biPlanes
    PutLE(b, 24, 2);          // biBitCount
    PutLE(b, compression, 4); // biCompression
    PutLE(b, kW * kH * 3, 4); // biSizeImage
    b.resize(40, 0);
    return b;
}

// Bottom-up BGR rows, as an uncompressed DIB frame stores them (160 × 3 needs no padding).
std::vector<BYTE> DibFrame(const std::vector<BYTE>& rgb)
{
    std::vector<BYTE> out(rgb.size());
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const BYTE* s = &rgb[(static_cast<size_t>(y) * kW + x) * 3];
            BYTE* d = &out[(static_cast<size_t>(kH - 1 - y) * kW + x) * 3];
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    return out;
}

std::vector<BYTE> JpegFrame(const std::vector<BYTE>& rgb)
{
    std::vector<BYTE> out;
    GdkPixbuf* pb = gdk_pixbuf_new_from_data(rgb.data(), GDK_COLORSPACE_RGB, FALSE, 8, kW, kH,
                                             kW * 3, nullptr, nullptr);
    gchar* buf = nullptr;
    gsize size = 0;
    if (pb && gdk_pixbuf_save_to_buffer(pb, &buf, &size, "jpeg", nullptr, "quality", "85", nullptr))
        out.assign(reinterpret_cast<BYTE*>(buf), reinterpret_cast<BYTE*>(buf) + size);
    g_free(buf);
    if (pb)
        g_object_unref(pb);
    return out;
}

bool WriteSample(const std::string& path, const Sample& s)
{
    mmAviWriter w;
    if (w.OpenAVI(CString::FromUtf8(path)) != 0)
        return false;
    AVISTREAMINFOW video{};
    video.fccType = streamtypeVIDEO;
    video.fccHandler = s.compression == kMjpg ? kMjpg : 0;
    video.dwScale = 1;
    video.dwRate = static_cast<DWORD>(s.rate);
    video.dwSuggestedBufferSize = kW * kH * 3;
    video.rcFrame = {0, 0, kW, kH};
    std::vector<BYTE> format = BitmapInfo(s.compression);
    if (w.OpenAVIVideoStream(video, format.data(), static_cast<int>(format.size()), 0) != 0)
        return false;
    constexpr int kSampleRate = 8000;
    if (s.sound) {
        AVISTREAMINFOW audio{};
        audio.fccType = streamtypeAUDIO;
        audio.dwScale = 2;
        audio.dwRate = 2 * kSampleRate;
        audio.dwSampleSize = 2;
        std::vector<BYTE> wave;
        PutLE(wave, 1, 2);               // wFormatTag: PCM
        PutLE(wave, 1, 2);               // nChannels
        PutLE(wave, kSampleRate, 4);     // nSamplesPerSec
        PutLE(wave, 2 * kSampleRate, 4); // nAvgBytesPerSec
        PutLE(wave, 2, 2);               // nBlockAlign
        PutLE(wave, 16, 2);              // wBitsPerSample
        PutLE(wave, 0, 2);               // cbSize
        if (w.OpenAVIAudioStream(audio, wave.data(), static_cast<int>(wave.size()), 0) != 0)
            return false;
    }
    std::vector<BYTE> rgb;
    std::vector<BYTE> silence(static_cast<size_t>(2 * kSampleRate / s.rate), 0);
    for (int k = 0; k < s.frames; ++k) {
        DrawFrame(rgb, k, s.frames, s.hue);
        std::vector<BYTE> frame = s.compression == kMjpg ? JpegFrame(rgb) : DibFrame(rgb);
        if (frame.empty() || w.WritePacket(streamtypeVIDEO, frame.data(),
                                           static_cast<int>(frame.size()), 0, AVIIF_KEYFRAME) != 0)
            return false;
        if (s.sound)
            w.WritePacket(streamtypeAUDIO, silence.data(), static_cast<int>(silence.size()), 0,
                          AVIIF_KEYFRAME);
    }
    w.CloseAVI();
    return w.GetAVICloseResult() == 0;
}

} // namespace

std::vector<std::string> MakeSampleMedia(const std::string& folder)
{
    static const Sample samples[] = {
        {"Harbour at dawn.avi", kBiRgb, 25, 75, true, 0},
        {"City lights (MJPEG).avi", kMjpg, 15, 60, false, 2},
        {"Garden path.avi", kBiRgb, 10, 40, false, 4},
        {"Night train (MJPEG).avi", kMjpg, 20, 90, true, 5},
        {"Market square (MJPEG).avi", kMjpg, 12, 36, false, 1},
        {"Snowfall (MJPEG).avi", kMjpg, 25, 100, false, 3},
        {"Lighthouse (MJPEG).avi", kMjpg, 10, 50, true, 6},
        {"River bend (MJPEG).avi", kMjpg, 15, 45, false, 7},
    };
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<std::string> paths;
    for (const Sample& s : samples) {
        const std::string path = folder + "/" + s.name;
        if (std::filesystem::exists(path, ec)) {
            paths.push_back(path);
            continue;
        }
        // Written under a temporary name and renamed when complete, so that a file cut short
        // (a full disk, a stop) is not taken for a finished sample on the next run.
        const std::string part = path + ".part";
        if (WriteSample(part, s)) {
            std::filesystem::rename(part, path, ec);
            if (!ec) {
                paths.push_back(path);
                continue;
            }
        }
        std::filesystem::remove(part, ec);
    }
    return paths;
}

AviClip::AviClip() = default;
AviClip::~AviClip() = default;

bool AviClip::Open(const std::string& path)
{
    // A file of sound alone plays too; it has no frames.
    m_open = m_media.Open(path) && (!m_media.HasVideo() || m_frames.Open(m_media));
    return m_open;
}

int AviClip::FrameMs() const
{
    return static_cast<int>(std::max<std::int64_t>(1, m_media.MsOfFrame(1)));
}

int AviClip::LengthMs() const
{
    return static_cast<int>(std::min<std::int64_t>(m_media.LengthMs(), INT_MAX));
}

int AviClip::MsOfFrame(int k) const
{
    return static_cast<int>(std::min<std::int64_t>(m_media.MsOfFrame(k), INT_MAX));
}

int AviClip::FrameAtMs(int ms) const
{
    return m_media.FrameAtMs(ms);
}

CString AviClip::Streams() const
{
    return CString::FromUtf8(m_media.Describe());
}

std::unique_ptr<Gdiplus::Bitmap> AviClip::Frame(int k)
{
    return FrameFitted(k, std::abs(Width()), std::abs(Height()));
}

const AVFrame* AviClip::FittedFrame(int k, int w, int h, player::FitRect* fit)
{
    if (!m_open || k < 0 || k >= FrameCount())
        return nullptr;
    const AVFrame* frame = m_frames.At(k);
    *fit = player::FitInside(std::abs(Width()), std::abs(Height()), w, h);
    return frame && fit->w > 0 && fit->h > 0 ? frame : nullptr;
}

std::unique_ptr<Gdiplus::Bitmap> AviClip::FrameFitted(int k, int w, int h)
{
    player::FitRect fit;
    const AVFrame* frame = FittedFrame(k, w, h, &fit);
    if (!frame)
        return nullptr;
    std::vector<BYTE> bgra(static_cast<size_t>(fit.w) * fit.h * 4);
    if (!m_frames.Decoder().ToBgra(frame, fit.w, fit.h, bgra.data()))
        return nullptr;
    // The bitmap copies the rows: the buffer can go.
    auto b = std::make_unique<Gdiplus::Bitmap>(fit.w, fit.h, fit.w * 4,
                                               Gdiplus::PixelFormat32bppARGB, bgra.data());
    return b->GetLastStatus() == Gdiplus::Ok ? std::move(b) : nullptr;
}

bool AviClip::FrameFittedInto(int k, int w, int h, std::unique_ptr<Gdiplus::Bitmap>& picture)
{
    player::FitRect fit;
    const AVFrame* frame = FittedFrame(k, w, h, &fit);
    if (!frame)
        return false;
    // A picture with alpha of its own goes the straight-alpha way.
    if (player::VideoDecoder::HasAlpha(frame)) {
        auto b = FrameFitted(k, w, h);
        if (!b)
            return false;
        picture = std::move(b);
        return true;
    }
    std::unique_ptr<Gdiplus::Bitmap> fresh;
    Gdiplus::Bitmap* target = picture.get();
    if (!target || static_cast<int>(target->GetWidth()) != fit.w ||
        static_cast<int>(target->GetHeight()) != fit.h) {
        fresh = std::make_unique<Gdiplus::Bitmap>(fit.w, fit.h, Gdiplus::PixelFormat32bppPARGB);
        if (fresh->GetLastStatus() != Gdiplus::Ok)
            return false;
        target = fresh.get();
    }
    // Opaque BGRA is the same premultiplied or not: libswscale writes straight into the
    // picture's own rows.
    const Gdiplus::Rect all(0, 0, fit.w, fit.h);
    Gdiplus::BitmapData rows;
    if (target->LockBits(&all, Gdiplus::ImageLockModeWrite, Gdiplus::PixelFormat32bppPARGB,
                         &rows) != Gdiplus::Ok)
        return false;
    const bool ok = m_frames.Decoder().ToBgra(frame, fit.w, fit.h,
                                              static_cast<std::uint8_t*>(rows.Scan0), rows.Stride);
    target->UnlockBits(&rows);
    if (ok && fresh)
        picture = std::move(fresh);
    return ok;
}

CString FormatDuration(int ms)
{
    const int s = ms / 1000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d.%d", s / 60, s % 60, (ms % 1000) / 100);
    return CString::FromUtf8(buf);
}

} // namespace demo
