#include "avi/AviParser.h"

#include "platform/base/FilePath.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include <unistd.h>

namespace {

constexpr DWORD kBufferStep = 1048576; // the packet buffer grows in whole MiB
constexpr int kScanBytes = 200;        // "RIFF" must start in the first 200 bytes ...
constexpr int kLastRiffStart = 183;    // ... at 0 to 183, so that "AVI " fits in them
constexpr DWORD kWindowSize = 256 * 1024;
constexpr DWORD kDirectRead = 64 * 1024; // packets this large bypass the window

bool IsId(const avi::Chunk& c, const char* id)
{
    return std::memcmp(c.szId, id, 4) == 0;
}
bool IsType(const avi::Chunk& c, const char* t)
{
    return std::memcmp(c.szListType, t, 4) == 0;
}

} // namespace

mmAviParser::mmAviParser()
    : m_pReadBuf(new BYTE[kBufferStep]), m_nReadBufSize(kBufferStep), m_pIndex(nullptr),
      m_nIndexSize(0), m_pFile(nullptr), m_riff{}, m_llMoviPos(0), m_dwIndexBase(0)
{
}

mmAviParser::~mmAviParser()
{
    // A host that forgets CloseAVI would otherwise leak the file, the stream records and the
    // index.
    CloseAVI();
    delete[] m_pReadBuf;
    delete[] m_pWindow;
}

// --- opening ---

int mmAviParser::OpenAVI(CString strPath)
{
    FILE* fp = _wfopen(strPath.GetString(), L"rb");
    if (!fp)
        return AVIPARSER_E_FILEOPEN;
    // Stream numbers and the index belong to one file; never mix two.
    CloseAVI();
    m_pFile = fp;
    if (fseeko(fp, 0, SEEK_END) == 0)
        m_llFileSize = ftello(fp);
    const bool ok = m_llFileSize >= 0 && (m_bTolerant ? WalkTolerant() : WalkDesigned());
    if (!ok) {
        CloseAVI();
        return AVIPARSER_E_UNRECOGNISED;
    }
    return 0;
}

void mmAviParser::read_chunk(FILE* fp, char* pId, int nIdLen, DWORD* pdwSize)
{
    if (std::fread(pId, 1, static_cast<size_t>(nIdLen), fp) != static_cast<size_t>(nIdLen))
        return;
    if (pdwSize) {
        BYTE b[4];
        if (std::fread(b, 1, 4, fp) == 4)
            *pdwSize = avi::ReadLE32(b);
    }
}

// --- chunk input ---

LONGLONG mmAviParser::Tell()
{
    return ftello(m_pFile);
}
void mmAviParser::Seek(LONGLONG pos)
{
    fseeko(m_pFile, pos, SEEK_SET);
}

// Clears the record and reads an id and a size; false when the file ended before all 8 bytes.
bool mmAviParser::ReadHeader(avi::Chunk& c)
{
    c = avi::Chunk{};
    const LONGLONG at = Tell();
    read_chunk(m_pFile, c.szId, 4, &c.dwSize);
    return Tell() == at + 8;
}

bool mmAviParser::ReadListType(avi::Chunk& c)
{
    return std::fread(c.szListType, 1, 4, m_pFile) == 4;
}

// RIFF pads a chunk of odd size with one byte that its size does not count; the layout this
// walk reads leaves it out, our own writer puts it in. A chunk id is four printable
// characters, so a byte that is not one is the pad.
void mmAviParser::SkipPad(DWORD dwSize)
{
    if ((dwSize & 1) == 0)
        return;
    const int c = std::fgetc(m_pFile);
    if (c >= 0x20 && c <= 0x7E)
        std::ungetc(c, m_pFile);
}

void mmAviParser::SkipData(DWORD dwSize)
{
    Seek(Tell() + dwSize);
    SkipPad(dwSize);
}

// Reads a chunk's data whole into a new block. A size that claims more bytes than the file
// still holds is refused before anything is allocated.
bool mmAviParser::ReadBlock(DWORD dwSize, std::unique_ptr<BYTE[]>& out)
{
    out.reset();
    const LONGLONG at = Tell();
    if (at < 0 || static_cast<LONGLONG>(dwSize) > m_llFileSize - at)
        return false;
    if (dwSize == 0)
        return true;
    out.reset(new BYTE[dwSize]);
    if (std::fread(out.get(), 1, dwSize, m_pFile) != dwSize) {
        out.reset();
        return false;
    }
    SkipPad(dwSize);
    return true;
}

// --- the designed walk ---

