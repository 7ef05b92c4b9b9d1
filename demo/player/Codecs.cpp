#include "demo/player/Codecs.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cctype>
#include <cstring>

namespace player {

namespace {

constexpr std::uint32_t Tag(const char (&s)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[3])) << 24;
}

// Upper-cases the four letters: writers disagree on the case of the same FourCC.
std::uint32_t Upper(std::uint32_t t)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(std::toupper(static_cast<int>((t >> (8 * i)) & 0xFF)))
             << (8 * i);
    return u;
}

struct VideoTag
{
    std::uint32_t tag; // upper case
    AVCodecID id;
};

// The FourCCs met in AVI files, by the decoder that reads them.
const VideoTag kVideoTags[] = {
    {Tag("MJPG"), AV_CODEC_ID_MJPEG},      {Tag("AVRN"), AV_CODEC_ID_MJPEG},
    {Tag("JPGL"), AV_CODEC_ID_MJPEG},      {Tag("DMB1"), AV_CODEC_ID_MJPEG},
    {Tag("MJLS"), AV_CODEC_ID_JPEGLS},     {Tag("LJPG"), AV_CODEC_ID_LJPEG},
    {Tag("H264"), AV_CODEC_ID_H264},       {Tag("X264"), AV_CODEC_ID_H264},
    {Tag("AVC1"), AV_CODEC_ID_H264},       {Tag("DAVC"), AV_CODEC_ID_H264},
    {Tag("VSSH"), AV_CODEC_ID_H264},       {Tag("HEVC"), AV_CODEC_ID_HEVC},
    {Tag("H265"), AV_CODEC_ID_HEVC},       {Tag("HVC1"), AV_CODEC_ID_HEVC},
    {Tag("XVID"), AV_CODEC_ID_MPEG4},      {Tag("DIVX"), AV_CODEC_ID_MPEG4},
    {Tag("DX50"), AV_CODEC_ID_MPEG4},      {Tag("FMP4"), AV_CODEC_ID_MPEG4},
    {Tag("MP4V"), AV_CODEC_ID_MPEG4},      {Tag("3IV2"), AV_CODEC_ID_MPEG4},
    {Tag("M4S2"), AV_CODEC_ID_MPEG4},      {Tag("DIV1"), AV_CODEC_ID_MPEG4},
    {Tag("BLZ0"), AV_CODEC_ID_MPEG4},      {Tag("UMP4"), AV_CODEC_ID_MPEG4},
    {Tag("DIV3"), AV_CODEC_ID_MSMPEG4V3},  {Tag("DIV4"), AV_CODEC_ID_MSMPEG4V3},
    {Tag("MP43"), AV_CODEC_ID_MSMPEG4V3},  {Tag("MP42"), AV_CODEC_ID_MSMPEG4V2},
    {Tag("MP41"), AV_CODEC_ID_MSMPEG4V1},  {Tag("MPG4"), AV_CODEC_ID_MSMPEG4V1},
    {Tag("WMV1"), AV_CODEC_ID_WMV1},       {Tag("WMV2"), AV_CODEC_ID_WMV2},
    {Tag("WMV3"), AV_CODEC_ID_WMV3},       {Tag("WVC1"), AV_CODEC_ID_VC1},
    {Tag("MPG1"), AV_CODEC_ID_MPEG1VIDEO}, {Tag("MPG2"), AV_CODEC_ID_MPEG2VIDEO},
    {Tag("MPEG"), AV_CODEC_ID_MPEG2VIDEO}, {Tag("VP80"), AV_CODEC_ID_VP8},
    {Tag("VP90"), AV_CODEC_ID_VP9},        {Tag("AV01"), AV_CODEC_ID_AV1},
    {Tag("FFV1"), AV_CODEC_ID_FFV1},       {Tag("HFYU"), AV_CODEC_ID_HUFFYUV},
    {Tag("FFVH"), AV_CODEC_ID_FFVHUFF},    {Tag("CVID"), AV_CODEC_ID_CINEPAK},
    {Tag("MSVC"), AV_CODEC_ID_MSVIDEO1},   {Tag("CRAM"), AV_CODEC_ID_MSVIDEO1},
    {Tag("DVSD"), AV_CODEC_ID_DVVIDEO},    {Tag("DV25"), AV_CODEC_ID_DVVIDEO},
    {Tag("DV50"), AV_CODEC_ID_DVVIDEO},    {Tag("MRLE"), AV_CODEC_ID_MSRLE},
    {Tag("MPNG"), AV_CODEC_ID_PNG},        {Tag("PNG1"), AV_CODEC_ID_PNG},
    {Tag("UTVD"), AV_CODEC_ID_UTVIDEO},    {Tag("ULRG"), AV_CODEC_ID_UTVIDEO},
    {Tag("ULY0"), AV_CODEC_ID_UTVIDEO},    {Tag("ULY2"), AV_CODEC_ID_UTVIDEO},
    {Tag("TSCC"), AV_CODEC_ID_TSCC},       {Tag("I420"), AV_CODEC_ID_RAWVIDEO},
    {Tag("IYUV"), AV_CODEC_ID_RAWVIDEO},   {Tag("YV12"), AV_CODEC_ID_RAWVIDEO},
    {Tag("YUY2"), AV_CODEC_ID_RAWVIDEO},   {Tag("UYVY"), AV_CODEC_ID_RAWVIDEO},
    {Tag("Y800"), AV_CODEC_ID_RAWVIDEO},   {Tag("GREY"), AV_CODEC_ID_RAWVIDEO},
    {Tag("NV12"), AV_CODEC_ID_RAWVIDEO},   {Tag("YVYU"), AV_CODEC_ID_RAWVIDEO},
};

