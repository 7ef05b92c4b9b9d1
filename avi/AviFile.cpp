#include "avi/AviFile.h"

#include "platform/base/FilePath.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr LONGLONG kRiffHeader = 12;      // "RIFF", size, "AVI "
constexpr LONGLONG kListHeader = 12;      // "LIST", size, list type
constexpr LONGLONG kChunkHeader = 8;      // id, size
constexpr LONGLONG kMainHeader = 56;      // avih data
constexpr LONGLONG kStreamHeader = 56;    // strh data
constexpr LONGLONG kHeaderReserve = 1024; // room for streams added after the first packet
constexpr size_t kBufferSize = 1 << 20;

std::atomic<int> g_initCount{0};
thread_local int t_comCount = 0;

LONGLONG Padded(LONGLONG n)
{
    return n + (n & 1);
}

} // namespace

namespace avi {

class StreamWriter
{
public:
    FileWriter* file = nullptr;
    int number = 0;
    AVISTREAMINFOW info{};
    std::vector<BYTE> format;
    bool formatSet = false;
    char ckid[4] = {};
    LONGLONG length = 0; // in samples: frames, or bytes / dwSampleSize
    DWORD maxChunk = 0;
    int refs = 1;

    LONGLONG ListSize() const
    {
        return kListHeader + kChunkHeader + kStreamHeader +
               (format.empty() ? 0 : kChunkHeader + Padded(static_cast<LONGLONG>(format.size())));
    }
};

class FileWriter
{
public:
    FILE* fp = nullptr;
    int refs = 1;
    std::vector<std::unique_ptr<StreamWriter>> streams;
    std::vector<BYTE> index; // idx1 entries, 16 bytes each
    LONGLONG moviList = -1;  // position of the movi list's "LIST"; -1 until the first packet
    LONGLONG end = 0;        // where the next chunk goes
    LONGLONG limit = kMaxFileSize;
    LONGLONG streamPos = -1;        // the FILE's position where known, else -1
    HRESULT completion = AVIERR_OK; // kept once the file is completed (fp is then null)
    // The stdio buffer: setvbuf without a buffer of ours keeps the library's small default.
    std::unique_ptr<char[]> buffer;

