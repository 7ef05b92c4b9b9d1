// skinkit-avi: looks into AVI files with the library's reader and copies them with its writer.
//
//   skinkit-avi info FILE            streams, formats and packet count, for people
//   skinkit-avi packets FILE --json  the open result, then one JSON line per packet
//   skinkit-avi copy IN OUT          every stream and packet of IN into OUT, replaced safely
//
// Exit status: 0 success; 1 a failed operation or a finding (a file that cannot be opened,
// read or written, an index entry naming a stream the file does not have); 2 bad usage.
// Messages go to standard error and name the cause.
#include "avi/AviParser.h"
#include "avi/AviWriter.h"

#include <CLI/CLI.hpp>
#include <glib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

bool g_tolerant = false;

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

// Why a file cannot be read, in words: the system's reason, or that it is not an AVI file.
std::string OpenFailure(const std::string& path, int rc)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return std::strerror(errno);
    if (S_ISDIR(st.st_mode))
        return "is a directory";
    // Without blocking: a FIFO without a writer would hold the open.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return std::strerror(errno);
    // The reader measures the file and moves about in it, in either walk, so a pipe is refused
    // whatever it holds.
    const bool seekable = lseek(fd, 0, SEEK_END) >= 0 || errno != ESPIPE;
    close(fd);
    if (!seekable)
        return "the reader needs a seekable file, not a pipe, socket or terminal (save it to a "
               "file first)";
    if (rc == AVIPARSER_E_FILEOPEN)
        return "cannot open the file";
    return g_tolerant ? "not an AVI file"
                      : "not an AVI file this reader reads (try --tolerant for OpenDML files, "
                        "files over 2 GiB, files without an index and optional chunks)";
}

int OpenOrReport(mmAviParser& reader, const std::string& path)
{
    reader.m_bTolerant = g_tolerant;
    const int rc = reader.OpenAVI(CString::FromPathBytes(path));
    if (rc != 0)
        std::fprintf(stderr, "skinkit-avi: %s: %s\n", path.c_str(), OpenFailure(path, rc).c_str());
    return rc;
}

int RunInfo(const std::string& path)
{
    mmAviParser reader;
    if (OpenOrReport(reader, path) != 0)
        return kExitFailed;
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
        std::printf("packets: %ld, then a malformed index entry\n", packets);
        std::fprintf(stderr, "skinkit-avi: %s: %s\n", path.c_str(), e.what());
        reader.CloseAVI();
        return kExitFailed;
    }
    std::printf("packets: %ld", packets);
    for (size_t i = 0; i < perStream.size(); ++i)
        std::printf("%sstream %zu: %ld", i ? ", " : " (", i, perStream[i]);
    std::printf("%s\n", perStream.empty() ? "" : ")");
    reader.CloseAVI();
    if (unreadable) {
        std::printf("unreadable packets: %ld\n", unreadable);
        std::fprintf(stderr, "skinkit-avi: %s: %ld packet(s) lie outside the file\n", path.c_str(),
                     unreadable);
        return kExitFailed;
    }
    return kExitOk;
}

