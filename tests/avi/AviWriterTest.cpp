#include "avi/AviWriter.h"
#include "avi/AviParser.h"

#include "AviTestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

using namespace avitest;

namespace {

AVISTREAMINFOW VideoInfo(DWORD scale = 1, DWORD rate = 25)
{
    AVISTREAMINFOW i{};
    i.fccType = streamtypeVIDEO;
    i.dwScale = scale;
    i.dwRate = rate;
    i.rcFrame = {0, 0, 32, 24};
    return i;
}

AVISTREAMINFOW AudioInfo()
{
    AVISTREAMINFOW i{};
    i.fccType = streamtypeAUDIO;
    i.dwScale = 1;
    i.dwRate = 8000;
    i.dwSampleSize = 2;
    return i;
}

AVISTREAMINFOW MetaInfo()
{
    AVISTREAMINFOW i{};
    i.fccType = mmioFOURCC('t', 'x', 't', 's');
    i.dwScale = 1;
    i.dwRate = 1000;
    return i;
}

// The chunk tree of a RIFF file by its sizes, pad bytes included, e.g. "AVI (hdrl(avih) movi
// idx1)"; "!" where a size does not fit its list.
std::string Tree(const Bytes& b, size_t at, size_t end)
{
    std::string t;
    for (; at + 8 <= end; t += ' ') {
        const size_t size = Get32(b, at + 4), next = at + 8 + size + (size & 1);
        const bool list = Find(b, "LIST", at) == at || Find(b, "RIFF", at) == at;
        const auto name = b.begin() + static_cast<long>(at + (list ? 8 : 0));
        t += std::string(name, name + 4);
        if (next > end)
            return t + "!";
        if (list && t.substr(t.size() - 4) != "movi")
            t += "(" + Tree(b, at + 12, at + 8 + size) + ")";
        at = next;
    }
    return at < end ? t + "!" : t.substr(0, t.size() - 1);
}
std::string Tree(const Bytes& b)
{
    return Tree(b, 0, b.size());
}

class Writer : public ::testing::Test
{
protected:
    std::string Path(const char* name = "w.avi") const { return m_dir.File(name); }
    int Open(const char* name = "w.avi") { return m_writer.OpenAVI(CString::FromUtf8(Path(name))); }
    int OpenVideo(int id, Bytes format = BitmapInfo(32, 24))
    {
        return m_writer.OpenAVIVideoStream(VideoInfo(), format.data(),
                                           static_cast<int>(format.size()), id);
    }
    int OpenAudio(int id)
    {
        Bytes f = WaveFormat();
        return m_writer.OpenAVIAudioStream(AudioInfo(), f.data(), 16, id);
    }
    int OpenMeta(int id)
    {
        Bytes f = {'m', 'e', 't', 'a', '!'};
        return m_writer.OpenAVIMetaStream(MetaInfo(), f.data(), 5, id);
    }
    int Write(DWORD type, const Bytes& data, int id, DWORD flags = 0x10)
    {
        Bytes copy = data;
        return m_writer.WritePacket(type, copy.data(), static_cast<int>(copy.size()), id, flags);
    }

    TempDir m_dir;
    mmAviWriter m_writer;
};

// --- bookkeeping ---

TEST_F(Writer, IdsAreUniqueWithinAKindAndPacketTypesChooseTheKind)
{
    EXPECT_EQ(OpenVideo(0), -2); // no file yet
    EXPECT_EQ(OpenMeta(0), -2);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 0), -2);
    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(OpenVideo(0), 0);
    EXPECT_EQ(OpenVideo(0), -3);
    EXPECT_EQ(OpenAudio(3), 0);
    EXPECT_EQ(OpenAudio(3), -3);
    EXPECT_EQ(OpenMeta(5), 0);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 3), -2);
    EXPECT_EQ(Write(streamtypeAUDIO, Bytes(4), 3), 0);
    EXPECT_EQ(Write(mmioFOURCC('a', 'b', 'c', 'd'), Bytes(4), 5), 0);
    EXPECT_EQ(Write(mmioFOURCC('t', 'x', 't', 's'), Bytes(4), 3), -2);
}

