#include "demo/host/ControlBarPictures.h"

#include "demo/host/SkinPicture.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"

#include <cstdio>

using namespace Gdiplus;

namespace demo::bar {

namespace {

bool Save(Bitmap& b, const std::string& folder, const std::string& name)
{
    const std::string path = folder + "/" + name;
    if (platform::SaveImageAsPng(&b, CString::FromPathBytes(path)) != Ok) {
        std::fprintf(stderr, "skinkit-demo-skin: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

void Fill(Graphics& g, ARGB colour, int x, int y, int w, int h)
{
    SolidBrush b{Color(colour)};
    g.FillRectangle(&b, x, y, w, h);
}

bool Solid(const std::string& folder, const char* name, int w, int h, ARGB colour)
{
    Bitmap b(w, h, PixelFormat32bppARGB);
    Graphics g(&b);
    Fill(g, colour, 0, 0, w, h);
    return Save(b, folder, name);
}

// A bordered face: the slider thumbs, plain and at twice the resolution.
bool Knob(const std::string& folder, const char* name, int w, int h, ARGB face, ARGB border)
{
    bool ok = true;
    for (double scale : kSkinPictureScales) {
        SkinPicture picture(w, h, scale);
        Fill(picture.Graphics(), border, 0, 0, w, h);
        Fill(picture.Graphics(), face, 1, 1, w - 2, h - 2);
        ok = picture.Save(folder, name) && ok;
    }
    return ok;
}

bool Digit(const std::string& folder, int d)
{
    // Segments 2 pixels thick on a 12 x 20 cell; unlit segments faintly visible.
    const int w = kDigitWidth, h = kDigitHeight, t = 2, l = 2, r = w - 2 - t, top = 2,
              mid = h / 2 - 1, bottom = h - 2 - t;
    struct Seg
    {
        int x, y, w, h;
    };
    const Seg segs[7] = {
        {l + t, top, r - l - t, t},        {r, top + t, t, mid - top - t},
        {r, mid + t, t, bottom - mid - t}, {l + t, bottom, r - l - t, t},
        {l, mid + t, t, bottom - mid - t}, {l, top + t, t, mid - top - t},
        {l + t, mid, r - l - t, t},
    };
    Bitmap b(w, h, PixelFormat32bppARGB);
    Graphics g(&b);
    Fill(g, kDigitBack, 0, 0, w, h);
    for (int s = 0; s < 7; ++s)
        Fill(g, (kSegments[d] >> s) & 1 ? kDigitOn : kDigitOff, segs[s].x, segs[s].y, segs[s].w,
             segs[s].h);
    char name[32];
    std::snprintf(name, sizeof name, "cb_digit%d.png", d);
    return Save(b, folder, name);
}

void FillF(Graphics& g, ARGB colour, REAL x, REAL y, REAL w, REAL h)
{
    SolidBrush b{Color(colour)};
    g.FillRectangle(&b, x, y, w, h);
}

bool DividedStrip(const std::string& folder, double scale)
{
    // Four frames 100 x 40: normal, hover, disabled, down. Each has a 28-pixel left area with a
    // play mark, a middle face and a 5-pixel right cap.
    const ARGB faces[4] = {0xFF3A5F8Au, 0xFF4F7FB8u, 0xFF8A8F96u, 0xFF23415Fu};
    SkinPicture picture(400, 40, scale);
    Graphics& g = picture.Graphics();
    for (int k = 0; k < 4; ++k) {
        const int x = k * 100;
        Fill(g, 0xFF1E2F45u, x, 0, 100, 40);
        Fill(g, 0xFF2A4566u, x + 1, 1, 26, 38);
        Fill(g, faces[k], x + 28, 1, 67, 38);
        Fill(g, 0xFF142030u, x + 95, 1, 4, 38);
        // The play mark: a triangle built from columns one device pixel wide, so that its
        // slope has as many steps as the picture has columns.
        const int columns = static_cast<int>(10 * scale);
        for (int c = 0; c < columns; ++c) {
            const REAL at = static_cast<REAL>(c / scale);
            FillF(g, 0xFFF0F4F8u, x + 9 + at, 10 + at, static_cast<REAL>(1 / scale), 20 - 2 * at);
        }
    }
    return picture.Save(folder, "cb_divided.png");
}

bool Speaker(const std::string& folder)
{
    Bitmap b(16, 16, PixelFormat32bppARGB);
    Graphics g(&b);
    Fill(g, 0xFFD8DEE4u, 2, 5, 4, 6);
    for (int c = 0; c < 5; ++c)
        Fill(g, 0xFFD8DEE4u, 6 + c, 5 - c, 1, 6 + 2 * c);
    Fill(g, 0xFFE0803Au, 13, 4, 1, 8);
    return Save(b, folder, "cb_icon_volume.png");
}

bool Clock(const std::string& folder)
{
    Bitmap b(16, 16, PixelFormat32bppARGB);
    Graphics g(&b);
    Fill(g, 0xFFD8DEE4u, 1, 1, 14, 14);
    Fill(g, 0xFF1C2229u, 3, 3, 10, 10);
    Fill(g, 0xFF7CFC9Au, 7, 4, 2, 5);
    Fill(g, 0xFF7CFC9Au, 7, 7, 4, 2);
    return Save(b, folder, "cb_icon_time.png");
}

bool Logo(const std::string& folder)
{
    // A framed gradient the image control stretches over itself.
    Bitmap b(64, 32, PixelFormat32bppARGB);
    Graphics g(&b);
    for (int x = 0; x < 64; ++x) {
        const BYTE v = static_cast<BYTE>(0x30 + x * 2);
        SolidBrush col{Color(0xFF, static_cast<BYTE>(v / 2), static_cast<BYTE>(v / 2 + 0x20), v)};
        g.FillRectangle(&col, x, 0, 1, 32);
    }
    Fill(g, 0x80FFFFFFu, 0, 0, 64, 1);
    Fill(g, 0x80000000u, 0, 31, 64, 1);
    return Save(b, folder, "cb_logo.png");
}

} // namespace

bool DrawControlBarPictures(const std::string& folder)
{
    bool ok = Solid(folder, "cb_seek_played.png", 8, 6, kPlayed);
    ok = Solid(folder, "cb_seek_rest.png", 8, 6, kRemaining) && ok;
    ok = Knob(folder, "cb_seek_thumb.png", 12, 16, kThumb, 0xFF606A74u) && ok;
    ok = Solid(folder, "cb_seek_track.png", 8, 16, kTrack) && ok;
    ok = Knob(folder, "cb_vol_thumb.png", 10, 40, kThumb, 0xFF606A74u) && ok;
    {
        // The tiled volume bar: steps that show where each tile starts.
        Bitmap b(10, 8, PixelFormat32bppARGB);
        Graphics g(&b);
        Fill(g, kPlayed, 0, 0, 8, 8);
        ok = Save(b, folder, "cb_vol_bar.png") && ok;
    }
    ok = Solid(folder, "cb_vol_rest.png", 10, 8, kRemaining) && ok;
    for (int d = 0; d < 10; ++d)
        ok = Digit(folder, d) && ok;
    ok = Solid(folder, "cb_digit_back.png", 8, 8, kDigitBack) && ok;
    for (double scale : kSkinPictureScales)
        ok = DividedStrip(folder, scale) && ok;
    ok = Speaker(folder) && ok;
    ok = Clock(folder) && ok;
    ok = Solid(folder, "cb_label_back.png", 8, 8, kLabelBack) && ok;
    ok = Logo(folder) && ok;
    return ok;
}

} // namespace demo::bar
