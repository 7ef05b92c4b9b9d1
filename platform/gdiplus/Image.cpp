// Images and bitmaps: decoding with gdk-pixbuf into premultiplied ARGB32 Cairo surfaces.
#include "platform/base/DeviceScale.h"
#include "platform/base/FilePath.h"
#include "platform/gdiplus/GdiplusPrivate.h"
#include "platform/gdiplus/PictureScale.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace Gdiplus {
namespace detail {

bool WithinPictureBounds(long long width, long long height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height * 4 <= kMaxPictureBytes;
}

cairo_surface_t* NewSurface(int width, int height)
{
    if (!WithinPictureBounds(width, height))
        return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return s;
}

namespace {

cairo_surface_t* SurfaceFromPixbuf(GdkPixbuf* pb, Status* status)
{
    const int w = gdk_pixbuf_get_width(pb), h = gdk_pixbuf_get_height(pb);
    cairo_surface_t* s = NewSurface(w, h);
    if (!s) {
        *status = OutOfMemory;
        return nullptr;
    }
    const int channels = gdk_pixbuf_get_n_channels(pb);
    const bool alpha = gdk_pixbuf_get_has_alpha(pb);
    const int srcStride = gdk_pixbuf_get_rowstride(pb);
    const guchar* src = gdk_pixbuf_read_pixels(pb);
    const int dstStride = cairo_image_surface_get_stride(s);
    unsigned char* dst = cairo_image_surface_get_data(s);
    for (int y = 0; y < h; ++y) {
        const guchar* sp = src + static_cast<ptrdiff_t>(y) * srcStride;
        auto* dp = reinterpret_cast<std::uint32_t*>(dst + static_cast<ptrdiff_t>(y) * dstStride);
        for (int x = 0; x < w; ++x, sp += channels) {
            const std::uint32_t a = alpha ? sp[3] : 255;
            dp[x] = Premultiply((a << 24) | (std::uint32_t(sp[0]) << 16) |
                                (std::uint32_t(sp[1]) << 8) | sp[2]);
        }
    }
    cairo_surface_mark_dirty(s);
    *status = Ok;
    return s;
}

} // namespace

namespace {

// The decoders GDI+ has, told apart by their first bytes as GDI+ tells them; anything else
// (SVG, XPM, TGA ... which gdk-pixbuf would also try) is not a skin picture.
const char* SniffType(const BYTE* p, size_t n)
{
    auto starts = [&](std::initializer_list<BYTE> magic) {
        return n >= magic.size() && std::equal(magic.begin(), magic.end(), p);
    };
    if (starts({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}))
        return "png";
    if (starts({0xFF, 0xD8, 0xFF}))
        return "jpeg";
    if (starts({'G', 'I', 'F', '8'}))
        return "gif";
    if (starts({'B', 'M'}))
        return "bmp";
    if (starts({0, 0, 1, 0}) || starts({0, 0, 2, 0}))
        return "ico";
    if (starts({'I', 'I', '*', 0}) || starts({'M', 'M', 0, '*'}))
        return "tiff";
    if (starts({'R', 'I', 'F', 'F'}) && n >= 12 && std::memcmp(p + 8, "ACON", 4) == 0)
        return "ani"; // animated cursors, for icon handles only
    return nullptr;
}

std::uint32_t LE32(const BYTE* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The colour table of a Windows bitmap header at `info` lies inside the data. Decoders size
// their palette buffers from its count before they read a pixel.
bool PaletteInside(const BYTE* p, size_t n, size_t info)
{
    if (info + 40 > n || LE32(p + info) < 40)
        return true; // no count to trust, or an old header without one
    const std::uint64_t colours = LE32(p + info + 32);
    return info + LE32(p + info) + colours * 4 <= n;
}

// Some decoders size their buffers from offsets and counts in the header before they know the
// picture's size (the BMP decoder from its header size, pixel offset and colour count, the ICO
// decoder from each image's offset and colour count): anything pointing past the end of the
// data is refused here, before it can make them take gigabytes.
bool OffsetsInside(const char* type, const BYTE* p, size_t n)
{
    if (std::strcmp(type, "bmp") == 0) {
        if (n < 18)
            return true; // too short to decode at all; the decoder says so
        const std::uint32_t pixels = LE32(p + 10), header = LE32(p + 14);
        return header >= 12 && header <= 124 && pixels <= n && PaletteInside(p, n, 14);
    }
    if (std::strcmp(type, "ico") == 0) {
        const size_t count = n >= 6 ? p[4] | (p[5] << 8) : 0;
        if (6 + 16 * count > n)
            return count == 0;
        for (size_t i = 0; i < count; ++i) {
            const BYTE* e = p + 6 + 16 * i;
            const std::uint64_t size = LE32(e + 8), offset = LE32(e + 12);
            if (offset + size > n || !PaletteInside(p, n, static_cast<size_t>(offset)))
                return false;
        }
        return true;
    }
    if (std::strcmp(type, "ani") == 0)
        return std::uint64_t{LE32(p + 4)} + 8 <= n;
    return true;
}

// Feeds a picture to gdk-pixbuf in small pieces. The declared size arrives before any pixel
// memory is taken; past the bounds, a requested size of 0 x 0 makes the decoder stop there.
class BoundedLoader
{
public:
    ~BoundedLoader()
    {
        if (m_loader) {
            if (!m_closed)
                gdk_pixbuf_loader_close(m_loader, nullptr);
            g_object_unref(m_loader);
        }
    }

    // False when the picture is refused or broken; `status` says which.
    // The whole encoded picture.
    bool Write(const BYTE* data, size_t size, Status* status)
    {
        if (!m_loader) {
            const char* type = SniffType(data, size);
            if (type && !OffsetsInside(type, data, size)) {
                *status = UnknownImageFormat;
                return false;
            }
            GError* error = nullptr;
            m_loader = type ? gdk_pixbuf_loader_new_with_type(type, &error) : nullptr;
            if (error)
                g_error_free(error);
            if (!m_loader) {
                *status = UnknownImageFormat;
                return false;
            }
            g_signal_connect(m_loader, "size-prepared", G_CALLBACK(&BoundedLoader::OnSize), this);
        }
        constexpr size_t kPiece = 4096;
        for (size_t at = 0; at < size; at += kPiece) {
            GError* error = nullptr;
            const bool ok =
                gdk_pixbuf_loader_write(m_loader, data + at, std::min(kPiece, size - at), &error);
            if (error)
                g_error_free(error);
            if (m_refused) {
                *status = OutOfMemory;
                return false;
            }
            if (!ok) {
                *status = UnknownImageFormat;
                return false;
            }
        }
        return true;
    }

    // The decoded picture (owned by the caller), or null with `status`.
    GdkPixbuf* Finish(Status* status)
    {
        if (!m_loader) {
            *status = UnknownImageFormat;
            return nullptr;
        }
        GError* error = nullptr;
        m_closed = true;
        const bool ok = gdk_pixbuf_loader_close(m_loader, &error);
        if (error)
            g_error_free(error);
        GdkPixbuf* pb = ok && !m_refused ? gdk_pixbuf_loader_get_pixbuf(m_loader) : nullptr;
        if (pb && !WithinPictureBounds(gdk_pixbuf_get_width(pb), gdk_pixbuf_get_height(pb)))
            pb = nullptr;
        if (!pb) {
            *status = m_refused ? OutOfMemory : UnknownImageFormat;
            return nullptr;
        }
        *status = Ok;
        return GDK_PIXBUF(g_object_ref(pb));
    }

private:
    static void OnSize(GdkPixbufLoader* loader, int width, int height, gpointer self)
    {
        if (WithinPictureBounds(width, height))
            return;
        static_cast<BoundedLoader*>(self)->m_refused = true;
        gdk_pixbuf_loader_set_size(loader, 0, 0);
    }

    GdkPixbufLoader* m_loader = nullptr;
    bool m_refused = false;
    bool m_closed = false;
};

GdkPixbuf* DecodePixbufBytes(const BYTE* data, size_t size, Status* status,
                             std::string* type = nullptr)
{
    if (type) {
        const char* sniffed = SniffType(data, size);
        *type = sniffed ? sniffed : "";
    }
    if (size > static_cast<size_t>(kMaxEncodedBytes)) {
        *status = OutOfMemory;
        return nullptr;
    }
    BoundedLoader loader;
    if (!loader.Write(data, size, status))
        return nullptr;
    return loader.Finish(status);
}

cairo_surface_t* SurfaceOrFail(GdkPixbuf* pb, Status* status)
{
    if (!pb)
        return nullptr;
    cairo_surface_t* s = SurfaceFromPixbuf(pb, status);
    g_object_unref(pb);
    return s;
}

} // namespace

GdkPixbuf* DecodePixbufFile(const std::string& path, Status* status, std::string* type)
{
    if (type)
        type->clear();
    // Opened without waiting: opening a FIFO for reading would otherwise block until a writer
    // came. A folder, a FIFO or a device is no picture file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        *status = FileNotFound;
        return nullptr;
    }
    FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        ::close(fd);
        *status = FileNotFound;
        return nullptr;
    }
    if (st.st_size > kMaxEncodedBytes) {
        std::fclose(f);
        *status = OutOfMemory;
        return nullptr;
    }
    std::vector<BYTE> bytes(static_cast<size_t>(st.st_size));
    const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), f);
    const bool readError = std::ferror(f) != 0;
    std::fclose(f);
    if (readError) {
        *status = FileNotFound;
        return nullptr;
    }
    bytes.resize(got); // a file that shrank meanwhile
    return DecodePixbufBytes(bytes.data(), bytes.size(), status, type);
}