int RunPackets(const std::string& path, bool json)
{
    mmAviParser reader;
    const int rc = OpenOrReport(reader, path);
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
        return kExitFailed;
    _TAG_AVI_PACKET_INFO p{};
    long unreadable = 0;
    for (int k = 0;; ++k) {
        int result;
        try {
            result = reader.GetAVIReadData(k, &p);
        } catch (const CInvalidArgException& e) {
            if (json)
                std::printf("{\"n\":%d,\"error\":\"invalid_argument\"}\n", k);
            else
                std::printf("%d: error: %s\n", k, e.what());
            std::fprintf(stderr, "skinkit-avi: %s: %s\n", path.c_str(), e.what());
            reader.CloseAVI();
            return kExitFailed;
        }
        if (result == AVIPARSER_E_NOPACKET)
            break;
        if (result != 0) {
            ++unreadable;
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
    if (unreadable) {
        std::fprintf(stderr, "skinkit-avi: %s: %ld packet(s) lie outside the file\n", path.c_str(),
                     unreadable);
        return kExitFailed;
    }
    return kExitOk;
}

// The temporary file of a copy in progress, removed if the copy is interrupted.
char g_tempPath[4096];

// Every signal whose default action ends the process, core dump or not, except SIGKILL and
// SIGSTOP, which cannot be caught.
constexpr int kEndingSignals[] = {
    SIGHUP,    SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
    SIGFPE,    SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
    SIGXCPU,   SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
};

void RemoveTempAndEnd(int sig, siginfo_t* info, void*)
{
    // The file size limit, met by one of our own writes: that write fails and the copy ends
    // as a failed operation, with a message (the kernel sends it as if from this process).
    if (sig == SIGXFSZ && info && info->si_code == SI_USER && info->si_pid == getpid())
        return;
    if (g_tempPath[0])
        unlink(g_tempPath);
    // Ended by the same signal with its default action, so that the exit status tells it.
    signal(sig, SIG_DFL);
    raise(sig);
}

// The handler on every ending signal (real-time ones too, whose default also ends the
// process); each runs with all of them blocked, so that a second signal cannot cut it short.
void CatchEndingSignals()
{
    struct sigaction action = {};
    action.sa_sigaction = RemoveTempAndEnd;
    action.sa_flags = SA_SIGINFO;
    sigfillset(&action.sa_mask);
    for (int sig : kEndingSignals)
        sigaction(sig, &action, nullptr);
    for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig)
        sigaction(sig, &action, nullptr);
}

struct Failure : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// Writes every stream and packet of `reader` into `path` with the writer; throws Failure.
void WriteCopy(mmAviParser& reader, const std::string& in, const std::string& path,
               bool skipUnreadable)
{
    mmAviWriter writer;
    if (writer.OpenAVI(CString::FromPathBytes(path)) != 0)
        throw Failure{path + ": cannot create the file: " + std::strerror(errno)};
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
        if (rc != 0)
            throw Failure{"stream " + std::to_string(s.fileOrder) + " could not be created"};
    }
    _TAG_AVI_PACKET_INFO p{};
    long skipped = 0;
    try {
        for (int k = 0;; ++k) {
            const int rc = reader.GetAVIReadData(k, &p);
            if (rc == AVIPARSER_E_NOPACKET)
                break;
            if (rc != 0) {
                if (!skipUnreadable)
                    throw Failure{in + ": packet " + std::to_string(k) +
                                  " lies outside the file (--skip-unreadable leaves such "
                                  "packets out)"};
                ++skipped;
                continue;
            }
            const int wrc =
                writer.WritePacket(p.fccType, p.pData, p.nDataSize, p.nTypeIndex, p.dwFlags);
            if (wrc == AVIWRITER_E_FILETOOBIG)
                throw Failure{"the copy would reach 2 GiB, which the default reader refuses"};
            if (wrc != 0)
                throw Failure{path + ": packet " + std::to_string(k) +
                              " could not be written: " + std::strerror(errno)};
        }
    } catch (const CInvalidArgException& e) {
        throw Failure{in + ": " + e.what()};
    }
    writer.CloseAVI();
    if (writer.GetAVICloseResult() != 0)
        throw Failure{path + ": the file could not be completed (disk full or a size limit?)"};
    if (skipped)
        std::fprintf(stderr, "skinkit-avi: %s: %ld unreadable packet(s) left out\n", in.c_str(),
                     skipped);
}

// The copy read back packet by packet against the original, as the default reader reads it.
void CheckCopy(mmAviParser& original, const std::string& path)
{
    mmAviParser copy;
    if (copy.OpenAVI(CString::FromPathBytes(path)) != 0)
        throw Failure{path + ": the copy does not read back"};
    _TAG_AVI_PACKET_INFO a{}, b{};
    int n = 0;
    for (int k = 0;; ++k) {
        const int ra = original.GetAVIReadData(k, &a);
        if (ra == AVIPARSER_E_NOPACKET)
            break;
        if (ra != 0)
            continue; // left out with --skip-unreadable
        // Each reader hands out its own buffer: a stays valid while the copy is read.
        if (copy.GetAVIReadData(n++, &b) != 0 || b.fccType != a.fccType ||
            b.nTypeIndex != a.nTypeIndex || b.dwFlags != a.dwFlags || b.nDataSize != a.nDataSize ||
            !std::equal(a.pData, a.pData + a.nDataSize, b.pData))
            throw Failure{path + ": packet " + std::to_string(n - 1) +
                          " of the copy differs from the original"};
    }
    if (copy.GetAVIReadData(n, &b) != AVIPARSER_E_NOPACKET)
        throw Failure{path + ": the copy holds more packets than the original"};
}

