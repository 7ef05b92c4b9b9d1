// AVI reading and writing, side by side with libavformat in one run.
//
// Inputs (~200 MB each, made with our writer on first run, then read from the page cache):
//   /tmp/skinkit-avi-bench/small.avi  video packets of 64 to 447 bytes and 256-byte audio
//                                     packets, interleaved
//   /tmp/skinkit-avi-bench/large.avi  1280x720x3 (2,764,800-byte) frames
//   /tmp/skinkit-avi-bench/odml.avi   over 1 GiB, written by ffmpeg (OpenDML: AVIX forms,
//                                     indx/ix## indexes), made on first run when ffmpeg is there
// Reading: mmAviParser::GetAVIReadData over every packet, in the default and the tolerant
// walk, against av_read_frame over the same file, and (large frames) against plain read(2)
// of the whole file. Opening: the tolerant walk's OpenAVI of the OpenDML file (its indexes
// read, the data not scanned) against avformat_open_input.
// Writing: mmAviWriter::WritePacket of every packet of a file, held in memory, against
// libavformat's AVI muxer (av_write_frame) writing the same packets; output to /dev/shm where
// it exists so that the disk does not decide.
#include "avi/AviParser.h"
#include "avi/AviWriter.h"

#include <benchmark/benchmark.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path kInputDir = "/tmp/skinkit-avi-bench";
constexpr long long kTarget = 200ll * 1000 * 1000;
constexpr int kFrameBytes = 1280 * 720 * 3;

std::string OutputPath(const char* name)
{
    const fs::path dir =
        fs::exists("/dev/shm") ? fs::path("/dev/shm/skinkit-avi-bench") : kInputDir;
    fs::create_directories(dir);
    return (dir / name).string();
}

AVISTREAMINFOW VideoInfo(int width, int height)
{
    AVISTREAMINFOW i{};
    i.fccType = streamtypeVIDEO;
    i.fccHandler = mmioFOURCC('M', 'J', 'P', 'G');
    i.dwScale = 1;
    i.dwRate = 25;
    i.rcFrame = {0, 0, width, height};
    return i;
}

std::vector<BYTE> BitmapInfo(int width, int height, DWORD compression)
{
    std::vector<BYTE> b(40, 0);
    avi::WriteLE32(b.data(), 40);
    avi::WriteLE32(b.data() + 4, static_cast<DWORD>(width));
    avi::WriteLE32(b.data() + 8, static_cast<DWORD>(height));
    avi::WriteLE16(b.data() + 12, 1);
    avi::WriteLE16(b.data() + 14, 24);
    avi::WriteLE32(b.data() + 16, compression);
    return b;
}

// Makes the input files with our writer when they are missing.
bool MakeInputs()
{
    static const bool made = [] {
        fs::create_directories(kInputDir);
        const fs::path small = kInputDir / "small.avi", large = kInputDir / "large.avi";
        if (!fs::exists(small)) {
            mmAviWriter w;
            w.OpenAVI(CString::FromUtf8((kInputDir / "small.tmp").string()));
            auto bih = BitmapInfo(320, 240, mmioFOURCC('M', 'J', 'P', 'G'));
            w.OpenAVIVideoStream(VideoInfo(320, 240), bih.data(), 40, 0);
            AVISTREAMINFOW a{};
            a.fccType = streamtypeAUDIO;
            a.dwScale = 1;
            // 6400 bytes per second: one 256-byte packet per 40 ms frame, so that the file is
            // interleaved in time as well as in position (a demuxer that finds it is not
            // falls back to seeking per packet).
            a.dwRate = 6400;
            a.dwSampleSize = 1;
            BYTE wfx[16] = {1, 0, 1, 0, 0x00, 0x19, 0, 0, 0x00, 0x19, 0, 0, 1, 0, 8, 0};
            w.OpenAVIAudioStream(a, wfx, 16, 0);
            std::vector<BYTE> data(512);
            for (size_t i = 0; i < data.size(); ++i)
                data[i] = static_cast<BYTE>(i * 13);
            long long total = 0;
            for (unsigned n = 0; total < kTarget; ++n) {
                const bool video = n % 2 == 0;
                const int size = video ? 64 + static_cast<int>((n * 2654435761u) % 384) : 256;
                w.WritePacket(video ? streamtypeVIDEO : streamtypeAUDIO, data.data(), size, 0,
                              video && n % 50 != 0 ? 0 : AVIIF_KEYFRAME);
                total += size + 24;
            }
            w.CloseAVI();
            fs::rename(kInputDir / "small.tmp", small);
        }
        if (!fs::exists(large)) {
            mmAviWriter w;
            w.OpenAVI(CString::FromUtf8((kInputDir / "large.tmp").string()));
            auto bih = BitmapInfo(1280, 720, 0);
            w.OpenAVIVideoStream(VideoInfo(1280, 720), bih.data(), 40, 0);
            std::vector<BYTE> frame(kFrameBytes);
            for (long long total = 0, n = 0; total < kTarget; total += kFrameBytes, ++n) {
                std::fill(frame.begin(), frame.end(), static_cast<BYTE>(n));
                w.WritePacket(streamtypeVIDEO, frame.data(), kFrameBytes, 0, AVIIF_KEYFRAME);
            }
            w.CloseAVI();
            fs::rename(kInputDir / "large.tmp", large);
        }
        return fs::exists(small) && fs::exists(large);
    }();
    return made;
}