    // Bytes before the movi list without the JUNK that fills the rest of the room.
    LONGLONG HeaderSize() const
    {
        LONGLONG n = kRiffHeader + kListHeader + kChunkHeader + kMainHeader;
        for (const auto& s : streams)
            n += s->ListSize();
        return n;
    }
    // The headers fit before the movi list when they end exactly at it or leave room for a
    // JUNK chunk's header.
    bool HeadersFit(LONGLONG headerSize) const
    {
        return moviList < 0 || headerSize == moviList || headerSize + kChunkHeader <= moviList;
    }
    void StartMovi()
    {
        if (moviList >= 0)
            return;
        const LONGLONG want = HeaderSize() + kChunkHeader + kHeaderReserve;
        moviList = (want + 511) / 512 * 512;
        end = moviList + kListHeader;
    }
    bool WriteAt(LONGLONG pos, const void* data, size_t n)
    {
        streamPos = -1;
        return fseeko(fp, pos, SEEK_SET) == 0 && std::fwrite(data, 1, n, fp) == n;
    }
    bool Complete();
    std::vector<BYTE> Headers(LONGLONG fileEnd) const;
};

std::vector<BYTE> FileWriter::Headers(LONGLONG fileEnd) const
{
    std::vector<BYTE> h(static_cast<size_t>(moviList), 0);
    BYTE* p = h.data();
    auto fourcc = [](BYTE* at, const char* id) { std::memcpy(at, id, 4); };

    fourcc(p, "RIFF");
    WriteLE32(p + 4, static_cast<DWORD>(fileEnd - 8));
    fourcc(p + 8, "AVI ");
    fourcc(p + 12, "LIST");
    WriteLE32(p + 16, static_cast<DWORD>(moviList - 20));
    fourcc(p + 20, "hdrl");

    // Main header, from what was written.
    const StreamWriter* video = nullptr;
    LONGLONG totalBytes = 0, longest = 0;
    double seconds = 0;
    DWORD maxChunk = 0;
    for (const auto& s : streams) {
        if (!video && KindOf(s->info.fccType) == StreamKind::Video)
            video = s.get();
        longest = std::max(longest, s->length);
        maxChunk = std::max(maxChunk, s->maxChunk);
        if (s->info.dwRate)
            seconds = std::max(seconds,
                               static_cast<double>(s->length) * s->info.dwScale / s->info.dwRate);
    }
    for (size_t i = 0; i < index.size(); i += 16)
        totalBytes += ReadLE32(index.data() + i + 12);
    DWORD width = 0, height = 0;
    if (video) {
        const RECT& rc = video->info.rcFrame;
        width = static_cast<DWORD>(std::max<LONG>(rc.right - rc.left, 0));
        height = static_cast<DWORD>(std::max<LONG>(rc.bottom - rc.top, 0));
        if ((!width || !height) && video->format.size() >= 12) { // BITMAPINFOHEADER
            const LONG biWidth = static_cast<LONG>(ReadLE32(video->format.data() + 4));
            const LONG biHeight = static_cast<LONG>(ReadLE32(video->format.data() + 8));
            width = static_cast<DWORD>(biWidth < 0 ? -static_cast<LONGLONG>(biWidth) : biWidth);
            height = static_cast<DWORD>(biHeight < 0 ? -static_cast<LONGLONG>(biHeight) : biHeight);
        }
    }
    BYTE* a = p + 24;
    fourcc(a, "avih");
    WriteLE32(a + 4, kMainHeader);
    a += 8;
    DWORD usPerFrame = 0;
    if (video && video->info.dwRate)
        usPerFrame = static_cast<DWORD>(std::min<ULONGLONG>(
            (1000000ull * video->info.dwScale + video->info.dwRate / 2) / video->info.dwRate,
            0xFFFFFFFFull));
    // Rates come from the caller: keep the quotient within a DWORD.
    const double bytesPerSecond =
        seconds > 0 ? std::min(totalBytes / seconds + 0.5, 4294967295.0) : 0;
    WriteLE32(a + 0, usPerFrame);                         // dwMicroSecPerFrame
    WriteLE32(a + 4, static_cast<DWORD>(bytesPerSecond)); // dwMaxBytesPerSec
    WriteLE32(a + 8, 0);                                  // dwPaddingGranularity
    WriteLE32(a + 12, AVIF_HASINDEX | AVIF_ISINTERLEAVED | AVIF_TRUSTCKTYPE); // dwFlags
    WriteLE32(a + 16, static_cast<DWORD>(video ? video->length : longest));   // dwTotalFrames
    WriteLE32(a + 20, 0);                                                     // dwInitialFrames
    WriteLE32(a + 24, static_cast<DWORD>(streams.size()));                    // dwStreams
    WriteLE32(a + 28, maxChunk); // dwSuggestedBufferSize
    WriteLE32(a + 32, width);    // dwWidth
    WriteLE32(a + 36, height);   // dwHeight
    p = a + kMainHeader;

    for (const auto& s : streams) {
        const AVISTREAMINFOW& in = s->info;
        fourcc(p, "LIST");
        WriteLE32(p + 4, static_cast<DWORD>(s->ListSize() - 8));
        fourcc(p + 8, "strl");
        fourcc(p + 12, "strh");
        WriteLE32(p + 16, kStreamHeader);
        BYTE* q = p + 20;
        WriteLE32(q + 0, in.fccType);
        WriteLE32(q + 4, in.fccHandler);
        WriteLE32(q + 8, in.dwFlags);
        WriteLE16(q + 12, in.wPriority);
        WriteLE16(q + 14, in.wLanguage);
        WriteLE32(q + 16, in.dwInitialFrames);
        WriteLE32(q + 20, in.dwScale);
        WriteLE32(q + 24, in.dwRate);
        WriteLE32(q + 28, in.dwStart);
        WriteLE32(q + 32, static_cast<DWORD>(s->length));                   // dwLength
        WriteLE32(q + 36, std::max(in.dwSuggestedBufferSize, s->maxChunk)); // dwSuggestedBufferSize
        WriteLE32(q + 40, in.dwQuality);
        WriteLE32(q + 44, in.dwSampleSize);
        WriteLE16(q + 48, static_cast<WORD>(in.rcFrame.left));
        WriteLE16(q + 50, static_cast<WORD>(in.rcFrame.top));
        WriteLE16(q + 52, static_cast<WORD>(in.rcFrame.right));
        WriteLE16(q + 54, static_cast<WORD>(in.rcFrame.bottom));
        q += kStreamHeader;
        if (!s->format.empty()) {
            fourcc(q, "strf");
            WriteLE32(q + 4, static_cast<DWORD>(s->format.size()));
            std::memcpy(q + 8, s->format.data(), s->format.size());
        }
        p += s->ListSize();
    }

    const LONGLONG used = p - h.data();
    if (used + kChunkHeader <= moviList) {
        fourcc(p, "JUNK");
        WriteLE32(p + 4, static_cast<DWORD>(moviList - used - kChunkHeader));
    }
    return h;
}

bool FileWriter::Complete()
{
    StartMovi();
    const DWORD moviSize = static_cast<DWORD>(end - moviList - 8);
    BYTE idx1[8];
    std::memcpy(idx1, "idx1", 4);
    WriteLE32(idx1 + 4, static_cast<DWORD>(index.size()));
    BYTE movi[12];
    std::memcpy(movi, "LIST", 4);
    WriteLE32(movi + 4, moviSize);
    std::memcpy(movi + 8, "movi", 4);
    const LONGLONG fileEnd = end + 8 + static_cast<LONGLONG>(index.size());
    const std::vector<BYTE> headers = Headers(fileEnd);
    bool ok = WriteAt(end, idx1, sizeof idx1) &&
              (index.empty() || std::fwrite(index.data(), 1, index.size(), fp) == index.size()) &&
              WriteAt(moviList, movi, sizeof movi) && WriteAt(0, headers.data(), headers.size());
    ok = std::fflush(fp) == 0 && ok;
    // A packet's bytes that failed to reach the file earlier leave the error flag set.
    ok = !std::ferror(fp) && ok;
    ok = std::fclose(fp) == 0 && ok;
    fp = nullptr;
    return ok;
}

HRESULT CompleteFile(PAVIFILE pfile)
{
    if (!pfile)
        return AVIERR_BADHANDLE;
    if (pfile->fp && !pfile->Complete())
        pfile->completion = AVIERR_FILEWRITE;
    return pfile->completion;
}

void SetFileSizeLimit(PAVIFILE pfile, LONGLONG limit)
{
    if (pfile)
        pfile->limit = std::min(limit, kMaxFileSize);
}

} // namespace avi

