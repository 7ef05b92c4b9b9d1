#include "avi/AviParser.h"

#include "AviTestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace avitest;

namespace {

// One video stream with a 40-byte format and three packets.
FileLayout SimpleLayout()
{
    FileLayout s;
    s.streams.push_back({StreamHeader("vids", 1, 25, 3), Pattern(40, 1), {}});
    s.packets = {{"00dc", Pattern(100, 10), 0x10},
                 {"00dc", Pattern(51, 20), 0},
                 {"00dc", Pattern(7, 30), 0}};
    return s;
}

class Reader : public ::testing::Test
{
protected:
    int Open(const Bytes& b, const char* name = "f.avi")
    {
        return m_reader.OpenAVI(CString::FromUtf8(m_dir.Write(name, b)));
    }
    // Every packet until -1: (result, size, flags, stream, bytes).
    struct Got
    {
        int rc;
        _TAG_AVI_PACKET_INFO info;
        Bytes data;
    };
    std::vector<Got> Packets()
    {
        std::vector<Got> all;
        for (int k = 0; k < 1000; ++k) {
            Got g{};
            g.rc = m_reader.GetAVIReadData(k, &g.info);
            if (g.rc == -1)
                break;
            if (g.rc == 0)
                g.data.assign(g.info.pData, g.info.pData + g.info.nDataSize);
            all.push_back(g);
        }
        return all;
    }

    TempDir m_dir;
    mmAviParser m_reader;
};

// --- where the RIFF header may start ---

struct RiffStartCase
{
    size_t prefix;
    int expected;
};
void PrintTo(const RiffStartCase& c, std::ostream* os)
{
    *os << "prefix " << c.prefix;
}
class RiffStart : public Reader, public ::testing::WithParamInterface<RiffStartCase>
{
};

TEST_P(RiffStart, FoundOnlyWithinTheFirst200Bytes)
{
    FileLayout s = SimpleLayout();
    s.prefix = GetParam().prefix;
    EXPECT_EQ(Open(Build(s)), GetParam().expected);
    if (GetParam().expected == 0) {
        EXPECT_EQ(Packets().size(), 3u);
    }
}
INSTANTIATE_TEST_SUITE_P(Prefixes, RiffStart,
                         ::testing::Values(RiffStartCase{0, 0}, RiffStartCase{1, 0},
                                           RiffStartCase{183, 0}, RiffStartCase{184, -1},
                                           RiffStartCase{300, -1}));

TEST_F(Reader, RefusesAFileShorterThan200Bytes)
{
    Bytes b = Build(SimpleLayout());
    b.resize(199);
    EXPECT_EQ(Open(b), -1);
    EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), -1);
}

TEST_F(Reader, MissingFileAnswersTheFileOpenError)
{
    EXPECT_EQ(m_reader.OpenAVI(CString::FromUtf8(m_dir.File("none.avi"))),
              static_cast<int>(0x8004406Fu));
    EXPECT_EQ(m_reader.OpenAVI(CString::FromUtf8(m_dir.File("none.avi"))), -2147205009);
}

TEST_F(Reader, ClosedReaderAnswersMinusOneEverywhere)
{
    AVISTREAMINFOW info{};
    BYTE buf[8];
    int copied = 5;
    _TAG_AVI_PACKET_INFO p{};
    EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), -1);
    EXPECT_EQ(m_reader.GetAVIAudioStreamCount(), -1);
    EXPECT_EQ(m_reader.GetAVIMetaStreamCount(), -1);
    EXPECT_EQ(m_reader.GetAVIVideoStreamInfo(&info, 0), -1);
    EXPECT_EQ(m_reader.GetAVIMetaFormat(buf, 8, &copied, 0), -1);
    EXPECT_EQ(m_reader.GetAVIReadData(0, &p), -1);
    ASSERT_EQ(Open(Build(SimpleLayout())), 0);
    m_reader.CloseAVI();
    m_reader.CloseAVI();
    EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), -1);
}

// --- the header part ---

struct MalformedCase
{
    const char* name;
    FileLayout layout;
};

