// The player's decoding against a real peer: short clips written by the ffmpeg program, read
// with our AVI reader, decoded by our glue, and each picture's hash compared with what
// `ffmpeg -f framemd5` makes of the same stream in the same pixel format.
#include "demo/player/Audio.h"
#include "demo/player/AviMedia.h"
#include "demo/player/Codecs.h"
#include "demo/player/Playback.h"
#include "demo/player/Playlist.h"
#include "demo/player/VideoDecoder.h"
#include "tests/avi/AviTestFiles.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/frame.h>
}

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct PlayerMedia : ::testing::Test
{
    void SetUp() override
    {
        if (testkit::RunCommand("command -v ffmpeg").empty())
            GTEST_SKIP() << "no ffmpeg program";
    }
};
using PlayerClock = PlayerMedia;

// The file `ffmpeg <args>` writes, made once for the whole test program. Files past 1 GiB
// (OpenDML) are the AVI reader's large peer tests.
std::string Made(const std::string& args)
{
    static const testkit::TempDir dir{"skinkit_media"};
    static std::map<std::string, std::string> made;
    if (const auto it = made.find(args); it != made.end())
        return it->second;
    const std::string file = dir.File("clip" + std::to_string(made.size()) + ".avi");
    int status = -1;
    std::string err;
    testkit::RunCommand("ffmpeg -v error -y " + args + " " + testkit::Quote(file), &status, &err);
    EXPECT_EQ(status, 0) << err;
    return made[args] = file;
}

// `seconds` of a test picture (64x48 at 10 frames a second unless `picture` says otherwise)
// with a sine tone at 44.1 kHz, encoded as `codecs` says.
std::string Clip(const std::string& codecs, int seconds = 2,
                 const std::string& picture = "size=64x48:rate=10")
{
    const std::string len = std::to_string(seconds);
    return Made("-f lavfi -i testsrc=" + picture + ":duration=" + len +
                " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + len + " " + codecs);
}

// H.264 with B frames and a key frame every fifth frame, decoded and seeked.
const char* const kH264 = "-c:v libx264 -preset veryfast -g 5 -keyint_min 5 -bf 2 "
                          "-sc_threshold 0 -c:a ac3 -ac 2 -ar 48000";

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
    return avitest::Md5(bytes.data(), bytes.size());
}