TEST_F(Writer, ClosingStreamsByIdAndByKind)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(OpenVideo(0), 0);
    ASSERT_EQ(OpenVideo(1), 0);
    ASSERT_EQ(OpenAudio(0), 0);
    ASSERT_EQ(OpenMeta(0), 0);
    m_writer.CloseAVIVideoStream(7);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 0), 0);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 1), 0);
    m_writer.CloseAVIVideoStream(0);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 0), -2);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 1), 0);
    m_writer.CloseAVIVideoStream(-1);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 1), -2);
    EXPECT_EQ(Write(streamtypeAUDIO, Bytes(4), 0), 0);
    EXPECT_EQ(Write(streamtypeTEXT, Bytes(4), 0), 0);
    // The id is free again.
    EXPECT_EQ(OpenVideo(0), 0);
}

TEST_F(Writer, FailuresToCreateAStream)
{
    EXPECT_EQ(m_writer.OpenAVI(CString::FromUtf8(m_dir.File("no/such/folder/x.avi"))), -1);
    ASSERT_EQ(Open(), 0);
    BYTE f[4] = {};
    EXPECT_EQ(m_writer.OpenAVIVideoStream(VideoInfo(), f, -3, 0), -5);
    EXPECT_EQ(m_writer.OpenAVIVideoStream(VideoInfo(), nullptr, 8, 0), -5);
    // idx1 chunk ids carry two decimal digits: 100 streams at most.
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(OpenVideo(i), 0) << i;
    EXPECT_EQ(OpenVideo(100), -4);
    EXPECT_EQ(OpenAudio(0), -4);
}

// --- what lands in the file ---

class WriterRoundTrip : public Writer
{
protected:
    void ReadBack(const char* name = "w.avi")
    {
        ASSERT_EQ(m_reader.OpenAVI(CString::FromUtf8(Path(name))), 0);
        _TAG_AVI_PACKET_INFO p{};
        for (int k = 0; m_reader.GetAVIReadData(k, &p) == 0; ++k)
            m_packets.push_back({p.fccType, p.nTypeIndex, p.nStreamNo, p.dwFlags,
                                 Bytes(p.pData, p.pData + p.nDataSize)});
    }
    AVISTREAMINFOW Info(avi::StreamKind kind, int n)
    {
        AVISTREAMINFOW raw{};
        const int rc = kind == avi::StreamKind::Video   ? m_reader.GetAVIVideoStreamInfo(&raw, n)
                       : kind == avi::StreamKind::Audio ? m_reader.GetAVIAudioStreamInfo(&raw, n)
                                                        : m_reader.GetAVIMetaStreamInfo(&raw, n);
        EXPECT_GE(rc, 0);
        return avi::InfoFromRawHeader(raw);
    }
    struct Packet
    {
        DWORD type;
        int typeIndex;
        int stream;
        DWORD flags;
        Bytes data;
    };
    mmAviParser m_reader;
    std::vector<Packet> m_packets;
};