std::vector<MalformedCase> MalformedFiles()
{
    std::vector<MalformedCase> c;
    FileLayout s = SimpleLayout();
    s.index = false;
    c.push_back({"NoIdx1", s});
    s = SimpleLayout();
    s.headerExtra = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'};
    c.push_back({"InfoListBetweenStreamsAndMovi", s});
    s = SimpleLayout();
    Bytes bad = {'s', 't', 'r', 'd', 2, 0, 0, 0, 1, 2};
    s.headerExtra = bad;
    c.push_back({"StreamDataOutsideAStreamList", s});
    // Sizes that claim more than the file holds are refused before any allocation.
    s = SimpleLayout();
    s.idx1Size = 0xFFFFFFF0u;
    c.push_back({"HugeIdx1", s});
    return c;
}

void PrintTo(const MalformedCase& c, std::ostream* os)
{
    *os << c.name;
}
class MalformedFile : public Reader, public ::testing::WithParamInterface<MalformedCase>
{
};
TEST_P(MalformedFile, IsRefusedAndLeavesTheReaderClosed)
{
    EXPECT_EQ(Open(Build(GetParam().layout)), -1);
    EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), -1);
    EXPECT_EQ(m_reader.GetAVIMetaStreamCount(), -1);
}
INSTANTIATE_TEST_SUITE_P(Files, MalformedFile, ::testing::ValuesIn(MalformedFiles()),
                         [](const auto& i) { return std::string(i.param.name); });

// Patches the stored size of the first chunk with this id.
void PatchSize(Bytes& b, const char* id, std::uint32_t size)
{
    for (size_t i = 0; i + 8 <= b.size(); ++i)
        if (std::memcmp(b.data() + i, id, 4) == 0) {
            Patch32(b, i + 4, size);
            return;
        }
    FAIL() << id;
}

TEST_F(Reader, HugeStrhOrStrfSizeIsRefused)
{
    for (const char* id : {"strh", "strf"}) {
        Bytes b = Build(SimpleLayout());
        PatchSize(b, id, 0xFFFFFF00u);
        EXPECT_EQ(Open(b), -1) << id;
        PatchSize(b, id, 0x7FFFFFFFu);
        EXPECT_EQ(Open(b), -1) << id;
    }
}

TEST_F(Reader, StreamListMustStartWithStrh)
{
    Bytes b = Build(SimpleLayout());
    const char* strh = "strh";
    auto at = std::search(b.begin(), b.end(), strh, strh + 4);
    std::memcpy(&*at, "strn", 4);
    EXPECT_EQ(Open(b), -1);
}

TEST_F(Reader, FilesOf2GiBAndMoreAreRefused)
{
    const std::string path = m_dir.Write("big.avi", Build(SimpleLayout()));
    ASSERT_EQ(truncate(path.c_str(), 0x80000000LL), 0);
    EXPECT_EQ(m_reader.OpenAVI(CString::FromUtf8(path)), -1);
    ASSERT_EQ(truncate(path.c_str(), 0x7FFFFFFFLL), 0);
    EXPECT_EQ(m_reader.OpenAVI(CString::FromUtf8(path)), 0);
}

TEST_F(Reader, OpenOnAnOpenReaderStartsAfresh)
{
    ASSERT_EQ(Open(Build(SimpleLayout()), "a.avi"), 0);
    ASSERT_EQ(Open(Build(SimpleLayout()), "b.avi"), 0);
    EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), 1);
    AVISTREAMINFOW info{};
    EXPECT_EQ(m_reader.GetAVIVideoStreamInfo(&info, 0), 0);
    // A file that cannot be opened leaves the open one as it was.
    EXPECT_EQ(m_reader.OpenAVI(CString::FromUtf8(m_dir.File("none.avi"))), AVIERR_FILEOPEN);
    EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), 1);
    _TAG_AVI_PACKET_INFO p{};
    EXPECT_EQ(m_reader.GetAVIReadData(0, &p), 0);
}

// --- streams, kinds and formats ---

