// Our reader and writer against a real peer: files that ffmpeg writes are read by our reader
// with the packets ffprobe sees, and files that our writer (and `skinkit-avi copy`) makes are
// read by ffprobe with the packets, types, rates and formats that went in.
#include "avi/AviParser.h"
#include "avi/AviWriter.h"

#include "AviTestFiles.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

using namespace avitest;
using nlohmann::json;

namespace {

std::string FindProgram(const char* configured, const char* name)
{
    if (configured[0] && access(configured, X_OK) == 0)
        return configured;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return "";
}

const std::string& Ffmpeg()
{
    static const std::string p = FindProgram(SKINKIT_FFMPEG, "ffmpeg");
    return p;
}
const std::string& Ffprobe()
{
    static const std::string p = FindProgram(SKINKIT_FFPROBE, "ffprobe");
    return p;
}

std::string Md5(const BYTE* data, size_t n)
{
    static const BYTE none = 0;
    gchar* hex = g_compute_checksum_for_data(G_CHECKSUM_MD5, n ? data : &none, n);
    std::string s = hex;
    g_free(hex);
    return s;
}

struct Pkt
{
    int stream;
    long size;
    bool key;
    std::string md5;
    bool operator==(const Pkt&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Pkt& p)
{
    return o << "{stream " << p.stream << ", " << p.size << " bytes, key " << p.key << ", " << p.md5
             << "}";
}

json Probe(const std::string& file, const char* what)
{
    int status = 0;
    const std::string out =
        RunCommand(Quote(Ffprobe()) + " -v error " + what + " -of json " + Quote(file), &status);
    EXPECT_EQ(status, 0) << out;
    return json::parse(out, nullptr, false);
}

std::vector<Pkt> ProbePackets(const std::string& file)
{
    std::vector<Pkt> all;
    const json j = Probe(file, "-show_packets -show_data_hash md5");
    for (const json& p : j.value("packets", json::array())) {
        std::string hash = p.value("data_hash", "");
        if (hash.rfind("MD5:", 0) == 0)
            hash = hash.substr(4);
        all.push_back({p.value("stream_index", -1), std::stol(p.value("size", "-1")),
                       p.value("flags", "").find('K') != std::string::npos, hash});
    }
    return all;
}

json ProbeStreams(const std::string& file)
{
    return Probe(file, "-show_streams").value("streams", json::array());
}

std::vector<Pkt> ReaderPackets(const std::string& file, int* counts = nullptr)
{
    mmAviParser reader;
    std::vector<Pkt> all;
    EXPECT_EQ(reader.OpenAVI(CString::FromUtf8(file)), 0);
    if (counts) {
        counts[0] = reader.GetAVIVideoStreamCount();
        counts[1] = reader.GetAVIAudioStreamCount();
        counts[2] = reader.GetAVIMetaStreamCount();
    }
    _TAG_AVI_PACKET_INFO p{};
    for (int k = 0; reader.GetAVIReadData(k, &p) == 0; ++k)
        all.push_back({p.nStreamNo, p.nDataSize, (p.dwFlags & AVIIF_KEYFRAME) != 0,
                       Md5(p.pData, static_cast<size_t>(p.nDataSize))});
    reader.CloseAVI();
    return all;
}

class Peer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (Ffmpeg().empty() || Ffprobe().empty())
            GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
    }
    // Runs ffmpeg with `args` between the common options and the output file.
    std::string Make(const std::string& name, const std::string& args)
    {
        const std::string out = m_dir.File(name);
        int status = 0;
        const std::string log =
            RunCommand(Quote(Ffmpeg()) + " -v error -y " + args +
                           " -fflags +bitexact -map_metadata -1 " + Quote(out) + " 2>&1",
                       &status);
        EXPECT_EQ(status, 0) << log;
        return out;
    }
    TempDir m_dir;
};

const char* kVideo = "-f lavfi -i testsrc=size=64x48:rate=10 ";
const char* kVideo2 = "-f lavfi -i testsrc2=size=48x32:rate=15 ";
const char* kAudio = "-f lavfi -i sine=frequency=440:sample_rate=8000 ";

struct PeerFile
{
    const char* name;
    std::string args;
    int video, audio;
};

void PrintTo(const PeerFile& f, std::ostream* os)
{
    *os << f.name;
}

std::vector<PeerFile> PeerFiles()
{
    return {
        {"RawVideoAndPcm",
         std::string(kVideo) + kAudio + "-t 1 -c:v rawvideo -pix_fmt bgr24 -c:a pcm_s16le", 1, 1},
        {"MjpegOnly", std::string(kVideo) + "-t 1 -c:v mjpeg -pix_fmt yuvj420p", 1, 0},
        {"PcmOnly", std::string(kAudio) + "-t 1 -c:a pcm_s16le", 0, 1},
        {"StereoPcm24", "-f lavfi -i sine=sample_rate=11025 -ac 2 -t 0.5 -c:a pcm_s24le", 0, 1},
        {"TwoVideoStreams",
         std::string(kVideo) + kVideo2 +
             "-map 0 -map 1 -t 1 -c:v:0 rawvideo -pix_fmt bgr24 -c:v:1 mjpeg",
         2, 0},
        {"Mpeg4WithDeltaFrames",
         std::string(kVideo) + kAudio + "-t 1 -c:v mpeg4 -g 4 -bf 0 -c:a pcm_u8", 1, 1},
    };
}

class PeerWritten : public Peer, public ::testing::WithParamInterface<PeerFile>
{
};

