#include "avi/AviWriter.h"

#include <cstdlib>

mmAviWriter::mmAviWriter() : m_pAviFile(nullptr)
{
    CoInitialize(nullptr);
}

mmAviWriter::~mmAviWriter()
{
    // A host that forgets CloseAVI would otherwise lose the file: without its headers and
    // index no reader can open it.
    CloseAVI();
    CoUninitialize();
}

int mmAviWriter::OpenAVI(CString strPath)
{
    AVIFileInit();
    if (m_pAviFile)
        CloseFile();
    if (AVIFileOpenW(&m_pAviFile, strPath.GetString(), OF_CREATE | OF_WRITE, nullptr) < 0) {
        m_pAviFile = nullptr;
        AVIFileExit();
        return AVIWRITER_E_CREATE;
    }
    return 0;
}

void mmAviWriter::CloseFile()
{
    CloseStream(m_arrVideo, -1);
    CloseStream(m_arrAudio, -1);
    CloseStream(m_arrMeta, -1);
    m_nCloseResult = avi::CompleteFile(m_pAviFile) == AVIERR_OK ? 0 : AVIWRITER_E_COMPLETE;
    AVIFileRelease(m_pAviFile);
    m_pAviFile = nullptr;
    AVIFileExit();
}

void mmAviWriter::CloseAVI()
{
    if (m_pAviFile)
        CloseFile();
}

// --- streams ---

_TAG_AVISTREAM_INFO* mmAviWriter::Find(StreamList& list, int nStreamID)
{
    for (_TAG_AVISTREAM_INFO* s : list)
        if (s->nStreamID == nStreamID)
            return s;
    return nullptr;
}

int mmAviWriter::OpenStream(StreamList& list, bool meta, const AVISTREAMINFOW& info, void* pFormat,
                            int nFormatSize, int nStreamID)
{
    if (!m_pAviFile)
        return AVIWRITER_E_NOFILE;
    if (Find(list, nStreamID))
        return AVIWRITER_E_DUPLICATE;
    auto* record = new _TAG_AVISTREAM_INFO{nStreamID, 0, nullptr};
    if (AVIFileCreateStreamW(m_pAviFile, &record->pStream, &info) < 0) {
        delete record;
        return AVIWRITER_E_STREAM;
    }
    HRESULT hr;
    if (meta && nFormatSize == 0) {
        // The caller handed this block over; it is ours to free whatever happens.
        hr = pFormat ? AVIStreamSetFormat(record->pStream, 0, pFormat, 4) : AVIERR_BADPARAM;
        std::free(pFormat);
    } else {
        hr = AVIStreamSetFormat(record->pStream, 0, pFormat, nFormatSize);
    }
    if (hr < 0) {
        AVIStreamRelease(record->pStream);
        delete record;
        return AVIWRITER_E_FORMAT;
    }
    list.Add(record);
    return 0;
}

int mmAviWriter::OpenAVIVideoStream(AVISTREAMINFOW info, void* pFormat, int nFormatSize,
                                    int nStreamID)
{
    return OpenStream(m_arrVideo, false, info, pFormat, nFormatSize, nStreamID);
}
int mmAviWriter::OpenAVIAudioStream(AVISTREAMINFOW info, void* pFormat, int nFormatSize,
                                    int nStreamID)
{
    return OpenStream(m_arrAudio, false, info, pFormat, nFormatSize, nStreamID);
}
int mmAviWriter::OpenAVIMetaStream(AVISTREAMINFOW info, void* pFormat, int nFormatSize,
                                   int nStreamID)
{
    return OpenStream(m_arrMeta, true, info, pFormat, nFormatSize, nStreamID);
}

void mmAviWriter::CloseStream(StreamList& list, int nStreamID)
{
    if (nStreamID < 0) {
        for (_TAG_AVISTREAM_INFO* s : list) {
            AVIStreamRelease(s->pStream);
            delete s;
        }
        list.RemoveAll();
        list.FreeExtra();
        return;
    }
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        _TAG_AVISTREAM_INFO* s = list.GetAt(i);
        if (s->nStreamID != nStreamID)
            continue;
        AVIStreamRelease(s->pStream);
        delete s;
        list.RemoveAt(i);
        return;
    }
}

void mmAviWriter::CloseAVIVideoStream(int nStreamID)
{
    CloseStream(m_arrVideo, nStreamID);
}
void mmAviWriter::CloseAVIAudioStream(int nStreamID)
{
    CloseStream(m_arrAudio, nStreamID);
}
void mmAviWriter::CloseAVIMetaStream(int nStreamID)
{
    CloseStream(m_arrMeta, nStreamID);
}

// --- packets ---

int mmAviWriter::WritePacket(DWORD dwType, BYTE* pData, int nSize, int nStreamID, DWORD dwFlags)
{
    StreamList& list = dwType == streamtypeVIDEO   ? m_arrVideo
                       : dwType == streamtypeAUDIO ? m_arrAudio
                                                   : m_arrMeta;
    _TAG_AVISTREAM_INFO* s = Find(list, nStreamID);
    if (!s)
        return AVIWRITER_E_NOSTREAM;
    BYTE* data = pData;
    int remaining = nSize;
    while (remaining > 0) {
        LONG written = 0;
        const HRESULT hr = AVIStreamWrite(s->pStream, s->lSamplePos, 1, data, remaining, dwFlags,
                                          nullptr, &written);
        if (hr == AVIERR_FILETOOBIG)
            return AVIWRITER_E_FILETOOBIG;
        // A success without progress would loop for ever.
        if (hr < 0 || written <= 0 || written > remaining)
            return AVIWRITER_E_WRITE;
        remaining -= written;
        data += written;
    }
    ++s->lSamplePos;
    return 0;
}