// The hash of frame `k` as the player's frame source gives it, after checking it is the one.
std::string FrameMd5(player::VideoFrames& frames, int k)
{
    const AVFrame* f = frames.At(k);
    EXPECT_EQ(frames.HeldIndex(), k);
    return f ? Md5(player::VideoDecoder::Packed(f)) : "no picture";
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

// What a play from start to end showed, on a clock that only the test moves.
struct PlayStats
{
    int lastFrame = -1;
    int missingPictures = 0;    // ticks whose frame At had no picture for
    std::int64_t maxAvMs = 0;   // |start of the frame shown − sound position|
    std::int64_t maxWallMs = 0; // |sound position − time played|
    bool backwards = false;     // a frame before the one shown before

    std::tuple<int, int, bool> Ended() const { return {lastFrame, missingPictures, backwards}; }
};

// Plays `media` through with the null output, ticks `step(i)` ms apart, decoding each frame
// asked for, until the end or `limitMs` of play.
PlayStats PlayThrough(player::AviMedia& media, const std::function<int(int)>& step,
                      std::int64_t limitMs = 1 << 30)
{
    PlayStats st;
    std::uint32_t now = 1000;
    const auto clock = [&] { return now; };
    auto sink = player::MakeNullSink(44100, 2, clock);
    player::Playback playback(clock);
    playback.Start(media, sink.get());
    player::VideoFrames frames;
    EXPECT_TRUE(frames.Open(media));
    playback.Play();
    const std::uint32_t start = now;
    const std::int64_t videoEndMs =
        media.MsOfFrame(static_cast<std::int64_t>(media.VideoPackets().size()));
    for (int i = 0; !playback.AtEnd() && now - start < limitMs; ++i) {
        now += static_cast<std::uint32_t>(step(i));
        const int k = playback.Tick();
        const std::int64_t pos = playback.PositionMs();
        if (k < 0)
            continue;
        st.backwards |= k < st.lastFrame;
        st.lastFrame = k;
        if (pos < videoEndMs) // past the last picture the sound plays on alone
            st.maxAvMs = std::max(st.maxAvMs, std::abs(media.MsOfFrame(k) - pos));
        if (pos < media.LengthMs() && playback.HasSound())
            st.maxWallMs = std::max(st.maxWallMs, std::abs(pos - (now - start)));
        if (!frames.At(k))
            ++st.missingPictures;
    }
    return st;
}

// The codecs a user is most likely to meet, as ffmpeg writes them, each with a different sound
// format: the file reads as a playlist row with ffprobe's length, its pictures (as decoded and
// as shown) and samples are ffmpeg's, and it plays to its last frame on the sound's clock.
TEST_F(PlayerMedia, CodecsDecodeAndPlayAsFfmpegDoes)
{
    // ffmpeg's codec options, the sound's rate and channels as encoded (0: none), the streams
    // as the playlist names them.
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"-c:v mpeg4 -g 5 -bf 2 -c:a libmp3lame -b:a 64k -ac 1", 44100, 1,
         "video 64x48 MPEG-4, audio MP3"},
        {kH264, 48000, 2, "video 64x48 H.264, audio AC-3"},
        {"-c:v mjpeg -pix_fmt yuvj422p -c:a pcm_s16le -ar 22050", 22050, 1,
         "video 64x48 MJPG, audio PCM"},
        {"-c:v rawvideo -pix_fmt bgr24 -c:a pcm_u8 -ac 2 -ar 22050", 22050, 2,
         "video 64x48 RGB, audio PCM"},
        {"-c:v rawvideo -pix_fmt yuv420p -an", 0, 0, "video 64x48 raw"},
        {"-c:v msmpeg4 -an", 0, 0, "video 64x48 msmpeg4v3"},
    };
    for (const auto& [codecs, rate, channels, streams] : cases) {
        SCOPED_TRACE(streams);
        const std::string file = Clip(codecs);
        const player::PlaylistEntry e = player::ReadEntry(file);
        ASSERT_TRUE(e.playable) << e.problem;
        EXPECT_EQ(e.streams, streams);
        // ffprobe's length: the longer stream's (AC-3 and MP3 end with a whole last frame).
        const double probed = std::atof(
            testkit::RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " +
                                testkit::Quote(file))
                .c_str());
        EXPECT_NEAR(static_cast<double>(e.lengthMs), probed * 1000.0, 2.0);
        player::AviMedia media;
        ASSERT_TRUE(media.Open(file)) << media.Problem();
        const std::vector<std::string> theirs = FfmpegHashes(file);
        ASSERT_EQ(theirs.size(), 20u);
        EXPECT_EQ(OurHashes(media), theirs);
        // The pictures turned into BGRA for showing are ffmpeg's BGRA pictures.
        player::VideoFrames frames;
        ASSERT_TRUE(frames.Open(media));
        std::vector<std::string> bgraHashes;
        std::vector<std::uint8_t> bgra(64 * 48 * 4);
        for (int k = 0; k < 20; ++k) {
            ASSERT_TRUE(frames.Decoder().ToBgra(frames.At(k), 64, 48, bgra.data()));
            bgraHashes.push_back(Md5(bgra));
        }
        EXPECT_EQ(bgraHashes, FfmpegHashes(file, "bgra"));

        if (rate) {
            player::AudioDecoder dec;
            std::string why;
            ASSERT_TRUE(dec.Open(media.Audio(), rate, channels, &why)) << why;
            std::vector<std::int16_t> ours;
            for (const player::StreamPacket& p : media.AudioPackets())
                dec.Decode(media.Read(p), p.size, ours);
            const std::string samples = testkit::RunCommand(
                "ffmpeg -v error -i " + testkit::Quote(file) + " -map 0:a:0 -f s16le -ar " +
                std::to_string(rate) + " -ac " + std::to_string(channels) + " -");
            EXPECT_TRUE(
                !samples.empty() &&
                samples == std::string(reinterpret_cast<const char*>(ours.data()), ours.size() * 2))
                << ours.size() * 2 << " bytes of sound, ffmpeg's " << samples.size();
        }

        const PlayStats st = PlayThrough(media, [](int i) { return 7 + i % 11; });
        EXPECT_EQ(st.Ended(), std::tuple(19, 0, false));
        EXPECT_LT(st.maxAvMs, 100); // within the frame shown (100 ms at 10 a second)
        EXPECT_LE(st.maxWallMs, 40);
    }
}