TEST_F(WriterRoundTrip, PacketsStreamsAndFormatsComeBack)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(OpenVideo(4), 0);
    ASSERT_EQ(OpenAudio(9), 0);
    ASSERT_EQ(OpenMeta(1), 0);
    struct W
    {
        DWORD type;
        int id;
        Bytes data;
        DWORD flags;
    };
    const std::vector<W> written = {
        {streamtypeVIDEO, 4, Pattern(2304, 1), 0x10}, {streamtypeAUDIO, 9, Pattern(801, 2), 0x10},
        {streamtypeTEXT, 1, Pattern(3, 3), 0},        {streamtypeVIDEO, 4, Pattern(2303, 4), 0},
        {streamtypeAUDIO, 9, Pattern(800, 5), 0x10},  {streamtypeVIDEO, 4, Pattern(1, 6), 0}};
    for (const W& w : written)
        ASSERT_EQ(Write(w.type, w.data, w.id, w.flags), 0);
    m_writer.CloseAVI();

    const Bytes file = ReadAll(Path());
    EXPECT_EQ(Tree(file), "AVI (hdrl(avih strl(strh strf) strl(strh strf) strl(strh strf) JUNK) "
                          "movi idx1)");

    ReadBack();
    EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), 1);
    EXPECT_EQ(m_reader.GetAVIAudioStreamCount(), 1);
    EXPECT_EQ(m_reader.GetAVIMetaStreamCount(), 1);
    ASSERT_EQ(m_packets.size(), written.size());
    const int fileOrder[3] = {0, 1, 2}; // video, audio, meta: the order they were opened
    for (size_t i = 0; i < written.size(); ++i) {
        const int kind = static_cast<int>(avi::KindOf(written[i].type));
        EXPECT_EQ(m_packets[i].type,
                  written[i].type == streamtypeTEXT ? MetaInfo().fccType : written[i].type);
        EXPECT_EQ(m_packets[i].stream, fileOrder[kind]);
        EXPECT_EQ(m_packets[i].typeIndex, 0);
        EXPECT_EQ(m_packets[i].flags, written[i].flags);
        EXPECT_EQ(m_packets[i].data, written[i].data) << i;
    }

    BYTE buf[64];
    int copied = 0;
    EXPECT_EQ(m_reader.GetAVIVideoFormat(buf, sizeof buf, &copied, 0), 0);
    EXPECT_EQ(Bytes(buf, buf + copied), BitmapInfo(32, 24));
    EXPECT_EQ(m_reader.GetAVIAudioFormat(buf, sizeof buf, &copied, 0), 1);
    EXPECT_EQ(Bytes(buf, buf + copied), WaveFormat());
    EXPECT_EQ(m_reader.GetAVIMetaFormat(buf, sizeof buf, &copied, 2), 2);
    EXPECT_EQ(copied, 5);

    // Stream headers: the caller's record, with the lengths written.
    const AVISTREAMINFOW v = Info(avi::StreamKind::Video, 0);
    EXPECT_EQ(v.dwRate, 25u);
    EXPECT_EQ(v.dwLength, 3u);
    EXPECT_EQ(v.rcFrame.right, 32);
    EXPECT_EQ(v.dwSuggestedBufferSize, 2304u);
    const AVISTREAMINFOW a = Info(avi::StreamKind::Audio, 0);
    EXPECT_EQ(a.dwSampleSize, 2u);
    EXPECT_EQ(a.dwLength, (801u + 800u) / 2);
    EXPECT_EQ(Info(avi::StreamKind::Meta, 0).dwLength, 1u);

    // Main header (avih at 32): frame time, flags, frames, streams, buffer, size.
    EXPECT_EQ(Get32(file, 32), 40000u); // dwMicroSecPerFrame
    EXPECT_EQ(Get32(file, 44) & AVIF_HASINDEX, AVIF_HASINDEX);
    EXPECT_EQ(Get32(file, 48), 3u);    // dwTotalFrames
    EXPECT_EQ(Get32(file, 56), 3u);    // dwStreams
    EXPECT_EQ(Get32(file, 60), 2304u); // dwSuggestedBufferSize
    EXPECT_EQ(Get32(file, 64), 32u);   // dwWidth
    EXPECT_EQ(Get32(file, 68), 24u);   // dwHeight
}

