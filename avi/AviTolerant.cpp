// The tolerant walk of mmAviParser: reads the AVI files that real programs write.
//
//   header part   unknown chunks and lists are skipped (INFO, odml, JUNK anywhere); a stream
//                 list may hold strn, strd, vprp and an OpenDML index (indx) beside strh/strf
//   padding       RIFF's rule: a chunk of odd size is followed by one pad byte
//   sizes         a RIFF or list size of 0 or one that runs past its parent (a file written
//                 to a pipe, or cut short) is read as reaching to the parent's end
//   RIFF forms    the first "RIFF AVI " and every "RIFF AVIX" after it (OpenDML), at 64-bit
//                 positions, whatever the file's size
//   packets       from the OpenDML indexes (indx, ix##) when a stream has one, else from idx1,
//                 else from the movi lists themselves, up to the last whole chunk
//
// Packets come out in file order; each is the same record the default walk hands out: the
// chunk's bytes, its stream and idx1-style flags (AVIIF_KEYFRAME for a key frame).
#include "avi/AviParser.h"

#include <algorithm>
#include <cstring>

namespace {

struct Header
{
    char id[4];
    DWORD size;
    char type[4]; // list and RIFF types only
};

bool Is(const char* a, const char* b)
{
    return std::memcmp(a, b, 4) == 0;
}

// The stream number of a chunk id "##xx", or -1.
int StreamOfId(const char* id)
{
    if (id[0] < '0' || id[0] > '9' || id[1] < '0' || id[1] > '9')
        return -1;
    return (id[0] - '0') * 10 + (id[1] - '0');
}

// Reads n bytes at pos whole.
bool PreadAll(FILE* fp, LONGLONG pos, void* to, size_t n)
{
    return avi::ReadFullAt(fp, pos, to, n) == n;
}

// The walk's state while it reads one file.
struct TolerantWalk
{
    FILE* fp;
    std::vector<avi::StreamParts> streams; // indx kept here until the packets are collected
    std::vector<std::pair<LONGLONG, LONGLONG>> movi; // data start, end of each movi list
    std::vector<BYTE> idx1;
    LONGLONG idx1Movi = -1; // the "movi" type position of the first RIFF, idx1's base

    bool ReadHeaderAt(LONGLONG pos, LONGLONG end, Header& h) const
    {
        h = Header{};
        if (pos < 0 || pos + 8 > end)
            return false;
        BYTE b[12];
        const size_t n = pos + 12 <= end ? 12 : 8;
        if (!PreadAll(fp, pos, b, n))
            return false;
        std::memcpy(h.id, b, 4);
        h.size = avi::ReadLE32(b + 4);
        if (n == 12)
            std::memcpy(h.type, b + 8, 4);
        return true;
    }
    // Where the chunk's data ends, cut to its parent.
    static LONGLONG DataEnd(LONGLONG pos, const Header& h, LONGLONG parentEnd)
    {
        const LONGLONG end = pos + 8 + static_cast<LONGLONG>(h.size);
        return h.size == 0 && (Is(h.id, "RIFF") || Is(h.id, "LIST")) ? parentEnd
                                                                     : std::min(end, parentEnd);
    }
    // The next chunk after one at pos, by RIFF's padding rule.
    static LONGLONG Next(LONGLONG pos, const Header& h)
    {
        return pos + 8 + static_cast<LONGLONG>(h.size) + (h.size & 1);
    }
    bool ReadData(LONGLONG pos, DWORD size, LONGLONG end, std::vector<BYTE>& out) const
    {
        if (pos + 8 + static_cast<LONGLONG>(size) > end)
            return false;
        out.resize(size);
        return size == 0 || PreadAll(fp, pos + 8, out.data(), size);
    }
};

// A stream list: strh (first one wins), strf and indx; anything else is skipped. Only the
// chunks kept are read, each straight into its own block.
void ReadStreamList(TolerantWalk& w, LONGLONG pos, LONGLONG end, avi::StreamParts& parts)
{
    // A block of at least one byte, so that an empty strh still counts as read.
    const auto readBlock = [&](const Header& h, std::unique_ptr<BYTE[]>& block, DWORD& size) {
        if (pos + 8 + static_cast<LONGLONG>(h.size) > end)
            return;
        std::unique_ptr<BYTE[]> data(new BYTE[std::max<DWORD>(h.size, 1)]);
        if (h.size && !PreadAll(w.fp, pos + 8, data.get(), h.size))
            return;
        block = std::move(data);
        size = h.size;
    };
    Header h;
    while (w.ReadHeaderAt(pos, end, h)) {
        if (Is(h.id, "strh") && !parts.strh) {
            readBlock(h, parts.strh, parts.strhSize);
        } else if (Is(h.id, "strf") && !parts.strf && h.size > 0) {
            readBlock(h, parts.strf, parts.strfSize);
        } else if (Is(h.id, "indx")) {
            std::vector<BYTE> data;
            if (w.ReadData(pos, h.size, end, data))
                parts.indx = std::move(data);
        }
        pos = TolerantWalk::Next(pos, h);
    }
}

} // namespace

