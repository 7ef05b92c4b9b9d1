// mmAviParser: reads an AVI file's streams and hands out its packets in the order of the
// file's idx1 index, as raw chunk bytes with their stream and index flags. Decodes nothing.
//
// Two walks. The default one accepts exactly the layout the class was made for and refuses
// everything else (INFO lists, stream names, OpenDML, files of 2 GiB or more), so that a host
// can hand such files to another reader. The tolerant walk (m_bTolerant) reads what real
// programs write: unknown chunks and lists, RIFF padding, OpenDML files of any size with their
// AVIX extensions and ix## indexes, and files without a usable index, whose movi lists it
// walks up to the last whole chunk.
#pragma once

#include "avi/AviTypes.h"
#include "platform/base/CArray.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

#include <cstdio>
#include <memory>
#include <vector>

// One packet as GetAVIReadData hands it out.
struct _TAG_AVI_PACKET_INFO
{
    DWORD fccType;  // the packet's stream type: "vids", "auds" or any other (metadata)
    int nTypeIndex; // the stream's number among the streams of its kind, from 0
    int nStreamNo;  // the stream's number in file order, from the index entry's chunk id
    BYTE* pData;    // borrowed: valid until the next GetAVIReadData or the reader's end
    int nDataSize;  // the index entry's chunk length
    DWORD dwFlags;  // the index entry's flags as stored (AVIIF_KEYFRAME 0x10 ...)
};

// One stream of the open file: its strh and strf chunk data.
struct _TAG_STREAM_HEADER
{
    int nStreamNo;
    BYTE* pStrh;
    int nStrhSize;
    BYTE* pStrf; // null when the stream has no strf chunk
    int nStrfSize;
};

struct _TAG_STREAM_ID
{
    DWORD fccType;
    int nTypeIndex;
};

namespace avi {

// A chunk header as the walk reads it; for the RIFF header also where it starts and ends.
struct Chunk
{
    LONGLONG llStart;
    char szId[5];
    char szListType[5];
    LONGLONG llEnd;
    DWORD dwSize;
};

// One packet of the tolerant walk: where its data starts in the file (64-bit), its size, its
// flags in idx1 form and its stream in file order.
struct PacketEntry
{
    LONGLONG llPos;
    DWORD dwSize;
    DWORD dwFlags;
    int nStreamNo;
};

// A stream's strh and strf data while the walk reads them; handed to a _TAG_STREAM_HEADER
// only when the stream is complete.
struct StreamParts
{
    std::unique_ptr<BYTE[]> strh;
    DWORD strhSize = 0;
    std::unique_ptr<BYTE[]> strf;
    DWORD strfSize = 0;
    std::vector<BYTE> indx; // tolerant walk: the stream list's OpenDML index chunk
};

// Reads up to n bytes at pos without moving the stream's position, retrying short and
// interrupted reads; answers how many arrived (fewer only at the file's end or on an error).
size_t ReadFullAt(FILE* fp, LONGLONG pos, void* to, size_t n);

} // namespace avi

// Results of mmAviParser beside 0 (success).
constexpr int AVIPARSER_E_UNRECOGNISED = -1; // OpenAVI: not an AVI file we read, or no idx1
constexpr int AVIPARSER_E_NOPACKET = -1;     // GetAVIReadData: packet number out of range
constexpr int AVIPARSER_E_PACKETREAD = -2;   // GetAVIReadData: the packet's bytes are not
                                             // (all) in the file; nothing handed out
constexpr int AVIPARSER_E_NOSTREAM = -1;     // info and format queries: no such stream
constexpr int AVIPARSER_E_NOFORMAT = -2;     // format queries: the stream has no strf chunk
constexpr int AVIPARSER_E_FILEOPEN = AVIERR_FILEOPEN;

class mmAviParser : public CObject
{
public:
    mmAviParser();
    // Closes a file that is still open.
    ~mmAviParser() override;

    mmAviParser(const mmAviParser&) = delete;
    mmAviParser& operator=(const mmAviParser&) = delete;

    // Set before OpenAVI: read what real programs write instead of refusing it (see above).
    bool m_bTolerant = false;

    // 0 when the file was opened and recognised; AVIPARSER_E_UNRECOGNISED (-1) when its
    // structure was not recognised, has no idx1, or the file is 2 GiB or larger (the tolerant
    // walk: when no RIFF "AVI " form with stream lists and a movi list is found);
    // AVIERR_FILEOPEN when it could not be opened (a file already open then stays open).
    // Otherwise a file still open is closed first.
    int OpenAVI(CString strPath);
    void CloseAVI();