class ReaderStreams : public Reader
{
protected:
    void SetUp() override
    {
        FileLayout s;
        s.streams.push_back({StreamHeader("vids", 1, 25, 1), Pattern(40, 1), {}});
        s.streams.push_back({StreamHeader("vids", 1001, 30000, 1), Pattern(44, 2), {}});
        // A metadata stream without format: strh followed directly by JUNK.
        s.streams.push_back({StreamHeader("txts", 1, 1000, 1),
                             std::nullopt,
                             {'J', 'U', 'N', 'K', 2, 0, 0, 0, 0, 0}});
        s.packets = {{"00dc", Pattern(10, 1)}, {"01dc", Pattern(11, 2)}, {"02tx", Pattern(3, 3)}};
        ASSERT_EQ(Open(Build(s)), 0);
    }
};

TEST_F(ReaderStreams, CountsEachKind)
{
    EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), 2);
    EXPECT_EQ(m_reader.GetAVIAudioStreamCount(), 0);
    EXPECT_EQ(m_reader.GetAVIMetaStreamCount(), 1);
}

TEST_F(ReaderStreams, InfoAnswersTheFileOrderNumber)
{
    AVISTREAMINFOW info{};
    EXPECT_EQ(m_reader.GetAVIVideoStreamInfo(&info, 1), 1);
    EXPECT_EQ(info.fccType, streamtypeVIDEO);
    EXPECT_EQ(info.dwScale, 1001u);
    EXPECT_EQ(info.dwRate, 30000u);
    EXPECT_EQ(m_reader.GetAVIMetaStreamInfo(&info, 0), 2);
    EXPECT_EQ(info.fccType, mmioFOURCC('t', 'x', 't', 's'));
    EXPECT_EQ(m_reader.GetAVIMetaStreamInfo(&info, 1), -1);
    EXPECT_EQ(m_reader.GetAVIAudioStreamInfo(&info, 0), -1);
    EXPECT_EQ(m_reader.GetAVIVideoStreamInfo(&info, -1), -1);
}

TEST_F(ReaderStreams, MetaFormatTakesTheFileOrderNumber)
{
    BYTE buf[64];
    int copied = 0;
    EXPECT_EQ(m_reader.GetAVIMetaFormat(buf, sizeof buf, &copied, 0), 0);
    EXPECT_EQ(copied, 40);
    EXPECT_EQ(Bytes(buf, buf + 40), Pattern(40, 1));
    EXPECT_EQ(m_reader.GetAVIMetaFormat(buf, sizeof buf, &copied, 3), -1);
}

TEST_F(ReaderStreams, StreamWithoutFormatAnswersMinusTwoAndClearsTheBuffer)
{
    BYTE buf[16];
    std::memset(buf, 0xAB, sizeof buf);
    int copied = 99;
    EXPECT_EQ(m_reader.GetAVIMetaFormat(buf, sizeof buf, &copied, 2), -2);
    EXPECT_EQ(copied, 0);
    EXPECT_EQ(Bytes(buf, buf + 16), Bytes(16, 0));
}

TEST_F(ReaderStreams, FormatIsCutToTheBuffer)
{
    BYTE buf[20] = {};
    int copied = 0;
    EXPECT_EQ(m_reader.GetAVIVideoFormat(buf, 10, &copied, 1), 1);
    EXPECT_EQ(copied, 10);
    const Bytes format = Pattern(44, 2);
    EXPECT_EQ(Bytes(buf, buf + 10), Bytes(format.begin(), format.begin() + 10));
    EXPECT_EQ(buf[10], 0);
}

TEST_F(ReaderStreams, PacketsCarryKindAndNumberWithinKind)
{
    const auto got = Packets();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].info.fccType, streamtypeVIDEO);
    EXPECT_EQ(got[1].info.nTypeIndex, 1);
    EXPECT_EQ(got[1].info.nStreamNo, 1);
    EXPECT_EQ(got[2].info.fccType, mmioFOURCC('t', 'x', 't', 's'));
    EXPECT_EQ(got[2].info.nTypeIndex, 0);
    EXPECT_EQ(got[2].info.nStreamNo, 2);
}