bool mmAviParser::WalkTolerant()
{
    if (!FindRiff())
        return false;
    TolerantWalk w{m_pFile, {}, {}, {}, -1};
    int counters[3] = {-1, -1, -1};
    bool haveHeaders = false;

    // The first RIFF form, then every AVIX form that follows it.
    LONGLONG riffPos = m_riff.llStart;
    Header riff{};
    std::memcpy(riff.id, "RIFF", 4);
    riff.size = m_riff.dwSize;
    for (int form = 0; riffPos + 12 <= m_llFileSize; ++form) {
        if (form > 0 && (!w.ReadHeaderAt(riffPos, m_llFileSize, riff) || !Is(riff.id, "RIFF") ||
                         !Is(riff.type, "AVIX")))
            break;
        // A size that runs past the file (written to a pipe: 0xFFFFFFFF) reaches to its end.
        const LONGLONG riffEnd = TolerantWalk::DataEnd(riffPos, riff, m_llFileSize);
        Header h;
        for (LONGLONG pos = riffPos + 12; w.ReadHeaderAt(pos, riffEnd, h);
             pos = TolerantWalk::Next(pos, h)) {
            const LONGLONG end = TolerantWalk::DataEnd(pos, h, riffEnd);
            if (Is(h.id, "LIST") && Is(h.type, "hdrl") && form == 0 && !haveHeaders) {
                haveHeaders = true;
                Header s;
                for (LONGLONG at = pos + 12; w.ReadHeaderAt(at, end, s);
                     at = TolerantWalk::Next(at, s)) {
                    if (!Is(s.id, "LIST") || !Is(s.type, "strl"))
                        continue;
                    if (static_cast<int>(w.streams.size()) >= avi::kMaxStreams)
                        break;
                    avi::StreamParts parts;
                    ReadStreamList(w, at + 12, TolerantWalk::DataEnd(at, s, end), parts);
                    // A list without a stream header is no stream: the numbers of the chunk
                    // ids count stream headers.
                    if (!parts.strh)
                        continue;
                    avi::StreamParts kept;
                    kept.indx = std::move(parts.indx);
                    AddStream(parts, counters);
                    w.streams.push_back(std::move(kept));
                }
            } else if (Is(h.id, "LIST") && Is(h.type, "movi")) {
                if (form == 0 && w.idx1Movi < 0)
                    w.idx1Movi = pos + 8;
                w.movi.emplace_back(pos + 12, end);
                // Written to a pipe, the list's size is unknown: the rest of the form is its
                // chunks, which are walked when no index covers them.
                if (h.size == 0 || h.size == 0xFFFFFFFFu)
                    break;
            } else if (Is(h.id, "idx1") && form == 0 && w.idx1.empty()) {
                w.ReadData(pos, h.size, riffEnd, w.idx1);
            }
        }
        if (!haveHeaders)
            return false;
        riffPos = TolerantWalk::Next(riffPos, riff);
        if (riff.size == 0 || riff.size == 0xFFFFFFFFu)
            break;
    }
    if (!haveHeaders || w.movi.empty())
        return false;
    m_llMoviPos = w.idx1Movi;

    for (size_t i = 0; i < w.streams.size(); ++i)
        if (!w.streams[i].indx.empty())
            ReadOpenDmlIndex(w.streams[i], static_cast<int>(i));
    if (m_arrPackets.empty() && w.idx1.size() >= 16)
        ReadIdx1Tolerant(w.idx1.data(), static_cast<DWORD>(w.idx1.size()), w.idx1Movi);
    // Packets in file order, as they were written (each OpenDML index covers one stream).
    const auto byPosition = [](const avi::PacketEntry& a, const avi::PacketEntry& b) {
        return a.llPos < b.llPos;
    };
    const auto sort = [&] {
        if (!std::is_sorted(m_arrPackets.begin(), m_arrPackets.end(), byPosition))
            std::stable_sort(m_arrPackets.begin(), m_arrPackets.end(), byPosition);
    };
    sort();
    // A movi list that no index covers is walked chunk by chunk: all of them in a file without
    // an index, the last form of an OpenDML file cut short before its ix## chunks were written,
    // AVIX forms beside an idx1 that knows only the first form.
    const size_t indexed = m_arrPackets.size();
    for (const auto& [from, end] : w.movi) {
        const auto first = m_arrPackets.begin();
        const auto it = std::lower_bound(first, first + static_cast<long>(indexed),
                                         avi::PacketEntry{from, 0, 0, 0}, byPosition);
        if (it == first + static_cast<long>(indexed) || it->llPos >= end)
            ScanMovi(from, end);
    }
    sort();
    m_bPacketTable = true;
    return true;
}