using avi::FileWriter;
using avi::StreamWriter;
using avi::WriteLE32;

void AVIFileInit()
{
    ++g_initCount;
}
void AVIFileExit()
{
    if (g_initCount > 0)
        --g_initCount;
}
int AVIFileInitCount()
{
    return g_initCount;
}

HRESULT AVIFileOpenW(PAVIFILE* ppfile, LPCWSTR path, UINT mode, const void* handler)
{
    (void)handler;
    if (!ppfile)
        return AVIERR_BADPARAM;
    *ppfile = nullptr;
    if (!path || mode != (OF_CREATE | OF_WRITE))
        return AVIERR_UNSUPPORTED;
    FILE* fp = platform::OpenFile(CString(path), "wb");
    if (!fp)
        return AVIERR_FILEOPEN;
    auto file = std::make_unique<FileWriter>();
    // The buffer is set before any other operation on the stream, as setvbuf requires.
    file->buffer.reset(new char[kBufferSize]);
    std::setvbuf(fp, file->buffer.get(), _IOFBF, kBufferSize);
    file->fp = fp;
    // A file that is never completed still starts as a RIFF file.
    static const BYTE riff[12] = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '};
    if (!file->WriteAt(0, riff, sizeof riff)) {
        std::fclose(fp);
        return AVIERR_FILEWRITE;
    }
    *ppfile = file.release();
    return AVIERR_OK;
}