    // -1 when no file is open; else the number of streams of the kind.
    int GetAVIVideoStreamCount();
    int GetAVIAudioStreamCount();
    int GetAVIMetaStreamCount();

    // Copies the n-th stream of the kind's strh data (at most the record's 204 bytes) over the
    // record as stored (see avi::InfoFromRawHeader); answers its file-order number, or -1.
    int GetAVIVideoStreamInfo(AVISTREAMINFOW* pInfo, int n);
    int GetAVIAudioStreamInfo(AVISTREAMINFOW* pInfo, int n);
    int GetAVIMetaStreamInfo(AVISTREAMINFOW* pInfo, int n);

    // Clears the buffer, copies at most nBufSize bytes of the stream's strf data; answers the
    // stream's file-order number, -1 when there is no such stream, -2 when it has no format.
    // GetAVIMetaFormat takes n as the stream's number in file order, whatever its kind.
    int GetAVIVideoFormat(void* pBuf, int nBufSize, int* pnCopied, int n);
    int GetAVIAudioFormat(void* pBuf, int nBufSize, int* pnCopied, int n);
    int GetAVIMetaFormat(void* pBuf, int nBufSize, int* pnCopied, int n);

    // Packet nPacket in index order: 0 when the record was filled; AVIPARSER_E_NOPACKET (-1)
    // past the last packet; AVIPARSER_E_PACKETREAD (-2) when its bytes cannot be read whole.
    // Throws CInvalidArgException when the index entry names a stream the file does not have.
    int GetAVIReadData(int nPacket, _TAG_AVI_PACKET_INFO* pInfo);

private:
    void read_chunk(FILE* fp, char* pId, int nIdLen, DWORD* pdwSize);

    int StreamInfo(avi::StreamKind kind, AVISTREAMINFOW* pInfo, int n);
    int StreamFormat(int nFileOrder, void* pBuf, int nBufSize, int* pnCopied);
    int FindStream(avi::StreamKind kind, int n) const;
    int CountStreams(avi::StreamKind kind) const;

    // --- the designed walk, by phase ---
    bool WalkDesigned();
    bool FindRiff();
    bool ReadStreamLists(avi::Chunk& c);
    bool ReadMoviAndIndex(const avi::Chunk& c);
    void AddStream(avi::StreamParts& parts, int counters[3]);

    // --- the tolerant walk (AviTolerant.cpp) ---
    bool WalkTolerant();
    void ReadOpenDmlIndex(const avi::StreamParts& parts, int stream);
    void ReadStandardIndex(const BYTE* data, DWORD size, int stream);
    void ReadIdx1Tolerant(const BYTE* data, DWORD size, LONGLONG moviPos);
    void ScanMovi(LONGLONG from, LONGLONG end);
    bool IsMpeg4Video(int stream) const;
    DWORD VopKeyFlag(LONGLONG pos, DWORD size);

    // --- chunk input ---
    bool ReadHeader(avi::Chunk& c);
    bool ReadListType(avi::Chunk& c);
    bool ReadBlock(DWORD dwSize, std::unique_ptr<BYTE[]>& out);
    void SkipData(DWORD dwSize);
    void SkipPad(DWORD dwSize);
    LONGLONG Tell();
    void Seek(LONGLONG pos);

    // --- packet input ---
    bool ReadAt(LONGLONG pos, BYTE* dst, DWORD n);

    BYTE* m_pReadBuf;
    DWORD m_nReadBufSize;
    BYTE* m_pIndex;
    DWORD m_nIndexSize;
    FILE* m_pFile;
    avi::Chunk m_riff;
    LONGLONG m_llMoviPos;
    DWORD m_dwIndexBase;
    CArray<_TAG_STREAM_HEADER*> m_arrStreamHeader;
    CArray<_TAG_STREAM_ID> m_arrStreamID;

    LONGLONG m_llFileSize = 0;
    // The tolerant walk's packets, in file order; the default walk uses m_pIndex instead.
    std::vector<avi::PacketEntry> m_arrPackets;
    bool m_bPacketTable = false;
    // Read-ahead window for small packets, filled with pread so that a file of many small
    // packets costs one system call per window, not one per packet.
    BYTE* m_pWindow = nullptr;
    LONGLONG m_llWindowPos = 0;
    DWORD m_nWindowLen = 0;
};
