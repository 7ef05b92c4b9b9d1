#include "demo/player/AviMedia.h"

#include "demo/player/Codecs.h"

#include <algorithm>

namespace player {

namespace {

// A stream format bounded by what any real header needs, extradata included.
constexpr int kMaxFormat = 1 << 16;

std::vector<BYTE> Format(mmAviParser& parser, bool video)
{
    std::vector<BYTE> buf(kMaxFormat);
    int copied = 0;
    const int r = video ? parser.GetAVIVideoFormat(buf.data(), kMaxFormat, &copied, 0)
                        : parser.GetAVIAudioFormat(buf.data(), kMaxFormat, &copied, 0);
    buf.resize(r < 0 ? 0 : static_cast<size_t>(std::clamp(copied, 0, kMaxFormat)));
    return buf;
}

std::int64_t MsOf(std::int64_t units, std::uint32_t scale, std::uint32_t rate)
{
    return rate ? units * 1000 * scale / rate : 0;
}

} // namespace

bool AviMedia::Open(const std::string& path)
{
    m_problem.clear();
    m_video.clear();
    m_audio.clear();
    m_videoInfo = {};
    m_audioInfo = {};
    m_parser.m_bTolerant = true;
    const int opened = m_parser.OpenAVI(CString::FromUtf8(path));
    if (opened == AVIPARSER_E_FILEOPEN) {
        m_problem = "the file cannot be opened";
        return false;
    }
    if (opened != 0) {
        m_problem = "not an AVI file this reader understands";
        return false;
    }
    int videoStream = -1, audioStream = -1;
    if (m_parser.GetAVIVideoStreamCount() > 0) {
        AVISTREAMINFOW raw{};
        videoStream = m_parser.GetAVIVideoStreamInfo(&raw, 0);
        const AVISTREAMINFOW info = avi::InfoFromRawHeader(raw);
        const std::vector<BYTE> f = Format(m_parser, true);
        if (f.size() >= 40) {
            VideoStreamInfo& v = m_videoInfo;
            v.handler = info.fccHandler;
            v.scale = info.dwScale ? info.dwScale : 1;
            v.rate = info.dwRate ? info.dwRate : 25;
            v.width = static_cast<int>(avi::ReadLE32(f.data() + 4));
            v.height = static_cast<int>(avi::ReadLE32(f.data() + 8));
            v.bitCount = avi::ReadLE16(f.data() + 14);
            v.compression = avi::ReadLE32(f.data() + 16);
            const DWORD headerSize = std::clamp<DWORD>(avi::ReadLE32(f.data()), 40, f.size());
            v.extradata.assign(f.begin() + headerSize, f.end());
            v.codecId = VideoCodecOf(v.compression, v.handler);
        }
    }
    if (m_parser.GetAVIAudioStreamCount() > 0) {
        AVISTREAMINFOW raw{};
        audioStream = m_parser.GetAVIAudioStreamInfo(&raw, 0);
        const AVISTREAMINFOW info = avi::InfoFromRawHeader(raw);
        const std::vector<BYTE> f = Format(m_parser, false);
        if (f.size() >= 16) {
            AudioStreamInfo& a = m_audioInfo;
            a.scale = info.dwScale ? info.dwScale : 1;
            a.rate = info.dwRate ? info.dwRate : 1;
            a.sampleSize = info.dwSampleSize;
            a.formatTag = avi::ReadLE16(f.data());
            a.channels = avi::ReadLE16(f.data() + 2);
            a.sampleRate = static_cast<int>(avi::ReadLE32(f.data() + 4));
            a.bytesPerSecond = static_cast<int>(avi::ReadLE32(f.data() + 8));
            a.blockAlign = avi::ReadLE16(f.data() + 12);
            a.bitsPerSample = avi::ReadLE16(f.data() + 14);
            const size_t extra =
                f.size() >= 18 ? std::min<size_t>(avi::ReadLE16(f.data() + 16), f.size() - 18) : 0;
            if (extra)
                a.extradata.assign(f.begin() + 18, f.begin() + 18 + extra);
            const int sub = a.formatTag == 0xFFFE && extra >= 8 ? avi::ReadLE16(f.data() + 24) : 0;
            a.codecId = AudioCodecOf(static_cast<std::uint16_t>(a.formatTag),
                                     static_cast<std::uint16_t>(sub), a.bitsPerSample);
        }
    }
    std::int64_t videoAt = 0, audioAt = 0;
    try {
        _TAG_AVI_PACKET_INFO p{};
        for (int n = 0;; ++n) {
            const int r = m_parser.GetAVIReadData(n, &p);
            if (r == AVIPARSER_E_NOPACKET)
                break;
            if (r != 0)
                continue; // a packet cut short by the file's end is passed over
            const bool key = (p.dwFlags & AVIIF_KEYFRAME) != 0;
            if (p.nStreamNo == videoStream && m_videoInfo.codecId) {
                m_video.push_back({n, p.nDataSize, key, videoAt++});
            } else if (p.nStreamNo == audioStream && m_audioInfo.codecId) {
                m_audio.push_back({n, p.nDataSize, true, audioAt});
                const std::uint32_t unit = m_audioInfo.sampleSize;
                audioAt += unit ? p.nDataSize / unit : 1;
            }
        }
    } catch (...) {
        // An index entry naming a stream the file lacks: the packets found so far play.
    }
    if (m_video.empty() && m_audio.empty()) {
        m_problem = m_parser.GetAVIVideoStreamCount() + m_parser.GetAVIAudioStreamCount() <= 0
                        ? "no video or audio stream"
                    : !m_videoInfo.codecId && !m_audioInfo.codecId
                        ? "no stream in a format this player decodes"
                        : "no packets";
        m_parser.CloseAVI();
        return false;
    }
    return true;
}

std::int64_t AviMedia::MsOfFrame(std::int64_t k) const
{
    return MsOf(k, m_videoInfo.scale, m_videoInfo.rate);
}

int AviMedia::FrameAtMs(std::int64_t ms) const
{
    if (m_video.empty())
        return 0;
    const std::int64_t k =
        ms <= 0 ? 0 : ms * m_videoInfo.rate / (1000 * static_cast<std::int64_t>(m_videoInfo.scale));
    return static_cast<int>(
        std::clamp<std::int64_t>(k, 0, static_cast<std::int64_t>(m_video.size()) - 1));
}

std::int64_t AviMedia::AudioMs(const StreamPacket& p) const
{
    return MsOf(p.start, m_audioInfo.scale, m_audioInfo.rate);
}

std::int64_t AviMedia::LengthMs() const
{
    std::int64_t video = MsOfFrame(static_cast<std::int64_t>(m_video.size())), audio = 0;
    if (!m_audio.empty()) {
        const StreamPacket& last = m_audio.back();
        const std::uint32_t unit = m_audioInfo.sampleSize;
        audio =
            MsOf(last.start + (unit ? last.size / unit : 1), m_audioInfo.scale, m_audioInfo.rate);
    }
    return std::max(video, audio);
}

int AviMedia::KeyFrameAtOrBefore(int k) const
{
    for (int i = std::min(k, static_cast<int>(m_video.size()) - 1); i > 0; --i)
        if (m_video[static_cast<size_t>(i)].key)
            return i;
    return 0;
}

std::string AviMedia::Describe() const
{
    std::string s;
    if (HasVideo()) {
        const VideoStreamInfo& v = m_videoInfo;
        s = "video " + std::to_string(v.width) + "x" + std::to_string(std::abs(v.height)) + " " +
            (v.compression == 0 ? "RGB" : CodecName(v.codecId));
    }
    if (HasAudio()) {
        s += s.empty() ? "audio " : ", audio ";
        s += CodecName(m_audioInfo.codecId);
    }
    return s;
}

const std::uint8_t* AviMedia::Read(const StreamPacket& p)
{
    _TAG_AVI_PACKET_INFO info{};
    try {
        if (m_parser.GetAVIReadData(p.number, &info) != 0 || info.nDataSize != p.size)
            return nullptr;
    } catch (...) {
        return nullptr;
    }
    static const std::uint8_t kEmpty = 0;
    return info.pData ? info.pData : &kEmpty;
}

} // namespace player