cairo_surface_t* DecodeFile(const std::string& path, Status* status)
{
    return SurfaceOrFail(DecodePixbufFile(path, status), status);
}

cairo_surface_t* DecodeBytes(const std::vector<BYTE>& bytes, Status* status)
{
    return SurfaceOrFail(DecodePixbufBytes(bytes.data(), bytes.size(), status), status);
}

} // namespace detail

namespace {

std::shared_ptr<detail::ImageData> Wrap(cairo_surface_t* s)
{
    return s ? std::make_shared<detail::ImageData>(s) : nullptr;
}

std::shared_ptr<detail::ImageData> LoadFile(const WCHAR* filename, Status* status)
{
    if (!detail::IsStarted()) {
        *status = GdiplusNotInitialized;
        return nullptr;
    }
    if (!filename) {
        *status = InvalidParameter;
        return nullptr;
    }
    return Wrap(detail::DecodeFile(platform::ResolvePath(CString(filename)), status));
}

std::shared_ptr<detail::ImageData> LoadStream(IStream* stream, Status* status)
{
    if (!detail::IsStarted()) {
        *status = GdiplusNotInitialized;
        return nullptr;
    }
    if (!stream) {
        *status = InvalidParameter;
        return nullptr;
    }
    // A stream past the bound is refused after reading one piece more than it, not whole.
    std::vector<BYTE> bytes;
    BYTE chunk[65536];
    ULONG got = 0;
    do {
        got = 0;
        if (FAILED(stream->Read(chunk, sizeof chunk, &got)))
            break;
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() > static_cast<size_t>(detail::kMaxEncodedBytes)) {
            *status = OutOfMemory;
            return nullptr;
        }
    } while (got == sizeof chunk);
    return Wrap(detail::DecodeBytes(bytes, status));
}