// The "RIFF" id with "AVI " 8 bytes later, within the first 200 bytes of the file; m_riff
// receives its header and the file stands just past the form type.
bool mmAviParser::FindRiff()
{
    BYTE scratch[kScanBytes];
    Seek(0);
    const size_t got = std::fread(scratch, 1, kScanBytes, m_pFile);
    // The tolerant walk also takes a file shorter than the scan, if the header fits.
    if (got != kScanBytes && (!m_bTolerant || got < 12))
        return false;
    int r = -1;
    for (int i = 0; i <= kLastRiffStart && static_cast<size_t>(i) + 12 <= got; ++i) {
        if (std::memcmp(scratch + i, "RIFF", 4) == 0 &&
            std::memcmp(scratch + i + 8, "AVI ", 4) == 0) {
            r = i;
            break;
        }
    }
    if (r < 0)
        return false;
    Seek(r);
    m_riff = avi::Chunk{};
    m_riff.llStart = r;
    read_chunk(m_pFile, m_riff.szId, 4, &m_riff.dwSize);
    m_riff.llEnd = Tell() + m_riff.dwSize;
    return ReadListType(m_riff);
}

void mmAviParser::AddStream(avi::StreamParts& parts, int counters[3])
{
    BYTE type[4] = {0, 0, 0, 0};
    if (parts.strhSize)
        std::memcpy(type, parts.strh.get(), std::min<DWORD>(parts.strhSize, 4));
    const DWORD fccType = avi::ReadLE32(type);
    const int typeIndex = ++counters[static_cast<int>(avi::KindOf(fccType))];

    auto stream = std::make_unique<_TAG_STREAM_HEADER>();
    stream->nStreamNo = static_cast<int>(m_arrStreamHeader.GetSize());
    stream->nStrhSize = static_cast<int>(parts.strhSize);
    stream->pStrh = parts.strh.release();
    stream->nStrfSize = static_cast<int>(parts.strfSize);
    stream->pStrf = parts.strf.release();
    m_arrStreamHeader.Add(stream.get());
    stream.release();
    m_arrStreamID.Add(_TAG_STREAM_ID{fccType, typeIndex});
}

// After the main header: "JUNK" is skipped, each "LIST strl" is one stream (strh first, then
// strf, JUNK or the next list), and the first other chunk ends the header part. That chunk,
// with its list type, is left in `c`.
bool mmAviParser::ReadStreamLists(avi::Chunk& c)
{
    int counters[3] = {-1, -1, -1}; // video, audio, metadata
    bool typeRead = false;          // c holds a list header and its type already
    for (;;) {
        if (!typeRead) {
            if (!ReadHeader(c))
                return false;
            if (IsId(c, "JUNK")) {
                SkipData(c.dwSize);
                continue;
            }
            if (!ReadListType(c))
                return false;
        }
        typeRead = false;
        if (!IsId(c, "LIST") || !IsType(c, "strl"))
            return true;

        if (!ReadHeader(c) || !IsId(c, "strh"))
            return false;
        avi::StreamParts parts;
        if (!ReadBlock(c.dwSize, parts.strh))
            return false;
        parts.strhSize = c.dwSize;
        if (!ReadHeader(c))
            return false;
        if (IsId(c, "strf")) {
            if (!ReadBlock(c.dwSize, parts.strf))
                return false;
            parts.strfSize = c.dwSize;
            AddStream(parts, counters);
        } else if (IsId(c, "JUNK")) {
            AddStream(parts, counters);
            SkipData(c.dwSize);
        } else if (IsId(c, "LIST")) {
            AddStream(parts, counters);
            if (!ReadListType(c))
                return false;
            typeRead = true;
        } else {
            return false;
        }
    }
}

// `c` ended the header part and must be the movi list. After it, up to the end of RIFF:
// LIST and JUNK are skipped, idx1 is read, any other chunk ends the walk.
bool mmAviParser::ReadMoviAndIndex(const avi::Chunk& c)
{
    if (!IsId(c, "LIST") || !IsType(c, "movi"))
        return false;
    const LONGLONG moviPos = Tell() - 4;
    m_llMoviPos = moviPos;
    m_dwIndexBase = static_cast<DWORD>(moviPos);
    if (moviPos - 8 >= m_riff.llEnd)
        return false;
    Seek(moviPos - 8);

    bool found = false;
    avi::Chunk k;
    while (Tell() < m_riff.llEnd) {
        if (!ReadHeader(k))
            break;
        if (IsId(k, "LIST") || IsId(k, "JUNK")) {
            SkipData(k.dwSize);
        } else if (IsId(k, "idx1")) {
            std::unique_ptr<BYTE[]> index;
            if (!ReadBlock(k.dwSize, index))
                return false;
            delete[] m_pIndex;
            m_pIndex = index.release();
            m_nIndexSize = k.dwSize;
            found = true;
            if (m_nIndexSize >= 16 && avi::ReadLE32(m_pIndex + 8) >= m_dwIndexBase)
                m_dwIndexBase = 0;
        } else {
            break;
        }
    }
    return found;
}