// Seeking lands on the exact frame, decoding forward from the key frame at or before it; and
// in a longer file with wider gaps between key frames and more B frames, seeks to the last
// frame, back to the first, forward past a key frame, within a group and to the frame before
// a key frame each land on ffmpeg's picture of that frame.
TEST_F(PlayerMedia, SeeksLandOnTheExactFrame)
{
    const std::string file = Clip(kH264);
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
    const std::tuple<int, int> seeks[] = {{13, 8}, {2, 7}, {3, 1}, {19, 9}, {0, 5}, {11, 7}};
    player::VideoFrames frames;
    ASSERT_TRUE(frames.Open(media));
    for (const auto& [k, most] : seeks) {
        const std::int64_t before = frames.PacketsSent();
        EXPECT_EQ(FrameMd5(frames, k), theirs[static_cast<size_t>(k)]) << k;
        EXPECT_LE(frames.PacketsSent() - before, most) << k;
    }

    const std::string longer =
        Clip("-an -c:v libx264 -preset veryfast -g 12 -bf 3 -sc_threshold 0", 8);
    player::AviMedia media8;
    ASSERT_TRUE(media8.Open(longer)) << media8.Problem();
    const std::vector<std::string> theirs8 = FfmpegHashes(longer);
    ASSERT_EQ(theirs8.size(), 80u);
    player::VideoFrames frames8;
    ASSERT_TRUE(frames8.Open(media8));
    for (const int k : {79, 0, 30, 35, 47, 23})
        EXPECT_EQ(FrameMd5(frames8, k), theirs8[static_cast<size_t>(k)]) << k;
}

// Damaged files: each either gets a row that says why, or plays what is there (the pictures it
// has are ffmpeg's own); none crashes the reader or the decoders. Files cut short or without
// an index are the AVI reader's tests, which compare the packets with ffprobe's.
TEST_F(PlayerMedia, DamagedFilesSayWhyOrPlayWhatIsThere)
{
    const testkit::TempDir tmp{"skinkit_files"};
    const std::string good = Clip("-c:v mpeg4 -g 10 -bf 2 -c:a libmp3lame -b:a 64k", 4);
    const avitest::Bytes bytes = avitest::ReadAll(good);
    const std::vector<std::string> theirs = FfmpegHashes(good);
    ASSERT_EQ(theirs.size(), 40u);

    // Nothing but the header's start, an unknown video codec and no stream we decode.
    avitest::Bytes patched = avitest::ReadAll(Clip("-an -c:v mpeg4", 1));
    for (const char* fourcc : {"FMP4", "mp4v", "XVID", "DIVX"})
        for (size_t at = avitest::Find(patched, fourcc); at != std::string::npos;
             at = avitest::Find(patched, fourcc, at + 4))
            std::memcpy(&patched[at], "ZZZZ", 4);
    const std::tuple<std::string, const char*> refused[] = {
        {tmp.File("gone.avi"), "no such file"},
        {tmp.Write("header.avi", avitest::Bytes(bytes.begin(), bytes.begin() + 300)),
         "not an AVI file this reader understands"},
        {tmp.Write("unknown.avi", patched), "no stream in a format this player decodes"},
    };
    for (const auto& [file, why] : refused) {
        const player::PlaylistEntry e = player::ReadEntry(file);
        EXPECT_EQ(std::tuple(e.playable, e.problem), std::tuple(false, std::string(why))) << file;
        EXPECT_EQ(file, tmp.File(e.name + ".avi")); // named after the file, even refused
    }

    // A corrupt packet in the middle: the pictures around it are still ffmpeg's, and every
    // frame has a picture to show (the one before, where its own could not be decoded).
    avitest::Bytes corrupt = bytes;
    size_t at = 0;
    for (int n = 0; n < 15 && at != std::string::npos; ++n)
        at = avitest::Find(corrupt, "00dc", at + 4);
    ASSERT_NE(at, std::string::npos);
    for (size_t i = at + 12; i < at + 40 && i < corrupt.size(); ++i)
        corrupt[i] = static_cast<std::uint8_t>(0xA5 ^ i);
    player::AviMedia damaged;
    ASSERT_TRUE(damaged.Open(tmp.Write("corrupt.avi", corrupt))) << damaged.Problem();
    const std::vector<std::string> ours = OurHashes(damaged);
    EXPECT_GE(ours.size(), 30u);
    EXPECT_EQ(ours.front(), theirs.front());
    EXPECT_EQ(PlayThrough(damaged, [](int) { return 10; }).Ended(), std::tuple(39, 0, false));

    // Removed, then cut to nothing, while playing: what was read plays on, what cannot be
    // read any more is passed over, and the play still comes to its end.
    for (const bool removed : {true, false}) {
        const std::string gone = tmp.Write("gone.avi", bytes);
        player::AviMedia media;
        ASSERT_TRUE(media.Open(gone));
        if (removed)
            std::filesystem::remove(gone);
        else
            std::filesystem::resize_file(gone, 0);
        EXPECT_EQ(PlayThrough(media, [](int) { return 10; }).Ended(), std::tuple(39, 0, false));
    }
}