std::string Input(const char* name)
{
    return (kInputDir / name).string();
}

// Reads the whole file once so that every run finds it in the page cache.
void Warm(const std::string& path)
{
    static std::vector<char> buf(1 << 20);
    const int fd = open(path.c_str(), O_RDONLY);
    while (fd >= 0 && read(fd, buf.data(), buf.size()) > 0) {
    }
    if (fd >= 0)
        close(fd);
}

// --- reading ---

void ReadSkinkit(benchmark::State& state, const char* name, bool tolerant)
{
    if (!MakeInputs()) {
        state.SkipWithError("no input files");
        return;
    }
    const std::string path = Input(name);
    Warm(path);
    long long packets = 0, bytes = 0;
    for (auto _ : state) {
        mmAviParser reader;
        reader.m_bTolerant = tolerant;
        if (reader.OpenAVI(CString::FromUtf8(path)) != 0) {
            state.SkipWithError("open failed");
            return;
        }
        _TAG_AVI_PACKET_INFO p{};
        unsigned sum = 0;
        for (int k = 0; reader.GetAVIReadData(k, &p) == 0; ++k) {
            sum += p.pData[0] + p.pData[p.nDataSize - 1];
            ++packets;
            bytes += p.nDataSize;
        }
        benchmark::DoNotOptimize(sum);
        reader.CloseAVI();
    }
    state.SetItemsProcessed(packets);
    state.SetBytesProcessed(bytes);
}

void ReadLibavformat(benchmark::State& state, const char* name)
{
    if (!MakeInputs()) {
        state.SkipWithError("no input files");
        return;
    }
    const std::string path = Input(name);
    Warm(path);
    long long packets = 0, bytes = 0;
    AVPacket* pkt = av_packet_alloc();
    for (auto _ : state) {
        AVFormatContext* ctx = nullptr;
        if (avformat_open_input(&ctx, path.c_str(), nullptr, nullptr) < 0) {
            state.SkipWithError("open failed");
            break;
        }
        unsigned sum = 0;
        while (av_read_frame(ctx, pkt) >= 0) {
            sum += pkt->data[0] + pkt->data[pkt->size - 1];
            ++packets;
            bytes += pkt->size;
            av_packet_unref(pkt);
        }
        benchmark::DoNotOptimize(sum);
        avformat_close_input(&ctx);
    }
    av_packet_free(&pkt);
    state.SetItemsProcessed(packets);
    state.SetBytesProcessed(bytes);
}

// The floor for large frames: the file read whole, frame-sized reads, no parsing.
void ReadPlain(benchmark::State& state)
{
    if (!MakeInputs()) {
        state.SkipWithError("no input files");
        return;
    }
    const std::string path = Input("large.avi");
    Warm(path);
    std::vector<BYTE> buf(kFrameBytes);
    long long bytes = 0;
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        ssize_t n;
        unsigned sum = 0;
        while ((n = read(fd, buf.data(), buf.size())) > 0) {
            sum += buf[0] + buf[static_cast<size_t>(n) - 1];
            bytes += n;
        }
        benchmark::DoNotOptimize(sum);
        close(fd);
    }
    state.SetBytesProcessed(bytes);
}

// --- opening an OpenDML file ---

