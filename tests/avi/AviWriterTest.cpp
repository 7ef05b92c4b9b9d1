#include "avi/AviWriter.h"
#include "avi/AviParser.h"

#include "AviTestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <sys/resource.h>

using namespace avitest;

namespace {

const DWORD kText = mmioFOURCC('t', 'x', 't', 's');

// The chunk tree of a RIFF file by its sizes, pad bytes included, e.g. "AVI (hdrl(avih) movi
// idx1)"; "!" where a size does not fit its list.
std::string Tree(const Bytes& b, size_t at = 0, size_t end = SIZE_MAX)
{
    end = std::min(end, b.size());
    std::string t;
    for (; at + 8 <= end; t += ' ') {
        const size_t size = avi::ReadLE32(&b[at + 4]), next = at + 8 + size + (size & 1);
        const bool list = !std::memcmp(&b[at], "LIST", 4) || !std::memcmp(&b[at], "RIFF", 4);
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

class Writer : public ::testing::Test
{
protected:
    std::string Path(const char* name = "w.avi") const { return m_dir.File(name); }
    int Open(const char* name = "w.avi") { return m_writer.OpenAVI(CString::FromUtf8(Path(name))); }
    int OpenVideo(int id)
    {
        Bytes f = BitmapInfo(32, 24);
        return m_writer.OpenAVIVideoStream(StreamInfo(streamtypeVIDEO, 25), f.data(), 40, id);
    }
    int OpenAudio(int id)
    {
        Bytes f = WaveFormat();
        return m_writer.OpenAVIAudioStream(StreamInfo(streamtypeAUDIO, 8000, 2), f.data(), 16, id);
    }
    int OpenMeta(int id)
    {
        Bytes f = {'m', 'e', 't', 'a', '!'};
        return m_writer.OpenAVIMetaStream(StreamInfo(kText, 1000), f.data(), 5, id);
    }
    int Write(DWORD type, Bytes data, int id, DWORD flags = 0x10)
    {
        return m_writer.WritePacket(type, data.data(), static_cast<int>(data.size()), id, flags);
    }
    // The packets of the file as the default walk reads them.
    std::vector<Got> ReadBack(const char* name = "w.avi")
    {
        EXPECT_EQ(m_reader.OpenAVI(CString::FromUtf8(Path(name))), 0);
        return Packets(m_reader);
    }
    // The stream header of the n-th stream that `query` finds, the file's stream `at`.
    AVISTREAMINFOW Header(int (mmAviParser::*query)(AVISTREAMINFOW*, int), int n, int at)
    {
        AVISTREAMINFOW raw{};
        EXPECT_EQ((m_reader.*query)(&raw, n), at);
        return avi::InfoFromRawHeader(raw);
    }
    // The format of the n-th stream that `query` finds, read into a buffer of `size` bytes:
    // the result and the bytes copied.
    std::pair<int, Bytes> Format(int (mmAviParser::*query)(void*, int, int*, int), int n,
                                 int size = 63)
    {
        BYTE buf[64];
        std::memset(buf, 0x55, sizeof buf);
        int copied = 0;
        const int rc = (m_reader.*query)(buf, size, &copied, n);
        EXPECT_EQ(buf[size], 0x55) << "written past the buffer";
        return {rc, Bytes(buf, buf + copied)};
    }

    TempDir m_dir;
    mmAviWriter m_writer;
    mmAviParser m_reader;
};

TEST_F(Writer, IdsAreUniquePerKindPacketTypesChooseTheKindAndCloseFreesThem)
{
    EXPECT_EQ(OpenVideo(0), -2); // no file yet
    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(OpenVideo(0), 0);
    EXPECT_EQ(OpenVideo(0), -3);
    EXPECT_EQ(OpenAudio(3), 0);
    EXPECT_EQ(OpenMeta(5), 0);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 3), -2);
    EXPECT_EQ(Write(streamtypeAUDIO, Bytes(4), 3), 0);
    EXPECT_EQ(Write(mmioFOURCC('a', 'b', 'c', 'd'), Bytes(4), 5), 0);
    // Closing by id, then every stream of a kind (-1); a closed id is free again.
    ASSERT_EQ(OpenVideo(1), 0);
    m_writer.CloseAVIVideoStream(7);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 0), 0);
    m_writer.CloseAVIVideoStream(0);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 0), -2);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 1), 0);
    m_writer.CloseAVIVideoStream(-1);
    EXPECT_EQ(Write(streamtypeVIDEO, Bytes(4), 1), -2);
    EXPECT_EQ(Write(streamtypeAUDIO, Bytes(4), 3), 0);
    EXPECT_EQ(OpenVideo(0), 0);
}