TEST_F(Reader, StrhFollowedByTheNextListHasNoFormat)
{
    FileLayout s;
    s.streams.push_back({StreamHeader("auds", 1, 8000), std::nullopt, {}});
    s.streams.push_back({StreamHeader("auds", 1, 8000), Pattern(18, 4), {}});
    s.packets = {{"01wb", Pattern(4, 1)}};
    ASSERT_EQ(Open(Build(s)), 0);
    BYTE buf[32];
    int copied = -1;
    EXPECT_EQ(m_reader.GetAVIAudioFormat(buf, sizeof buf, &copied, 0), -2);
    EXPECT_EQ(copied, 0);
    EXPECT_EQ(m_reader.GetAVIAudioFormat(buf, sizeof buf, &copied, 1), 1);
    EXPECT_EQ(copied, 18);
}

// Optional chunks inside a stream list, as other writers put there (vprp, strn, indx).
TEST_F(Reader, OptionalStreamListChunksAreSkipped)
{
    FileLayout s = SimpleLayout();
    Bytes extra = {'J', 'U', 'N', 'K', 4, 0, 0, 0, 0, 0, 0, 0};
    PutChunk(extra, "vprp", Pattern(68, 1), true);
    PutChunk(extra, "strn", {'n', 'a', 'm', 'e', 0}, true);
    s.streams[0].extra = extra;
    s.streams.push_back({StreamHeader("auds", 1, 8000), Pattern(16, 2), {}});
    ASSERT_EQ(Open(Build(s)), 0);
    EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), 1);
    EXPECT_EQ(m_reader.GetAVIAudioStreamCount(), 1);
}

TEST_F(Reader, StrhLargerThanTheRecordIsCutToIt)
{
    FileLayout s = SimpleLayout();
    s.streams[0].strh = StreamHeader("vids", 1, 25, 3);
    s.streams[0].strh.resize(300, 0xEE);
    ASSERT_EQ(Open(Build(s)), 0);
    struct
    {
        AVISTREAMINFOW info;
        BYTE guard[96];
    } rec;
    std::memset(&rec, 0x11, sizeof rec);
    EXPECT_EQ(m_reader.GetAVIVideoStreamInfo(&rec.info, 0), 0);
    EXPECT_EQ(rec.info.dwRate, 25u);
    EXPECT_EQ(rec.info.szName[63], 0xEEEE);
    EXPECT_EQ(Bytes(rec.guard, rec.guard + 96), Bytes(96, 0x11));
}

TEST_F(Reader, InfoHoldsTheStoredHeaderLayout)
{
    FileLayout s = SimpleLayout();
    Bytes& h = s.streams[0].strh;
    Patch32(h, 36, 4096);             // dwSuggestedBufferSize
    Patch32(h, 44, 0);                // dwSampleSize
    Patch32(h, 48, 0);                // rcFrame left, top
    Patch32(h, 52, (48u << 16) | 64); // rcFrame right, bottom
    ASSERT_EQ(Open(Build(s)), 0);
    AVISTREAMINFOW raw{};
    ASSERT_EQ(m_reader.GetAVIVideoStreamInfo(&raw, 0), 0);
    // Stored as the file has it: dwInitialFrames receives dwSuggestedBufferSize ...
    EXPECT_EQ(raw.dwInitialFrames, 4096u);
    EXPECT_EQ(raw.dwLength, 3u);
    // ... and the conversion puts every member in its place.
    const AVISTREAMINFOW info = avi::InfoFromRawHeader(raw);
    EXPECT_EQ(info.dwSuggestedBufferSize, 4096u);
    EXPECT_EQ(info.rcFrame.right, 64);
    EXPECT_EQ(info.rcFrame.bottom, 48);
    EXPECT_EQ(info.dwLength, 3u);
}

// --- RIFF padding ---

TEST_F(Reader, OddChunksReadWithAndWithoutThePadByte)
{
    for (bool pad : {true, false}) {
        FileLayout s = SimpleLayout();
        s.pad = pad;
        s.streams[0].strf = Pattern(41, 3);
        s.streams[0].extra = {'J', 'U', 'N', 'K', 3, 0, 0, 0, 1, 2, 3};
        if (pad)
            s.streams[0].extra.push_back(0);
        s.streams.push_back({StreamHeader("auds", 1, 8000), Pattern(19, 4), {}});
        s.packets.push_back({"01wb", Pattern(9, 5)});
        ASSERT_EQ(Open(Build(s)), 0) << pad;
        BYTE buf[64];
        int copied = 0;
        EXPECT_EQ(m_reader.GetAVIVideoFormat(buf, sizeof buf, &copied, 0), 0);
        EXPECT_EQ(Bytes(buf, buf + copied), Pattern(41, 3));
        EXPECT_EQ(m_reader.GetAVIAudioFormat(buf, sizeof buf, &copied, 0), 1);
        EXPECT_EQ(Bytes(buf, buf + copied), Pattern(19, 4));
        const auto got = Packets();
        ASSERT_EQ(got.size(), 4u);
        EXPECT_EQ(got[2].data, Pattern(7, 30));
        EXPECT_EQ(got[3].data, Pattern(9, 5));
    }
}

