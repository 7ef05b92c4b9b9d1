#include "avi/AviTypes.h"

namespace avi {

AVISTREAMINFOW InfoFromRawHeader(const AVISTREAMINFOW& raw)
{
    BYTE h[56];
    std::memcpy(h, &raw, sizeof h);
    AVISTREAMINFOW info{};
    info.fccType = ReadLE32(h + 0);
    info.fccHandler = ReadLE32(h + 4);
    info.dwFlags = ReadLE32(h + 8);
    info.wPriority = ReadLE16(h + 12);
    info.wLanguage = ReadLE16(h + 14);
    info.dwInitialFrames = ReadLE32(h + 16);
    info.dwScale = ReadLE32(h + 20);
    info.dwRate = ReadLE32(h + 24);
    info.dwStart = ReadLE32(h + 28);
    info.dwLength = ReadLE32(h + 32);
    info.dwSuggestedBufferSize = ReadLE32(h + 36);
    info.dwQuality = ReadLE32(h + 40);
    info.dwSampleSize = ReadLE32(h + 44);
    // rcFrame is four signed 16-bit values in the file.
    info.rcFrame.left = static_cast<SHORT>(ReadLE16(h + 48));
    info.rcFrame.top = static_cast<SHORT>(ReadLE16(h + 50));
    info.rcFrame.right = static_cast<SHORT>(ReadLE16(h + 52));
    info.rcFrame.bottom = static_cast<SHORT>(ReadLE16(h + 54));
    return info;
}

void FourccText(DWORD fcc, char out[5])
{
    for (int i = 0; i < 4; ++i) {
        const char c = static_cast<char>((fcc >> (8 * i)) & 0xFF);
        out[i] = (c >= 0x20 && c < 0x7F) ? c : '.';
    }
    out[4] = 0;
}

} // namespace avi