std::shared_ptr<detail::ImageData> CopyArea(const detail::ImageData& src, int x, int y, int w,
                                            int h)
{
    cairo_surface_t* s = detail::NewSurface(w, h);
    if (!s)
        return nullptr;
    cairo_surface_flush(src.surface);
    const int ss = cairo_image_surface_get_stride(src.surface),
              ds = cairo_image_surface_get_stride(s);
    const unsigned char* sp = cairo_image_surface_get_data(src.surface);
    unsigned char* dp = cairo_image_surface_get_data(s);
    for (int row = 0; row < h; ++row)
        std::memcpy(dp + static_cast<ptrdiff_t>(row) * ds,
                    sp + static_cast<ptrdiff_t>(y + row) * ss + x * 4, static_cast<size_t>(w) * 4);
    cairo_surface_mark_dirty(s);
    return Wrap(s);
}

} // namespace

detail::ImageData* NativeOf(const Image* image)
{
    return image ? image->nativeImage.get() : nullptr;
}

// --- Image ---

Image::Image() : lastResult(Ok) {}

Image::Image(std::shared_ptr<detail::ImageData> data, Status status)
    : nativeImage(std::move(data)), lastResult(status)
{
}

Image::Image(const WCHAR* filename, BOOL) : lastResult(Ok)
{
    nativeImage = LoadFile(filename, &lastResult);
}