bool mmAviParser::WalkDesigned()
{
    // File positions are 32-bit in the layout this walk reads.
    if (m_llFileSize > avi::kMaxFileSize || !FindRiff())
        return false;
    avi::Chunk c;
    if (!ReadHeader(c) || !ReadListType(c) || !IsId(c, "LIST") || !IsType(c, "hdrl"))
        return false;
    if (!ReadHeader(c) || !IsId(c, "avih"))
        return false;
    SkipData(c.dwSize);
    return ReadStreamLists(c) && ReadMoviAndIndex(c);
}

void mmAviParser::CloseAVI()
{
    for (_TAG_STREAM_HEADER* s : m_arrStreamHeader) {
        delete[] s->pStrh;
        delete[] s->pStrf;
        delete s;
    }
    m_arrStreamHeader.RemoveAll();
    m_arrStreamHeader.FreeExtra();
    m_arrStreamID.RemoveAll();
    m_arrStreamID.FreeExtra();
    delete[] m_pIndex;
    m_pIndex = nullptr;
    m_nIndexSize = 0;
    m_arrPackets.clear();
    m_arrPackets.shrink_to_fit();
    m_bPacketTable = false;
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    m_llFileSize = 0;
    m_nWindowLen = 0;
}

// --- stream queries ---

int mmAviParser::CountStreams(avi::StreamKind kind) const
{
    if (!m_pFile)
        return -1;
    int n = 0;
    for (const _TAG_STREAM_ID& id : m_arrStreamID)
        n += avi::KindOf(id.fccType) == kind;
    return n;
}

int mmAviParser::FindStream(avi::StreamKind kind, int n) const
{
    int seen = 0;
    for (INT_PTR i = 0; i < m_arrStreamID.GetSize(); ++i) {
        if (avi::KindOf(m_arrStreamID.GetAt(i).fccType) != kind)
            continue;
        if (seen++ == n)
            return static_cast<int>(i);
    }
    return -1;
}

int mmAviParser::GetAVIVideoStreamCount()
{
    return CountStreams(avi::StreamKind::Video);
}
int mmAviParser::GetAVIAudioStreamCount()
{
    return CountStreams(avi::StreamKind::Audio);
}
int mmAviParser::GetAVIMetaStreamCount()
{
    return CountStreams(avi::StreamKind::Meta);
}

int mmAviParser::StreamInfo(avi::StreamKind kind, AVISTREAMINFOW* pInfo, int n)
{
    const int i = FindStream(kind, n);
    if (i < 0)
        return AVIPARSER_E_NOSTREAM;
    const _TAG_STREAM_HEADER* s = m_arrStreamHeader.GetAt(i);
    if (pInfo) {
        std::memset(pInfo, 0, 4);
        // A stream header larger than the record is cut to the record.
        const size_t n = std::min<size_t>(static_cast<size_t>(s->nStrhSize), sizeof *pInfo);
        if (n)
            std::memcpy(pInfo, s->pStrh, n);
    }
    return s->nStreamNo;
}

int mmAviParser::GetAVIVideoStreamInfo(AVISTREAMINFOW* pInfo, int n)
{
    return StreamInfo(avi::StreamKind::Video, pInfo, n);
}
int mmAviParser::GetAVIAudioStreamInfo(AVISTREAMINFOW* pInfo, int n)
{
    return StreamInfo(avi::StreamKind::Audio, pInfo, n);
}
int mmAviParser::GetAVIMetaStreamInfo(AVISTREAMINFOW* pInfo, int n)
{
    return StreamInfo(avi::StreamKind::Meta, pInfo, n);
}

int mmAviParser::StreamFormat(int nFileOrder, void* pBuf, int nBufSize, int* pnCopied)
{
    if (nFileOrder < 0 || nFileOrder >= m_arrStreamHeader.GetSize())
        return AVIPARSER_E_NOSTREAM;
    const _TAG_STREAM_HEADER* s = m_arrStreamHeader.GetAt(nFileOrder);
    const int bufSize = pBuf ? std::max(nBufSize, 0) : 0;
    if (bufSize)
        std::memset(pBuf, 0, static_cast<size_t>(bufSize));
    if (s->nStrfSize < 1) {
        if (pnCopied)
            *pnCopied = 0;
        return AVIPARSER_E_NOFORMAT;
    }
    const int n = std::min(bufSize, s->nStrfSize);
    if (n)
        std::memcpy(pBuf, s->pStrf, static_cast<size_t>(n));
    if (pnCopied)
        *pnCopied = n;
    return s->nStreamNo;
}