// --- the index ---

TEST_F(Reader, RelativeAndAbsoluteOffsetsGiveTheSamePackets)
{
    FileLayout s = SimpleLayout();
    ASSERT_EQ(Open(Build(s), "rel.avi"), 0);
    const auto relative = Packets();
    s.absolute = true;
    ASSERT_EQ(Open(Build(s), "abs.avi"), 0);
    const auto absolute = Packets();
    ASSERT_EQ(relative.size(), 3u);
    ASSERT_EQ(absolute.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(relative[i].data, s.packets[i].data);
        EXPECT_EQ(absolute[i].data, s.packets[i].data);
        EXPECT_EQ(absolute[i].info.dwFlags, s.packets[i].flags);
    }
}

struct StreamNumberCase
{
    const char* ckid;
    int stream;
};
void PrintTo(const StreamNumberCase& c, std::ostream* os)
{
    *os << c.ckid;
}
class StreamNumber : public Reader, public ::testing::WithParamInterface<StreamNumberCase>
{
};
TEST_P(StreamNumber, ComesFromTheFirstTwoCharactersOfTheChunkId)
{
    FileLayout s;
    s.streams.push_back({StreamHeader("vids"), Pattern(40, 1), {}});
    s.streams.push_back({StreamHeader("auds"), Pattern(16, 1), {}});
    s.packets = {{GetParam().ckid, Pattern(5, 1), 0}};
    ASSERT_EQ(Open(Build(s)), 0);
    _TAG_AVI_PACKET_INFO p{};
    ASSERT_EQ(m_reader.GetAVIReadData(0, &p), 0);
    EXPECT_EQ(p.nStreamNo, GetParam().stream);
}
INSTANTIATE_TEST_SUITE_P(Ids, StreamNumber,
                         ::testing::Values(StreamNumberCase{"01wb", 1}, StreamNumberCase{"00dc", 0},
                                           StreamNumberCase{"xxdc", 0}, StreamNumberCase{"1xdc", 1},
                                           StreamNumberCase{" 1wb", 1}));

TEST_F(Reader, IndexEntryNamingAMissingStreamRaisesOurException)
{
    FileLayout s = SimpleLayout();
    s.packets.push_back({"05dc", Pattern(6, 1), 0x10});
    s.packets.push_back({"-1dc", Pattern(6, 1), 0});
    ASSERT_EQ(Open(Build(s)), 0);
    _TAG_AVI_PACKET_INFO p{};
    try {
        m_reader.GetAVIReadData(3, &p);
        FAIL() << "no exception";
    } catch (const CInvalidArgException& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("stream 5"), std::string::npos) << what;
        EXPECT_NE(what.find("1 stream"), std::string::npos) << what;
    }
    // The record got what the entry says before the check.
    EXPECT_EQ(p.nStreamNo, 5);
    EXPECT_EQ(p.nDataSize, 6);
    EXPECT_EQ(p.dwFlags, 0x10u);
    EXPECT_THROW(m_reader.GetAVIReadData(4, &p), std::invalid_argument);
    EXPECT_EQ(m_reader.GetAVIReadData(0, &p), 0);
}

TEST_F(Reader, PacketNumbersOutsideTheIndexAnswerMinusOne)
{
    ASSERT_EQ(Open(Build(SimpleLayout())), 0);
    _TAG_AVI_PACKET_INFO p{};
    EXPECT_EQ(m_reader.GetAVIReadData(-1, &p), -1);
    EXPECT_EQ(m_reader.GetAVIReadData(3, &p), -1);
    EXPECT_EQ(m_reader.GetAVIReadData(2, &p), 0);
}