const std::string& OdmlInput()
{
    static const std::string path = [] {
        const fs::path p = kInputDir / "odml.avi";
        if (!fs::exists(p)) {
            fs::create_directories(kInputDir);
            const std::string tmp = (kInputDir / "odml.tmp.avi").string();
            const std::string cmd =
                "ffmpeg -v error -y -f lavfi -i color=c=blue:size=160x120:rate=25 -f lavfi -i "
                "sine=sample_rate=8000 -t 760 -c:v rawvideo -pix_fmt bgr24 " +
                tmp;
            if (std::system(cmd.c_str()) == 0)
                fs::rename(tmp, p);
        }
        return fs::exists(p) ? p.string() : std::string();
    }();
    return path;
}

void OpenOdmlSkinkit(benchmark::State& state)
{
    const std::string& path = OdmlInput();
    if (path.empty()) {
        state.SkipWithError("no OpenDML input (ffmpeg missing?)");
        return;
    }
    for (auto _ : state) {
        mmAviParser reader;
        reader.m_bTolerant = true;
        if (reader.OpenAVI(CString::FromUtf8(path)) != 0) {
            state.SkipWithError("open failed");
            return;
        }
        reader.CloseAVI();
    }
}

void OpenOdmlLibavformat(benchmark::State& state)
{
    const std::string& path = OdmlInput();
    if (path.empty()) {
        state.SkipWithError("no OpenDML input (ffmpeg missing?)");
        return;
    }
    for (auto _ : state) {
        AVFormatContext* ctx = nullptr;
        if (avformat_open_input(&ctx, path.c_str(), nullptr, nullptr) < 0) {
            state.SkipWithError("open failed");
            break;
        }
        avformat_close_input(&ctx);
    }
}

// --- writing ---

struct Held
{
    // Our side: what the reader handed out.
    struct Packet
    {
        DWORD type;
        int typeIndex;
        DWORD flags;
        std::vector<BYTE> data;
    };
    struct Stream
    {
        int kind;
        AVISTREAMINFOW info;
        std::vector<BYTE> format;
    };
    std::vector<Stream> streams;
    std::vector<Packet> packets;
    // libavformat's side: its demuxer's streams and packets of the same file.
    AVFormatContext* input = nullptr;
    std::vector<AVPacket*> avPackets;
};