AVCodecID FromTag(std::uint32_t t)
{
    const std::uint32_t u = Upper(t);
    for (const VideoTag& v : kVideoTags)
        if (v.tag == u)
            return v.id;
    return AV_CODEC_ID_NONE;
}

} // namespace

int VideoCodecOf(std::uint32_t compression, std::uint32_t handler)
{
    // BI_RGB, BI_RLE8, BI_RLE4 and BI_BITFIELDS are numbers, not letters.
    switch (compression) {
    case 0:
    case 3:
        return AV_CODEC_ID_RAWVIDEO;
    case 1:
    case 2:
        return AV_CODEC_ID_MSRLE;
    default:
        break;
    }
    const AVCodecID id = FromTag(compression);
    return id != AV_CODEC_ID_NONE ? id : FromTag(handler);
}

int AudioCodecOf(std::uint16_t formatTag, std::uint16_t subFormat, int bits)
{
    if (formatTag == 0xFFFE) // WAVE_FORMAT_EXTENSIBLE: the sub-format says what it is
        formatTag = subFormat;
    switch (formatTag) {
    case 0x0001: // PCM
        return bits <= 8    ? AV_CODEC_ID_PCM_U8
               : bits <= 16 ? AV_CODEC_ID_PCM_S16LE
               : bits <= 24 ? AV_CODEC_ID_PCM_S24LE
                            : AV_CODEC_ID_PCM_S32LE;
    case 0x0003: // IEEE float
        return bits == 64 ? AV_CODEC_ID_PCM_F64LE : AV_CODEC_ID_PCM_F32LE;
    case 0x0002:
        return AV_CODEC_ID_ADPCM_MS;
    case 0x0006:
        return AV_CODEC_ID_PCM_ALAW;
    case 0x0007:
        return AV_CODEC_ID_PCM_MULAW;
    case 0x0011:
        return AV_CODEC_ID_ADPCM_IMA_WAV;
    case 0x0050:
        return AV_CODEC_ID_MP2;
    case 0x0055:
        return AV_CODEC_ID_MP3;
    case 0x00FF:
    case 0x1610:
    case 0x706D:
        return AV_CODEC_ID_AAC;
    case 0x0160:
        return AV_CODEC_ID_WMAV1;
    case 0x0161:
        return AV_CODEC_ID_WMAV2;
    case 0x2000:
        return AV_CODEC_ID_AC3;
    case 0x2001:
        return AV_CODEC_ID_DTS;
    case 0xF1AC:
        return AV_CODEC_ID_FLAC;
    default:
        return AV_CODEC_ID_NONE;
    }
}

const char* CodecName(int codecId)
{
    switch (codecId) {
    case AV_CODEC_ID_RAWVIDEO:
        return "raw";
    case AV_CODEC_ID_MJPEG:
        return "MJPG";
    case AV_CODEC_ID_H264:
        return "H.264";
    case AV_CODEC_ID_MPEG4:
        return "MPEG-4";
    case AV_CODEC_ID_MP3:
        return "MP3";
    case AV_CODEC_ID_MP2:
        return "MP2";
    case AV_CODEC_ID_AC3:
        return "AC-3";
    case AV_CODEC_ID_AAC:
        return "AAC";
    default:
        break;
    }
    const AVCodecDescriptor* d = avcodec_descriptor_get(static_cast<AVCodecID>(codecId));
    if (codecId == AV_CODEC_ID_NONE || !d)
        return "?";
    // The PCM kinds differ only in sample layout, which a playlist need not show.
    return std::strncmp(d->name, "pcm_", 4) == 0 ? "PCM" : d->name;
}

} // namespace player
