// Draws the sample skin's pictures with the library's own drawing surface and writes them as
// PNG files: the demo's skin is made by the project, from nothing but these numbers.
//
//     skinkit-demo-skin OUTPUT_FOLDER
//
// Every frame is a solid face with a one-pixel border and a lighter top line, so that a probe
// anywhere inside a frame's face reads the face colour (the demo's display test relies on
// the push strip's hover face, 0xFF4F7FB8). The buttons' pictures are also drawn at twice the
// resolution, as "@2x" files beside the plain ones.
#include "demo/host/ControlBarPictures.h"
#include "demo/host/PlaylistSkin.h"
#include "demo/host/SkinColours.h"
#include "demo/host/SkinPicture.h"
#include "platform/gdiplus/Gdiplus.h"

#include <cstdio>
#include <string>

using namespace Gdiplus;

namespace {

void Frame(Graphics& g, int x, int y, int w, int h, ARGB face, ARGB border)
{
    SolidBrush b{Color(border)};
    g.FillRectangle(&b, x, y, w, h);
    SolidBrush f{Color(face)};
    g.FillRectangle(&f, x + 1, y + 1, w - 2, h - 2);
    const ARGB light = 0xFF000000u | (((face >> 1) & 0x7F7F7F) + 0x7F7F7F);
    SolidBrush l{Color(light)};
    g.FillRectangle(&l, x + 1, y + 1, w - 2, 1);
}

bool Strip(const std::string& folder, const char* name, const demo::FrameColours* frames, int count,
           int w, int h, double scale)
{
    demo::SkinPicture picture(w * count, h, scale);
    for (int k = 0; k < count; ++k)
        Frame(picture.Graphics(), k * w, 0, w, h, frames[k].face, frames[k].border);
    return picture.Save(folder, name);
}

bool Glyphs(const std::string& folder, double scale)
{
    // Unchecked, unchecked under the mouse, disabled, checked: a box, and a tick when checked.
    demo::SkinPicture picture(16 * 4, 16, scale);
    Graphics& g = picture.Graphics();
    for (int k = 0; k < 4; ++k) {
        Frame(g, k * 16, 0, 16, 16, demo::kGlyph[k].face, demo::kGlyph[k].border);
        if (k == 3) {
            Pen tick(Color(demo::kTick), 2.0f);
            g.DrawLine(&tick, k * 16 + 4, 8, k * 16 + 7, 11);
            g.DrawLine(&tick, k * 16 + 7, 11, k * 16 + 12, 4);
        }
    }
    return picture.Save(folder, "chk_glyph.png");
}

bool Background(const std::string& folder, double scale)
{
    // A vertical gradient under a dark title band, as large as the window.
    const int w = demo::kWindowWidth, h = demo::kWindowHeight;
    demo::SkinPicture picture(w, h, scale);
    Graphics& g = picture.Graphics();
    for (int y = 0; y < h; ++y) {
        const int t = y * 255 / (h - 1);
        const auto mix = [t](int a, int c) { return static_cast<BYTE>(a + (c - a) * t / 255); };
        SolidBrush row{Color(mix(0x2A, 0x12), mix(0x34, 0x16), mix(0x40, 0x1C))};
        g.FillRectangle(&row, 0, y, w, 1);
    }
    SolidBrush band{Color(0xFF0F1318u)};
    g.FillRectangle(&band, 0, 0, w, 34);
    return picture.Save(folder, "bg.png");
}

bool Transparent(const std::string& folder)
{
    return demo::SkinPicture(1, 1).Save(folder, "transparent.png");
}

bool FocusPicture(const std::string& folder)
{
    // 5 x 5: two rings around one clear pixel, which stretches over the control's middle.
    const int size = 4 * demo::kFocusRing + 1;
    demo::SkinPicture picture(size, size);
    Graphics& g = picture.Graphics();
    SolidBrush outer{Color(demo::kFocusOuter)};
    g.FillRectangle(&outer, 0, 0, size, size);
    g.SetCompositingMode(CompositingModeSourceCopy);
    const int r = demo::kFocusRing;
    SolidBrush inner{Color(demo::kFocusInner)};
    g.FillRectangle(&inner, r, r, size - 2 * r, size - 2 * r);
    SolidBrush clear{Color(0x00000000u)};
    g.FillRectangle(&clear, 2 * r, 2 * r, size - 4 * r, size - 4 * r);
    return picture.Save(folder, "focus.png");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: skinkit-demo-skin OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string out = argv[1];
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    GdiplusStartup(&token, &input, nullptr);
    bool ok = true;
    for (double scale : demo::kSkinPictureScales) {
        ok = Strip(out, "btn_push.png", demo::kPush, 4, demo::kPushWidth, demo::kPushHeight,
                   scale) &&
             ok;
        ok = Strip(out, "btn_toggle.png", demo::kToggle, 4, demo::kPushWidth, demo::kPushHeight,
                   scale) &&
             ok;
        ok = Strip(out, "btn_round.png", demo::kRound, 6, demo::kRoundSize, demo::kRoundSize,
                   scale) &&
             ok;
        ok = Glyphs(out, scale) && ok;
        // The window's background too: at a scale without its own picture, every repaint
        // would filter the whole window up from the plain one.
        ok = Background(out, scale) && ok;
    }
    ok = Transparent(out) && ok;
    ok = FocusPicture(out) && ok;
    ok = demo::DrawPlaylistPictures(out) && ok;
    ok = demo::bar::DrawControlBarPictures(out) && ok;
    GdiplusShutdown(token);
    return ok ? 0 : 1;
}
