// Records and constants of the AVI file format and of the Video for Windows stream interface,
// shared by the reader, the writer and its file component. All multi-byte values in an AVI
// file are little-endian.
#pragma once

#include "platform/base/WinTypes.h"

#include <cstring>

// The Video for Windows stream information record, with its published 204-byte layout. The
// name is 64 UTF-16 units, as Windows keeps it (wchar_t is 32-bit here).
struct AVISTREAMINFOW
{
    DWORD fccType;
    DWORD fccHandler;
    DWORD dwFlags;
    DWORD dwCaps;
    WORD wPriority;
    WORD wLanguage;
    DWORD dwScale;
    DWORD dwRate;
    DWORD dwStart;
    DWORD dwLength;
    DWORD dwInitialFrames;
    DWORD dwSuggestedBufferSize;
    DWORD dwQuality;
    DWORD dwSampleSize;
    RECT rcFrame;
    DWORD dwEditCount;
    DWORD dwFormatChangeCount;
    char16_t szName[64];
};
static_assert(sizeof(AVISTREAMINFOW) == 204, "AVISTREAMINFOW keeps its published size");
static_assert(offsetof(AVISTREAMINFOW, dwScale) == 20 && offsetof(AVISTREAMINFOW, rcFrame) == 52 &&
                  offsetof(AVISTREAMINFOW, szName) == 76,
              "AVISTREAMINFOW keeps its published member offsets");
using PAVISTREAMINFOW = AVISTREAMINFOW*;
using LPAVISTREAMINFOW = AVISTREAMINFOW*;

constexpr DWORD streamtypeVIDEO = mmioFOURCC('v', 'i', 'd', 's');
constexpr DWORD streamtypeAUDIO = mmioFOURCC('a', 'u', 'd', 's');
constexpr DWORD streamtypeTEXT = mmioFOURCC('t', 'x', 't', 's');

// Flags of an idx1 entry.
constexpr DWORD AVIIF_LIST = 0x00000001;
constexpr DWORD AVIIF_KEYFRAME = 0x00000010;

// Flags of the main header.
constexpr DWORD AVIF_HASINDEX = 0x00000010;
constexpr DWORD AVIF_ISINTERLEAVED = 0x00000100;
constexpr DWORD AVIF_TRUSTCKTYPE = 0x00000800;

// Video for Windows result codes: MAKE_AVIERROR(n) = 0x80044000 + n.
constexpr HRESULT AVIERR_OK = 0;
constexpr HRESULT AVIERR_UNSUPPORTED = static_cast<HRESULT>(0x80044065u);
constexpr HRESULT AVIERR_BADFORMAT = static_cast<HRESULT>(0x80044066u);
constexpr HRESULT AVIERR_MEMORY = static_cast<HRESULT>(0x80044067u);
constexpr HRESULT AVIERR_BADPARAM = static_cast<HRESULT>(0x8004406Au);
constexpr HRESULT AVIERR_BADSIZE = static_cast<HRESULT>(0x8004406Bu);
constexpr HRESULT AVIERR_BADHANDLE = static_cast<HRESULT>(0x8004406Cu);
constexpr HRESULT AVIERR_FILEREAD = static_cast<HRESULT>(0x8004406Du);
constexpr HRESULT AVIERR_FILEWRITE = static_cast<HRESULT>(0x8004406Eu);
constexpr HRESULT AVIERR_FILEOPEN = static_cast<HRESULT>(0x8004406Fu);

namespace avi {

// Files of 2 GiB and more are outside what the reader handles (its file positions are 32-bit
// signed), so the writer never makes one either.
constexpr LONGLONG kMaxFileSize = 0x7FFFFFFF;

// Chunk ids carry a stream's number in two decimal digits.
constexpr int kMaxStreams = 100;

// The three stream kinds: "vids" is video, "auds" audio, every other type metadata.
enum class StreamKind { Video, Audio, Meta };

constexpr StreamKind KindOf(DWORD fccType)
{
    return fccType == streamtypeVIDEO   ? StreamKind::Video
           : fccType == streamtypeAUDIO ? StreamKind::Audio
                                        : StreamKind::Meta;
}

inline DWORD ReadLE32(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) |
           (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24);
}
inline WORD ReadLE16(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}
inline void WriteLE32(BYTE* p, DWORD v)
{
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
    p[2] = static_cast<BYTE>(v >> 16);
    p[3] = static_cast<BYTE>(v >> 24);
}
inline void WriteLE16(BYTE* p, WORD v)
{
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}

// The reader's stream-info queries copy the file's stream header (AVISTREAMHEADER, 56 bytes)
// over the start of the caller's AVISTREAMINFOW as it is stored, so the members after
// dwLength sit at the header's offsets. This turns such a record into a proper
// AVISTREAMINFOW, member by member, as a host needs it to create the same stream again.
AVISTREAMINFOW InfoFromRawHeader(const AVISTREAMINFOW& raw);

// A FOURCC as four characters, non-printable bytes shown as '.'.
void FourccText(DWORD fcc, char out[5]);

} // namespace avi
