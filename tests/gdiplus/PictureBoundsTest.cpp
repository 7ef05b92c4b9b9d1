// A picture no skin needs is refused from its header, before its pixels take memory; a
// stream is not read past the bound; bitmaps are bounded the same way.
#include "PixelProbe.h"

#include "platform/base/CString.h"
#include "platform/base/Stream.h"
#include "tests/TestKit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

std::uint32_t Crc32(const BYTE* p, size_t n)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

void PutBE32(std::vector<BYTE>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<BYTE>(v >> shift));
}

void Chunk(std::vector<BYTE>& out, const char* type, const std::vector<BYTE>& body)
{
    PutBE32(out, static_cast<std::uint32_t>(body.size()));
    std::vector<BYTE> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBE32(out, Crc32(typed.data(), typed.size()));
}

// A valid PNG header declaring width x height (8-bit RGBA), and one IDAT of 300 zero bytes in
// a stored zlib block: a few hundred bytes that claim gigabytes.
std::vector<BYTE> PngHeader(std::uint32_t width, std::uint32_t height)
{
    std::vector<BYTE> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, ihdr;
    PutBE32(ihdr, width);
    PutBE32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    Chunk(png, "IHDR", ihdr);
    std::vector<BYTE> idat = {0x78, 0x01, 0x01, 0x2C, 0x01, 0xD3, 0xFE}; // LEN 300, NLEN
    idat.resize(idat.size() + 300, 0);
    PutBE32(idat, (300u << 16) | 1u); // Adler-32 of 300 zero bytes
    Chunk(png, "IDAT", idat);
    Chunk(png, "IEND", {});
    return png;
}

// Zeros without end; it lives on the stack, so counting references is left out.
class EndlessStream : public IStream
{
public:
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT Read(void* data, ULONG count, ULONG* read) override
    {
        std::memset(data, 0, count);
        m_read += count;
        if (read)
            *read = count;
        return S_OK;
    }
    HRESULT Write(const void*, ULONG, ULONG*) override { return E_FAIL; }
    HRESULT Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_FAIL; }
    unsigned long long m_read = 0;
};

} // namespace

// Each side and the decoded size are bounded; past what the PNG decoder itself accepts is
// refused all the same.
TEST(PictureBounds, HugePngHeadersEndlessStreamsAndBitmapsFailBeforeTheirPixelsAreTaken)
{
    const std::vector<BYTE> png = PngHeader(30000, 30000);
    ASSERT_LT(png.size(), 400u);
    auto fromStream = FromBytes<Image>(png);
    EXPECT_EQ(fromStream->GetLastStatus(), OutOfMemory);
    EXPECT_EQ(fromStream->GetWidth(), 0u);
    const testkit::TempDir tmp;
    const std::string file = tmp.Write("huge.png", png);
    EXPECT_EQ(
        std::unique_ptr<Image>(Image::FromFile(CString::FromPathBytes(file)))->GetLastStatus(),
        OutOfMemory);

    const std::pair<std::uint32_t, std::uint32_t> refused[] = {
        {16385, 1}, {1, 16385}, {16384, 16384}};
    for (auto [w, h] : refused)
        EXPECT_EQ(FromBytes<Image>(PngHeader(w, h))->GetLastStatus(), OutOfMemory)
            << w << " x " << h;
    EXPECT_NE(FromBytes<Image>(PngHeader(0x7FFFFFFF, 0x7FFFFFFF))->GetLastStatus(), Ok);

    // A stream past the bound is not read whole.
    EndlessStream endless;
    std::unique_ptr<Image> image(Image::FromStream(&endless));
    EXPECT_NE(image->GetLastStatus(), Ok);
    EXPECT_LE(endless.m_read, (64ull << 20) + (1ull << 20));

    // Bitmaps made in memory are bounded the same way.
    for (auto [w, h] : {std::pair{16385, 1}, std::pair{1, 16385}, std::pair{9000, 9000}}) {
        Bitmap b(w, h, PixelFormat32bppARGB);
        EXPECT_NE(b.GetLastStatus(), Ok) << w << " x " << h;
    }
    Bitmap fine(16384, 2, PixelFormat32bppARGB);
    EXPECT_EQ(fine.GetLastStatus(), Ok);
}

TEST(PictureBounds, HeaderOffsetsPastTheDataAreRefusedBeforeTheDecoderSizesItsBuffers)
{
    // A BMP whose info header claims 3 GB, one whose pixels start past its end, and an icon
    // whose only image lies past the end: decoders would grow their buffers to those sizes.
    std::vector<BYTE> bmp = {'B', 'M', 54, 0, 0, 0,    0,    0,    0,
                             0,   54,  0,  0, 0, 0x00, 0xFF, 0xFF, 0xC9};
    bmp.resize(54, 0);
    std::vector<BYTE> farPixels = bmp;
    farPixels[14] = 40, farPixels[15] = 0, farPixels[16] = 0, farPixels[17] = 0;
    farPixels[10] = 0xFF, farPixels[11] = 0xFF, farPixels[12] = 0xFF, farPixels[13] = 0x7F;
    std::vector<BYTE> ico = {0, 0,  1, 0,    1,    0, 16, 16,   0, 0, 1,
                             0, 32, 0, 0x28, 0x04, 0, 0,  0x16, 0, 0, 0x70};
    ico.resize(64, 0);
    std::vector<BYTE> bigPalette = farPixels; // 8 bits a pixel, 0xFFFFFF02 colours
    bigPalette[10] = 54, bigPalette[11] = bigPalette[12] = bigPalette[13] = 0;
    bigPalette[18] = bigPalette[22] = 1, bigPalette[26] = 1, bigPalette[28] = 8;
    bigPalette[46] = 2, bigPalette[47] = bigPalette[48] = bigPalette[49] = 0xFF;
    for (const auto& bytes : {bmp, farPixels, ico, bigPalette}) {
        auto image = FromBytes<Image>(bytes);
        EXPECT_EQ(image->GetLastStatus(), UnknownImageFormat);
    }
}