// What the playlist makes of the paths a user names: folders opened to their AVI files in
// name order. The rows of files it cannot play are read with the damaged files above.
TEST(Playlist, FoldersGiveTheirAviFilesInNameOrder)
{
    const testkit::TempDir tmp{"skinkit_playlist"};
    for (const char* name : {"b.avi", "A.AVI", "c.txt", "d.avi.part", "sub/e.avi"}) {
        std::filesystem::create_directories(std::filesystem::path(tmp.File(name)).parent_path());
        std::ofstream(tmp.File(name)) << "x";
    }
    std::filesystem::create_directories(tmp.File("folder.avi"));
    // The paths named and the files they give.
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{tmp.Path()}, {tmp.File("A.AVI"), tmp.File("b.avi")}},
        {{tmp.File("c.txt"), tmp.File("gone.avi")}, {tmp.File("c.txt"), tmp.File("gone.avi")}},
        {{tmp.File("sub"), tmp.File("b.avi")}, {tmp.File("sub/e.avi"), tmp.File("b.avi")}},
        {{tmp.File("folder.avi")}, {}},
        {{}, {}},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(player::ExpandPaths(in), out) << (in.empty() ? "" : in[0]);
}

// Formats a file states are checked before a decoder is made for them.
TEST(PlayerDecode, ImplausibleFormatsAreRefusedWithTheReason)
{
    const int mjpeg = player::VideoCodecOf(0x47504A4D /* MJPG */, 0);
    const char* const none = "no decoder for the video format";
    const char* const size = "the video's picture size is not plausible";
    // codec, width, height; why not ("": it opens)
    const std::tuple<int, int, int, const char*> video[] = {
        {mjpeg, 160, 120, ""},    {mjpeg, 8192, -8192, ""},  {0, 160, 120, none},
        {mjpeg, 8193, 120, size}, {mjpeg, 160, -8193, size}, {mjpeg, 0, 120, size},
        {mjpeg, 160, 0, size}};
    for (const auto& [codec, width, height, reason] : video) {
        player::VideoDecoder dec;
        std::string why;
        player::VideoStreamInfo info;
        std::tie(info.codecId, info.width, info.height) = std::tie(codec, width, height);
        EXPECT_EQ(dec.Open(info, &why), !*reason) << width << "x" << height;
        EXPECT_EQ(why, reason);
    }
    const int pcm = player::AudioCodecOf(1, 0, 16);
    const char* const silent = "no decoder for the sound format";
    const char* const format = "the sound's format is not plausible";
    // codec, channels, rate, channels asked for; why not
    const std::tuple<int, int, int, int, const char*> sound[] = {
        {pcm, 2, 44100, 2, ""},      {0, 2, 44100, 2, silent}, {pcm, 0, 44100, 2, format},
        {pcm, 65, 44100, 2, format}, {pcm, 2, 0, 2, format},   {pcm, 2, 44100, 3, format}};
    for (const auto& [codec, channels, rate, out, reason] : sound) {
        player::AudioDecoder dec;
        std::string why;
        player::AudioStreamInfo info;
        std::tie(info.codecId, info.channels, info.sampleRate, info.blockAlign,
                 info.bitsPerSample) = std::tuple(codec, channels, rate, 2 * channels, 16);
        EXPECT_EQ(dec.Open(info, 48000, out, &why), !*reason) << channels << " " << rate;
        EXPECT_EQ(why, reason);
    }
}

