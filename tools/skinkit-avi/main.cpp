// skinkit-avi: looks into AVI files with the library's reader and copies them with its writer.
//
//   skinkit-avi info FILE            streams, formats and packet count, for people
//   skinkit-avi packets FILE --json  the open result, then one JSON line per packet
//   skinkit-avi copy IN OUT          every stream and packet of IN into a new file OUT
//
// Exit status: 0 done; 1 a file could not be opened or written; 2 the file's index names a
// stream the file does not have (the reader raised); 64 bad usage.
#include "avi/AviParser.h"
#include "avi/AviWriter.h"

#include <CLI/CLI.hpp>
#include <glib.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFile = 1;
constexpr int kExitMalformed = 2;

std::string Fourcc(DWORD fcc)
{
    char text[5];
    avi::FourccText(fcc, text);
    return text;
}

std::string Md5(const BYTE* data, int size)
{
    static const BYTE empty = 0;
    gchar* hex = g_compute_checksum_for_data(G_CHECKSUM_MD5, size > 0 ? data : &empty,
                                             static_cast<gsize>(size > 0 ? size : 0));
    std::string s = hex;
    g_free(hex);
    return s;
}

const char* KindName(avi::StreamKind k)
{
    return k == avi::StreamKind::Video ? "video" : k == avi::StreamKind::Audio ? "audio" : "meta";
}

// One stream of an open reader, in file order.
struct StreamEntry
{
    int fileOrder = -1;
    avi::StreamKind kind = avi::StreamKind::Meta;
    int typeIndex = 0;
    AVISTREAMINFOW info{}; // member by member
    std::vector<BYTE> format;
    bool hasFormat = false;
};

std::vector<StreamEntry> ListStreams(mmAviParser& reader)
{
    std::vector<StreamEntry> streams;
    const avi::StreamKind kinds[] = {avi::StreamKind::Video, avi::StreamKind::Audio,
                                     avi::StreamKind::Meta};
    for (avi::StreamKind kind : kinds) {
        const int count = kind == avi::StreamKind::Video   ? reader.GetAVIVideoStreamCount()
                          : kind == avi::StreamKind::Audio ? reader.GetAVIAudioStreamCount()
                                                           : reader.GetAVIMetaStreamCount();
        for (int n = 0; n < count; ++n) {
            StreamEntry e;
            AVISTREAMINFOW raw{};
            e.kind = kind;
            e.typeIndex = n;
            e.fileOrder = kind == avi::StreamKind::Video   ? reader.GetAVIVideoStreamInfo(&raw, n)
                          : kind == avi::StreamKind::Audio ? reader.GetAVIAudioStreamInfo(&raw, n)
                                                           : reader.GetAVIMetaStreamInfo(&raw, n);
            if (e.fileOrder < 0)
                continue;
            e.info = avi::InfoFromRawHeader(raw);
            // The format queries cut silently to the buffer: grow until it is not full.
            for (int size = 4096;; size *= 4) {
                e.format.assign(static_cast<size_t>(size), 0);
                int copied = 0;
                const int rc =
                    kind == avi::StreamKind::Video
                        ? reader.GetAVIVideoFormat(e.format.data(), size, &copied, n)
                    : kind == avi::StreamKind::Audio
                        ? reader.GetAVIAudioFormat(e.format.data(), size, &copied, n)
                        : reader.GetAVIMetaFormat(e.format.data(), size, &copied, e.fileOrder);
                e.hasFormat = rc >= 0;
                e.format.resize(e.hasFormat ? static_cast<size_t>(copied) : 0);
                if (!e.hasFormat || copied < size)
                    break;
            }
            streams.push_back(std::move(e));
        }
    }
    std::sort(streams.begin(), streams.end(),
              [](const StreamEntry& a, const StreamEntry& b) { return a.fileOrder < b.fileOrder; });
    return streams;
}

std::string DescribeFormat(const StreamEntry& s)
{
    if (!s.hasFormat)
        return "none";
    const BYTE* f = s.format.data();
    const size_t n = s.format.size();
    std::string text = std::to_string(n) + " bytes";
    char line[160];
    if (s.kind == avi::StreamKind::Video && n >= 40) { // BITMAPINFOHEADER
        const int height = static_cast<int>(avi::ReadLE32(f + 8));
        std::snprintf(line, sizeof line, ", %dx%d%s, %u bits, compression %s",
                      static_cast<int>(avi::ReadLE32(f + 4)), height < 0 ? -height : height,
                      height < 0 ? " top-down" : "", avi::ReadLE16(f + 14),
                      avi::ReadLE32(f + 16) == 0 ? "BI_RGB"
                                                 : Fourcc(avi::ReadLE32(f + 16)).c_str());
        text += line;
    } else if (s.kind == avi::StreamKind::Audio && n >= 16) { // WAVEFORMATEX
        std::snprintf(line, sizeof line,
                      ", format tag 0x%04X, %u channel(s), %u Hz, %u bytes/s, block %u, %u bits",
                      avi::ReadLE16(f), avi::ReadLE16(f + 2), avi::ReadLE32(f + 4),
                      avi::ReadLE32(f + 8), avi::ReadLE16(f + 12), avi::ReadLE16(f + 14));
        text += line;
    }
    return text;
}