TEST_F(WriterRoundTrip, EmptyPacketLeavesAGapOfOnePosition)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(OpenVideo(0), 0);
    ASSERT_EQ(Write(streamtypeVIDEO, Pattern(10, 1), 0), 0);
    ASSERT_EQ(Write(streamtypeVIDEO, Pattern(10, 2), 0, 0), 0);
    ASSERT_EQ(Write(streamtypeVIDEO, Bytes(), 0), 0);
    ASSERT_EQ(Write(streamtypeVIDEO, Pattern(10, 3), 0, 0), 0);
    m_writer.CloseAVI();
    ReadBack();
    // Positions 0, 1 and 3: the AVI way to say that frame 2 repeats frame 1 is an empty chunk.
    ASSERT_EQ(m_packets.size(), 4u);
    EXPECT_EQ(m_packets[2].data.size(), 0u);
    EXPECT_EQ(m_packets[2].flags, 0u);
    EXPECT_EQ(m_packets[3].data, Pattern(10, 3));
    EXPECT_EQ(Info(avi::StreamKind::Video, 0).dwLength, 4u);
}

TEST_F(WriterRoundTrip, MetaStreamWithFormatSizeZeroTakesTheCallersBlock)
{
    ASSERT_EQ(Open(), 0);
    auto* block = static_cast<BYTE*>(std::malloc(6));
    std::memcpy(block, "abcdef", 6);
    ASSERT_EQ(m_writer.OpenAVIMetaStream(MetaInfo(), block, 0, 0), 0);
    m_writer.CloseAVI();
    ReadBack();
    BYTE buf[16];
    int copied = 0;
    EXPECT_EQ(m_reader.GetAVIMetaFormat(buf, sizeof buf, &copied, 0), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), static_cast<size_t>(copied)), "abcd");
}

TEST_F(WriterRoundTrip, SecondOpenCompletesTheFirstFile)
{
    const int uses = AVIFileInitCount();
    ASSERT_EQ(Open("first.avi"), 0);
    ASSERT_EQ(OpenVideo(0), 0);
    ASSERT_EQ(Write(streamtypeVIDEO, Pattern(99, 1), 0), 0);
    ASSERT_EQ(Open("second.avi"), 0);
    EXPECT_EQ(Write(streamtypeVIDEO, Pattern(99, 1), 0), -2);
    // Each file holds the writing library once.
    EXPECT_EQ(AVIFileInitCount(), uses + 1);
    m_writer.CloseAVI();
    EXPECT_EQ(AVIFileInitCount(), uses);
    ReadBack("first.avi");
    ASSERT_EQ(m_packets.size(), 1u);
    EXPECT_EQ(m_packets[0].data, Pattern(99, 1));
    EXPECT_EQ(Tree(ReadAll(Path("first.avi"))).find('!'), std::string::npos);
}

TEST_F(WriterRoundTrip, WriterDestroyedWithoutCloseKeepsWhatWasWritten)
{
    {
        mmAviWriter w;
        ASSERT_EQ(w.OpenAVI(CString::FromUtf8(Path("lost.avi"))), 0);
        Bytes f = WaveFormat();
        ASSERT_EQ(w.OpenAVIAudioStream(AudioInfo(), f.data(), 16, 0), 0);
        Bytes d = Pattern(64, 9);
        ASSERT_EQ(w.WritePacket(streamtypeAUDIO, d.data(), 64, 0, 0x10), 0);
    }
    ReadBack("lost.avi");
    ASSERT_EQ(m_packets.size(), 1u);
    EXPECT_EQ(m_packets[0].data, Pattern(64, 9));
}

TEST_F(WriterRoundTrip, StreamsAddedAfterTheFirstPacketStillGetHeaders)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(OpenVideo(0), 0);
    ASSERT_EQ(Write(streamtypeVIDEO, Pattern(20, 1), 0), 0);
    ASSERT_EQ(OpenAudio(0), 0);
    ASSERT_EQ(Write(streamtypeAUDIO, Pattern(20, 2), 0), 0);
    m_writer.CloseAVI();
    EXPECT_EQ(Tree(ReadAll(Path())).find('!'), std::string::npos);
    ReadBack();
    ASSERT_EQ(m_packets.size(), 2u);
    EXPECT_EQ(m_packets[1].type, streamtypeAUDIO);
    EXPECT_EQ(m_packets[1].stream, 1);
}

// --- the 2 GiB rule ---

