// The player's decoding against a real peer: short clips written by the ffmpeg program, read
// with our AVI reader, decoded by our glue, and each picture's hash compared with what
// `ffmpeg -f framemd5` makes of the same stream in the same pixel format.
#include "demo/player/Audio.h"
#include "demo/player/AviMedia.h"
#include "demo/player/Codecs.h"
#include "demo/player/Playback.h"
#include "demo/player/VideoDecoder.h"
#include "tests/TestKit.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/md5.h>
}

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

bool HaveFfmpeg()
{
    int status = -1;
    testkit::RunCommand("ffmpeg -version >/dev/null 2>&1", &status);
    return status == 0;
}

// A two-second 64x48 test picture at 10 frames a second, encoded as `codec` says.
std::string MakeClip(const testkit::TempDir& tmp, const std::string& name, const std::string& codec)
{
    const std::string file = tmp.File(name + ".avi");
    int status = -1;
    std::string err;
    testkit::RunCommand("ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=10:duration=2 " +
                            codec + " " + testkit::Quote(file),
                        &status, &err);
    EXPECT_EQ(status, 0) << err;
    return file;
}

// ffmpeg's hashes of the first video stream's pictures, in order; `pixfmt` converts first.
std::vector<std::string> FfmpegHashes(const std::string& file, const std::string& pixfmt = "")
{
    const std::string out = testkit::RunCommand(
        "ffmpeg -v error -i " + testkit::Quote(file) + " -map 0:v:0 -fps_mode passthrough " +
        (pixfmt.empty() ? "" : "-pix_fmt " + pixfmt + " ") + "-f framemd5 -");
    std::vector<std::string> hashes;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#')
            hashes.push_back(line.substr(line.find_last_of(", ") + 1));
    return hashes;
}

std::string Md5(const std::vector<std::uint8_t>& bytes)
{
    std::uint8_t sum[16];
    av_md5_sum(sum, bytes.data(), bytes.size());
    char hex[33];
    for (int i = 0; i < 16; ++i)
        std::snprintf(hex + 2 * i, 3, "%02x", sum[i]);
    return hex;
}

// Our glue's hashes: every packet decoded in order, then the decoder drained.
std::vector<std::string> OurHashes(player::AviMedia& media)
{
    player::VideoDecoder dec;
    std::string why;
    EXPECT_TRUE(dec.Open(media.Video(), &why)) << why;
    std::vector<std::string> hashes;
    const auto take = [&] {
        while (const AVFrame* f = dec.Receive(nullptr))
            hashes.push_back(Md5(player::VideoDecoder::Packed(f)));
    };
    for (const player::StreamPacket& p : media.VideoPackets()) {
        const std::uint8_t* data = media.Read(p);
        EXPECT_TRUE(data);
        dec.Send(data, p.size, p.start);
        take();
    }
    dec.Drain();
    take();
    return hashes;
}

TEST(PlayerDecode, FramesHashAsFfmpegDecodesThem)
{
    if (!HaveFfmpeg())
        GTEST_SKIP() << "no ffmpeg program";
    const testkit::TempDir tmp{"skinkit_decode"};
    const struct
    {
        const char* name;
        const char* codec; // ffmpeg's encoder options
        const char* described;
    } cases[] = {
        {"mpeg4", "-c:v mpeg4 -g 5 -bf 2", "video 64x48 MPEG-4"},
        {"h264", "-c:v libx264 -preset veryfast -g 5 -keyint_min 5 -bf 2 -sc_threshold 0",
         "video 64x48 H.264"},
        {"mjpeg", "-c:v mjpeg -pix_fmt yuvj422p", "video 64x48 MJPG"},
        {"bgr24", "-c:v rawvideo -pix_fmt bgr24", "video 64x48 RGB"},
        {"i420", "-c:v rawvideo -pix_fmt yuv420p", "video 64x48 raw"},
        {"msmpeg4", "-c:v msmpeg4", "video 64x48 msmpeg4v3"},
    };
    for (const auto& c : cases) {
        const std::string file = MakeClip(tmp, c.name, c.codec);
        player::AviMedia media;
        ASSERT_TRUE(media.Open(file)) << c.name << ": " << media.Problem();
        EXPECT_EQ(media.Describe(), c.described);
        EXPECT_EQ(media.VideoPackets().size(), 20u) << c.name;
        EXPECT_EQ(media.LengthMs(), 2000) << c.name;
        const std::vector<std::string> theirs = FfmpegHashes(file);
        ASSERT_EQ(theirs.size(), 20u) << c.name;
        EXPECT_EQ(OurHashes(media), theirs) << c.name;
    }
}