TEST_F(Writer, FailuresToCreateAStream)
{
    EXPECT_EQ(m_writer.OpenAVI(CString::FromUtf8(m_dir.File("no/such/folder/x.avi"))), -1);
    ASSERT_EQ(Open(), 0);
    BYTE f[4] = {};
    EXPECT_EQ(m_writer.OpenAVIVideoStream(StreamInfo(streamtypeVIDEO, 25), f, -3, 0), -5);
    EXPECT_EQ(m_writer.OpenAVIVideoStream(StreamInfo(streamtypeVIDEO, 25), nullptr, 8, 0), -5);
    // idx1 chunk ids carry two decimal digits: 100 streams at most.
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(OpenVideo(i), 0) << i;
    EXPECT_EQ(OpenVideo(100), -4);
    EXPECT_EQ(OpenAudio(0), -4);
}

// Packets of three kinds, an empty one (a gap of one sample position, filled with an empty
// chunk when the stream's next packet comes: the AVI way to say that a frame repeats), a stream
// opened after the first packet and a metadata format of size 0 (the caller's block, 4 bytes of it)
// all come back through the reader.
TEST_F(Writer, PacketsStreamsAndFormatsComeBack)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(OpenVideo(4), 0);
    ASSERT_EQ(OpenAudio(9), 0);
    struct W
    {
        DWORD type;
        int id, stream;
        Bytes data;
        DWORD flags;
    };
    const std::vector<W> written = {{streamtypeVIDEO, 4, 0, Pattern(2304, 1), 0x10},
                                    {streamtypeAUDIO, 9, 1, Pattern(801, 2), 0x10},
                                    {kText, 1, 3, Pattern(3, 3), 0},
                                    {streamtypeVIDEO, 4, 0, Pattern(2303, 4), 0},
                                    {streamtypeAUDIO, 9, 1, Pattern(800, 5), 0x10},
                                    {streamtypeVIDEO, 4, 0, {}, 0},
                                    {streamtypeVIDEO, 4, 0, Pattern(1, 6), 0}};
    for (const W& w : written) {
        if (w.type == kText && OpenMeta(0) == 0) {
            auto* block = static_cast<BYTE*>(std::malloc(6));
            std::memcpy(block, "abcdef", 6);
            ASSERT_EQ(m_writer.OpenAVIMetaStream(StreamInfo(kText, 1000), block, 0, 1), 0);
        }
        BYTE small[16] = {}; // a packet that would reach 2 GiB is refused before it is read
        if (w.data.size() == 1) {
            EXPECT_EQ(m_writer.WritePacket(streamtypeVIDEO, small, 0x7FFFFF00, 4, 0), -4);
        }
        ASSERT_EQ(Write(w.type, w.data, w.id, w.flags), 0);
    }
    m_writer.CloseAVI();
    EXPECT_EQ(m_writer.GetAVICloseResult(), 0);

    const Bytes file = ReadAll(Path());
    EXPECT_EQ(Tree(file), "AVI (hdrl(avih strl(strh strf) strl(strh strf) strl(strh strf) "
                          "strl(strh strf) JUNK) movi idx1)");
    const auto read = [](const Got& g) {
        return std::tuple(g.info.fccType, g.info.nStreamNo, g.info.nTypeIndex, g.info.dwFlags,
                          g.data);
    };
    const auto sent = [](const W& w) {
        return std::tuple(w.type, w.stream, w.stream == 3 ? 1 : 0, w.flags, w.data);
    };
    EXPECT_EQ(Each(ReadBack(), read), Each(written, sent));
    EXPECT_EQ(std::tuple(m_reader.GetAVIVideoStreamCount(), m_reader.GetAVIAudioStreamCount(),
                         m_reader.GetAVIMetaStreamCount()),
              std::tuple(1, 1, 2));

    EXPECT_EQ(Format(&mmAviParser::GetAVIVideoFormat, 0), std::pair(0, BitmapInfo(32, 24)));
    EXPECT_EQ(Format(&mmAviParser::GetAVIAudioFormat, 0), std::pair(1, WaveFormat()));
    EXPECT_EQ(Format(&mmAviParser::GetAVIMetaFormat, 2),
              std::pair(2, Bytes{'m', 'e', 't', 'a', '!'}));
    EXPECT_EQ(Format(&mmAviParser::GetAVIMetaFormat, 3), std::pair(3, Bytes{'a', 'b', 'c', 'd'}));
    EXPECT_EQ(Format(&mmAviParser::GetAVIMetaFormat, 4).first, -1);
    Bytes cut = BitmapInfo(32, 24); // a format larger than the buffer is cut to it
    cut.resize(10);
    EXPECT_EQ(Format(&mmAviParser::GetAVIVideoFormat, 0, 10), std::pair(0, cut));

    // Stream lengths as written (sample positions; bytes / sample size for sound), the largest
    // packet, and the main header (avih at 32).
    const AVISTREAMINFOW video = Header(&mmAviParser::GetAVIVideoStreamInfo, 0, 0);
    const AVISTREAMINFOW meta = Header(&mmAviParser::GetAVIMetaStreamInfo, 1, 3);
    EXPECT_EQ(std::tuple(video.dwLength, video.dwSuggestedBufferSize,
                         Header(&mmAviParser::GetAVIAudioStreamInfo, 0, 1).dwLength, meta.fccType,
                         meta.dwLength),
              std::tuple(4u, 2304u, (801u + 800u) / 2, kText, 1u));
    EXPECT_EQ(avi::ReadLE32(&file[44]) & AVIF_HASINDEX, AVIF_HASINDEX);
    // dwMicroSecPerFrame, dwTotalFrames, dwStreams, dwSuggestedBufferSize, dwWidth, dwHeight
    for (auto [at, want] :
         {std::pair{32, 40000u}, {48, 4u}, {56, 4u}, {60, 2304u}, {64, 32u}, {68, 24u}})
        EXPECT_EQ(avi::ReadLE32(&file[at]), want) << "avih at " << at;
}