int OpenOrReport(mmAviParser& reader, const std::string& path)
{
    const int rc = reader.OpenAVI(CString::FromUtf8(path));
    if (rc != 0)
        std::fprintf(stderr, "skinkit-avi: %s: %s (%d)\n", path.c_str(),
                     rc == AVIPARSER_E_FILEOPEN ? "cannot open the file"
                                                : "not an AVI file this reader reads",
                     rc);
    return rc;
}

int RunInfo(const std::string& path)
{
    mmAviParser reader;
    if (OpenOrReport(reader, path) != 0)
        return kExitFile;
    const std::vector<StreamEntry> streams = ListStreams(reader);
    std::printf("%s\n", path.c_str());
    std::printf("streams: %zu (video %d, audio %d, meta %d)\n", streams.size(),
                reader.GetAVIVideoStreamCount(), reader.GetAVIAudioStreamCount(),
                reader.GetAVIMetaStreamCount());
    for (const StreamEntry& s : streams) {
        const AVISTREAMINFOW& i = s.info;
        std::printf("stream %d: %s #%d, type \"%s\", handler \"%s\"\n", s.fileOrder,
                    KindName(s.kind), s.typeIndex, Fourcc(i.fccType).c_str(),
                    Fourcc(i.fccHandler).c_str());
        std::printf("  rate %u/%u", i.dwRate, i.dwScale);
        if (i.dwScale)
            std::printf(" (%.3f per second)", static_cast<double>(i.dwRate) / i.dwScale);
        std::printf(", start %u, length %u, sample size %u, suggested buffer %u\n", i.dwStart,
                    i.dwLength, i.dwSampleSize, i.dwSuggestedBufferSize);
        std::printf("  format: %s\n", DescribeFormat(s).c_str());
    }
    long packets = 0, unreadable = 0;
    std::vector<long> perStream(streams.size(), 0);
    _TAG_AVI_PACKET_INFO p{};
    try {
        for (int k = 0;; ++k) {
            const int rc = reader.GetAVIReadData(k, &p);
            if (rc == AVIPARSER_E_NOPACKET)
                break;
            ++packets;
            if (rc != 0)
                ++unreadable;
            else if (p.nStreamNo >= 0 && static_cast<size_t>(p.nStreamNo) < perStream.size())
                ++perStream[static_cast<size_t>(p.nStreamNo)];
        }
    } catch (const CInvalidArgException& e) {
        std::printf("packets: %ld, then a malformed index entry: %s\n", packets, e.what());
        reader.CloseAVI();
        return kExitMalformed;
    }
    std::printf("packets: %ld", packets);
    for (size_t i = 0; i < perStream.size(); ++i)
        std::printf("%sstream %zu: %ld", i ? ", " : " (", i, perStream[i]);
    std::printf("%s\n", perStream.empty() ? "" : ")");
    if (unreadable)
        std::printf("unreadable packets: %ld\n", unreadable);
    reader.CloseAVI();
    return kExitOk;
}

int RunPackets(const std::string& path, bool json)
{
    mmAviParser reader;
    const int rc = reader.OpenAVI(CString::FromUtf8(path));
    if (json) {
        nlohmann::ordered_json head;
        head["open"] = rc;
        head["video"] = reader.GetAVIVideoStreamCount();
        head["audio"] = reader.GetAVIAudioStreamCount();
        head["meta"] = reader.GetAVIMetaStreamCount();
        std::printf("%s\n", head.dump().c_str());
    } else if (rc != 0) {
        std::printf("open: %d\n", rc);
    }
    if (rc != 0)
        return kExitFile;
    _TAG_AVI_PACKET_INFO p{};
    for (int k = 0;; ++k) {
        int result;
        try {
            result = reader.GetAVIReadData(k, &p);
        } catch (const CInvalidArgException& e) {
            if (json)
                std::printf("{\"n\":%d,\"error\":\"invalid_argument\"}\n", k);
            else
                std::printf("%d: error: %s\n", k, e.what());
            reader.CloseAVI();
            return kExitMalformed;
        }
        if (result == AVIPARSER_E_NOPACKET)
            break;
        if (result != 0) {
            if (json)
                std::printf("{\"n\":%d,\"result\":%d}\n", k, result);
            else
                std::printf("%d: result %d\n", k, result);
            continue;
        }
        const std::string md5 = Md5(p.pData, p.nDataSize);
        if (json) {
            nlohmann::ordered_json line;
            line["n"] = k;
            line["stream"] = p.nStreamNo;
            line["type"] = Fourcc(p.fccType);
            line["type_index"] = p.nTypeIndex;
            line["size"] = p.nDataSize;
            line["flags"] = p.dwFlags;
            line["md5"] = md5;
            std::printf("%s\n", line.dump().c_str());
        } else {
            std::printf("%d: stream %d %s #%d, %d bytes, flags 0x%X, md5 %s\n", k, p.nStreamNo,
                        Fourcc(p.fccType).c_str(), p.nTypeIndex, p.nDataSize, p.dwFlags,
                        md5.c_str());
        }
    }
    reader.CloseAVI();
    return kExitOk;
}

