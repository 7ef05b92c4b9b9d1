#include "avi/AviParser.h"

#include "AviTestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string_view>
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
    TempDir m_dir;
    mmAviParser m_reader;
};

// One row per rule of the layout the default walk reads. Each file breaks (or keeps, where the rule
// says it opens) one rule. `designed` is what the default walk answers, `tolerant` what the
// tolerant walk answers (kAny: not this row's concern); `check` runs on the default walk's open
// reader.

constexpr int kAny = 99;

using LayoutEdit = std::function<void(FileLayout&)>;
using ByteEdit = std::function<void(Bytes&)>;
using Check = std::function<void(mmAviParser&, const Bytes&)>;

struct RuleCase
{
    const char* name;
    LayoutEdit layout; // on SimpleLayout(), before it is built
    ByteEdit bytes;    // on the built file
    int designed;
    int tolerant;
    Check check;
    std::int64_t truncateTo = -1; // the file made this long (sparse) after writing
};

ByteEdit Rename(const char* id, const char* to)
{
    return [=](Bytes& b) { std::memcpy(&b[Find(b, id)], to, 4); };
}
ByteEdit RiffEndsAt(const char* id, size_t back)
{
    return [=](Bytes& b) { Patch32(b, 4, static_cast<std::uint32_t>(Find(b, id) - back - 8)); };
}
LayoutEdit StreamExtra(Bytes extra, bool strf)
{
    return [=](FileLayout& s) {
        s.streams[0].extra = extra;
        if (!strf)
            s.streams[0].strf.reset();
    };
}
LayoutEdit HeaderExtra(Bytes extra)
{
    return [=](FileLayout& s) { s.headerExtra = extra; };
}
template <class T, class V> LayoutEdit Set(T FileLayout::*member, V value)
{
    return [=](FileLayout& s) { s.*member = value; };
}
LayoutEdit Strh(Bytes strh)
{
    return [=](FileLayout& s) { s.streams[0].strh = strh; };
}
// A format of odd size, followed by the RIFF pad byte or not.
LayoutEdit OddFormat(bool pad)
{
    return [=](FileLayout& s) {
        s.streams[0].strf = Pattern(41, 3);
        s.pad = pad;
    };
}
ByteEdit SizeOf(const char* id, std::uint32_t size)
{
    return [=](Bytes& b) { Patch32(b, Find(b, id) + 4, size); };
}
void FirstOffsetAtMovi(Bytes& b)
{
    Patch32(b, Find(b, "idx1") + 16, static_cast<std::uint32_t>(Find(b, "movi")));
}

void ExpectNoFormat(mmAviParser& r, const Bytes&)
{
    BYTE buf[16];
    std::memset(buf, 0xAB, sizeof buf);
    int copied = 99;
    EXPECT_EQ(r.GetAVIVideoFormat(buf, sizeof buf, &copied, 0), AVIPARSER_E_NOFORMAT);
    EXPECT_EQ(copied, 0);
    EXPECT_EQ(Bytes(buf, buf + 16), Bytes(16, 0)) << "the buffer is cleared all the same";
}

// The first entry's offset equals the position of "movi": absolute, so the packet starts 8
// bytes past "movi" (the first chunk's size field and data).
void ExpectPacketPastMovi(mmAviParser& r, const Bytes& file)
{
    const auto at = file.begin() + static_cast<long>(Find(file, "movi") + 8);
    EXPECT_EQ(Packets(r).at(0).data, Bytes(at, at + 100));
}

// A stream header of 2 bytes: the record's first 4 bytes are cleared, then 2 are copied.
void ExpectInfoStartCleared(mmAviParser& r, const Bytes&)
{
    AVISTREAMINFOW info;
    std::memset(&info, 0xEE, sizeof info);
    ASSERT_EQ(r.GetAVIMetaStreamInfo(&info, 0), 0);
    const BYTE* b = reinterpret_cast<const BYTE*>(&info);
    EXPECT_EQ(Bytes(b, b + 5), (Bytes{'a', 'b', 0, 0, 0xEE}));
}