// A second OpenAVI completes the first file; a writer destroyed without CloseAVI completes
// its file too. Each open file holds the writing library once.
TEST_F(Writer, SecondOpenAndDestructorCompleteTheFile)
{
    const int uses = AVIFileInitCount();
    ASSERT_EQ(Open("first.avi"), 0);
    ASSERT_EQ(OpenVideo(0), 0);
    ASSERT_EQ(Write(streamtypeVIDEO, Pattern(99, 1), 0), 0);
    ASSERT_EQ(Open("second.avi"), 0);
    EXPECT_EQ(Write(streamtypeVIDEO, Pattern(99, 1), 0), -2);
    EXPECT_EQ(AVIFileInitCount(), uses + 1);
    m_writer.CloseAVI();
    EXPECT_EQ(AVIFileInitCount(), uses);
    EXPECT_EQ(Tree(ReadAll(Path("first.avi"))), "AVI (hdrl(avih strl(strh strf) JUNK) movi idx1)");
    EXPECT_EQ(Each(ReadBack("first.avi"), &Got::data), std::vector<Bytes>{Pattern(99, 1)});
    {
        mmAviWriter w;
        ASSERT_EQ(w.OpenAVI(CString::FromUtf8(Path("lost.avi"))), 0);
        Bytes f = WaveFormat(), d = Pattern(64, 9);
        ASSERT_EQ(w.OpenAVIAudioStream(StreamInfo(streamtypeAUDIO, 8000, 2), f.data(), 16, 0), 0);
        ASSERT_EQ(w.WritePacket(streamtypeAUDIO, d.data(), 64, 0, 0x10), 0);
    }
    EXPECT_EQ(Each(ReadBack("lost.avi"), &Got::data), std::vector<Bytes>{Pattern(64, 9)});
}

// The component's limit lowered to a few KiB: the completed file never passes it.
TEST_F(Writer, ComponentStopsAtItsSizeLimit)
{
    PAVIFILE file = nullptr;
    const CString path = CString::FromUtf8(Path());
    ASSERT_EQ(AVIFileOpenW(&file, path.GetString(), OF_CREATE | OF_WRITE, nullptr), 0);
    avi::SetFileSizeLimit(file, 8192);
    PAVISTREAM stream = nullptr;
    const AVISTREAMINFOW info = StreamInfo(streamtypeVIDEO, 25);
    ASSERT_EQ(AVIFileCreateStreamW(file, &stream, &info), 0);
    Bytes data = Pattern(501, 1);
    size_t written = 0;
    HRESULT hr = 0;
    while (written < 100 && (hr = AVIStreamWrite(stream, static_cast<LONG>(written), 1, data.data(),
                                                 501, 0x10, nullptr, nullptr)) >= 0)
        ++written;
    EXPECT_EQ(hr, AVIERR_FILETOOBIG);
    EXPECT_GT(written, 5u);
    AVIStreamRelease(stream);
    AVIFileRelease(file);
    const Bytes b = ReadAll(Path());
    EXPECT_LE(b.size(), 8192u);
    EXPECT_EQ(Tree(b).find('!'), std::string::npos) << Tree(b);
    EXPECT_EQ(ReadBack().size(), written);
}

// Completing the file fails when its bytes cannot reach the disk: a file size limit that the
// packets, still in the write buffer, do not meet but the completed file passes. The caller learns
// it; a later successful file answers 0 again.
TEST_F(Writer, CompletionFailureReachesTheCaller)
{
    EXPECT_EQ(m_writer.GetAVICloseResult(), 0);
    struct rlimit old, small;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    signal(SIGXFSZ, SIG_IGN);
    small = old;
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
}

} // namespace