Image::Image(IStream* stream, BOOL) : lastResult(Ok)
{
    nativeImage = LoadStream(stream, &lastResult);
}

Image::~Image() = default;

Image* Image::FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement)
{
    return new Image(filename, useEmbeddedColorManagement);
}

Image* Image::FromStream(IStream* stream, BOOL useEmbeddedColorManagement)
{
    return new Image(stream, useEmbeddedColorManagement);
}

Status Image::SetStatus(Status status) const
{
    if (status != Ok)
        lastResult = status;
    return status;
}

Status Image::GetLastStatus() const
{
    return detail::TakeStatus(lastResult);
}

Image* Image::Clone()
{
    if (!nativeImage) {
        SetStatus(InvalidParameter);
        return nullptr;
    }
    auto copy = CopyArea(*nativeImage, 0, 0, nativeImage->Width(), nativeImage->Height());
    if (!copy) {
        SetStatus(OutOfMemory);
        return nullptr;
    }
    return new Image(std::move(copy), Ok);
}

UINT Image::GetWidth()
{
    if (!nativeImage) {
        SetStatus(InvalidParameter);
        return 0;
    }
    return static_cast<UINT>(nativeImage->LogicalWidth());
}

UINT Image::GetHeight()
{
    if (!nativeImage) {
        SetStatus(InvalidParameter);
        return 0;
    }
    return static_cast<UINT>(nativeImage->LogicalHeight());
}

PixelFormat Image::GetPixelFormat()
{
    if (!nativeImage) {
        SetStatus(InvalidParameter);
        return PixelFormatUndefined;
    }
    return PixelFormat32bppARGB;
}

ImageType Image::GetType() const
{
    return nativeImage ? ImageTypeBitmap : ImageTypeUnknown;
}

// --- Bitmap ---

Bitmap::Bitmap(INT width, INT height, PixelFormat format) : Image()
{
    if (!detail::IsStarted()) {
        lastResult = GdiplusNotInitialized;
        return;
    }
    if (width <= 0 || height <= 0 ||
        (format != PixelFormat32bppARGB && format != PixelFormat32bppPARGB &&
         format != PixelFormat32bppRGB && format != PixelFormat24bppRGB)) {
        lastResult = InvalidParameter;
        return;
    }
    nativeImage = Wrap(detail::NewSurface(width, height));
    if (!nativeImage) {
        lastResult = OutOfMemory;
        return;
    }
    if (format == PixelFormat32bppRGB || format == PixelFormat24bppRGB) {
        // Formats without alpha start opaque black, as GDI+ zero-fills their colour bits.
        cairo_t* cr = cairo_create(nativeImage->surface);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
}

Bitmap::Bitmap(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0)
    : Bitmap(width, height, format)
{
    if (!nativeImage || !scan0)
        return;
    if (format != PixelFormat32bppARGB && format != PixelFormat32bppPARGB &&
        format != PixelFormat32bppRGB) {
        nativeImage.reset();
        lastResult = InvalidParameter;
        return;
    }
    const int ds = cairo_image_surface_get_stride(nativeImage->surface);
    unsigned char* dst = cairo_image_surface_get_data(nativeImage->surface);
    for (int y = 0; y < height; ++y) {
        const auto* sp =
            reinterpret_cast<const std::uint32_t*>(scan0 + static_cast<ptrdiff_t>(y) * stride);
        auto* dp = reinterpret_cast<std::uint32_t*>(dst + static_cast<ptrdiff_t>(y) * ds);
        for (int x = 0; x < width; ++x) {
            std::uint32_t v;
            std::memcpy(&v, sp + x, 4);
            dp[x] = format == PixelFormat32bppARGB  ? detail::Premultiply(v)
                    : format == PixelFormat32bppRGB ? (v | 0xFF000000u)
                                                    : v;
        }
    }
    cairo_surface_mark_dirty(nativeImage->surface);
}

Bitmap::Bitmap(const WCHAR* filename, BOOL) : Image()
{
    nativeImage = LoadFile(filename, &lastResult);
}

Bitmap::Bitmap(IStream* stream, BOOL) : Image()
{
    nativeImage = LoadStream(stream, &lastResult);
}

Bitmap* Bitmap::FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement)
{
    return new Bitmap(filename, useEmbeddedColorManagement);
}