TEST_F(Reader, EmptyIndexOpensWithNoPackets)
{
    FileLayout s = SimpleLayout();
    s.packets.clear();
    ASSERT_EQ(Open(Build(s)), 0);
    EXPECT_TRUE(Packets().empty());
}

// Packet data that is not all in the file is never handed out, least of all as success with
// the bytes of an earlier packet.
TEST_F(Reader, PacketBeyondTheFileIsNotHandedOut)
{
    FileLayout s = SimpleLayout();
    s.indexExtra = IndexEntry("00dc", 0x10, 4, 200000);       // runs past the end
    const Bytes far = IndexEntry("00dc", 0, 0x7FFFFFF0u, 16); // starts past the end
    s.indexExtra.insert(s.indexExtra.end(), far.begin(), far.end());
    const Bytes huge = IndexEntry("00dc", 0, 4, 0xFFFFFFF0u); // would need 4 GiB
    s.indexExtra.insert(s.indexExtra.end(), huge.begin(), huge.end());
    ASSERT_EQ(Open(Build(s)), 0);
    const auto got = Packets();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[2].rc, 0);
    for (size_t i = 3; i < 6; ++i) {
        EXPECT_EQ(got[i].rc, -2) << i;
        EXPECT_EQ(got[i].info.pData, nullptr);
        EXPECT_EQ(got[i].info.nDataSize, 0);
    }
    _TAG_AVI_PACKET_INFO p{};
    EXPECT_EQ(m_reader.GetAVIReadData(1, &p), 0);
    EXPECT_EQ(Bytes(p.pData, p.pData + p.nDataSize), Pattern(51, 20));
}

TEST_F(Reader, LargePacketsGrowTheBufferInWholeMiB)
{
    FileLayout s = SimpleLayout();
    s.packets = {{"00dc", Pattern(1572864, 1)}, // 1.5 MiB: 1 + 1.5 rounds up to 3 MiB
                 {"00dc", Pattern(100, 2)},
                 {"00dc", Pattern(3000000, 3)}}; // fits the 3 MiB buffer
    ASSERT_EQ(Open(Build(s)), 0);
    _TAG_AVI_PACKET_INFO p{};
    ASSERT_EQ(m_reader.GetAVIReadData(0, &p), 0);
    EXPECT_EQ(Bytes(p.pData, p.pData + p.nDataSize), s.packets[0].data);
    BYTE* const grown = p.pData;
    ASSERT_EQ(m_reader.GetAVIReadData(1, &p), 0);
    EXPECT_EQ(p.pData, grown);
    EXPECT_EQ(Bytes(p.pData, p.pData + p.nDataSize), s.packets[1].data);
    ASSERT_EQ(m_reader.GetAVIReadData(2, &p), 0);
    EXPECT_EQ(p.pData, grown);
    EXPECT_EQ(Bytes(p.pData, p.pData + p.nDataSize), s.packets[2].data);
}

TEST_F(Reader, PacketsReadInAnyOrder)
{
    FileLayout s = SimpleLayout();
    for (int i = 0; i < 40; ++i)
        s.packets.push_back({"00dc", Pattern(static_cast<size_t>(1000 + i * 3001), i), 0});
    ASSERT_EQ(Open(Build(s)), 0);
    _TAG_AVI_PACKET_INFO p{};
    for (int k : {42, 0, 17, 3, 41, 18, 2, 30}) {
        ASSERT_EQ(m_reader.GetAVIReadData(k, &p), 0);
        EXPECT_EQ(Bytes(p.pData, p.pData + p.nDataSize), s.packets[static_cast<size_t>(k)].data)
            << k;
    }
}

// The reader is destroyed with its file open: the sanitizer build's leak check holds it to
// releasing the stream records, the index and the file.
TEST_F(Reader, DestructorReleasesWhatAForgottenCloseLeft)
{
    auto reader = std::make_unique<mmAviParser>();
    ASSERT_EQ(reader->OpenAVI(CString::FromUtf8(m_dir.Write("g.avi", Build(SimpleLayout())))), 0);
    reader.reset();
}

} // namespace
