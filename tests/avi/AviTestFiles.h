// Builds small AVI files byte by byte for the reader's tests, and helpers shared by the AVI
// tests (temporary folder, running programs, RIFF walking).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace avitest {

using Bytes = std::vector<std::uint8_t>;

inline void Put32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void PutId(Bytes& b, const char* id)
{
    b.insert(b.end(), id, id + 4);
}
inline void Patch32(Bytes& b, size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint32_t Get32(const Bytes& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
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
    Bytes h(56, 0);
    std::memcpy(h.data(), type, 4);
    Patch32(h, 20, scale);
    Patch32(h, 24, rate);
    Patch32(h, 32, length);
    return h;
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
    Bytes indexExtra;  // raw 16-byte entries appended to idx1
    // Overrides of chunk sizes as stored (0: the true size).
    std::uint32_t idx1Size = 0;
};

inline void PutChunk(Bytes& b, const char* id, const Bytes& data, bool pad)
{
    PutId(b, id);
    Put32(b, static_cast<std::uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (pad && (data.size() & 1))
        b.push_back(0);
}

inline Bytes Build(const FileLayout& s)
{
    Bytes b(s.prefix, 'x');
    const size_t riff = b.size();
    PutId(b, "RIFF");
    Put32(b, 0);
    PutId(b, "AVI ");
    const size_t hdrl = b.size();
    PutId(b, "LIST");
    Put32(b, 0);
    PutId(b, "hdrl");
    PutChunk(b, "avih", Bytes(56, 0), s.pad);
    for (const StreamLayout& st : s.streams) {
        const size_t strl = b.size();
        PutId(b, "LIST");
        Put32(b, 0);
        PutId(b, "strl");
        PutChunk(b, "strh", st.strh, s.pad);
        if (st.strf)
            PutChunk(b, "strf", *st.strf, s.pad);
        b.insert(b.end(), st.extra.begin(), st.extra.end());
        Patch32(b, strl + 4, static_cast<std::uint32_t>(b.size() - strl - 8));
    }
    b.insert(b.end(), s.headerExtra.begin(), s.headerExtra.end());
    Patch32(b, hdrl + 4, static_cast<std::uint32_t>(b.size() - hdrl - 8));
    const size_t movi = b.size();
    PutId(b, "LIST");
    Put32(b, 0);
    PutId(b, "movi");
    Bytes idx;
    for (const PacketLayout& p : s.packets) {
        const std::uint32_t at = static_cast<std::uint32_t>(b.size());
        PutChunk(b, p.ckid.c_str(), p.data, s.pad);
        PutId(idx, p.ckid.c_str());
        Put32(idx, p.flags);
        Put32(idx, s.absolute ? at : at - static_cast<std::uint32_t>(movi + 8));
        Put32(idx, static_cast<std::uint32_t>(p.data.size()));
    }
    Patch32(b, movi + 4, static_cast<std::uint32_t>(b.size() - movi - 8));
    if (s.index) {
        idx.insert(idx.end(), s.indexExtra.begin(), s.indexExtra.end());
        PutChunk(b, "idx1", idx, s.pad);
        if (s.idx1Size)
            Patch32(b, b.size() - idx.size() - 4, s.idx1Size);
    }
    Patch32(b, riff + 4, static_cast<std::uint32_t>(b.size() - riff - 8));
    return b;
}

// One idx1 entry.
inline Bytes IndexEntry(const char* ckid, std::uint32_t flags, std::uint32_t offset,
                        std::uint32_t length)
{
    Bytes e;
    PutId(e, ckid);
    Put32(e, flags);
    Put32(e, offset);
    Put32(e, length);
    return e;
}

// --- OpenDML files ---

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

inline void Put64(Bytes& b, std::uint64_t v)
{
    Put32(b, static_cast<std::uint32_t>(v));
    Put32(b, static_cast<std::uint32_t>(v >> 32));
}

// The head of an OpenDML index chunk's data: wLongsPerEntry, bIndexSubType 0, bIndexType,
// nEntriesInUse, dwChunkId.
inline Bytes IndexHead(std::uint8_t longs, std::uint8_t type, size_t entries, const char* ckid)
{
    Bytes b = {longs, 0, 0, type};
    Put32(b, static_cast<std::uint32_t>(entries));
    PutId(b, ckid);
    return b;
}

inline void WriteOdml(const std::string& path, const OdmlLayout& s)
{
    const size_t nStreams = s.streams.size();
    std::vector<std::string> ckids(nStreams, "00dc");
    for (const auto& form : s.forms)
        for (const PacketLayout& p : form)
            ckids[static_cast<size_t>((p.ckid[0] - '0') * 10 + (p.ckid[1] - '0'))] = p.ckid;
    // Byte runs at their positions; what lies between them (the gaps) is never written.
    std::vector<std::pair<std::uint64_t, Bytes>> runs;
    std::vector<Bytes> supers(nStreams);
    std::vector<size_t> superAt;
    Bytes h;
    PutId(h, "RIFF");
    Put32(h, 0);
    PutId(h, "AVI ");
    PutId(h, "LIST");
    Put32(h, 0);
    PutId(h, "hdrl");
    PutChunk(h, "avih", Bytes(56, 0), true);
    for (size_t i = 0; i < nStreams; ++i) {
        const size_t strl = h.size();
        PutId(h, "LIST");
        Put32(h, 0);
        PutId(h, "strl");
        PutChunk(h, "strh", s.streams[i].strh, true);
        if (s.streams[i].strf)
            PutChunk(h, "strf", *s.streams[i].strf, true);
        superAt.push_back(h.size() + 8);
        supers[i] = IndexHead(4, 0, s.forms.size(), ckids[i].c_str()); // AVI_INDEX_OF_INDEXES
        supers[i].resize(24, 0);
        PutChunk(h, "indx", Bytes(24 + 16 * s.forms.size(), 0), true);
        Patch32(h, strl + 4, static_cast<std::uint32_t>(h.size() - strl - 8));
    }
    Patch32(h, 16, static_cast<std::uint32_t>(h.size() - 20));

    std::uint64_t riff = 0, at = h.size();
    for (size_t f = 0; f < s.forms.size(); ++f) {
        Bytes b = f == 0 ? h : Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', 'X'};
        const std::uint64_t movi = riff + b.size();
        PutId(b, "LIST");
        Put32(b, 0);
        PutId(b, "movi");
        std::uint64_t gap = 0;
        if (f > 0 && s.gap >= 8) {
            PutId(b, "JUNK");
            Put32(b, static_cast<std::uint32_t>(s.gap - 8));
            runs.emplace_back(riff, b);
            gap = s.gap - 8;
            b.clear();
        }
        const std::uint64_t start =
            riff +
            (runs.empty() || runs.back().first != riff ? 0 : runs.back().second.size() + gap);
        auto pos = [&] { return start + b.size(); };
        std::vector<Bytes> entries(nStreams);
        Bytes idx1;
        for (const PacketLayout& p : s.forms[f]) {
            const size_t i = static_cast<size_t>((p.ckid[0] - '0') * 10 + (p.ckid[1] - '0'));
            Put32(entries[i], static_cast<std::uint32_t>(pos() + 8 - movi)); // dwOffset
            Put32(entries[i], static_cast<std::uint32_t>(p.data.size()) |
                                  ((p.flags & 0x10) ? 0u : 0x80000000u)); // dwSize
            PutId(idx1, p.ckid.c_str());
            Put32(idx1, p.flags);
            Put32(idx1, static_cast<std::uint32_t>(pos() - (movi + 8)));
            Put32(idx1, static_cast<std::uint32_t>(p.data.size()));
            PutChunk(b, p.ckid.c_str(), p.data, true);
        }
        for (size_t i = 0; i < nStreams; ++i) {
            Bytes ix = IndexHead(2, 1, entries[i].size() / 8, ckids[i].c_str());
            Put64(ix, movi); // qwBaseOffset
            Put32(ix, 0);
            ix.insert(ix.end(), entries[i].begin(), entries[i].end());
            Put64(supers[i], pos());                                             // qwOffset
            Put32(supers[i], static_cast<std::uint32_t>(ix.size() + 8));         // dwSize
            Put32(supers[i], static_cast<std::uint32_t>(entries[i].size() / 8)); // dwDuration
            const char id[5] = {'i', 'x', static_cast<char>('0' + i / 10 % 10),
                                static_cast<char>('0' + i % 10), 0};
            PutChunk(b, id, ix, true);
        }
        const std::uint64_t moviEnd = pos();
        if (f == 0)
            PutChunk(b, "idx1", idx1, true);
        at = pos();
        runs.emplace_back(start, b);
        // The sizes of the form and its movi list, patched where they lie.
        Bytes size;
        Put32(size, static_cast<std::uint32_t>(moviEnd - movi - 8));
        runs.emplace_back(movi + 4, size);
        size.clear();
        Put32(size, static_cast<std::uint32_t>(at - riff - 8));
        runs.emplace_back(riff + 4, size);
        riff = at;
    }
    for (size_t i = 0; i < nStreams; ++i)
        runs.emplace_back(superAt[i], supers[i]);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (const auto& [where, bytes] : runs)
        if (pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(where)) < 0)
            std::perror("pwrite");
    if (ftruncate(fd, static_cast<off_t>(at)) != 0)
        std::perror("ftruncate");
    close(fd);
}

// Free bytes where `path` lies.
inline std::uint64_t FreeBytes(const std::string& path)
{
    struct statvfs v;
    return statvfs(path.c_str(), &v) == 0 ? static_cast<std::uint64_t>(v.f_bavail) * v.f_frsize : 0;
}

// A fresh folder under the test temp dir, removed with the object.
class TempDir
{
public:
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "skinkit-avi-XXXXXX").string();
        m_path = mkdtemp(tmpl.data());
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::string Path() const { return m_path.string(); }
    std::string Write(const std::string& name, const Bytes& b) const
    {
        const std::string p = File(name);
        FILE* f = std::fopen(p.c_str(), "wb");
        std::fwrite(b.data(), 1, b.size(), f);
        std::fclose(f);
        return p;
    }

private:
    std::filesystem::path m_path;
};

inline Bytes ReadAll(const std::string& path)
{
    Bytes b;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return b;
    std::uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        b.insert(b.end(), buf, buf + n);
    std::fclose(f);
    return b;
}

// Runs a shell command; its standard output, and the exit status in `status`.
inline std::string RunCommand(const std::string& command, int* status = nullptr)
{
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) {
        if (status)
            *status = -1;
        return out;
    }
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int rc = pclose(p);
    if (status)
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

inline std::string Quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

} // namespace avitest
