#include "demo/host/SampleMedia.h"

#include "avi/AviWriter.h"
#include "platform/base/Stream.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
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

bool AviClip::Open(const std::string& path)
{
    m_open = false;
    m_frames.clear();
    if (m_parser.OpenAVI(CString::FromUtf8(path)) != 0 || m_parser.GetAVIVideoStreamCount() < 1)
        return false;
    AVISTREAMINFOW info{};
    m_parser.GetAVIVideoStreamInfo(&info, 0);
    m_scale = info.dwScale ? info.dwScale : 1;
    m_rate = info.dwRate ? info.dwRate : 25;
    BYTE bih[40] = {};
    int copied = 0;
    if (m_parser.GetAVIVideoFormat(bih, sizeof bih, &copied, 0) < 0 || copied < 20)
        return false;
    m_width = static_cast<int>(avi::ReadLE32(bih + 4));
    m_height = static_cast<int>(avi::ReadLE32(bih + 8));
    m_bitCount = avi::ReadLE16(bih + 14);
    m_compression = avi::ReadLE32(bih + 16);
    m_audioStreams = std::max(0, m_parser.GetAVIAudioStreamCount());
    try {
        _TAG_AVI_PACKET_INFO p{};
        for (int n = 0; m_parser.GetAVIReadData(n, &p) != AVIPARSER_E_NOPACKET; ++n)
            if (p.fccType == streamtypeVIDEO && p.nTypeIndex == 0)
                m_frames.push_back(n);
    } catch (...) {
        // An index entry naming a stream the file lacks: the frames found so far play.
    }
    m_open = !m_frames.empty();
    return m_open;
}

int AviClip::FrameMs() const
{
    return std::max(1, static_cast<int>(1000.0 * m_scale / m_rate));
}

int AviClip::LengthMs() const
{
    return MsOfFrame(FrameCount());
}

int AviClip::MsOfFrame(int k) const
{
    return static_cast<int>(1000.0 * m_scale * k / m_rate);
}

int AviClip::FrameAtMs(int ms) const
{
    const int k = static_cast<int>(static_cast<double>(ms) * m_rate / (1000.0 * m_scale) + 1e-9);
    return std::clamp(k, 0, std::max(FrameCount() - 1, 0));
}

CString AviClip::Streams() const
{
    const char* codec = m_compression == kMjpg ? "MJPG" : m_compression == kBiRgb ? "RGB" : "?";
    std::string s =
        "video " + std::to_string(m_width) + "x" + std::to_string(std::abs(m_height)) + " " + codec;
    if (m_audioStreams > 0)
        s += ", audio";
    return CString::FromUtf8(s);
}

std::unique_ptr<Gdiplus::Bitmap> AviClip::Frame(int k)
{
    if (!m_open || k < 0 || k >= FrameCount())
        return nullptr;
    _TAG_AVI_PACKET_INFO p{};
    try {
        if (m_parser.GetAVIReadData(m_frames[static_cast<size_t>(k)], &p) != 0)
            return nullptr;
    } catch (...) {
        return nullptr;
    }
    if (m_compression == kMjpg) {
        IStream* stream = SHCreateMemStream(p.pData, static_cast<UINT>(p.nDataSize));
        auto b = std::make_unique<Gdiplus::Bitmap>(stream);
        if (stream)
            stream->Release();
        return b->GetLastStatus() == Gdiplus::Ok ? std::move(b) : nullptr;
    }
    if (m_compression != kBiRgb || (m_bitCount != 24 && m_bitCount != 32) || m_width <= 0 ||
        m_width > 8192 || m_height == 0 || std::abs(m_height) > 8192)
        return nullptr;
    const int h = std::abs(m_height);
    const int bpp = m_bitCount / 8;
    const int stride = (m_width * bpp + 3) & ~3;
    if (p.nDataSize < stride * h)
        return nullptr;
    std::vector<DWORD> argb(static_cast<size_t>(m_width) * h);
    for (int y = 0; y < h; ++y) {
        // Positive heights store the bottom row first.
        const BYTE* row = p.pData + static_cast<size_t>(m_height > 0 ? h - 1 - y : y) * stride;
        for (int x = 0; x < m_width; ++x) {
            const BYTE* s = row + x * bpp;
            argb[static_cast<size_t>(y) * m_width + x] =
                0xFF000000u | (static_cast<DWORD>(s[2]) << 16) | (s[1] << 8) | s[0];
        }
    }
    return std::make_unique<Gdiplus::Bitmap>(m_width, h, m_width * 4, Gdiplus::PixelFormat32bppARGB,
                                             reinterpret_cast<BYTE*>(argb.data()));
}

CString FormatDuration(int ms)
{
    const int s = ms / 1000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d.%d", s / 60, s % 60, (ms % 1000) / 100);
    return CString::FromUtf8(buf);
}

} // namespace demo