// An indx chunk: a super index (entries name ix## chunks) or a standard index itself.
void mmAviParser::ReadOpenDmlIndex(const avi::StreamParts& parts, int stream)
{
    const std::vector<BYTE>& d = parts.indx;
    if (d.size() < 24)
        return;
    const WORD longsPerEntry = avi::ReadLE16(d.data()); // wLongsPerEntry
    const BYTE indexType = d[3];                        // bIndexType
    const DWORD inUse = avi::ReadLE32(d.data() + 4);    // nEntriesInUse
    if (indexType == 1) {                               // AVI_INDEX_OF_CHUNKS
        ReadStandardIndex(d.data(), static_cast<DWORD>(d.size()), stream);
        return;
    }
    if (indexType != 0 || longsPerEntry != 4) // AVI_INDEX_OF_INDEXES, 16-byte entries
        return;
    const size_t entries = std::min<size_t>(inUse, (d.size() - 24) / 16);
    std::vector<BYTE> ix;
    for (size_t i = 0; i < entries; ++i) {
        const BYTE* e = d.data() + 24 + 16 * i;
        const LONGLONG at = static_cast<LONGLONG>(avi::ReadLE32(e)) |
                            (static_cast<LONGLONG>(avi::ReadLE32(e + 4)) << 32); // qwOffset
        BYTE head[8];
        if (at < 0 || at + 8 > m_llFileSize || !PreadAll(m_pFile, at, head, 8))
            continue;
        const DWORD size = avi::ReadLE32(head + 4);
        if (at + 8 + static_cast<LONGLONG>(size) > m_llFileSize)
            continue;
        ix.resize(size);
        if (size && PreadAll(m_pFile, at + 8, ix.data(), size))
            ReadStandardIndex(ix.data(), size, stream);
    }
}

// A standard index (ix## chunk data): entries of a 32-bit offset from the base, pointing at
// the data, and a size whose top bit marks a frame that is not a key frame.
void mmAviParser::ReadStandardIndex(const BYTE* d, DWORD size, int stream)
{
    if (size < 24 || d[3] != 1) // bIndexType AVI_INDEX_OF_CHUNKS
        return;
    const WORD longsPerEntry = avi::ReadLE16(d); // 2, or 3 for field indexes
    if (longsPerEntry < 2)
        return;
    const DWORD inUse = avi::ReadLE32(d + 4);
    const LONGLONG base = static_cast<LONGLONG>(avi::ReadLE32(d + 12)) |
                          (static_cast<LONGLONG>(avi::ReadLE32(d + 16)) << 32); // qwBaseOffset
    const size_t step = 4u * longsPerEntry;
    const size_t entries = std::min<size_t>(inUse, (size - 24) / step);
    for (size_t i = 0; i < entries; ++i) {
        const BYTE* e = d + 24 + step * i;
        const DWORD raw = avi::ReadLE32(e + 4);
        const LONGLONG pos = base + avi::ReadLE32(e);
        const DWORD bytes = raw & 0x7FFFFFFFu;
        // Entries past the end of a file cut short are left out.
        if (base < 0 || pos + static_cast<LONGLONG>(bytes) > m_llFileSize)
            continue;
        m_arrPackets.push_back({pos, bytes, (raw & 0x80000000u) ? 0u : AVIIF_KEYFRAME, stream});
    }
}