HRESULT AVIFileCreateStreamW(PAVIFILE pfile, PAVISTREAM* ppavi, const AVISTREAMINFOW* psi)
{
    if (!ppavi)
        return AVIERR_BADPARAM;
    *ppavi = nullptr;
    if (!pfile || !pfile->fp)
        return AVIERR_BADHANDLE;
    if (!psi)
        return AVIERR_BADPARAM;
    if (pfile->streams.size() >= avi::kMaxStreams)
        return AVIERR_UNSUPPORTED;
    auto s = std::make_unique<StreamWriter>();
    s->file = pfile;
    s->number = static_cast<int>(pfile->streams.size());
    s->info = *psi;
    if (!pfile->HeadersFit(pfile->HeaderSize() + s->ListSize()))
        return AVIERR_UNSUPPORTED;
    const char* letters = psi->fccType == streamtypeVIDEO   ? "dc"
                          : psi->fccType == streamtypeAUDIO ? "wb"
                                                            : "tx";
    s->ckid[0] = static_cast<char>('0' + s->number / 10);
    s->ckid[1] = static_cast<char>('0' + s->number % 10);
    s->ckid[2] = letters[0];
    s->ckid[3] = letters[1];
    *ppavi = s.get();
    pfile->streams.push_back(std::move(s));
    ++pfile->refs;
    return AVIERR_OK;
}

HRESULT AVIStreamSetFormat(PAVISTREAM pavi, LONG lPos, LPVOID lpFormat, LONG cbFormat)
{
    if (!pavi || !pavi->file->fp)
        return AVIERR_BADHANDLE;
    if (lPos != 0 || cbFormat < 0 || (cbFormat > 0 && !lpFormat))
        return AVIERR_BADPARAM;
    FileWriter& f = *pavi->file;
    const LONGLONG grow = (cbFormat ? kChunkHeader + Padded(cbFormat) : 0) -
                          (pavi->format.empty() ? 0 : kChunkHeader + Padded(pavi->format.size()));
    if (!f.HeadersFit(f.HeaderSize() + grow))
        return AVIERR_UNSUPPORTED;
    const BYTE* b = static_cast<const BYTE*>(lpFormat);
    pavi->format.assign(b, b + cbFormat);
    pavi->formatSet = true;
    return AVIERR_OK;
}