int RunCopy(const std::string& in, const std::string& out)
{
    mmAviParser reader;
    if (OpenOrReport(reader, in) != 0)
        return kExitFile;
    mmAviWriter writer;
    if (writer.OpenAVI(CString::FromUtf8(out)) != 0) {
        std::fprintf(stderr, "skinkit-avi: %s: cannot create the file\n", out.c_str());
        return kExitFile;
    }
    // Streams go in file order, each under its number within its kind.
    for (StreamEntry& s : ListStreams(reader)) {
        void* format = s.format.empty() ? nullptr : s.format.data();
        const int size = static_cast<int>(s.format.size());
        int rc;
        if (s.kind == avi::StreamKind::Video) {
            rc = writer.OpenAVIVideoStream(s.info, format, size, s.typeIndex);
        } else if (s.kind == avi::StreamKind::Audio) {
            rc = writer.OpenAVIAudioStream(s.info, format, size, s.typeIndex);
        } else if (size > 0) {
            rc = writer.OpenAVIMetaStream(s.info, format, size, s.typeIndex);
        } else {
            // A metadata stream without format: the writer takes a 4-byte block of ours.
            void* block = std::calloc(1, 4);
            rc = writer.OpenAVIMetaStream(s.info, block, 0, s.typeIndex);
        }
        if (rc != 0) {
            std::fprintf(stderr, "skinkit-avi: %s: stream %d could not be created (%d)\n",
                         out.c_str(), s.fileOrder, rc);
            return kExitFile;
        }
    }
    _TAG_AVI_PACKET_INFO p{};
    long skipped = 0;
    try {
        for (int k = 0;; ++k) {
            const int rc = reader.GetAVIReadData(k, &p);
            if (rc == AVIPARSER_E_NOPACKET)
                break;
            if (rc != 0) {
                ++skipped;
                continue;
            }
            const int wrc =
                writer.WritePacket(p.fccType, p.pData, p.nDataSize, p.nTypeIndex, p.dwFlags);
            if (wrc != 0) {
                std::fprintf(stderr, "skinkit-avi: %s: packet %d could not be written (%d)\n",
                             out.c_str(), k, wrc);
                writer.CloseAVI();
                return kExitFile;
            }
        }
    } catch (const CInvalidArgException& e) {
        std::fprintf(stderr, "skinkit-avi: %s: %s\n", in.c_str(), e.what());
        writer.CloseAVI();
        return kExitMalformed;
    }
    if (skipped)
        std::fprintf(stderr, "skinkit-avi: %s: %ld unreadable packet(s) left out\n", in.c_str(),
                     skipped);
    writer.CloseAVI();
    reader.CloseAVI();
    return kExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Looks into AVI files and copies them, with skinkit's AVI reader and writer"};
    app.require_subcommand(1);
    std::string file, in, out;
    bool json = false;
    auto* info = app.add_subcommand("info", "Streams, kinds, handlers, rates, lengths, formats "
                                            "and packet count");
    info->add_option("FILE", file, "AVI file")->required();
    auto* packets = app.add_subcommand("packets", "Every packet in index order");
    packets->add_option("FILE", file, "AVI file")->required();
    packets->add_flag("--json", json, "One JSON object per line");
    auto* copy = app.add_subcommand("copy", "Copy every stream and packet into a new file");
    copy->add_option("IN", in, "AVI file to read")->required();
    copy->add_option("OUT", out, "AVI file to write")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? 0 : 64;
    }
    if (info->parsed())
        return RunInfo(file);
    if (packets->parsed())
        return RunPackets(file, json);
    return RunCopy(in, out);
}