// idx1 of the first RIFF form: offsets from the "movi" type or from the file's start. The
// first entry that names a chunk tells which, by the chunk id found there.
void mmAviParser::ReadIdx1Tolerant(const BYTE* d, DWORD size, LONGLONG moviPos)
{
    const DWORD entries = size / 16;
    LONGLONG base = -1;
    for (DWORD i = 0; i < entries && base < 0; ++i) {
        const BYTE* e = d + 16 * i;
        if (avi::ReadLE32(e + 4) & AVIIF_LIST)
            continue;
        const LONGLONG offset = avi::ReadLE32(e + 8);
        for (LONGLONG candidate : {moviPos, LONGLONG{0}}) {
            char id[4];
            if (candidate >= 0 && PreadAll(m_pFile, candidate + offset, id, 4) &&
                std::memcmp(id, e, 4) == 0) {
                base = candidate;
                break;
            }
        }
        if (base < 0) // the first entry names no chunk: the index is not usable
            return;
    }
    if (base < 0)
        return;
    const int streams = static_cast<int>(m_arrStreamID.GetSize());
    m_arrPackets.reserve(entries);
    for (DWORD i = 0; i < entries; ++i) {
        const BYTE* e = d + 16 * i;
        const DWORD flags = avi::ReadLE32(e + 4);
        const int stream = StreamOfId(reinterpret_cast<const char*>(e));
        const LONGLONG pos = base + avi::ReadLE32(e + 8) + 8;
        const DWORD bytes = avi::ReadLE32(e + 12);
        if ((flags & AVIIF_LIST) || stream < 0 || stream >= streams ||
            pos + static_cast<LONGLONG>(bytes) > m_llFileSize)
            continue;
        m_arrPackets.push_back({pos, bytes, flags, stream});
    }
}

// No usable index: the movi list's chunks themselves, up to the last whole one.
void mmAviParser::ScanMovi(LONGLONG from, LONGLONG end)
{
    TolerantWalk w{m_pFile, {}, {}, {}, -1};
    const int streams = static_cast<int>(m_arrStreamID.GetSize());
    std::vector<bool> vops(static_cast<size_t>(streams));
    for (int i = 0; i < streams; ++i)
        vops[static_cast<size_t>(i)] = IsMpeg4Video(i);
    Header h;
    for (LONGLONG pos = from; w.ReadHeaderAt(pos, end, h);) {
        if (Is(h.id, "LIST") && Is(h.type, "rec ")) {
            pos += 12; // a group of chunks: its chunks follow
            continue;
        }
        if (pos + 8 + static_cast<LONGLONG>(h.size) > std::min(end, m_llFileSize))
            break;
        const int stream = StreamOfId(h.id);
        if (stream >= 0 && stream < streams) {
            const DWORD flags =
                vops[static_cast<size_t>(stream)] ? VopKeyFlag(pos + 8, h.size) : AVIIF_KEYFRAME;
            m_arrPackets.push_back({pos + 8, h.size, flags, stream});
        }
        pos = TolerantWalk::Next(pos, h);
    }
}

// Without an index nothing in the file marks key frames. Sound and intra-only pictures are all
// key frames; for MPEG-4 part 2 video the picture's coding type says it (I-VOP).
bool mmAviParser::IsMpeg4Video(int stream) const
{
    const _TAG_STREAM_HEADER* s = m_arrStreamHeader.GetAt(stream);
    if (avi::KindOf(m_arrStreamID.GetAt(stream).fccType) != avi::StreamKind::Video ||
        s->nStrfSize < 20)
        return false;
    char fcc[5] = {};
    std::memcpy(fcc, s->pStrf + 16, 4); // biCompression
    for (char& c : fcc)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    static const char* const mpeg4[] = {"FMP4", "XVID", "DIVX", "DX50", "MP4V", "M4S2"};
    return std::any_of(std::begin(mpeg4), std::end(mpeg4),
                       [&](const char* f) { return std::memcmp(f, fcc, 4) == 0; });
}

// The key flag of an MPEG-4 part 2 picture, from the coding type of its first VOP.
DWORD mmAviParser::VopKeyFlag(LONGLONG pos, DWORD size)
{
    BYTE head[256];
    const size_t n = std::min<size_t>(size, sizeof head);
    if (n < 5 || !PreadAll(m_pFile, pos, head, n))
        return 0;
    for (size_t i = 0; i + 4 < n; ++i)
        if (head[i] == 0 && head[i + 1] == 0 && head[i + 2] == 1 && head[i + 3] == 0xB6)
            return (head[i + 4] >> 6) == 0 ? AVIIF_KEYFRAME : 0; // vop_coding_type
    return 0;
}
