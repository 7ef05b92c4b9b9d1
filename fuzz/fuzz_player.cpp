// Fuzzes the demo player's decoder glue over whole AVI files: the file as the player opens it
// (the reader's tolerant walk, the streams' formats checked, decoders made for them), the first
// pictures decoded in order and a jump back, and a few seconds of sound played through the null
// output on a clock the fuzzer moves. Work per input is bounded so that slow inputs stay rare.
#include "demo/player/Audio.h"
#include "demo/player/AviMedia.h"
#include "demo/player/Playback.h"
#include "demo/player/VideoDecoder.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

constexpr int kFrames = 40; // pictures decoded in order
constexpr int kTicks = 150; // 20 ms ticks of sound: three seconds

std::string TempPath()
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/fuzz_player_" + std::to_string(getpid()) +
           ".avi";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = TempPath();
    static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
    (void)quiet;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    player::AviMedia media;
    if (!media.Open(path))
        return 0;
    (void)media.Describe();
    if (media.HasVideo()) {
        player::VideoFrames frames;
        if (frames.Open(media)) {
            const int count = static_cast<int>(media.VideoPackets().size());
            const int last = count < kFrames ? count : kFrames;
            for (int k = 0; k < last; ++k)
                if (const AVFrame* picture = frames.At(k))
                    (void)player::VideoDecoder::Packed(picture);
            frames.At(last / 2); // back: from the key frame at or before it
        }
    }
    std::uint32_t now = 0;
    const auto clock = [&] { return now; };
    auto sink = player::MakeNullSink(44100, 2, clock);
    player::Playback playback(clock);
    playback.Start(media, sink.get());
    playback.Play();
    for (int i = 0; i < kTicks && !playback.AtEnd(); ++i) {
        now += 20;
        playback.Tick();
        if (i == kTicks / 2)
            playback.Seek(playback.LengthMs() / 3);
    }
    return 0;
}
