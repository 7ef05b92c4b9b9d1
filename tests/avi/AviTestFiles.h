// Builds small AVI files byte by byte for the AVI tests, and helpers they share.
#pragma once

#include "avi/AviParser.h"
#include "tests/TestKit.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include <fcntl.h>
#include <glib.h>
#include <unistd.h>

namespace avitest {

using namespace testkit;

using Bytes = std::vector<std::uint8_t>;

template <class... Parts> Bytes Cat(const Parts&... parts)
{
    Bytes b;
    (b.insert(b.end(), std::begin(parts), std::end(parts)), ...);
    return b;
}
inline Bytes Le32(std::uint64_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}
inline Bytes Id(const std::string& id)
{
    return Bytes(id.begin(), id.begin() + 4);
}
inline void Patch32(Bytes& b, size_t at, std::uint32_t v)
{
    std::memcpy(&b[at], Le32(v).data(), 4);
}
// Position of the first `id` at or after `from`; npos when there is none.
inline size_t Find(const Bytes& b, const char* id, size_t from = 0)
{
    for (size_t i = from; i + 4 <= b.size(); ++i)
        if (std::memcmp(b.data() + i, id, 4) == 0)
            return i;
    return std::string::npos;
}

// A chunk, with the RIFF pad byte after odd-sized data unless `pad` is false.
inline Bytes Chunk(const std::string& id, const Bytes& data, bool pad = true)
{
    Bytes b = Cat(Id(id), Le32(data.size()), data);
    if (pad && (data.size() & 1))
        b.push_back(0);
    return b;
}
// A "LIST" (or "RIFF") of the given type around `body`.
inline Bytes List(const char* type, const Bytes& body, const char* id = "LIST")
{
    return Cat(Id(id), Le32(body.size() + 4), Id(type), body);
}

inline Bytes Pattern(size_t n, std::uint8_t seed)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 8));
    return b;
}

// A 56-byte AVISTREAMHEADER with the given type, scale, rate and length.
inline Bytes StreamHeader(const char* type, std::uint32_t scale = 1, std::uint32_t rate = 25,
                          std::uint32_t length = 0)
{
    Bytes h = Cat(Id(type), Bytes(16), Le32(scale), Le32(rate), Le32(0), Le32(length));
    h.resize(56, 0);
    return h;
}
// A BITMAPINFOHEADER of 24-bit RGB pictures, and a WAVEFORMATEX of 8 kHz 16-bit mono PCM.
inline Bytes BitmapInfo(int width, int height)
{
    return Cat(Le32(40), Le32(width), Le32(height), Le32(1 | (24 << 16)), Le32(0),
               Le32(width * height * 3), Bytes(16));
}
inline Bytes WaveFormat()
{
    return {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0};
}

struct StreamLayout
{
    Bytes strh;
    std::optional<Bytes> strf;
    Bytes extra; // raw bytes placed after strh/strf inside the stream list (JUNK, vprp ...)
};

struct PacketLayout
{
    std::string ckid; // e.g. "00dc"
    Bytes data;
    std::uint32_t flags = 0x10;
};

struct FileLayout
{
    size_t prefix = 0; // foreign bytes before "RIFF"
    std::vector<StreamLayout> streams;
    std::vector<PacketLayout> packets;
    bool absolute = false; // idx1 offsets from the file start instead of from "movi"
    bool pad = true;       // RIFF pad byte after odd-sized chunks
    bool index = true;
    Bytes headerExtra; // raw bytes after the stream lists, before the movi list
    Bytes tail;        // raw bytes between the movi list and idx1
    Bytes indexExtra;  // raw 16-byte entries appended to idx1
};

inline Bytes IndexEntry(const std::string& ckid, std::uint32_t flags, std::uint64_t offset,
                        std::uint32_t length)
{
    return Cat(Id(ckid), Le32(flags), Le32(offset), Le32(length));
}

inline Bytes HeaderList(const std::vector<StreamLayout>& streams, const Bytes& extra, bool pad)
{
    Bytes body = Chunk("avih", Bytes(56), pad);
    for (const StreamLayout& st : streams)
        body = Cat(body,
                   List("strl", Cat(Chunk("strh", st.strh, pad),
                                    st.strf ? Chunk("strf", *st.strf, pad) : Bytes{}, st.extra)));
    return List("hdrl", Cat(body, extra));
}

inline Bytes Build(const FileLayout& s)
{
    const Bytes hdrl = HeaderList(s.streams, s.headerExtra, s.pad);
    const size_t movi = s.prefix + 12 + hdrl.size() + 8; // the "movi" type
    Bytes data, idx;
    for (const PacketLayout& p : s.packets) {
        idx = Cat(idx, IndexEntry(p.ckid, p.flags, (s.absolute ? movi : 0) + 4 + data.size(),
                                  static_cast<std::uint32_t>(p.data.size())));
        data = Cat(data, Chunk(p.ckid, p.data, s.pad));
    }
    const Bytes index = s.index ? Chunk("idx1", Cat(idx, s.indexExtra), s.pad) : Bytes{};
    return Cat(Bytes(s.prefix, 'x'),
               List("AVI ", Cat(hdrl, List("movi", data), s.tail, index), "RIFF"));
}

// A file of RIFF forms: "AVI " with the headers, its movi list and idx1, then one "AVIX" form
// per further entry of `forms`. Every stream list carries a super index (indx) naming one
// standard index (ix##) per form, at the end of that form's movi list. `gap` bytes of JUNK
// open every AVIX movi list; they are not written, so a file of several GiB takes a few KiB.
struct OdmlLayout
{
    std::vector<StreamLayout> streams;
    std::vector<std::vector<PacketLayout>> forms;
    std::uint64_t gap = 0;
};

