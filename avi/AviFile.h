// Our AVI-writing component, with the operations of the Video for Windows AVIFile interface
// that the writer uses: create a file, create streams from an AVISTREAMINFOW, set their
// formats, append chunks with index flags, and complete the file when its last reference
// goes (main header, stream headers with their lengths, the movi list and an idx1 index).
//
// File layout: RIFF "AVI " { LIST hdrl { avih, LIST strl { strh, strf }..., JUNK },
// LIST movi { ##dc | ##wb | ##tx ... }, idx1 }. Chunks of odd size get RIFF's pad byte; idx1
// offsets are relative to the "movi" list type, as other writers have them. Packet data goes
// to the file as it is written; room for the headers is kept before the movi list, so streams
// can still be added after the first packet as long as their headers fit in it.
#pragma once

#include "avi/AviTypes.h"
#include "platform/base/CString.h"

namespace avi {
class FileWriter;
class StreamWriter;
} // namespace avi

using PAVIFILE = avi::FileWriter*;
using PAVISTREAM = avi::StreamWriter*;

constexpr UINT OF_READ = 0x0000;
constexpr UINT OF_WRITE = 0x0001;
constexpr UINT OF_CREATE = 0x1000;

// Our own result beside the Video for Windows codes: the write would take the completed file
// to 2 GiB or more, which the reader refuses; nothing was written.
constexpr HRESULT AVIERR_FILETOOBIG = static_cast<HRESULT>(0x800440C8u);

// Counted: the library is usable while the count is above zero (the component needs no set-up
// of its own; the count is kept so that unbalanced use can be seen).
void AVIFileInit();
void AVIFileExit();
int AVIFileInitCount();

// Creates (or replaces) the file at `path` for writing. Only OF_CREATE | OF_WRITE is
// supported. `handler` is ignored: the file is always an AVI file.
HRESULT AVIFileOpenW(PAVIFILE* ppfile, LPCWSTR path, UINT mode, const void* handler);
// Adds a stream with the header `psi`; the stream takes a reference on the file.
HRESULT AVIFileCreateStreamW(PAVIFILE pfile, PAVISTREAM* ppavi, const AVISTREAMINFOW* psi);
// Sets the stream's strf data (position 0 only). cb 0 leaves the stream without a strf chunk.
HRESULT AVIStreamSetFormat(PAVISTREAM pavi, LONG lPos, LPVOID lpFormat, LONG cbFormat);
// Appends cbBuffer bytes as one chunk with an idx1 entry carrying dwFlags. For a stream
// without a sample size (video, metadata) a start past the stream's end first gets one empty
// chunk per missing sample, as AVI marks dropped frames; for a stream with a sample size
// (PCM audio) the chunk is appended and the length grows by cbBuffer / dwSampleSize.
HRESULT AVIStreamWrite(PAVISTREAM pavi, LONG lStart, LONG lSamples, LPVOID lpBuffer, LONG cbBuffer,
                       DWORD dwFlags, LONG* plSampWritten, LONG* plBytesWritten);
ULONG AVIStreamRelease(PAVISTREAM pavi);
// Drops the caller's reference; the file is completed and closed when no stream holds one.
ULONG AVIFileRelease(PAVIFILE pfile);

namespace avi {
// Lowers the size a file may reach (for tests of the 2 GiB rule without 2 GiB files).
void SetFileSizeLimit(PAVIFILE pfile, LONGLONG limit);
// Completes the file now (headers, movi size, idx1, flushed and closed) and answers whether
// every byte reached the file: AVIERR_OK, or AVIERR_FILEWRITE when a write, the flush or the
// close failed (disk full, a file size limit). A later AVIFileRelease only frees the object.
// A file already completed answers its first result again.
HRESULT CompleteFile(PAVIFILE pfile);
} // namespace avi

// COM stand-ins: the component needs no COM, but the writer keeps its calls. Defined weak: a
// platform layer that brings its own takes their place.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