// The tag tables themselves are read by the decoding tests above; here, the ways to them: a
// FourCC in any letter case, the numeric DIB kinds before the handler, the handler when the
// compression names nothing, and WAVE_FORMAT_EXTENSIBLE's sub-format.
TEST(PlayerDecode, FormatTagsNameTheirDecoders)
{
    const std::uint32_t xvid = 0x64697678, mjpg = 0x47504A4D, unknown = 0x3F3F3F3F /* ???? */,
                        divx = 0x78766964;
    const std::tuple<std::uint32_t, std::uint32_t, const char*> video[] = {
        {xvid, 0, "MPEG-4"}, {0, mjpg, "raw"},          {1, 0, "msrle"},
        {unknown, 0, "?"},   {unknown, divx, "MPEG-4"},
    };
    for (const auto& [compression, handler, name] : video)
        EXPECT_STREQ(player::CodecName(player::VideoCodecOf(compression, handler)), name)
            << std::hex << compression;
    EXPECT_STREQ(player::CodecName(player::AudioCodecOf(0xFFFE, 0x0055, 0)), "MP3");
    EXPECT_STREQ(player::CodecName(player::AudioCodecOf(0x1234, 0, 16)), "?");
}

TEST(PlayerDecode, FitInsideKeepsTheShape)
{
    // picture, box → its place in the box
    const std::tuple<int, int, int, int, std::tuple<int, int, int, int>> cases[] = {
        {160, 120, 420, 320, {0, 2, 420, 315}},  // wider box than the picture's 4:3
        {160, 120, 320, 420, {0, 90, 320, 240}}, // taller box
        {0, 48, 64, 48, {0, 0, 0, 0}},           // no picture
        {16384, 1, 16384, 16384, {0, 8191, 16384, 1}},
        {1, 16384, 10, 10, {4, 0, 1, 10}}, // never thinner than a pixel
    };
    for (const auto& [w, h, boxW, boxH, fit] : cases) {
        const player::FitRect r = player::FitInside(w, h, boxW, boxH);
        EXPECT_EQ(std::tuple(r.x, r.y, r.w, r.h), fit)
            << w << "x" << h << " in " << boxW << "x" << boxH;
    }
}

// The null output plays nothing but keeps the device's time: queued frames go at the rate
// while playing, not while paused, and the clock stops when nothing is left.
TEST(PlayerAudio, NullSinkKeepsTime)
{
    std::uint32_t now = 1000;
    auto sink = player::MakeNullSink(8000, 2, [&] { return now; });
    // Each step (q: queue 8000 frames, p: pause, r: resume, c: clear, t: 250 ms) and the frames
    // pending after it.
    const char steps[] = "qttptrtqtctqtttttqt";
    const std::int64_t pending[] = {8000, 6000, 4000, 4000, 4000, 4000, 2000, 10000, 8000, 0,
                                    0,    8000, 6000, 4000, 2000, 0,    0,    8000,  6000};
    for (size_t i = 0; i < std::size(pending); ++i) {
        const char step = steps[i];
        if (step == 'q')
            sink->Queue(nullptr, 8000);
        else if (step == 'p' || step == 'r')
            sink->Pause(step == 'p');
        else if (step == 'c')
            sink->Clear();
        else
            now += 250;
        EXPECT_EQ(sink->Pending(), pending[i]) << "step " << i << " " << step;
    }
}