Bitmap* Bitmap::FromStream(IStream* stream, BOOL useEmbeddedColorManagement)
{
    return new Bitmap(stream, useEmbeddedColorManagement);
}

Image* Bitmap::Clone()
{
    if (!nativeImage) {
        SetStatus(InvalidParameter);
        return nullptr;
    }
    return Clone(0, 0, nativeImage->Width(), nativeImage->Height(), PixelFormatDontCare);
}

Bitmap* Bitmap::Clone(const Rect& rect, PixelFormat format)
{
    return Clone(rect.X, rect.Y, rect.Width, rect.Height, format);
}

Bitmap* Bitmap::Clone(INT x, INT y, INT width, INT height, PixelFormat format)
{
    if (!nativeImage || width <= 0 || height <= 0 || x < 0 || y < 0 ||
        x > nativeImage->Width() - width || y > nativeImage->Height() - height ||
        (format != PixelFormatDontCare && format != PixelFormat32bppARGB &&
         format != PixelFormat32bppPARGB)) {
        SetStatus(InvalidParameter);
        return nullptr;
    }
    auto copy = CopyArea(*nativeImage, x, y, width, height);
    if (!copy) {
        SetStatus(OutOfMemory);
        return nullptr;
    }
    return new Bitmap(std::move(copy), Ok);
}

Status Bitmap::GetPixel(INT x, INT y, Color* color)
{
    if (!nativeImage || !color || x < 0 || y < 0 || x >= nativeImage->Width() ||
        y >= nativeImage->Height())
        return SetStatus(InvalidParameter);
    cairo_surface_flush(nativeImage->surface);
    const unsigned char* row =
        cairo_image_surface_get_data(nativeImage->surface) +
        static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(nativeImage->surface);
    std::uint32_t p;
    std::memcpy(&p, row + x * 4, 4);
    color->SetValue(detail::Unpremultiply(p));
    return Ok;
}

Status Bitmap::SetPixel(INT x, INT y, const Color& color)
{
    if (!nativeImage || x < 0 || y < 0 || x >= nativeImage->Width() || y >= nativeImage->Height())
        return SetStatus(InvalidParameter);
    cairo_surface_flush(nativeImage->surface);
    unsigned char* row =
        cairo_image_surface_get_data(nativeImage->surface) +
        static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(nativeImage->surface);
    const std::uint32_t p = detail::Premultiply(color.GetValue());
    std::memcpy(row + x * 4, &p, 4);
    cairo_surface_mark_dirty_rectangle(nativeImage->surface, x, y, 1, 1);
    return Ok;
}

