// Our reader and writer against a real peer. Files that ffmpeg writes with its default options
// are refused by the default walk and read by the tolerant walk with the packets ffprobe sees;
// `skinkit-avi copy --tolerant` turns them into files that ffprobe reads with the same packets
// and stream formats; a file our writer makes from scratch is read by ffprobe as written.
#include "avi/AviWriter.h"

#include "AviPeer.h"

using namespace avitest;
using nlohmann::json;

namespace {

enum class Output { File, Pipe, CutInTheMiddle };

struct PeerFile
{
    const char* name;
    std::string args; // inputs and the few options that make the case; the rest is default
    Output output = Output::File;
    bool deltaFrames = false;
};

class FfmpegDefault : public Peer, public ::testing::WithParamInterface<PeerFile>
{
};

TEST_P(FfmpegDefault, TolerantWalkAndItsCopyMatchFfprobe)
{
    const PeerFile& f = GetParam();
    const std::string file = m_dir.File("peer.avi");
    ASSERT_TRUE(
        Ffmpeg(f.args, f.output == Output::Pipe ? "-f avi pipe: > " + Quote(file) : Quote(file)));
    if (f.output == Output::CutInTheMiddle) {
        ASSERT_EQ(truncate(file.c_str(), static_cast<off_t>(ReadAll(file).size() * 6 / 10)), 0);
    }
    const std::vector<Pkt> got =
        ExpectReadAsFfprobeReadsIt(file, f.output == Output::CutInTheMiddle);
    ASSERT_GT(got.size(), 4u);
    if (f.deltaFrames) {
        EXPECT_TRUE(std::any_of(got.begin(), got.end(), [](const Pkt& p) { return !p.key; }));
    }

    // The tolerated copy: read by the default walk, and by ffprobe as the original.
    const std::string copy = m_dir.File("copy.avi");
    int status = 0;
    const std::string log = RunCommand(Quote(SKINKIT_AVI_TOOL) + " copy --tolerant " + Quote(file) +
                                           " " + Quote(copy) + " 2>&1",
                                       &status);
    ASSERT_EQ(status, 0) << log;
    EXPECT_EQ(ReaderPackets(copy, false), got);
    ExpectSamePackets(ProbePackets(copy), got);
    const json a = ProbeStreams(file), b = ProbeStreams(copy);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        for (const char* key :
             {"codec_type", "codec_name", "codec_tag", "r_frame_rate", "time_base", "width",
              "height", "pix_fmt", "sample_rate", "channels", "sample_fmt", "bits_per_sample"})
            EXPECT_EQ(a[i].value(key, json()), b[i].value(key, json()))
                << "stream " << i << " " << key;
}

const std::string kVideo = "-f lavfi -i testsrc=size=64x48:rate=10 ";
const std::string kAudio = "-f lavfi -i sine=frequency=440:sample_rate=8000 ";

INSTANTIATE_TEST_SUITE_P(
    Files, FfmpegDefault,
    ::testing::Values(
        PeerFile{"VideoAndAudio", kVideo + kAudio + "-t 1"},
        PeerFile{"TwoVideos",
                 kVideo + "-f lavfi -i testsrc2=size=48x32:rate=15 -map 0 -map 1 -t 1"},
        PeerFile{"Mjpeg", kVideo + "-t 1 -c:v mjpeg"},
        PeerFile{"Mpeg4WithBFrames", kVideo + kAudio + "-t 2 -bf 2 -g 6", Output::File, true},
        PeerFile{"TitleInMetadata", kVideo + kAudio + "-t 1 -metadata title=Skinkit"},
        PeerFile{"WrittenToAPipe", kVideo + kAudio + "-t 2 -bf 2 -g 6", Output::Pipe, true},
        PeerFile{"CutInTheMiddle", kVideo + kAudio + "-t 2 -g 6", Output::CutInTheMiddle}),
    [](const auto& i) { return std::string(i.param.name); });

// A file our writer makes from scratch, as ffprobe reads it.
TEST_F(Peer, FfprobeReadsWhatOurWriterWrote)
{
    const std::string file = m_dir.File("ours.avi");
    std::vector<Pkt> written;
    mmAviWriter w;
    ASSERT_EQ(w.OpenAVI(CString::FromUtf8(file)), 0);
    Bytes bih = BitmapInfo(32, 24), wfx = WaveFormat();
    ASSERT_EQ(w.OpenAVIVideoStream(StreamInfo(streamtypeVIDEO, 25), bih.data(), 40, 0), 0);
    ASSERT_EQ(w.OpenAVIAudioStream(StreamInfo(streamtypeAUDIO, 16000, 2, 2), wfx.data(), 16, 0), 0);
    for (int f = 0; f < 10; ++f) {
        // ffprobe marks every packet of an intra-only codec such as rawvideo a key frame;
        // delta frames are covered by the mpeg4 copies above.
        Bytes frame = Pattern(32 * 24 * 3, static_cast<std::uint8_t>(f));
        Bytes sound = Pattern(640, static_cast<std::uint8_t>(100 + f));
        ASSERT_EQ(w.WritePacket(streamtypeVIDEO, frame.data(), 2304, 0, AVIIF_KEYFRAME), 0);
        ASSERT_EQ(w.WritePacket(streamtypeAUDIO, sound.data(), 640, 0, AVIIF_KEYFRAME), 0);
        written.push_back({0, 2304, true, Md5(frame.data(), frame.size())});
        written.push_back({1, 640, true, Md5(sound.data(), sound.size())});
    }
    w.CloseAVI();
    ASSERT_EQ(w.GetAVICloseResult(), 0);
    EXPECT_EQ(ProbePackets(file), written);
    const json s = ProbeStreams(file);
    ASSERT_EQ(s.size(), 2u);
    // nb_frames is dwLength: 6400 bytes of 2-byte samples for the sound.
    const json want = json::parse(R"([
        {"codec_name": "rawvideo", "width": 32, "height": 24, "pix_fmt": "bgr24",
         "r_frame_rate": "25/1", "nb_frames": "10"},
        {"codec_name": "pcm_s16le", "sample_rate": "8000", "time_base": "1/8000",
         "nb_frames": "3200"}])");
    for (size_t i = 0; i < 2; ++i)
        for (const auto& [key, value] : want[i].items())
            EXPECT_EQ(s[i].value(key, json()), value) << "stream " << i << " " << key;
}

} // namespace