HRESULT AVIStreamWrite(PAVISTREAM pavi, LONG lStart, LONG lSamples, LPVOID lpBuffer, LONG cbBuffer,
                       DWORD dwFlags, LONG* plSampWritten, LONG* plBytesWritten)
{
    if (plSampWritten)
        *plSampWritten = 0;
    if (plBytesWritten)
        *plBytesWritten = 0;
    if (!pavi || !pavi->file->fp)
        return AVIERR_BADHANDLE;
    if (cbBuffer < 0 || lSamples < 0 || (cbBuffer > 0 && !lpBuffer))
        return AVIERR_BADPARAM;
    StreamWriter& s = *pavi;
    FileWriter& f = *s.file;
    f.StartMovi();

    const bool framed = s.info.dwSampleSize == 0;
    const LONGLONG gaps = framed && lStart > s.length ? lStart - s.length : 0;
    const LONGLONG entries = static_cast<LONGLONG>(f.index.size() / 16) + gaps + 1;
    const LONGLONG projected =
        f.end + gaps * kChunkHeader + kChunkHeader + Padded(cbBuffer) + 8 + 16 * entries;
    if (projected > f.limit)
        return AVIERR_FILETOOBIG;

    const LONGLONG start = f.end;
    const size_t indexSize = f.index.size();
    const LONGLONG moviType = f.moviList + 8;
    auto addEntry = [&](LONGLONG at, DWORD flags, DWORD size) {
        BYTE e[16];
        std::memcpy(e, s.ckid, 4);                           // ckid
        WriteLE32(e + 4, flags);                             // dwFlags
        WriteLE32(e + 8, static_cast<DWORD>(at - moviType)); // dwChunkOffset
        WriteLE32(e + 12, size);                             // dwChunkLength
        f.index.insert(f.index.end(), e, e + 16);
    };
    BYTE header[8];
    std::memcpy(header, s.ckid, 4);
    // Chunks are appended one after the other: a seek would flush the stream's buffer on
    // every packet, so seek only when something else moved the position.
    bool ok = f.streamPos == start || fseeko(f.fp, start, SEEK_SET) == 0;
    LONGLONG at = start;
    WriteLE32(header + 4, 0);
    for (LONGLONG i = 0; ok && i < gaps; ++i) {
        ok = std::fwrite(header, 1, 8, f.fp) == 8;
        addEntry(at, 0, 0);
        at += 8;
    }
    WriteLE32(header + 4, static_cast<DWORD>(cbBuffer));
    static const BYTE pad = 0;
    ok = ok && std::fwrite(header, 1, 8, f.fp) == 8 &&
         (cbBuffer == 0 || std::fwrite(lpBuffer, 1, static_cast<size_t>(cbBuffer), f.fp) ==
                               static_cast<size_t>(cbBuffer)) &&
         ((cbBuffer & 1) == 0 || std::fwrite(&pad, 1, 1, f.fp) == 1);
    if (!ok) {
        // Leave the file as it was before this call, so that the caller may try again.
        f.index.resize(indexSize);
        f.streamPos = -1;
        return AVIERR_FILEWRITE;
    }
    addEntry(at, dwFlags, static_cast<DWORD>(cbBuffer));
    f.end = at + 8 + Padded(cbBuffer);
    f.streamPos = f.end;

    if (framed)
        s.length = std::max(s.length, static_cast<LONGLONG>(lStart)) + lSamples;
    else
        s.length += cbBuffer / s.info.dwSampleSize;
    s.maxChunk = std::max(s.maxChunk, static_cast<DWORD>(cbBuffer));
    if (plSampWritten)
        *plSampWritten = lSamples;
    if (plBytesWritten)
        *plBytesWritten = cbBuffer;
    return AVIERR_OK;
}

ULONG AVIStreamRelease(PAVISTREAM pavi)
{
    if (!pavi || pavi->refs <= 0)
        return 0;
    if (--pavi->refs > 0)
        return static_cast<ULONG>(pavi->refs);
    FileWriter* file = pavi->file;
    // A stream given up right after its creation (its format could not be set) leaves no trace
    // in the file; later streams would have to change number, so only the last one goes.
    if (file->fp && !pavi->formatSet && pavi->length == 0 && pavi->maxChunk == 0 &&
        !file->streams.empty() && file->streams.back().get() == pavi)
        file->streams.pop_back();
    AVIFileRelease(file);
    return 0;
}

ULONG AVIFileRelease(PAVIFILE pfile)
{
    if (!pfile)
        return 0;
    if (--pfile->refs > 0)
        return static_cast<ULONG>(pfile->refs);
    avi::CompleteFile(pfile);
    delete pfile;
    return 0;
}

// Weak, so that a platform layer with a real COM stand-in of its own takes precedence.
__attribute__((weak)) HRESULT CoInitialize(LPVOID reserved)
{
    (void)reserved;
    return t_comCount++ == 0 ? S_OK : S_FALSE;
}

__attribute__((weak)) void CoUninitialize()
{
    if (t_comCount > 0)
        --t_comCount;
}