TEST_P(PeerWritten, ReaderSeesThePacketsFfprobeSees)
{
    const std::string file = Make("peer.avi", GetParam().args);
    const std::vector<Pkt> expected = ProbePackets(file);
    ASSERT_FALSE(expected.empty());
    int counts[3] = {};
    const std::vector<Pkt> got = ReaderPackets(file, counts);
    EXPECT_EQ(counts[0], GetParam().video);
    EXPECT_EQ(counts[1], GetParam().audio);
    EXPECT_EQ(counts[2], 0);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], expected[i]) << "packet " << i;
    if (std::string(GetParam().name) == "Mpeg4WithDeltaFrames") {
        EXPECT_TRUE(std::any_of(got.begin(), got.end(), [](const Pkt& p) { return !p.key; }));
    }
}

// `skinkit-avi copy` rewrites the file with our writer: ffprobe sees the same packets, kinds,
// codecs, rates and picture or sound formats in the copy.
TEST_P(PeerWritten, CopyIsReadByFfprobeAsTheOriginal)
{
    const std::string file = Make("peer.avi", GetParam().args);
    const std::string copy = m_dir.File("copy.avi");
    int status = 0;
    const std::string log = RunCommand(
        Quote(SKINKIT_AVI_TOOL) + " copy " + Quote(file) + " " + Quote(copy) + " 2>&1", &status);
    ASSERT_EQ(status, 0) << log;
    EXPECT_EQ(ProbePackets(copy), ProbePackets(file));
    const json a = ProbeStreams(file), b = ProbeStreams(copy);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        for (const char* key : {"codec_type", "codec_name", "codec_tag", "r_frame_rate",
                                "time_base", "width", "height", "pix_fmt", "sample_rate",
                                "channels", "sample_fmt", "bits_per_sample", "duration_ts"})
            EXPECT_EQ(a[i].value(key, json()), b[i].value(key, json()))
                << "stream " << i << " " << key;
}

INSTANTIATE_TEST_SUITE_P(Ffmpeg, PeerWritten, ::testing::ValuesIn(PeerFiles()),
                         [](const auto& i) { return std::string(i.param.name); });

// A file our writer makes from scratch, as ffprobe reads it.
TEST_F(Peer, FfprobeReadsWhatOurWriterWrote)
{
    const std::string file = m_dir.File("ours.avi");
    std::vector<Pkt> written;
    {
        mmAviWriter w;
        ASSERT_EQ(w.OpenAVI(CString::FromUtf8(file)), 0);
        AVISTREAMINFOW v{};
        v.fccType = streamtypeVIDEO;
        v.dwScale = 1;
        v.dwRate = 25;
        v.rcFrame = {0, 0, 32, 24};
        Bytes bih;
        Put32(bih, 40);
        Put32(bih, 32);
        Put32(bih, 24);
        Put32(bih, 1 | (24 << 16));
        Put32(bih, 0);
        Put32(bih, 32 * 24 * 3);
        bih.resize(40, 0);
        ASSERT_EQ(w.OpenAVIVideoStream(v, bih.data(), 40, 0), 0);
        AVISTREAMINFOW a{};
        a.fccType = streamtypeAUDIO;
        a.dwScale = 2;
        a.dwRate = 16000;
        a.dwSampleSize = 2;
        const std::uint8_t wfx[16] = {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0};
        ASSERT_EQ(w.OpenAVIAudioStream(a, const_cast<std::uint8_t*>(wfx), 16, 0), 0);
        for (int f = 0; f < 10; ++f) {
            Bytes frame = Pattern(32 * 24 * 3, static_cast<std::uint8_t>(f));
            // ffprobe marks every packet of an intra-only codec such as rawvideo a key frame;
            // delta frames are covered by the mpeg4 copy above.
            const DWORD flags = AVIIF_KEYFRAME;
            ASSERT_EQ(w.WritePacket(streamtypeVIDEO, frame.data(), static_cast<int>(frame.size()),
                                    0, flags),
                      0);
            written.push_back(
                {0, static_cast<long>(frame.size()), flags != 0, Md5(frame.data(), frame.size())});
            Bytes sound = Pattern(640, static_cast<std::uint8_t>(100 + f));
            ASSERT_EQ(w.WritePacket(streamtypeAUDIO, sound.data(), 640, 0, AVIIF_KEYFRAME), 0);
            written.push_back({1, 640, true, Md5(sound.data(), sound.size())});
        }
        w.CloseAVI();
    }
    EXPECT_EQ(ProbePackets(file), written);
    const json s = ProbeStreams(file);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].value("codec_type", ""), "video");
    EXPECT_EQ(s[0].value("codec_name", ""), "rawvideo");
    EXPECT_EQ(s[0].value("width", 0), 32);
    EXPECT_EQ(s[0].value("height", 0), 24);
    EXPECT_EQ(s[0].value("pix_fmt", ""), "bgr24");
    EXPECT_EQ(s[0].value("r_frame_rate", ""), "25/1");
    EXPECT_EQ(s[0].value("nb_frames", ""), "10");
    EXPECT_EQ(s[1].value("codec_type", ""), "audio");
    EXPECT_EQ(s[1].value("codec_name", ""), "pcm_s16le");
    EXPECT_EQ(s[1].value("sample_rate", ""), "8000");
    EXPECT_EQ(s[1].value("channels", 0), 1);
    EXPECT_EQ(s[1].value("time_base", ""), "1/8000");
    EXPECT_EQ(s[1].value("nb_frames", ""), "3200"); // dwLength: 6400 bytes of 2-byte samples
}

} // namespace
