// Fuzzes the AVI reader over whole files, in both walks (the default one and the tolerant
// one): OpenAVI, every count, info and format query and every packet. When the file opens,
// its streams and packets are also copied with the writer and read back by the default walk:
// the copy must open and hand out the same non-empty packets.
#include "avi/AviParser.h"
#include "avi/AviWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

struct Packet
{
    DWORD type;
    int typeIndex;
    DWORD flags;
    std::vector<BYTE> data;
    bool operator==(const Packet&) const = default;
};

std::string TempPath(const char* suffix)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/fuzz_avi_" + std::to_string(getpid()) +
           suffix;
}

// Every readable, non-empty packet; false when the reader raised.
bool ReadPackets(mmAviParser& reader, std::vector<Packet>& out)
{
    _TAG_AVI_PACKET_INFO p{};
    for (int k = 0;; ++k) {
        int rc;
        try {
            rc = reader.GetAVIReadData(k, &p);
        } catch (const CInvalidArgException&) {
            return false;
        }
        if (rc == AVIPARSER_E_NOPACKET)
            return true;
        if (rc != 0) {
            if (rc != AVIPARSER_E_PACKETREAD || p.pData)
                std::abort();
            continue;
        }
        if (p.nDataSize < 0 || (p.nDataSize > 0 && !p.pData))
            std::abort();
        if (p.nDataSize > 0)
            out.push_back({p.fccType, p.nTypeIndex, p.dwFlags,
                           std::vector<BYTE>(p.pData, p.pData + p.nDataSize)});
    }
}

void CopyAndCompare(mmAviParser& reader, const std::vector<Packet>& packets)
{
    const int counts[3] = {reader.GetAVIVideoStreamCount(), reader.GetAVIAudioStreamCount(),
                           reader.GetAVIMetaStreamCount()};
    if (counts[0] + counts[1] + counts[2] > 100)
        return;
    struct Stream
    {
        int fileOrder, kind, n;
    };
    std::vector<Stream> streams;
    for (int kind = 0; kind < 3; ++kind)
        for (int n = 0; n < counts[kind]; ++n) {
            AVISTREAMINFOW raw{};
            const int no = kind == 0   ? reader.GetAVIVideoStreamInfo(&raw, n)
                           : kind == 1 ? reader.GetAVIAudioStreamInfo(&raw, n)
                                       : reader.GetAVIMetaStreamInfo(&raw, n);
            streams.push_back({no, kind, n});
        }
    std::sort(streams.begin(), streams.end(),
              [](const Stream& a, const Stream& b) { return a.fileOrder < b.fileOrder; });

    const std::string out = TempPath("_copy.avi");
    {
        mmAviWriter writer;
        if (writer.OpenAVI(CString::FromUtf8(out)) != 0)
            std::abort();
        for (const Stream& s : streams) {
            AVISTREAMINFOW raw{};
            std::vector<BYTE> format(1 << 16);
            int copied = 0;
            int rc;
            if (s.kind == 0) {
                reader.GetAVIVideoStreamInfo(&raw, s.n);
                rc = reader.GetAVIVideoFormat(format.data(), static_cast<int>(format.size()),
                                              &copied, s.n);
            } else if (s.kind == 1) {
                reader.GetAVIAudioStreamInfo(&raw, s.n);
                rc = reader.GetAVIAudioFormat(format.data(), static_cast<int>(format.size()),
                                              &copied, s.n);
            } else {
                reader.GetAVIMetaStreamInfo(&raw, s.n);
                rc = reader.GetAVIMetaFormat(format.data(), static_cast<int>(format.size()),
                                             &copied, s.fileOrder);
            }
            AVISTREAMINFOW info = avi::InfoFromRawHeader(raw);
            const int size = rc >= 0 ? copied : 0;
            int opened;
            if (s.kind == 0)
                opened = writer.OpenAVIVideoStream(info, format.data(), size, s.n);
            else if (s.kind == 1)
                opened = writer.OpenAVIAudioStream(info, format.data(), size, s.n);
            else if (size > 0)
                opened = writer.OpenAVIMetaStream(info, format.data(), size, s.n);
            else
                opened = writer.OpenAVIMetaStream(info, std::calloc(1, 4), 0, s.n);
            if (opened != 0)
                std::abort();
        }
        for (const Packet& p : packets) {
            std::vector<BYTE> data = p.data;
            if (writer.WritePacket(p.type, data.data(), static_cast<int>(data.size()), p.typeIndex,
                                   p.flags) != 0)
                std::abort();
        }
        writer.CloseAVI();
    }
    mmAviParser again;
    if (again.OpenAVI(CString::FromUtf8(out)) != 0)
        std::abort();
    std::vector<Packet> back;
    if (!ReadPackets(again, back) || back != packets)
        std::abort();
    again.CloseAVI();
    unlink(out.c_str());
}

// Opens the file and asks everything; the reader is destroyed open (its destructor closes it).
void ReadAll(mmAviParser& reader, const std::string& path)
{
    const int rc = reader.OpenAVI(CString::FromUtf8(path));
    const int counts[3] = {reader.GetAVIVideoStreamCount(), reader.GetAVIAudioStreamCount(),
                           reader.GetAVIMetaStreamCount()};
    if (rc != 0) {
        if (counts[0] != -1 || counts[1] != -1 || counts[2] != -1)
            std::abort();
        return;
    }
    BYTE buf[300];
    int copied = 0;
    for (int n = -1; n <= counts[0] + counts[1] + counts[2]; ++n) {
        AVISTREAMINFOW info;
        reader.GetAVIVideoStreamInfo(&info, n);
        reader.GetAVIAudioStreamInfo(&info, n);
        reader.GetAVIMetaStreamInfo(&info, n);
        reader.GetAVIVideoFormat(buf, sizeof buf, &copied, n);
        reader.GetAVIAudioFormat(buf, 3, &copied, n);
        reader.GetAVIMetaFormat(buf, sizeof buf, &copied, n);
        if (copied < 0 || copied > static_cast<int>(sizeof buf))
            std::abort();
    }
    std::vector<Packet> packets;
    if (ReadPackets(reader, packets))
        CopyAndCompare(reader, packets);
    else if (reader.m_bTolerant) // its packets name only streams the file has
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = TempPath(".avi");
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    for (bool tolerant : {false, true}) {
        mmAviParser reader;
        reader.m_bTolerant = tolerant;
        ReadAll(reader, path);
    }
    return 0;
}