Status Bitmap::LockBits(const Rect* rect, UINT flags, PixelFormat format, BitmapData* data)
{
    if (!nativeImage || !data || nativeImage->locked ||
        (format != PixelFormat32bppARGB && format != PixelFormat32bppPARGB))
        return SetStatus(nativeImage && nativeImage->locked ? WrongState : InvalidParameter);
    const Rect r = rect ? *rect : Rect(0, 0, nativeImage->Width(), nativeImage->Height());
    if (r.Width <= 0 || r.Height <= 0 || r.X < 0 || r.Y < 0 ||
        r.X > nativeImage->Width() - r.Width || r.Y > nativeImage->Height() - r.Height)
        return SetStatus(InvalidParameter);
    detail::ImageData& img = *nativeImage;
    cairo_surface_flush(img.surface);
    const int stride = cairo_image_surface_get_stride(img.surface);
    unsigned char* base =
        cairo_image_surface_get_data(img.surface) + static_cast<ptrdiff_t>(r.Y) * stride + r.X * 4;
    img.locked = true;
    img.lockRect = r;
    img.lockFlags = flags;
    data->Width = static_cast<UINT>(r.Width);
    data->Height = static_cast<UINT>(r.Height);
    data->PixelFormat = format;
    data->Reserved = 0;
    if (format == PixelFormat32bppPARGB) {
        data->Stride = stride;
        data->Scan0 = base;
        return Ok;
    }
    img.lockBuffer.assign(static_cast<size_t>(r.Width) * r.Height, 0);
    if (flags & ImageLockModeRead) {
        for (int y = 0; y < r.Height; ++y) {
            const auto* sp =
                reinterpret_cast<const std::uint32_t*>(base + static_cast<ptrdiff_t>(y) * stride);
            for (int x = 0; x < r.Width; ++x)
                img.lockBuffer[static_cast<size_t>(y) * r.Width + x] = detail::Unpremultiply(sp[x]);
        }
    }
    data->Stride = r.Width * 4;
    data->Scan0 = img.lockBuffer.data();
    data->Reserved = 1;
    return Ok;
}

Status Bitmap::UnlockBits(BitmapData* data)
{
    if (!nativeImage || !data || !nativeImage->locked)
        return SetStatus(nativeImage ? WrongState : InvalidParameter);
    detail::ImageData& img = *nativeImage;
    const Rect r = img.lockRect;
    if (img.lockFlags & ImageLockModeWrite) {
        if (data->Reserved == 1) {
            const int stride = cairo_image_surface_get_stride(img.surface);
            unsigned char* base = cairo_image_surface_get_data(img.surface) +
                                  static_cast<ptrdiff_t>(r.Y) * stride + r.X * 4;
            for (int y = 0; y < r.Height; ++y) {
                auto* dp =
                    reinterpret_cast<std::uint32_t*>(base + static_cast<ptrdiff_t>(y) * stride);
                for (int x = 0; x < r.Width; ++x)
                    dp[x] =
                        detail::Premultiply(img.lockBuffer[static_cast<size_t>(y) * r.Width + x]);
            }
        }
        cairo_surface_mark_dirty_rectangle(img.surface, r.X, r.Y, r.Width, r.Height);
    }
    img.lockBuffer.clear();
    img.locked = false;
    return Ok;
}

// --- brushes and pens ---

Status Brush::GetLastStatus() const
{
    return detail::TakeStatus(lastResult);
}

Status SolidBrush::GetColor(Color* color) const
{
    if (!color)
        return lastResult = InvalidParameter;
    *color = m_color;
    return Ok;
}

Status SolidBrush::SetColor(const Color& color)
{
    m_color = color;
    return Ok;
}

Status Pen::GetColor(Color* color) const
{
    if (!color)
        return lastResult = InvalidParameter;
    *color = m_color;
    return Ok;
}

Status Pen::SetColor(const Color& color)
{
    m_color = color;
    return Ok;
}

Status Pen::SetWidth(REAL width)
{
    m_width = width;
    return Ok;
}

Status Pen::GetLastStatus() const
{
    return detail::TakeStatus(lastResult);
}

} // namespace Gdiplus

namespace platform {

bool SetPictureScale(Gdiplus::Image* picture, double factor)
{
    Gdiplus::detail::ImageData* data = Gdiplus::NativeOf(picture);
    if (!data || !IsUsableScale(factor))
        return false;
    data->scale = factor;
    return true;
}

double PictureScale(Gdiplus::Image* picture)
{
    const Gdiplus::detail::ImageData* data = Gdiplus::NativeOf(picture);
    return data ? data->scale : 1.0;
}

} // namespace platform