// A file whose index is gone (ffmpeg writes a small file's only index, idx1, at its end: cut
// off here) still plays whole: the reader walks the movi list, and the pictures are those of
// the file as written.
TEST(PlayerDecode, AFileWithoutIndexesPlaysTheSame)
{
    if (!HaveFfmpeg())
        GTEST_SKIP() << "no ffmpeg program";
    const testkit::TempDir tmp{"skinkit_decode"};
    const std::string file = MakeClip(
        tmp, "h264", "-c:v libx264 -preset veryfast -g 5 -keyint_min 5 -bf 2 -sc_threshold 0");
    const std::vector<std::string> theirs = FfmpegHashes(file);
    std::ifstream in(file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const size_t idx1 = bytes.rfind("idx1");
    ASSERT_NE(idx1, std::string::npos);
    bytes.resize(idx1);
    const std::string bare = tmp.Write("bare.avi", bytes);
    player::AviMedia media;
    ASSERT_TRUE(media.Open(bare)) << media.Problem();
    ASSERT_EQ(media.VideoPackets().size(), 20u);
    EXPECT_EQ(OurHashes(media), theirs);
}

// The pictures turned into BGRA for showing are ffmpeg's BGRA pictures.
TEST(PlayerDecode, BgraPicturesAreFfmpegs)
{
    if (!HaveFfmpeg())
        GTEST_SKIP() << "no ffmpeg program";
    const testkit::TempDir tmp{"skinkit_decode"};
    const std::string file = MakeClip(tmp, "bgr24", "-c:v rawvideo -pix_fmt bgr24");
    player::AviMedia media;
    ASSERT_TRUE(media.Open(file)) << media.Problem();
    player::VideoFrames frames;
    ASSERT_TRUE(frames.Open(media));
    std::vector<std::string> ours;
    std::vector<std::uint8_t> bgra(64 * 48 * 4);
    for (int k = 0; k < 20; ++k) {
        ASSERT_TRUE(frames.Decoder().ToBgra(frames.At(k), 64, 48, bgra.data()));
        ours.push_back(Md5(bgra));
    }
    EXPECT_EQ(ours, FfmpegHashes(file, "bgra"));
}

// Seeking lands on the exact frame, decoding forward from the key frame at or before it.
TEST(PlayerDecode, SeekDecodesFromTheKeyFrameToTheExactFrame)
{
    if (!HaveFfmpeg())
        GTEST_SKIP() << "no ffmpeg program";
    const testkit::TempDir tmp{"skinkit_decode"};
    const std::string file = MakeClip(
        tmp, "h264", "-c:v libx264 -preset veryfast -g 5 -keyint_min 5 -bf 2 -sc_threshold 0");
    player::AviMedia media;
    ASSERT_TRUE(media.Open(file)) << media.Problem();
    const std::vector<std::string> theirs = FfmpegHashes(file);
    ASSERT_EQ(theirs.size(), 20u);
    // Key frames every fifth frame, as encoded.
    const std::tuple<int, int> keys[] = {{0, 0}, {4, 0}, {5, 5}, {13, 10}, {19, 15}, {99, 15}};
    for (const auto& [k, key] : keys)
        EXPECT_EQ(media.KeyFrameAtOrBefore(k), key) << k;

    // target, at most this many packets sent for it (from its key frame, plus the decoder's
    // delay), counted from the call before.
    const std::tuple<int, int> seeks[] = {{13, 8}, {2, 7}, {3, 1},  {19, 9}, {7, 7},
                                          {8, 1},  {0, 5}, {12, 9}, {11, 7}};
    player::VideoFrames frames;
    ASSERT_TRUE(frames.Open(media));
    for (const auto& [k, most] : seeks) {
        const std::int64_t before = frames.PacketsSent();
        const AVFrame* f = frames.At(k);
        ASSERT_TRUE(f) << k;
        EXPECT_EQ(frames.HeldIndex(), k);
        EXPECT_EQ(Md5(player::VideoDecoder::Packed(f)), theirs[static_cast<size_t>(k)]) << k;
        EXPECT_LE(frames.PacketsSent() - before, most) << k;
    }
}

// Formats a file states are checked before a decoder is made for them.
TEST(PlayerDecode, ImplausibleFormatsAreRefusedWithTheReason)
{
    const int mjpeg = player::VideoCodecOf(0x47504A4D /* MJPG */, 0);
    const struct
    {
        int codec, width, height;
        const char* why; // null: opens
    } video[] = {
        {mjpeg, 160, 120, nullptr},
        {mjpeg, 8192, -8192, nullptr},
        {0, 160, 120, "no decoder for the video format"},
        {mjpeg, 8193, 120, "the video's picture size is not plausible"},
        {mjpeg, 160, -8193, "the video's picture size is not plausible"},
        {mjpeg, 0, 120, "the video's picture size is not plausible"},
        {mjpeg, -160, 120, "the video's picture size is not plausible"},
        {mjpeg, 160, 0, "the video's picture size is not plausible"},
    };
    for (const auto& c : video) {
        player::VideoStreamInfo info;
        info.codecId = c.codec;
        info.width = c.width;
        info.height = c.height;
        player::VideoDecoder dec;
        std::string why;
        EXPECT_EQ(dec.Open(info, &why), c.why == nullptr) << c.width << "x" << c.height;
        EXPECT_EQ(why, c.why ? c.why : "");
    }
    const int pcm = player::AudioCodecOf(1, 0, 16);
    const struct
    {
        int codec, channels, rate, outChannels;
        const char* why;
    } sound[] = {
        {pcm, 2, 44100, 2, nullptr},
        {pcm, 1, 8000, 1, nullptr},
        {0, 2, 44100, 2, "no decoder for the sound format"},
        {pcm, 0, 44100, 2, "the sound's format is not plausible"},
        {pcm, 65, 44100, 2, "the sound's format is not plausible"},
        {pcm, 2, 0, 2, "the sound's format is not plausible"},
        {pcm, 2, 44100, 3, "the sound's format is not plausible"},
    };
    for (const auto& c : sound) {
        player::AudioStreamInfo info;
        info.codecId = c.codec;
        info.channels = c.channels;
        info.sampleRate = c.rate;
        info.bitsPerSample = 16;
        info.blockAlign = 2 * c.channels;
        player::AudioDecoder dec;
        std::string why;
        EXPECT_EQ(dec.Open(info, 48000, c.outChannels, &why), c.why == nullptr)
            << c.channels << " " << c.rate;
        EXPECT_EQ(why, c.why ? c.why : "");
    }
}

// FourCCs in any letter case, the numeric DIB kinds and WAVE tags name their decoders.
TEST(PlayerDecode, FormatTagsNameTheirDecoders)
{
    const auto fourcc = [](const char* s) {
        return static_cast<std::uint32_t>(s[0]) | static_cast<std::uint32_t>(s[1]) << 8 |
               static_cast<std::uint32_t>(s[2]) << 16 | static_cast<std::uint32_t>(s[3]) << 24;
    };
    const struct
    {
        std::uint32_t compression, handler;
        const char* name;
    } video[] = {
        {fourcc("XVID"), 0, "MPEG-4"},    {fourcc("xvid"), 0, "MPEG-4"},
        {fourcc("DX50"), 0, "MPEG-4"},    {fourcc("H264"), 0, "H.264"},
        {fourcc("avc1"), 0, "H.264"},     {fourcc("MJPG"), 0, "MJPG"},
        {0, fourcc("MJPG"), "raw"},       {fourcc("????"), fourcc("divx"), "MPEG-4"},
        {fourcc("????"), 0, "?"},         {1, 0, "msrle"},
        {fourcc("DIV3"), 0, "msmpeg4v3"},
    };
    for (const auto& c : video)
        EXPECT_STREQ(player::CodecName(player::VideoCodecOf(c.compression, c.handler)), c.name)
            << std::hex << c.compression;
    const struct
    {
        int tag, sub, bits;
        const char* name;
    } sound[] = {
        {0x0001, 0, 16, "PCM"},     {0x0001, 0, 8, "PCM"}, {0x0055, 0, 0, "MP3"},
        {0x2000, 0, 0, "AC-3"},     {0x00FF, 0, 0, "AAC"}, {0xFFFE, 0x0001, 24, "PCM"},
        {0xFFFE, 0x0055, 0, "MP3"}, {0x1234, 0, 16, "?"},
    };
    for (const auto& c : sound)
        EXPECT_STREQ(
            player::CodecName(player::AudioCodecOf(static_cast<std::uint16_t>(c.tag),
                                                   static_cast<std::uint16_t>(c.sub), c.bits)),
            c.name)
            << std::hex << c.tag;
}

TEST(PlayerDecode, FitInsideKeepsTheShape)
{
    const struct
    {
        int w, h, boxW, boxH;
        player::FitRect fit;
    } cases[] = {
        {160, 120, 420, 320, {0, 2, 420, 315}},   // wider box than the picture's 4:3
        {160, 120, 320, 420, {0, 90, 320, 240}},  // taller box
        {64, 48, 64, 48, {0, 0, 64, 48}},         // exact
        {1920, 1080, 100, 100, {0, 22, 100, 56}}, // 16:9 in a square
        {0, 48, 64, 48, {0, 0, 0, 0}},            // no picture
        {64, 48, 0, 48, {0, 0, 0, 0}},            // no box
        {16384, 1, 16384, 16384, {0, 8191, 16384, 1}},
        {1, 16384, 10, 10, {4, 0, 1, 10}}, // never thinner than a pixel
    };
    for (const auto& c : cases) {
        const player::FitRect r = player::FitInside(c.w, c.h, c.boxW, c.boxH);
        EXPECT_EQ(std::tie(r.x, r.y, r.w, r.h), std::tie(c.fit.x, c.fit.y, c.fit.w, c.fit.h))
            << c.w << "x" << c.h << " in " << c.boxW << "x" << c.boxH;
    }
}

// --- sound ---

// Our decoded samples are ffmpeg's, byte for byte, for each sound format.
TEST(PlayerAudio, SamplesAreFfmpegs)
{
    if (!HaveFfmpeg())
        GTEST_SKIP() << "no ffmpeg program";
    const testkit::TempDir tmp{"skinkit_decode"};
    const struct
    {
        const char* name;
        const char* codec;
        int rate, channels;
        const char* described;
    } cases[] = {
        {"pcm", "-c:a pcm_s16le", 22050, 1, "video 64x48 MJPG, audio PCM"},
        {"pcm_u8", "-c:a pcm_u8 -ac 2", 22050, 2, "video 64x48 MJPG, audio PCM"},
        {"mp3", "-c:a libmp3lame -b:a 64k -ar 44100", 44100, 1, "video 64x48 MJPG, audio MP3"},
        {"ac3", "-c:a ac3 -ac 2 -ar 48000", 48000, 2, "video 64x48 MJPG, audio AC-3"},
    };
    for (const auto& c : cases) {
        const std::string file = tmp.File(std::string(c.name) + ".avi");
        int status = -1;
        std::string err;
        testkit::RunCommand(
            "ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=10:duration=1 -f lavfi -i "
            "sine=frequency=440:sample_rate=22050:duration=1 -c:v mjpeg " +
                std::string(c.codec) + " " + testkit::Quote(file),
            &status, &err);
        ASSERT_EQ(status, 0) << err;
        player::AviMedia media;
        ASSERT_TRUE(media.Open(file)) << media.Problem();
        EXPECT_EQ(media.Describe(), c.described);
        player::AudioDecoder dec;
        std::string why;
        ASSERT_TRUE(dec.Open(media.Audio(), c.rate, c.channels, &why)) << c.name << ": " << why;
        std::vector<std::int16_t> ours;
        for (const player::StreamPacket& p : media.AudioPackets())
            dec.Decode(media.Read(p), p.size, ours);
        const std::string theirs = testkit::RunCommand(
            "ffmpeg -v error -i " + testkit::Quote(file) + " -map 0:a:0 -f s16le -ar " +
            std::to_string(c.rate) + " -ac " + std::to_string(c.channels) + " -");
        ASSERT_FALSE(theirs.empty()) << c.name;
        EXPECT_EQ(ours.size() * 2, theirs.size()) << c.name;
        EXPECT_TRUE(
            std::memcmp(ours.data(), theirs.data(), std::min(ours.size() * 2, theirs.size())) == 0)
            << c.name;
        // The packets' times run to the decoded sound's length (an encoder's padding
        // included), within two packets: an MP3 stream starts with a tag frame of no sound.
        const double decodedMs = 1000.0 * static_cast<double>(ours.size()) / c.channels / c.rate;
        EXPECT_GE(decodedMs, 1000.0) << c.name;
        EXPECT_NEAR(static_cast<double>(media.LengthMs()), decodedMs, 60.0) << c.name;
    }
}

// The null output plays nothing but keeps the device's time: queued frames go at the rate
// while playing, not while paused, and the clock stops when nothing is left.
TEST(PlayerAudio, NullSinkKeepsTime)
{
    std::uint32_t now = 1000;
    auto sink = player::MakeNullSink(8000, 2, [&] { return now; });
    const struct
    {
        const char* step; // q: queue 8000 frames, p: pause, r: resume, c: clear, t: 250 ms
        std::int64_t pending;
    } steps[] = {
        {"q", 8000},  {"t", 6000}, {"t", 4000}, {"p", 4000}, {"t", 4000}, {"r", 4000}, {"t", 2000},
        {"q", 10000}, {"t", 8000}, {"c", 0},    {"t", 0},    {"q", 8000}, {"t", 6000}, {"t", 4000},
        {"t", 2000},  {"t", 0},    {"t", 0},    {"q", 8000}, {"t", 6000},
    };
    int i = 0;
    for (const auto& s : steps) {
        switch (s.step[0]) {
        case 'q':
            sink->Queue(nullptr, 8000);
            break;
        case 'p':
            sink->Pause(true);
            break;
        case 'r':
            sink->Pause(false);
            break;
        case 'c':
            sink->Clear();
            break;
        default:
            now += 250;
        }
        EXPECT_EQ(sink->Pending(), s.pending) << "step " << i << " " << s.step;
        ++i;
    }
}

TEST(PlayerAudio, GainScalesAndClamps)
{
    const struct
    {
        double gain;
        std::int16_t in, out;
    } cases[] = {
        {1.0, 1234, 1234},     {0.0, 1234, 0}, {0.5, -1001, -501},  {2.0, 20000, 32767},
        {2.0, -20000, -32768}, {-1.0, 500, 0}, {0.25, 32767, 8192},
    };
    for (const auto& c : cases) {
        std::int16_t s = c.in;
        player::ApplyGain(&s, 1, c.gain);
        EXPECT_EQ(s, c.out) << c.gain << " " << c.in;
    }
}

// --- the clock ---

// Two seconds of pictures at 10 a second with one second of sound: the sound's output is the
// clock while it lasts, the ticks after; pausing stops time, seeking lands on the place, and
// a tick that comes late shows the frame of now, passing over those between.
TEST(PlayerClock, SoundLeadsThenTicksCarryOn)
{
    if (!HaveFfmpeg())
        GTEST_SKIP() << "no ffmpeg program";
    const testkit::TempDir tmp{"skinkit_decode"};
    const std::string file = tmp.File("clip.avi");
    int status = -1;
    std::string err;
    testkit::RunCommand("ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=10:duration=2 "
                        "-f lavfi -i sine=sample_rate=8000:duration=1 -c:v mjpeg -c:a pcm_s16le " +
                            testkit::Quote(file),
                        &status, &err);
    ASSERT_EQ(status, 0) << err;
    player::AviMedia media;
    ASSERT_TRUE(media.Open(file)) << media.Problem();

    for (const bool withSound : {true, false}) {
        std::uint32_t now = 5000;
        const auto clock = [&] { return now; };
        auto sink = player::MakeNullSink(48000, 2, clock);
        player::Playback playback(clock);
        playback.Start(media, withSound ? sink.get() : nullptr);
        EXPECT_EQ(playback.HasSound(), withSound);
        const struct
        {
            char action; // t: ticks pass (ms), p: play, s: pause, k: seek to ms
            int ms;
            int position;
            int frame;
        } steps[] = {
            {'t', 300, 0, 0},      {'p', 0, 0, 0},       {'t', 250, 250, 2},   {'t', 30, 280, 2},
            {'t', 200, 480, 4},    {'s', 0, 480, 4},     {'t', 1000, 480, 4},  {'k', 430, 430, 4},
            {'p', 0, 430, 4},      {'t', 400, 830, 8},   {'t', 210, 1040, 10}, {'t', 500, 1540, 15},
            {'k', 1900, 1900, 19}, {'t', 300, 2000, 19}, {'p', 0, 2000, 19},
        };
        int i = 0;
        for (const auto& s : steps) {
            switch (s.action) {
            case 'p':
                playback.Play();
                break;
            case 's':
                playback.Pause();
                break;
            case 'k':
                playback.Seek(s.ms);
                break;
            default:
                // Ticks come every 10 ms, but none for 200 ms (within what the sound is
                // decoded ahead): frame 3 is passed over.
                for (int left = s.ms; left > 0; left -= std::min(left, 10)) {
                    now += static_cast<std::uint32_t>(std::min(left, 10));
                    if (s.ms != 200)
                        playback.Tick();
                }
            }
            const int frame = playback.Tick();
            EXPECT_NEAR(static_cast<double>(playback.PositionMs()), s.position, 2.0)
                << "step " << i << (withSound ? " with sound" : " without");
            EXPECT_EQ(frame, s.frame) << "step " << i;
            ++i;
        }
        EXPECT_TRUE(playback.AtEnd());
    }
}

} // namespace