std::vector<RuleCase> RuleCases()
{
    const Check packets = [](mmAviParser& r, const Bytes&) {
        EXPECT_EQ(Each(Packets(r), &Got::data), Each(SimpleLayout().packets, &PacketLayout::data));
    };
    const Check noFormat = ExpectNoFormat;
    const Check noPackets = [](mmAviParser& r, const Bytes&) { EXPECT_TRUE(Packets(r).empty()); };
    const std::vector<PacketLayout> none;
    const Bytes junk4 = Chunk("JUNK", Bytes(4)), strn = Chunk("strn", {'n', 0});
    const Bytes strf = Chunk("strf", SimpleLayout().streams[0].strf.value());
    using L = FileLayout;
    return {
        {"RiffAt183Opens", Set(&L::prefix, 183), {}, 0, 0, packets},
        {"RiffAt184IsRefused", Set(&L::prefix, 184), {}, -1, -1, {}},
        {"FileOf199BytesIsRefused", {}, [](Bytes& b) { b.resize(199); }, -1, -1, {}},
        {"HdrlTypeIsChecked", {}, Rename("hdrl", "hdrX"), -1, -1, {}},
        {"AvihIdIsChecked", {}, Rename("avih", "avix"), -1, 0, {}},
        {"JunkInTheHeaderListIsSkipped", HeaderExtra(Chunk("JUNK", Bytes(6))), {}, 0, 0, packets},
        {"StreamListStartsWithStrh", {}, Rename("strh", "strn"), -1, kAny, {}},
        {"ChunkBetweenStrhAndStrfIsRefused", StreamExtra(Cat(strn, strf), false), {}, -1, 0, {}},
        {"JunkBetweenStrhAndStrfIsRefused", StreamExtra(Cat(junk4, strf), false), {}, -1, 0, {}},
        {"StrhThenJunkIsAStreamWithoutFormat", StreamExtra(junk4, false), {}, 0, 0, noFormat},
        {"StrhThenMoviIsAStreamWithoutFormat", StreamExtra({}, false), {}, 0, 0, noFormat},
        {"StreamNameAfterStrfIsRefused", StreamExtra(strn, true), {}, -1, 0, {}},
        {"IndxInAStreamListIsRefused", StreamExtra(Chunk("indx", Bytes(24)), true), {}, -1, 0, {}},
        {"InfoListIsRefused", HeaderExtra(List("INFO", Chunk("ISFT", {'x', 0}))), {}, -1, 0, {}},
        {"NoMoviListIsRefused", {}, Rename("movi", "movX"), -1, -1, {}},
        {"MoviAtTheEndOfRiffIsRefused", {}, RiffEndsAt("movi", 8), -1, -1, {}},
        {"NoIdx1IsRefused", Set(&L::index, false), {}, -1, 0, {}},
        {"EmptyIdx1OpensWithNoPackets", Set(&L::packets, none), {}, 0, 0, noPackets},
        {"WalkAfterMoviEndsAtTheEndOfRiff", {}, RiffEndsAt("idx1", 0), -1, 0, {}},
        {"UnknownChunkAfterMoviEndsTheWalk", Set(&L::tail, Chunk("abcd", Bytes(4))), {}, -1, 0, {}},
        {"JunkAfterMoviIsSkipped", Set(&L::tail, junk4), {}, 0, 0, packets},
        {"ListAfterMoviIsSkipped", Set(&L::tail, List("INFO", {})), {}, 0, 0, packets},
        {"OffsetsBelowMoviAreRelativeToIt", {}, {}, 0, 0, packets},
        {"OffsetEqualToMoviIsAbsolute", {}, FirstOffsetAtMovi, 0, kAny, ExpectPacketPastMovi},
        {"OffsetsFromTheFileStartAreAbsolute", Set(&L::absolute, true), {}, 0, 0, packets},
        {"InfoRecordStartsCleared", Strh({'a', 'b'}), {}, 0, 0, ExpectInfoStartCleared},
        {"OddSizesWithTheWritersPadByte", OddFormat(true), {}, 0, 0, packets},
        {"OddSizesWithoutAPadByte", OddFormat(false), {}, 0, kAny, packets},
        {"FilesOf2GiBAreRefused", {}, {}, -1, 0, {}, 0x80000000LL},
        {"FilesJustUnder2GiBOpen", {}, {}, 0, 0, packets, 0x7FFFFFFFLL},
        // Sizes beyond the file are refused before anything is allocated.
        {"HugeStrhIsRefused", {}, SizeOf("strh", ~0u - 255), -1, kAny, {}},
        {"HugeStrfIsRefused", {}, SizeOf("strf", ~0u - 255), -1, kAny, {}},
        {"HugeIdx1IsRefused", {}, SizeOf("idx1", ~0u - 255), -1, kAny, {}},
    };
}