TEST(PlayerAudio, GainScalesAndClamps)
{
    // gain, sample in, sample out
    const std::tuple<double, std::int16_t, std::int16_t> cases[] = {
        {1.0, 1234, 1234},     {0.0, 1234, 0}, {0.5, -1001, -501},  {2.0, 20000, 32767},
        {2.0, -20000, -32768}, {-1.0, 500, 0}, {0.25, 32767, 8192},
    };
    for (auto [gain, in, out] : cases) {
        std::int16_t s = in;
        player::ApplyGain(&s, 1, gain);
        EXPECT_EQ(s, out) << gain << " " << in;
    }
}

// --- the clock ---

// Two seconds of pictures at 10 a second with one second of sound: the sound's output is the
// clock while it lasts, the ticks after; pausing stops time, seeking lands on the place, and
// a tick that comes late shows the frame of now, passing over those between.
TEST_F(PlayerClock, SoundLeadsThenTicksCarryOn)
{
    const std::string file = Made("-f lavfi -i testsrc=size=64x48:rate=10:duration=2 -f lavfi -i "
                                  "sine=sample_rate=8000:duration=1 -c:v mjpeg -c:a pcm_s16le");
    player::AviMedia media;
    ASSERT_TRUE(media.Open(file)) << media.Problem();

    for (const bool withSound : {true, false}) {
        std::uint32_t now = 5000;
        const auto clock = [&] { return now; };
        auto sink = player::MakeNullSink(48000, 2, clock);
        player::Playback playback(clock);
        playback.Start(media, withSound ? sink.get() : nullptr);
        EXPECT_EQ(playback.HasSound(), withSound);
        // Each step (t: ticks pass for ms, p: play, s: pause, k: seek to ms), then the position
        // and the frame of a tick.
        const std::tuple<char, int, int, int> steps[] = {
            {'t', 300, 0, 0},      {'p', 0, 0, 0},       {'t', 250, 250, 2},   {'t', 30, 280, 2},
            {'t', 200, 480, 4},    {'s', 0, 480, 4},     {'t', 1000, 480, 4},  {'k', 430, 430, 4},
            {'p', 0, 430, 4},      {'t', 400, 830, 8},   {'t', 210, 1040, 10}, {'t', 500, 1540, 15},
            {'k', 1900, 1900, 19}, {'t', 300, 2000, 19}, {'p', 0, 2000, 19}};
        int i = 0;
        for (const auto& [action, ms, position, frame] : steps) {
            if (action == 'p')
                playback.Play();
            else if (action == 's')
                playback.Pause();
            else if (action == 'k')
                playback.Seek(ms);
            // Ticks come every 10 ms, but none for 200 ms (within what the sound is decoded
            // ahead): frame 3 is passed over.
            for (int left = action == 't' ? ms : 0; left > 0; left -= std::min(left, 10)) {
                now += static_cast<std::uint32_t>(std::min(left, 10));
                if (ms != 200)
                    playback.Tick();
            }
            EXPECT_EQ(playback.Tick(), frame) << "step " << i;
            EXPECT_NEAR(static_cast<double>(playback.PositionMs()), position, 2.0)
                << "step " << i++ << (withSound ? " with sound" : " without");
        }
        EXPECT_TRUE(playback.AtEnd());
    }
}

// Ten minutes of MPEG-4 with MP3, played on the null output's clock at uneven ticks: the frame
// shown never strays more than 40 ms from the sound, nor the sound from the time played.
TEST_F(PlayerClock, TenMinutesStayInStep)
{
    const std::string file =
        Clip("-c:v mpeg4 -q:v 31 -g 250 -c:a libmp3lame -b:a 32k", 600, "size=32x24:rate=25");
    player::AviMedia media;
    ASSERT_TRUE(media.Open(file)) << media.Problem();
    ASSERT_TRUE(media.HasAudio());
    const PlayStats st = PlayThrough(media, [](int i) { return 4 + (i * 7) % 29; });
    EXPECT_GE(media.VideoPackets().size(), 15000u);
    EXPECT_EQ(st.Ended(), std::tuple(static_cast<int>(media.VideoPackets().size()) - 1, 0, false));
    EXPECT_LE(st.maxAvMs, 40);
    EXPECT_LE(st.maxWallMs, 40);
}

} // namespace