TEST_F(Writer, PacketThatWouldReach2GiBIsRefusedAndTheFileStaysReadable)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(OpenVideo(0), 0);
    ASSERT_EQ(Write(streamtypeVIDEO, Pattern(100, 1), 0), 0);
    // Refused before a byte is read from the (small) buffer.
    BYTE small[16] = {};
    EXPECT_EQ(m_writer.WritePacket(streamtypeVIDEO, small, 0x7FFFFF00, 0, 0), -4);
    EXPECT_EQ(Write(streamtypeVIDEO, Pattern(100, 2), 0), 0);
    m_writer.CloseAVI();
    mmAviParser reader;
    ASSERT_EQ(reader.OpenAVI(CString::FromUtf8(Path())), 0);
    _TAG_AVI_PACKET_INFO p{};
    EXPECT_EQ(reader.GetAVIReadData(1, &p), 0);
    EXPECT_EQ(reader.GetAVIReadData(2, &p), -1);
}

// The component's limit lowered to a few KiB: the completed file never passes it.
TEST_F(Writer, ComponentStopsAtItsSizeLimit)
{
    PAVIFILE file = nullptr;
    const std::string path = Path("limit.avi");
    const CString wide = CString::FromUtf8(path);
    ASSERT_EQ(AVIFileOpenW(&file, wide.GetString(), OF_CREATE | OF_WRITE, nullptr), 0);
    avi::SetFileSizeLimit(file, 8192);
    PAVISTREAM stream = nullptr;
    const AVISTREAMINFOW info = VideoInfo();
    ASSERT_EQ(AVIFileCreateStreamW(file, &stream, &info), 0);
    const Bytes data = Pattern(501, 1);
    int written = 0;
    HRESULT hr = 0;
    for (; written < 100; ++written) {
        hr = AVIStreamWrite(stream, written, 1, const_cast<BYTE*>(data.data()), 501, 0x10, nullptr,
                            nullptr);
        if (hr < 0)
            break;
    }
    EXPECT_EQ(hr, AVIERR_FILETOOBIG);
    EXPECT_GT(written, 5);
    AVIStreamRelease(stream);
    AVIFileRelease(file);
    const Bytes b = ReadAll(path);
    EXPECT_LE(b.size(), 8192u);
    EXPECT_EQ(Tree(b).find('!'), std::string::npos) << Tree(b);
    mmAviParser reader;
    ASSERT_EQ(reader.OpenAVI(wide), 0);
    _TAG_AVI_PACKET_INFO p{};
    EXPECT_EQ(reader.GetAVIReadData(written - 1, &p), 0);
    EXPECT_EQ(reader.GetAVIReadData(written, &p), -1);
}

// Completing the file fails when its bytes cannot reach the disk: a file size limit that the
// packets, still in the write buffer, do not meet but the completed file passes; a full disk.
// The caller learns it; a later successful file answers 0 again.
TEST_F(Writer, CompletionFailureReachesTheCaller)
{
    EXPECT_EQ(m_writer.GetAVICloseResult(), 0);
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ASSERT_EQ(Open("limited.avi"), 0);
    ASSERT_EQ(OpenVideo(0), 0);
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(Write(streamtypeVIDEO, Pattern(10000, 1), 0), 0) << i;
    m_writer.CloseAVI();
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(m_writer.GetAVICloseResult(), AVIWRITER_E_COMPLETE);

    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(OpenVideo(0), 0);
    m_writer.CloseAVI();
    EXPECT_EQ(m_writer.GetAVICloseResult(), 0);

    if (access("/dev/full", W_OK) == 0) {
        ASSERT_EQ(m_writer.OpenAVI(CString::FromUtf8("/dev/full")), 0);
        ASSERT_EQ(OpenVideo(0), 0);
        Write(streamtypeVIDEO, Pattern(100, 1), 0);
        m_writer.CloseAVI();
        EXPECT_EQ(m_writer.GetAVICloseResult(), AVIWRITER_E_COMPLETE);
    }
}

} // namespace