int mmAviParser::GetAVIVideoFormat(void* pBuf, int nBufSize, int* pnCopied, int n)
{
    return StreamFormat(FindStream(avi::StreamKind::Video, n), pBuf, nBufSize, pnCopied);
}
int mmAviParser::GetAVIAudioFormat(void* pBuf, int nBufSize, int* pnCopied, int n)
{
    return StreamFormat(FindStream(avi::StreamKind::Audio, n), pBuf, nBufSize, pnCopied);
}
int mmAviParser::GetAVIMetaFormat(void* pBuf, int nBufSize, int* pnCopied, int n)
{
    return StreamFormat(n, pBuf, nBufSize, pnCopied);
}

// --- packets ---

size_t avi::ReadFullAt(FILE* fp, LONGLONG pos, void* to, size_t n)
{
    const int fd = fileno(fp);
    size_t got = 0;
    while (got < n) {
        const ssize_t r =
            pread(fd, static_cast<BYTE*>(to) + got, n - got, pos + static_cast<LONGLONG>(got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        got += static_cast<size_t>(r);
    }
    return got;
}

// Reads n bytes at pos whole; false when the file holds fewer.
bool mmAviParser::ReadAt(LONGLONG pos, BYTE* dst, DWORD n)
{
    if (n == 0)
        return true;
    if (n >= kDirectRead)
        return avi::ReadFullAt(m_pFile, pos, dst, n) == n;

    if (pos < m_llWindowPos || pos + n > m_llWindowPos + m_nWindowLen) {
        if (!m_pWindow)
            m_pWindow = new BYTE[kWindowSize];
        m_llWindowPos = pos;
        m_nWindowLen = static_cast<DWORD>(avi::ReadFullAt(m_pFile, pos, m_pWindow, kWindowSize));
        if (pos + n > m_llWindowPos + m_nWindowLen)
            return false;
    }
    std::memcpy(dst, m_pWindow + (pos - m_llWindowPos), n);
    return true;
}

int mmAviParser::GetAVIReadData(int nPacket, _TAG_AVI_PACKET_INFO* pInfo)
{
    if (!pInfo || !m_pFile || nPacket < 0)
        return AVIPARSER_E_NOPACKET;
    LONGLONG pos;
    DWORD flags, length;
    int streamNo;
    if (m_bPacketTable) {
        if (static_cast<size_t>(nPacket) >= m_arrPackets.size())
            return AVIPARSER_E_NOPACKET;
        const avi::PacketEntry& e = m_arrPackets[static_cast<size_t>(nPacket)];
        pos = e.llPos;
        flags = e.dwFlags;
        length = e.dwSize;
        streamNo = e.nStreamNo;
    } else {
        if (static_cast<DWORD>(nPacket) >= m_nIndexSize / 16)
            return AVIPARSER_E_NOPACKET;
        const BYTE* entry = m_pIndex + 16 * static_cast<size_t>(nPacket);
        flags = avi::ReadLE32(entry + 4);   // dwFlags
        length = avi::ReadLE32(entry + 12); // dwChunkLength
        const char digits[3] = {static_cast<char>(entry[0]), static_cast<char>(entry[1]), 0};
        streamNo = std::atoi(digits);
        pos = static_cast<LONGLONG>(m_dwIndexBase) + avi::ReadLE32(entry + 8) + 8; // dwChunkOffset
    }

    // Bytes outside the file are never handed out: the caller would get whatever an earlier
    // packet left in the buffer.
    bool readable = length == 0 || pos + static_cast<LONGLONG>(length) <= m_llFileSize;
    if (readable && length > m_nReadBufSize) {
        const ULONGLONG want = static_cast<ULONGLONG>(m_nReadBufSize) + length;
        const ULONGLONG capacity = (want + kBufferStep - 1) / kBufferStep * kBufferStep;
        BYTE* grown = new (std::nothrow) BYTE[capacity];
        if (grown) {
            delete[] m_pReadBuf;
            m_pReadBuf = grown;
            m_nReadBufSize = static_cast<DWORD>(capacity);
        } else {
            readable = false;
        }
    }
    if (readable)
        readable = ReadAt(pos, m_pReadBuf, length);

    pInfo->dwFlags = flags;
    pInfo->nStreamNo = streamNo;
    if (!readable) {
        pInfo->nDataSize = 0;
        pInfo->pData = nullptr;
        return AVIPARSER_E_PACKETREAD;
    }
    pInfo->nDataSize = static_cast<int>(length);
    pInfo->pData = m_pReadBuf;

    if (streamNo < 0 || streamNo >= m_arrStreamID.GetSize())
        AfxThrowInvalidArgException("mmAviParser: index entry " + std::to_string(nPacket) +
                                    " names stream " + std::to_string(streamNo) +
                                    ", the file has " + std::to_string(m_arrStreamID.GetSize()) +
                                    " streams");
    const _TAG_STREAM_ID& id = m_arrStreamID.GetAt(streamNo);
    pInfo->fccType = id.fccType;
    pInfo->nTypeIndex = id.nTypeIndex;
    return 0;
}