// The head of an OpenDML index chunk's data: wLongsPerEntry, bIndexSubType 0, bIndexType,
// nEntriesInUse, dwChunkId.
inline Bytes IndexHead(std::uint8_t longs, std::uint8_t type, size_t entries,
                       const std::string& ckid)
{
    return Cat(Bytes{longs, 0, 0, type}, Le32(entries), Id(ckid));
}

inline void WriteOdml(const std::string& path, const OdmlLayout& s)
{
    const size_t nStreams = s.streams.size();
    std::vector<std::string> ckids(nStreams, "00dc"); // each stream's, as its packets spell it
    std::vector<Bytes> supers(nStreams);              // the entries of each super index
    std::vector<StreamLayout> streams = s.streams;
    for (StreamLayout& st : streams)
        st.extra = Chunk("indx", Bytes(24 + 16 * s.forms.size()));
    // Byte runs at their file positions; the gaps between them are never written.
    std::vector<std::pair<std::uint64_t, Bytes>> runs;
    std::uint64_t riff = 0;
    for (size_t f = 0; f < s.forms.size(); ++f) {
        const Bytes top = f == 0 ? HeaderList(streams, {}, true) : Bytes{};
        const std::uint64_t gap = f > 0 && s.gap >= 8 ? s.gap : 0;
        const std::uint64_t movi = riff + 12 + top.size(); // the movi list's "LIST"
        Bytes body, idx1;
        std::vector<Bytes> entries(nStreams);
        auto pos = [&] { return movi + 12 + gap + body.size(); };
        for (const PacketLayout& p : s.forms[f]) {
            const size_t i = static_cast<size_t>((p.ckid[0] - '0') * 10 + (p.ckid[1] - '0'));
            ckids[i] = p.ckid;
            entries[i] = Cat(entries[i], Le32(pos() + 8 - movi), // dwOffset
                             Le32(p.data.size() | ((p.flags & 0x10) ? 0u : 0x80000000u)));
            idx1 = Cat(idx1, IndexEntry(p.ckid, p.flags, pos() - (movi + 8),
                                        static_cast<std::uint32_t>(p.data.size())));
            body = Cat(body, Chunk(p.ckid, p.data));
        }
        for (size_t i = 0; i < nStreams; ++i) {
            const Bytes ix = Cat(IndexHead(2, 1, entries[i].size() / 8, ckids[i]), Le32(movi),
                                 Le32(movi >> 32), Le32(0), entries[i]); // qwBaseOffset, dwReserved
            supers[i] = Cat(supers[i], Le32(pos()), Le32(pos() >> 32), Le32(ix.size() + 8),
                            Le32(entries[i].size() / 8)); // qwOffset, dwSize, dwDuration
            body = Cat(body, Chunk("ix" + std::to_string(100 + i).substr(1), ix));
        }
        const std::uint64_t moviSize = 4 + gap + body.size();
        if (f == 0)
            body = Cat(body, Chunk("idx1", idx1));
        const std::uint64_t total = 12 + top.size() + 12 + gap + body.size();
        runs.emplace_back(riff, Cat(Id("RIFF"), Le32(total - 8), Id(f ? "AVIX" : "AVI "), top,
                                    Id("LIST"), Le32(moviSize), Id("movi"),
                                    gap ? Cat(Id("JUNK"), Le32(gap - 8)) : Bytes{}));
        runs.emplace_back(movi + 12 + gap, body);
        riff += total;
    }
    for (size_t i = 0, at = 0; i < nStreams; ++i) {
        at = Find(runs[0].second, "indx", at) + 8; // AVI_INDEX_OF_INDEXES, dwReserved[3]
        const Bytes super = Cat(IndexHead(4, 0, s.forms.size(), ckids[i]), Bytes(12), supers[i]);
        std::copy(super.begin(), super.end(), runs[0].second.begin() + at);
    }
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (const auto& [where, bytes] : runs)
        if (pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(where)) < 0)
            std::perror("pwrite");
    if (ftruncate(fd, static_cast<off_t>(riff)) != 0)
        std::perror("ftruncate");
    close(fd);
}

// The packets of an open reader until -1: (result, record, bytes).
struct Got
{
    int rc;
    _TAG_AVI_PACKET_INFO info;
    Bytes data;
};
inline std::vector<Got> Packets(mmAviParser& r)
{
    std::vector<Got> all;
    for (int k = 0; k < 1000; ++k) {
        Got g{};
        g.rc = r.GetAVIReadData(k, &g.info);
        if (g.rc == -1)
            break;
        if (g.rc == 0)
            g.data.assign(g.info.pData, g.info.pData + g.info.nDataSize);
        all.push_back(g);
    }
    return all;
}

// What `f` answers for every element, to compare whole lists in one check.
template <class T, class F> auto Each(const std::vector<T>& all, F f)
{
    std::vector<std::decay_t<std::invoke_result_t<F, const T&>>> out;
    for (const T& e : all)
        out.push_back(std::invoke(f, e));
    return out;
}

// A stream record for the writer: type, rate per second, sample size, 32 x 24 frame.
inline AVISTREAMINFOW StreamInfo(DWORD type, DWORD rate, DWORD sampleSize = 0, DWORD scale = 1)
{
    AVISTREAMINFOW i{};
    i.fccType = type;
    i.dwScale = scale;
    i.dwRate = rate;
    i.dwSampleSize = sampleSize;
    i.rcFrame = {0, 0, 32, 24};
    return i;
}

inline Bytes ReadAll(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline std::string Md5(const std::uint8_t* data, size_t n)
{
    static const std::uint8_t none = 0;
    gchar* hex = g_compute_checksum_for_data(G_CHECKSUM_MD5, n ? data : &none, n);
    std::string s = hex;
    g_free(hex);
    return s;
}

} // namespace avitest
