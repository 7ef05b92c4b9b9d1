// Our reader and writer against a real peer. Files that ffmpeg writes with its default options
// are refused by the default walk and read by the tolerant walk with the packets ffprobe sees;
// `skinkit-avi copy --tolerant` turns them into files that ffprobe reads with the same packets
// and stream formats; a file our writer makes from scratch is read by ffprobe as written.
#include "avi/AviWriter.h"

#include "AviPeer.h"

using namespace avitest;
using nlohmann::json;

namespace {

class Peer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (Ffmpeg().empty() || Ffprobe().empty())
            GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
    }
    TempDir m_dir;
};

const char* kVideo = "-f lavfi -i testsrc=size=64x48:rate=10 ";
const char* kVideo2 = "-f lavfi -i testsrc2=size=48x32:rate=15 ";
const char* kAudio = "-f lavfi -i sine=frequency=440:sample_rate=8000 ";

enum class Output { File, Pipe, CutInTheMiddle };

struct PeerFile
{
    const char* name;
    std::string args; // inputs and the few options that make the case; the rest is default
    Output output;
};

void PrintTo(const PeerFile& f, std::ostream* os)
{
    *os << f.name;
}

std::vector<PeerFile> PeerFiles()
{
    const std::string av = std::string(kVideo) + kAudio;
    return {
        {"VideoAndAudio", av + "-t 1", Output::File},
        {"TwoVideos", std::string(kVideo) + kVideo2 + "-map 0 -map 1 -t 1", Output::File},
        {"Mjpeg", std::string(kVideo) + "-t 1 -c:v mjpeg", Output::File},
        {"Mpeg4WithBFrames", av + "-t 2 -bf 2 -g 6", Output::File},
        {"TitleInMetadata", av + "-t 1 -metadata title=Skinkit", Output::File},
        {"WrittenToAPipe", av + "-t 2 -bf 2 -g 6", Output::Pipe},
        {"CutInTheMiddle", av + "-t 2 -g 6", Output::CutInTheMiddle},
    };
}

class FfmpegDefault : public Peer, public ::testing::WithParamInterface<PeerFile>
{
protected:
    std::string Make()
    {
        const PeerFile& f = GetParam();
        const std::string out = m_dir.File("peer.avi");
        const std::string ffmpeg = Quote(Ffmpeg()) + " -v error -y " + f.args;
        int status = 0;
        const std::string log =
            f.output == Output::Pipe
                ? RunCommand(ffmpeg + " -f avi pipe: > " + Quote(out) + " 2>&1", &status)
                : RunCommand(ffmpeg + " " + Quote(out) + " 2>&1", &status);
        EXPECT_EQ(status, 0) << log;
        if (f.output == Output::CutInTheMiddle) {
            const Bytes b = ReadAll(out);
            EXPECT_EQ(truncate(out.c_str(), static_cast<off_t>(b.size() * 6 / 10)), 0);
        }
        return out;
    }
};

TEST_P(FfmpegDefault, TolerantWalkReadsThePacketsFfprobeSees)
{
    const std::string file = Make();
    int rc = 0;
    ReaderPackets(file, false, &rc);
    EXPECT_EQ(rc, -1) << "the default walk refuses it";

    std::vector<Pkt> expected = ProbePackets(file);
    const std::vector<Pkt> got = ReaderPackets(file, true, &rc);
    ASSERT_EQ(rc, 0);
    ASSERT_GT(got.size(), 4u);
    // Cut short, the last chunk is not whole: ffprobe hands out what is there, we stop before.
    if (GetParam().output == Output::CutInTheMiddle && expected.size() == got.size() + 1)
        expected.pop_back();
    ExpectSamePackets(got, expected);
    if (std::string(GetParam().name) == "Mpeg4WithBFrames" || GetParam().output == Output::Pipe) {
        EXPECT_TRUE(std::any_of(got.begin(), got.end(), [](const Pkt& p) { return !p.key; }));
    }
}

// `skinkit-avi copy --tolerant` makes a file the default walk reads, and ffprobe finds in it
// the packets and the stream formats of the original.
TEST_P(FfmpegDefault, ToleratedCopyIsReadByFfprobeAsTheOriginal)
{
    const std::string file = Make();
    const std::string copy = m_dir.File("copy.avi");
    int status = 0;
    const std::string log = RunCommand(Quote(SKINKIT_AVI_TOOL) + " copy --tolerant " + Quote(file) +
                                           " " + Quote(copy) + " 2>&1",
                                       &status);
    ASSERT_EQ(status, 0) << log;
    int rc = 0;
    const std::vector<Pkt> ours = ReaderPackets(copy, false, &rc);
    EXPECT_EQ(rc, 0);
    ExpectSamePackets(ProbePackets(copy), ReaderPackets(file, true));
    EXPECT_EQ(ours, ReaderPackets(file, true));
    const json a = ProbeStreams(file), b = ProbeStreams(copy);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        for (const char* key :
             {"codec_type", "codec_name", "codec_tag", "r_frame_rate", "time_base", "width",
              "height", "pix_fmt", "sample_rate", "channels", "sample_fmt", "bits_per_sample"})
            EXPECT_EQ(a[i].value(key, json()), b[i].value(key, json()))
                << "stream " << i << " " << key;
}

INSTANTIATE_TEST_SUITE_P(Files, FfmpegDefault, ::testing::ValuesIn(PeerFiles()),
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
            // delta frames are covered by the mpeg4 copies above.
            ASSERT_EQ(w.WritePacket(streamtypeVIDEO, frame.data(), static_cast<int>(frame.size()),
                                    0, AVIIF_KEYFRAME),
                      0);
            written.push_back(
                {0, static_cast<long>(frame.size()), true, Md5(frame.data(), frame.size())});
            Bytes sound = Pattern(640, static_cast<std::uint8_t>(100 + f));
            ASSERT_EQ(w.WritePacket(streamtypeAUDIO, sound.data(), 640, 0, AVIIF_KEYFRAME), 0);
            written.push_back({1, 640, true, Md5(sound.data(), sound.size())});
        }
        w.CloseAVI();
        ASSERT_EQ(w.GetAVICloseResult(), 0);
    }
    EXPECT_EQ(ProbePackets(file), written);
    const json s = ProbeStreams(file);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].value("codec_name", ""), "rawvideo");
    EXPECT_EQ(s[0].value("width", 0), 32);
    EXPECT_EQ(s[0].value("height", 0), 24);
    EXPECT_EQ(s[0].value("pix_fmt", ""), "bgr24");
    EXPECT_EQ(s[0].value("r_frame_rate", ""), "25/1");
    EXPECT_EQ(s[0].value("nb_frames", ""), "10");
    EXPECT_EQ(s[1].value("codec_name", ""), "pcm_s16le");
    EXPECT_EQ(s[1].value("sample_rate", ""), "8000");
    EXPECT_EQ(s[1].value("time_base", ""), "1/8000");
    EXPECT_EQ(s[1].value("nb_frames", ""), "3200"); // dwLength: 6400 bytes of 2-byte samples
}

} // namespace