Held& Load(const char* name)
{
    static std::unique_ptr<Held> held;
    static std::string loaded;
    if (held && loaded == name)
        return *held;
    if (held) {
        for (AVPacket* p : held->avPackets)
            av_packet_free(&p);
        avformat_close_input(&held->input);
    }
    held = std::make_unique<Held>();
    loaded = name;
    const std::string path = Input(name);
    mmAviParser reader;
    reader.OpenAVI(CString::FromUtf8(path));
    for (int kind = 0; kind < 2; ++kind) {
        const int count =
            kind == 0 ? reader.GetAVIVideoStreamCount() : reader.GetAVIAudioStreamCount();
        for (int n = 0; n < count; ++n) {
            Held::Stream s{kind, {}, std::vector<BYTE>(4096)};
            AVISTREAMINFOW raw{};
            int copied = 0;
            if (kind == 0) {
                reader.GetAVIVideoStreamInfo(&raw, n);
                reader.GetAVIVideoFormat(s.format.data(), 4096, &copied, n);
            } else {
                reader.GetAVIAudioStreamInfo(&raw, n);
                reader.GetAVIAudioFormat(s.format.data(), 4096, &copied, n);
            }
            s.info = avi::InfoFromRawHeader(raw);
            s.format.resize(static_cast<size_t>(copied));
            held->streams.push_back(std::move(s));
        }
    }
    _TAG_AVI_PACKET_INFO p{};
    for (int k = 0; reader.GetAVIReadData(k, &p) == 0; ++k)
        held->packets.push_back({p.fccType, p.nTypeIndex, p.dwFlags,
                                 std::vector<BYTE>(p.pData, p.pData + p.nDataSize)});
    reader.CloseAVI();

    avformat_open_input(&held->input, path.c_str(), nullptr, nullptr);
    AVPacket* pkt = av_packet_alloc();
    while (av_read_frame(held->input, pkt) >= 0) {
        held->avPackets.push_back(av_packet_clone(pkt));
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    return *held;
}

void WriteSkinkit(benchmark::State& state, const char* name)
{
    if (!MakeInputs()) {
        state.SkipWithError("no input files");
        return;
    }
    Held& held = Load(name);
    const std::string out = OutputPath("skinkit.avi");
    long long bytes = 0;
    for (auto _ : state) {
        mmAviWriter w;
        w.OpenAVI(CString::FromUtf8(out));
        int ids[2] = {0, 0};
        for (Held::Stream& s : held.streams) {
            const int rc = s.kind == 0
                               ? w.OpenAVIVideoStream(s.info, s.format.data(),
                                                      static_cast<int>(s.format.size()), ids[0]++)
                               : w.OpenAVIAudioStream(s.info, s.format.data(),
                                                      static_cast<int>(s.format.size()), ids[1]++);
            if (rc != 0)
                state.SkipWithError("stream");
        }
        for (Held::Packet& p : held.packets) {
            if (w.WritePacket(p.type, p.data.data(), static_cast<int>(p.data.size()), p.typeIndex,
                              p.flags) != 0) {
                state.SkipWithError("write failed");
                break;
            }
            bytes += static_cast<long long>(p.data.size());
        }
        w.CloseAVI();
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(held.packets.size()));
    state.SetBytesProcessed(bytes);
}

void WriteLibavformat(benchmark::State& state, const char* name)
{
    if (!MakeInputs()) {
        state.SkipWithError("no input files");
        return;
    }
    Held& held = Load(name);
    const std::string out = OutputPath("libavformat.avi");
    long long bytes = 0;
    AVPacket* pkt = av_packet_alloc();
    for (auto _ : state) {
        AVFormatContext* oc = nullptr;
        avformat_alloc_output_context2(&oc, nullptr, "avi", out.c_str());
        for (unsigned i = 0; i < held.input->nb_streams; ++i) {
            AVStream* st = avformat_new_stream(oc, nullptr);
            avcodec_parameters_copy(st->codecpar, held.input->streams[i]->codecpar);
            st->codecpar->codec_tag = 0;
            st->time_base = held.input->streams[i]->time_base;
        }
        if (avio_open(&oc->pb, out.c_str(), AVIO_FLAG_WRITE) < 0 ||
            avformat_write_header(oc, nullptr) < 0) {
            state.SkipWithError("muxer set-up failed");
            break;
        }
        for (AVPacket* src : held.avPackets) {
            av_packet_ref(pkt, src);
            bytes += pkt->size;
            if (av_write_frame(oc, pkt) < 0) {
                state.SkipWithError("write failed");
                break;
            }
            av_packet_unref(pkt);
        }
        av_write_trailer(oc);
        avio_closep(&oc->pb);
        avformat_free_context(oc);
    }
    av_packet_free(&pkt);
    state.SetItemsProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(held.avPackets.size()));
    state.SetBytesProcessed(bytes);
}

void Setup()
{
    av_log_set_level(AV_LOG_ERROR);
}

// Medians of three repetitions: the machines these run on are shared.
#define AVI_BENCH(fn, iterations, ...)                                                             \
    BENCHMARK_CAPTURE(fn, __VA_ARGS__)                                                             \
        ->Iterations(iterations)                                                                   \
        ->Repetitions(3)                                                                           \
        ->ReportAggregatesOnly(true)                                                               \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()

AVI_BENCH(ReadSkinkit, 5, small, "small.avi", false);
AVI_BENCH(ReadSkinkit, 5, small_tolerant, "small.avi", true);
AVI_BENCH(ReadLibavformat, 1, small, "small.avi");
AVI_BENCH(ReadSkinkit, 10, large, "large.avi", false);
AVI_BENCH(ReadSkinkit, 10, large_tolerant, "large.avi", true);
AVI_BENCH(ReadLibavformat, 10, large, "large.avi");
BENCHMARK(ReadPlain)
    ->Iterations(10)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(OpenOdmlSkinkit)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(OpenOdmlLibavformat)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
AVI_BENCH(WriteSkinkit, 3, small, "small.avi");
AVI_BENCH(WriteLibavformat, 3, small, "small.avi");
AVI_BENCH(WriteSkinkit, 5, large, "large.avi");
AVI_BENCH(WriteLibavformat, 5, large, "large.avi");

const int kSetup = (Setup(), 0);

} // namespace