class Rule : public Reader, public ::testing::WithParamInterface<RuleCase>
{
};

TEST_P(Rule, HoldsInBothWalks)
{
    const RuleCase& c = GetParam();
    FileLayout layout = SimpleLayout();
    if (c.layout)
        c.layout(layout);
    Bytes file = Build(layout);
    if (c.bytes)
        c.bytes(file);
    const std::string path = m_dir.Write("rule.avi", file);
    if (c.truncateTo >= 0) {
        ASSERT_EQ(truncate(path.c_str(), c.truncateTo), 0);
    }
    ASSERT_EQ(m_reader.OpenAVI(CString::FromUtf8(path)), c.designed);
    if (c.designed == 0 && c.check)
        c.check(m_reader, file);
    if (c.designed != 0) { // a refused file leaves the reader closed
        EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), -1);
    }
    if (c.tolerant != kAny) {
        mmAviParser tolerant;
        tolerant.m_bTolerant = true;
        EXPECT_EQ(tolerant.OpenAVI(CString::FromUtf8(path)), c.tolerant) << "tolerant walk";
    }
}
INSTANTIATE_TEST_SUITE_P(Files, Rule, ::testing::ValuesIn(RuleCases()),
                         [](const auto& i) { return std::string(i.param.name); });

// Closed (never opened, after a missing file, after CloseAVI twice) every query answers -1;
// an open on an open reader starts afresh; a file that cannot be opened leaves the open one.
TEST_F(Reader, ClosedAnswersMinusOneAndOpenStartsAfresh)
{
    AVISTREAMINFOW info{};
    BYTE buf[8];
    int copied = 5;
    _TAG_AVI_PACKET_INFO p{};
    const CString none = CString::FromUtf8(m_dir.File("none.avi"));
    EXPECT_EQ(m_reader.OpenAVI(none), -2147205009);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(std::tuple(m_reader.GetAVIVideoStreamCount(),
                             m_reader.GetAVIVideoStreamInfo(&info, 0),
                             m_reader.GetAVIMetaFormat(buf, 8, &copied, 0),
                             m_reader.GetAVIReadData(0, &p)),
                  std::tuple(-1, -1, -1, -1));
        ASSERT_EQ(Open(Build(SimpleLayout()), "a.avi"), 0);
        ASSERT_EQ(Open(Build(SimpleLayout()), "b.avi"), 0);
        EXPECT_EQ(m_reader.GetAVIVideoStreamCount(), 1);
        EXPECT_EQ(m_reader.OpenAVI(none), AVIERR_FILEOPEN);
        EXPECT_EQ(m_reader.GetAVIReadData(2, &p), 0);
        EXPECT_EQ(m_reader.GetAVIReadData(3, &p), -1);
        EXPECT_EQ(m_reader.GetAVIReadData(-1, &p), -1);
        m_reader.CloseAVI();
        m_reader.CloseAVI();
    }
}

// A host that forgets CloseAVI: the destructor closes the file.
TEST_F(Reader, DestructorClosesTheFile)
{
    const std::string path = m_dir.Write("g.avi", Build(SimpleLayout()));
    auto descriptors = [] {
        const std::filesystem::directory_iterator fds("/proc/self/fd");
        return std::distance(begin(fds), end(fds));
    };
    const auto before = descriptors();
    {
        mmAviParser reader;
        ASSERT_EQ(reader.OpenAVI(CString::FromUtf8(path)), 0);
        EXPECT_EQ(descriptors(), before + 1);
    }
    EXPECT_EQ(descriptors(), before);
}

