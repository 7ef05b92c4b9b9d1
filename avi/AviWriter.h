// mmAviWriter: writes AVI files packet by packet, with any number of video, audio and
// metadata streams, through the AVI-writing component of avi/AviFile.h. Packets take the type,
// data, size and flags in the form the reader hands them out, so a host can copy a file.
#pragma once

#include "avi/AviFile.h"
#include "avi/AviTypes.h"
#include "platform/base/CArray.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

// One open stream: the caller's id (unique within its kind), the sample position of its next
// packet and the component's stream.
struct _TAG_AVISTREAM_INFO
{
    int nStreamID;
    LONG lSamplePos;
    PAVISTREAM pStream;
};

// Results of mmAviWriter beside 0 (success).
constexpr int AVIWRITER_E_CREATE = -1;     // OpenAVI: the file could not be created
constexpr int AVIWRITER_E_NOFILE = -2;     // Open...Stream: no file is open
constexpr int AVIWRITER_E_DUPLICATE = -3;  // Open...Stream: the kind already has this id
constexpr int AVIWRITER_E_STREAM = -4;     // Open...Stream: the stream could not be created
constexpr int AVIWRITER_E_FORMAT = -5;     // Open...Stream: its format could not be set
constexpr int AVIWRITER_E_NOSTREAM = -2;   // WritePacket: no open stream of that kind and id
constexpr int AVIWRITER_E_WRITE = -3;      // WritePacket: the write failed
constexpr int AVIWRITER_E_FILETOOBIG = -4; // WritePacket: the file would reach 2 GiB, which
                                           // the reader refuses; nothing was written
constexpr int AVIWRITER_E_COMPLETE = -6;   // GetAVICloseResult: completing the file failed
                                           // (disk full, a size limit): it is not readable

class mmAviWriter : public CObject
{
public:
    mmAviWriter();
    // Completes a file that is still open, so that what was written is kept.
    ~mmAviWriter() override;

    mmAviWriter(const mmAviWriter&) = delete;
    mmAviWriter& operator=(const mmAviWriter&) = delete;

    // Creates (or replaces) the file; a file still open is completed first.
    int OpenAVI(CString strPath);
    // Closes every stream and completes the file: headers with the lengths written and idx1.
    void CloseAVI();
    // How the last completion of a file went (by CloseAVI, a second OpenAVI or the destructor):
    // 0 when every byte reached the file, AVIWRITER_E_COMPLETE when not; 0 before any.
    int GetAVICloseResult() const { return m_nCloseResult; }

    // The stream type written is info.fccType, unchanged; the kind is the operation's. For a
    // metadata stream a format size of 0 takes the first 4 bytes at pFormat as the format and
    // hands that block to the writer, which frees it with std::free: allocate it with
    // std::malloc (at least 4 bytes) and do not use it afterwards.
    int OpenAVIVideoStream(AVISTREAMINFOW info, void* pFormat, int nFormatSize, int nStreamID);
    int OpenAVIAudioStream(AVISTREAMINFOW info, void* pFormat, int nFormatSize, int nStreamID);
    int OpenAVIMetaStream(AVISTREAMINFOW info, void* pFormat, int nFormatSize, int nStreamID);

    // nStreamID 0 or greater closes that stream; a negative id closes every stream of the kind.
    void CloseAVIVideoStream(int nStreamID);
    void CloseAVIAudioStream(int nStreamID);
    void CloseAVIMetaStream(int nStreamID);

    // dwType "vids" writes to the video stream nStreamID, "auds" to the audio stream, any other
    // type to the metadata stream. A size of 0 or less writes nothing but still takes a sample
    // position.
    int WritePacket(DWORD dwType, BYTE* pData, int nSize, int nStreamID, DWORD dwFlags);

private:
    using StreamList = CArray<_TAG_AVISTREAM_INFO*>;
    int OpenStream(StreamList& list, bool meta, const AVISTREAMINFOW& info, void* pFormat,
                   int nFormatSize, int nStreamID);
    static void CloseStream(StreamList& list, int nStreamID);
    static _TAG_AVISTREAM_INFO* Find(StreamList& list, int nStreamID);
    void CloseFile();

    PAVIFILE m_pAviFile;
    StreamList m_arrVideo;
    StreamList m_arrAudio;
    StreamList m_arrMeta;
    int m_nCloseResult = 0;
};