int RunCopy(const std::string& in, const std::string& outArg, bool skipUnreadable)
{
    namespace fs = std::filesystem;
    // OUT may be a link: the file it names is the one replaced.
    std::error_code ec;
    const fs::path out = fs::exists(fs::symlink_status(outArg, ec)) && fs::is_symlink(outArg, ec)
                             ? fs::weakly_canonical(outArg, ec)
                             : fs::path(outArg);
    struct stat si, so;
    if (stat(in.c_str(), &si) != 0) {
        std::fprintf(stderr, "skinkit-avi: %s: %s\n", in.c_str(), std::strerror(errno));
        return kExitFailed;
    }
    // The same file under any name (another spelling, a link) would be destroyed while read.
    if (stat(out.c_str(), &so) == 0) {
        if (so.st_dev == si.st_dev && so.st_ino == si.st_ino) {
            std::fprintf(stderr, "skinkit-avi: %s and %s are the same file: refused\n", in.c_str(),
                         outArg.c_str());
            return kExitFailed;
        }
        if (S_ISDIR(so.st_mode)) {
            std::fprintf(stderr, "skinkit-avi: %s: is a directory\n", outArg.c_str());
            return kExitFailed;
        }
        // The copy is renamed over OUT: a device, FIFO or socket would be replaced by a plain
        // file while the command said it copied into it.
        if (!S_ISREG(so.st_mode)) {
            std::fprintf(stderr,
                         "skinkit-avi: %s: is not a regular file (a device, FIFO or socket): "
                         "refused\n",
                         outArg.c_str());
            return kExitFailed;
        }
    }
    mmAviParser reader;
    if (OpenOrReport(reader, in) != 0)
        return kExitFailed;

    const fs::path folder = out.has_parent_path() ? out.parent_path() : fs::path(".");
    std::string temp = (folder / ("." + out.filename().string() + ".XXXXXX")).string();
    // Signals wait while the temporary file is made and named, so that none ends the process
    // between the two and leaves a file no handler knows.
    CatchEndingSignals();
    sigset_t all, before;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &before);
    const int fd = mkstemp(temp.data());
    const int made = errno;
    if (fd >= 0)
        std::snprintf(g_tempPath, sizeof g_tempPath, "%s", temp.c_str());
    sigprocmask(SIG_SETMASK, &before, nullptr);
    if (fd < 0) {
        std::fprintf(stderr, "skinkit-avi: %s: cannot write in the folder: %s\n", folder.c_str(),
                     std::strerror(made));
        return kExitFailed;
    }
    close(fd);
    try {
        WriteCopy(reader, in, temp, skipUnreadable);
        CheckCopy(reader, temp);
        // The copy gets the permissions a new file would get, or those of the file it replaces.
        const mode_t mask = umask(0);
        umask(mask);
        chmod(temp.c_str(), stat(out.c_str(), &so) == 0 ? (so.st_mode & 07777) : (0666 & ~mask));
        if (rename(temp.c_str(), out.c_str()) != 0)
            throw Failure{outArg + ": cannot replace the file: " + std::strerror(errno)};
    } catch (const std::exception& e) { // a Failure, or the library's own
        unlink(temp.c_str());
        g_tempPath[0] = 0;
        std::fprintf(stderr, "skinkit-avi: %s; %s is left as it was\n", e.what(), outArg.c_str());
        return kExitFailed;
    }
    g_tempPath[0] = 0;
    reader.CloseAVI();
    return kExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    // A file size limit shows as a failed write, not as the end of the process. A copy's own
    // handler keeps it so, and ends the process for a SIGXFSZ sent from outside.
    signal(SIGXFSZ, SIG_IGN);
    CLI::App app{"Looks into AVI files and copies them, with skinkit's AVI reader and writer"};
    app.require_subcommand(1);
    app.footer("Exit status: 0 success; 1 a failed operation or a finding (a file that cannot be "
               "opened, read or written, not an AVI file the reader reads, an index naming a "
               "missing stream, packets outside the file); 2 bad usage. Messages go to standard "
               "error.\n\nBy default the reader reads only the layout it was made for and "
               "refuses the rest: INFO lists and other unknown chunks in the header, stream "
               "names and other optional chunks in a stream list, OpenDML files (indexes, AVIX "
               "extensions), files of 2 GiB or more and files without an idx1 index. "
               "--tolerant reads those too.");
    std::string file, in, out;
    bool json = false, skipUnreadable = false;
    auto* info = app.add_subcommand("info", "Streams, kinds, handlers, rates, lengths, formats "
                                            "and packet count");
    info->add_option("FILE", file, "AVI file")->required();
    auto* packets = app.add_subcommand("packets", "Every packet in index order");
    packets->add_option("FILE", file, "AVI file")->required();
    packets->add_flag("--json", json, "One JSON object per line");
    auto* copy = app.add_subcommand(
        "copy", "Copy every stream and packet of IN into OUT. OUT is replaced: the copy is "
                "written to a temporary file in OUT's folder and renamed over OUT only when it "
                "is complete and reads back packet for packet; on any failure OUT is left as it "
                "was. Refused: OUT naming the same file as IN (the same path, another spelling "
                "of it, a hard or symbolic link to it), because the copy would destroy what it "
                "reads; OUT naming a device, FIFO or socket, which the copy would replace by a "
                "plain file; an IN whose packets lie outside the file, unless "
                "--skip-unreadable.");
    copy->add_option("IN", in, "AVI file to read")->required();
    copy->add_option("OUT", out, "AVI file to write (replaced)")->required();
    copy->add_flag("--skip-unreadable", skipUnreadable,
                   "Leave out packets whose bytes lie outside IN instead of failing");
    for (CLI::App* sub : {info, packets, copy})
        sub->add_flag("--tolerant", g_tolerant,
                      "Also read what the default reader refuses (OpenDML and files over 2 GiB, "
                      "optional chunks, files without an index, cut short or written to a "
                      "pipe); the copy is a file the default reader reads");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? kExitOk : kExitUsage;
    }
    if (info->parsed())
        return RunInfo(file);
    if (packets->parsed())
        return RunPackets(file, json);
    return RunCopy(in, out, skipUnreadable);
}