// The record receives the stream header as stored, cut to its 204 bytes; the conversion puts
// every member in its place.
TEST_F(Reader, InfoHoldsTheStoredHeaderCutToTheRecord)
{
    FileLayout s = SimpleLayout();
    Bytes& h = s.streams[0].strh;
    Patch32(h, 36, 4096);             // dwSuggestedBufferSize
    Patch32(h, 48, 0);                // rcFrame left, top
    Patch32(h, 52, (48u << 16) | 64); // rcFrame right, bottom
    h.resize(300, 0xEE);
    ASSERT_EQ(Open(Build(s)), 0);
    struct
    {
        AVISTREAMINFOW info;
        BYTE guard[96];
    } rec;
    std::memset(&rec, 0x11, sizeof rec);
    ASSERT_EQ(m_reader.GetAVIVideoStreamInfo(&rec.info, 0), 0);
    EXPECT_EQ(Bytes(rec.guard, rec.guard + 96), Bytes(96, 0x11));
    EXPECT_EQ(rec.info.szName[63], 0xEEEE);
    EXPECT_EQ(rec.info.dwInitialFrames, 4096u); // holds dwSuggestedBufferSize
    const AVISTREAMINFOW info = avi::InfoFromRawHeader(rec.info);
    EXPECT_EQ(std::tuple(info.dwSuggestedBufferSize, info.rcFrame.right, info.rcFrame.bottom,
                         info.dwLength),
              std::tuple(4096u, 64, 48, 3u));
}

// The stream number is the first two characters of the chunk id read as atoi reads them; one
// the file does not have raises our exception (its message is the tool's test's concern), after
// the record got what the entry says.
TEST_F(Reader, StreamNumberComesFromTheChunkIdAndIsChecked)
{
    const std::pair<const char*, int> cases[] = {
        {"01wb", 1}, {"00dc", 0}, {"xxdc", 0}, {"1xdc", 1}, {" 1wb", 1}};
    FileLayout s;
    s.streams.push_back({StreamHeader("vids"), Pattern(40, 1), {}});
    s.streams.push_back({StreamHeader("auds"), Pattern(16, 1), {}});
    for (const auto& [ckid, stream] : cases)
        s.packets.push_back({ckid, Pattern(5, 1), 0});
    s.packets.push_back({"05dc", Pattern(6, 1), 0x10});
    s.packets.push_back({"-1dc", Pattern(6, 1), 0});
    ASSERT_EQ(Open(Build(s)), 0);
    _TAG_AVI_PACKET_INFO p{};
    for (int k = 0; k < 5; ++k) {
        ASSERT_EQ(m_reader.GetAVIReadData(k, &p), 0);
        EXPECT_EQ(p.nStreamNo, cases[k].second) << cases[k].first;
    }
    EXPECT_THROW(m_reader.GetAVIReadData(5, &p), CInvalidArgException);
    EXPECT_EQ(std::tuple(p.nStreamNo, p.nDataSize, p.dwFlags), std::tuple(5, 6, 0x10u));
    EXPECT_THROW(m_reader.GetAVIReadData(6, &p), std::invalid_argument);
    EXPECT_EQ(m_reader.GetAVIReadData(0, &p), 0);
}

// Packet data that is not all in the file is never handed out, least of all as success with
// the bytes of an earlier packet.
TEST_F(Reader, PacketBeyondTheFileIsNotHandedOut)
{
    FileLayout s = SimpleLayout();
    s.indexExtra = Cat(IndexEntry("00dc", 0x10, 4, 200000),    // runs past the end
                       IndexEntry("00dc", 0, 0x7FFFFFF0u, 16), // starts past the end
                       IndexEntry("00dc", 0, 4, 0xFFFFFFF0u)); // no buffer of 4 GiB for it
    ASSERT_EQ(Open(Build(s)), 0);
    const auto got = Packets(m_reader);
    ASSERT_EQ(got.size(), 6u);
    for (size_t i = 3; i < 6; ++i)
        EXPECT_EQ(std::tuple(got[i].rc, got[i].info.pData, got[i].info.nDataSize),
                  std::tuple(-2, nullptr, 0))
            << i;
}

// Packets of several MiB and small ones read through the window, in any order, come back whole.
TEST_F(Reader, LargeAndSmallPacketsComeBackWholeInAnyOrder)
{
    FileLayout s = SimpleLayout();
    s.packets = {
        {"00dc", Pattern(1572864, 1)}, {"00dc", Pattern(100, 2)}, {"00dc", Pattern(3000000, 3)}};
    for (int i = 0; i < 20; ++i)
        s.packets.push_back({"00dc", Pattern(static_cast<size_t>(1000 + i * 3001), i), 0});
    ASSERT_EQ(Open(Build(s)), 0);
    _TAG_AVI_PACKET_INFO p{};
    for (int k : {0, 1, 2, 21, 3, 17, 0, 4}) {
        ASSERT_EQ(m_reader.GetAVIReadData(k, &p), 0);
        EXPECT_EQ(Bytes(p.pData, p.pData + p.nDataSize), s.packets[static_cast<size_t>(k)].data)
            << k;
    }
}

using Tolerant = Reader;

// Two forms: packets come from the ix## indexes, in file order, with their key flags.
TEST_F(Tolerant, OpenDmlFilesReadThroughTheirIndexes)
{
    OdmlLayout s;
    s.streams.push_back({StreamHeader("vids"), Pattern(40, 1), {}});
    s.streams.push_back({StreamHeader("auds", 1, 8000), Pattern(16, 2), {}});
    s.forms = {
        {{"00dc", Pattern(101, 1), 0x10}, {"01wb", Pattern(20, 2)}, {"00dc", Pattern(9, 3), 0}},
        {{"01wb", Pattern(21, 4)}, {"00dc", Pattern(33, 5), 0}, {"00dc", Pattern(1, 6)}}};
    s.gap = 4096;
    m_reader.m_bTolerant = true;
    const std::string path = m_dir.File("odml.avi");
    WriteOdml(path, s);
    const auto read = [](const Got& g) {
        return std::tuple(g.data, g.info.dwFlags, g.info.nStreamNo);
    };
    const auto written = [](const PacketLayout& p) {
        return std::tuple(p.data, p.flags, p.ckid[1] - '0');
    };
    std::vector<PacketLayout> want = s.forms[0];
    want.insert(want.end(), s.forms[1].begin(), s.forms[1].end());
    ASSERT_EQ(m_reader.OpenAVI(CString::FromUtf8(path)), 0);
    EXPECT_EQ(Each(Packets(m_reader), read), Each(want, written));
    mmAviParser designed;
    EXPECT_EQ(designed.OpenAVI(CString::FromUtf8(path)), -1);

    // Cut short inside the last form's last packet: that form's ix## chunks are gone, so its
    // movi list is walked; nothing marks its key frames, sound and raw pictures are all key.
    const Bytes whole = ReadAll(path);
    const size_t lastIx =
        std::string_view(reinterpret_cast<const char*>(whole.data()), whole.size()).rfind("ix00");
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(lastIx - 3)), 0);
    ASSERT_EQ(m_reader.OpenAVI(CString::FromUtf8(path)), 0);
    want.pop_back();
    for (size_t i = 3; i < want.size(); ++i)
        want[i].flags = AVIIF_KEYFRAME;
    EXPECT_EQ(Each(Packets(m_reader), read), Each(want, written));
}

// Without an index (written to a pipe: sizes 0xFFFFFFFF; or cut short) the movi list is
// walked up to the last whole chunk, "rec " lists entered, JUNK and ix## left out.
TEST_F(Tolerant, FilesWithoutAnIndexAreWalkedToTheLastWholeChunk)
{
    FileLayout s = SimpleLayout();
    s.index = false;
    m_reader.m_bTolerant = true;
    Bytes b = Build(s);
    const size_t movi = Find(b, "movi") - 8;
    Patch32(b, 4, 0xFFFFFFFFu);
    Patch32(b, movi + 4, 0xFFFFFFFFu);
    b = Cat(b, Chunk("JUNK", Bytes(3)), List("rec ", Chunk("00dc", Pattern(12, 7))));
    const Bytes cut = Chunk("00dc", Pattern(50, 8));
    b.insert(b.end(), cut.begin(), cut.begin() + 30);
    ASSERT_EQ(Open(b), 0);
    const auto got = Packets(m_reader);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(std::tuple(got[2].data, got[3].data, got[3].info.dwFlags),
              std::tuple(Pattern(7, 30), Pattern(12, 7), AVIIF_KEYFRAME));
}

} // namespace
