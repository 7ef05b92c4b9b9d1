// The whole demo window repainted: DemoWindowRepaint builds the demo's window from the sample
// skin exactly as skinkit-demo does (buttons, statics, the video area showing a clip's first
// frame, the playlist of sample files with its scroll bar), invalidates it whole and lets the
// headless window layer repaint it. BareDemoCairoPango composes the same window with Cairo and
// Pango directly: the skin background stretched, the two statics' texts, each skinned button
// composed off screen from its strip frame with its caption, the video frame scaled into a
// black area, the list composed off screen (header, places, lines, separators, texts,
// pictures, check boxes) and the scroll bar with its two arrows, and the control bar and label
// area: the seek and volume sliders (track, bars, thumb), the time in four digit pictures, two
// divided-strip buttons (three pieces and a caption), three labels with icons and the logo
// image control; the two group boxes with their icons, the disabled group's check box and
// note, and the hyperlink.
#include "bench/BenchKit.h"
#include "demo/host/DemoDialog.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string MediaFolder()
{
    return (std::filesystem::temp_directory_path() / "skinkit-bench-demo-media").string();
}

void DemoWindowRepaint(benchmark::State& state)
{
    setenv("SKINKIT_DEMO_MEDIA", MediaFolder().c_str(), 1);
    platform::wnd::HeadlessDriver driver(state.range(0) / 100.0);
    DemoSkin skin;
    skin.images.SetDisplayScale(state.range(0) / 100.0);
    if (!skin.Load(CString::FromUtf8(SKINKIT_DEMO_SKIN_BUILD_DIR))) {
        state.SkipWithError("no sample skin");
        return;
    }
    CDemoDialog dialog(skin);
    // The sample playlist every time, and the user's settings left alone.
    dialog.m_remember = false;
    if (!dialog.CreateDialogWindow()) {
        state.SkipWithError("no window");
        return;
    }
    driver.Pump();
    CRect client;
    dialog.GetClientRect(&client);
    state.counters["width"] = client.Width();
    state.counters["height"] = client.Height();
    for (auto _ : state) {
        dialog.Invalidate();
        driver.Pump();
    }
    dialog.DestroyWindow();
}
// The argument is the display scale in hundredths.
BENCHMARK(DemoWindowRepaint)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// --- the peer ---

// The skin's picture for display scale `scale`: its "@2x" twin where the skin has one and the
// scale is 2 or more (its device scale set, so that it is drawn in logical units), else the
// plain one.
cairo_surface_t* Load(const std::string& name, double scale)
{
    const std::string dir = std::string(SKINKIT_DEMO_SKIN_BUILD_DIR) + "/";
    const std::string twin = dir + name.substr(0, name.size() - 4) + "@2x.png";
    if (scale >= 2 && std::filesystem::exists(twin)) {
        cairo_surface_t* s = cairo_image_surface_create_from_png(twin.c_str());
        cairo_surface_set_device_scale(s, 2, 2);
        return s;
    }
    return cairo_image_surface_create_from_png((dir + name).c_str());
}

// A picture's size in logical pixels.
int W(cairo_surface_t* s)
{
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(s, &sx, &sy);
    return static_cast<int>(cairo_image_surface_get_width(s) / sx);
}
int H(cairo_surface_t* s)
{
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(s, &sx, &sy);
    return static_cast<int>(cairo_image_surface_get_height(s) / sy);
}

// Source (sx, sy, sw, sh) of `image` stretched into (x, y, w, h).
void Part(cairo_t* cr, cairo_surface_t* image, double sx, double sy, double sw, double sh, double x,
          double y, double w, double h, cairo_filter_t filter)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, w / sw, h / sh);
    cairo_set_source_surface(cr, image, -sx, -sy);
    cairo_pattern_set_filter(cairo_get_source(cr), filter);
    cairo_paint(cr);
    cairo_restore(cr);
}

void Whole(cairo_t* cr, cairo_surface_t* image, double x, double y, double w, double h,
           cairo_filter_t filter)
{
    Part(cr, image, 0, 0, W(image), H(image), x, y, w, h, filter);
}

struct Fonts
{
    PangoContext* ctx;
    PangoLayout* layout;
    PangoFontDescription* regular13;
    PangoFontDescription* bold14;
    PangoFontDescription* sans12;
    PangoFontDescription* bold16;
    PangoFontDescription* bold8;
};

// Text aligned in a box by its measured extents (align 0 left, 1 centre), vertically centred.
void Text(cairo_t* cr, Fonts& f, PangoFontDescription* font, const char* text, int x, int y, int w,
          int h, int align, double r, double g, double b)
{
    pango_layout_set_font_description(f.layout, font);
    pango_layout_set_text(f.layout, text, -1);
    PangoRectangle logical;
    pango_layout_get_extents(f.layout, nullptr, &logical);
    const double tw = logical.width / double(PANGO_SCALE);
    const double th = logical.height / double(PANGO_SCALE);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_move_to(cr, align == 1 ? x + (w - tw) / 2 : x, y + (h - th) / 2);
    pango_cairo_show_layout(cr, f.layout);
    cairo_restore(cr);
}

void BareDemoCairoPango(benchmark::State& state)
{
    const int cw = 800, ch = 600;
    // At a display scale the window has scale x the pixels and everything is drawn in logical
    // units through the surface's device scale, from the skin's pictures for that scale.
    const double scale = state.range(0) / 100.0;
    cairo_surface_t* window =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(cw * scale + 0.5),
                                   static_cast<int>(ch * scale + 0.5));
    cairo_surface_set_device_scale(window, scale, scale);
    cairo_surface_t* bg = Load("bg.png", scale);
    cairo_surface_t* push = Load("btn_push.png", scale);
    cairo_surface_t* toggle = Load("btn_toggle.png", scale);
    cairo_surface_t* round = Load("btn_round.png", scale);
    cairo_surface_t* glyph = Load("chk_glyph.png", scale);
    cairo_surface_t* header = Load("list_header.png", scale);
    cairo_surface_t* row = Load("list_row.png", scale);
    cairo_surface_t* lineTop = Load("list_line_top.png", scale);
    cairo_surface_t* lineBottom = Load("list_line_bottom.png", scale);
    cairo_surface_t* sep = Load("list_sep.png", scale);
    cairo_surface_t* checkOn = Load("list_check_on.png", scale);
    cairo_surface_t* track = Load("scroll_track.png", scale);
    cairo_surface_t* thumb = Load("scroll_thumb.png", scale);
    cairo_surface_t* up = Load("scroll_up.png", scale);
    cairo_surface_t* down = Load("scroll_down.png", scale);
    cairo_surface_t* seekPlayed = Load("cb_seek_played.png", scale);
    cairo_surface_t* seekRest = Load("cb_seek_rest.png", scale);
    cairo_surface_t* seekThumb = Load("cb_seek_thumb.png", scale);
    cairo_surface_t* seekTrack = Load("cb_seek_track.png", scale);
    cairo_surface_t* volThumb = Load("cb_vol_thumb.png", scale);
    cairo_surface_t* volBar = Load("cb_vol_bar.png", scale);
    cairo_surface_t* volRest = Load("cb_vol_rest.png", scale);
    cairo_surface_t* digit = Load("cb_digit0.png", scale);
    cairo_surface_t* digitBack = Load("cb_digit_back.png", scale);
    cairo_surface_t* divided = Load("cb_divided.png", scale);
    cairo_surface_t* icon = Load("cb_icon_time.png", scale);
    cairo_surface_t* labelBack = Load("cb_label_back.png", scale);
    cairo_surface_t* logo = Load("cb_logo.png", scale);
    // Stand-ins for the clip's first frame and its thumbnail, painted so that Cairo draws them.
    cairo_surface_t* frame = benchkit::SolidSurface(160, 120, 0.25, 0.35, 0.45);
    cairo_surface_t* thumbnail = benchkit::SolidSurface(29, 22, 0.25, 0.35, 0.45);
    Fonts f{};
    f.ctx = benchkit::TextContext(false);
    f.layout = pango_layout_new(f.ctx);
    f.regular13 = benchkit::Font("Liberation Sans", 13);
    f.bold14 = benchkit::Font("Liberation Sans Bold", 14);
    f.bold16 = benchkit::Font("Liberation Sans Bold", 16);
    f.bold8 = benchkit::Font("Liberation Sans Bold", 8);
    f.sans12 = benchkit::Font("Sans", 12);

    struct Button
    {
        const char* text;
        cairo_surface_t* strip;
        int frames, x, y, w, h;
    };
    const Button buttons[] = {{"Play", push, 4, 20, 50, 96, 28},
                              {"Stop", push, 4, 130, 50, 96, 28},
                              {"Repeat", toggle, 4, 240, 50, 96, 28},
                              {"Record", push, 4, 240, 96, 96, 28},
                              {"", round, 6, 180, 94, 32, 32}};
    const char* names[] = {"Harbour at dawn", "City lights (MJPEG)", "Garden path",
                           "Night train (MJPEG)"};
    const int colLeft[6] = {0, 44, 334, 404, 494, 700};
    const int colWidth[6] = {44, 290, 70, 90, 206, 80};
    const char* headers[6] = {"#", "Name", "", "Duration", "Streams", ""};
    struct Group
    {
        const char* text;
        int x, y, w, h;
    };
    const Group groups[] = {{"Buttons", 10, 36, 340, 140}, {"Disabled group", 10, 295, 190, 35}};
    cairo_surface_t* groupIcon = benchkit::SolidSurface(16, 16, 0.9, 0.7, 0.2, 0.8);
    for (auto _ : state) {
        cairo_t* cr = cairo_create(window);
        Whole(cr, bg, 0, 0, cw, ch, CAIRO_FILTER_BILINEAR);
        Text(cr, f, f.sans12, "skinkit demo: skinned buttons", 16, 8, 324, 20, 0, 0.9, 0.93, 0.95);
        Text(cr, f, f.sans12, "Move the mouse over a button, click it.", 20, 150, 316, 20, 0, 0.98,
             0.84, 0.47);
        for (const Button& b : buttons)
            benchkit::Child(cr, b.x, b.y, b.w, b.h, [&](cairo_t* c) {
                const int fw = W(b.strip) / b.frames;
                Part(c, b.strip, 0, 0, fw, H(b.strip), 0, 0, b.w, b.h, CAIRO_FILTER_BILINEAR);
                if (*b.text)
                    Text(c, f, f.bold14, b.text, 0, 0, b.w, b.h, 1, 0.94, 0.96, 0.97);
            });
        benchkit::Child(cr, 20, 100, 140, 20, [&](cairo_t* c) {
            Part(c, glyph, 0, 0, W(glyph) / 4, H(glyph), 0, 2, W(glyph) / 4, H(glyph),
                 CAIRO_FILTER_BILINEAR);
            Text(c, f, f.bold14, "Subtitles", 19, 0, 121, 20, 0, 0.9, 0.93, 0.95);
        });
        benchkit::Child(cr, 370, 10, 420, 320, [&](cairo_t* c) {
            cairo_set_source_rgb(c, 0, 0, 0);
            cairo_paint(c);
            Whole(c, frame, 0, 2, 420, 315, CAIRO_FILTER_BILINEAR);
        });
        // The list: 768 wide beside its 12-pixel bar, header 26, 4 places of 30 and a cut one.
        benchkit::Child(cr, 10, 340, 768, 170, [&](cairo_t* c) {
            Whole(c, header, 0, 0, 780, 26, CAIRO_FILTER_NEAREST);
            Whole(c, lineTop, 0, 0, 780, 1, CAIRO_FILTER_NEAREST);
            Whole(c, lineBottom, 0, 25, 780, 1, CAIRO_FILTER_NEAREST);
            for (int y = 26; y < 170; y += 30) {
                const int rem = std::min(30, 170 - y);
                Part(c, row, 0, 0, W(row), H(row) * rem / 30, 0, y, 780, rem, CAIRO_FILTER_NEAREST);
                Whole(c, lineTop, 0, y, 780, 1, CAIRO_FILTER_NEAREST);
                if (rem >= 29)
                    Whole(c, lineBottom, 0, y + 29, 780, 1, CAIRO_FILTER_NEAREST);
            }
            for (int j = 0; j < 6; ++j) {
                Whole(c, sep, colLeft[j] + colWidth[j] - 1, 0, 1, 170, CAIRO_FILTER_NEAREST);
                if (j < 5)
                    Text(c, f, f.regular13, headers[j], colLeft[j], 1, colWidth[j], 24,
                         j == 1 ? 0 : 1, 0.78, 0.84, 0.89);
            }
            Whole(c, checkOn, 732, 5, 16, 16, CAIRO_FILTER_NEAREST);
            for (int r = 0; r < 4; ++r) {
                const int y = 26 + r * 30;
                const std::string number = std::to_string(r + 1);
                Text(c, f, f.regular13, number.c_str(), 0, y + 1, 44, 28, 1, 0.86, 0.89, 0.93);
                Text(c, f, f.regular13, names[r], 44, y + 1, 290, 28, 0, 0.86, 0.89, 0.93);
                Text(c, f, f.regular13, "0:04.0", 404, y + 1, 90, 28, 1, 0.86, 0.89, 0.93);
                Text(c, f, f.regular13, "video 160x120 MJPG, audio", 494, y + 1, 206, 28, 1, 0.86,
                     0.89, 0.93);
                cairo_set_source_surface(c, thumbnail, 354, y + 4);
                cairo_paint(c);
                Whole(c, checkOn, 732, y + 7, 16, 16, CAIRO_FILTER_NEAREST);
            }
        });
        benchkit::Child(cr, 778, 340, 12, 170, [&](cairo_t* c) {
            Whole(c, track, 0, 12, 12, 146, CAIRO_FILTER_NEAREST);
            Whole(c, thumb, 1, 13, 10, 72, CAIRO_FILTER_NEAREST);
        });
        benchkit::Child(cr, 778, 340, 12, 12, [&](cairo_t* c) {
            Part(c, up, 0, 0, 12, 12, 0, 0, 12, 12, CAIRO_FILTER_BILINEAR);
        });
        benchkit::Child(cr, 778, 498, 12, 12, [&](cairo_t* c) {
            Part(c, down, 0, 0, 12, 12, 0, 0, 12, 12, CAIRO_FILTER_BILINEAR);
        });
        // The control bar (panel at 10, 520) and the label area (panel at 10, 220).
        benchkit::Child(cr, 10, 526, 640, 16, [&](cairo_t* c) {
            Whole(c, seekTrack, 0, 0, 640, 16, CAIRO_FILTER_NEAREST);
            Whole(c, seekRest, 6, 5, 628, 6, CAIRO_FILTER_NEAREST);
            Whole(c, seekThumb, 0, 0, 12, 16, CAIRO_FILTER_NEAREST);
        });
        benchkit::Child(cr, 430, 560, 200, 20, [&](cairo_t* c) {
            Whole(c, seekTrack, 0, 0, 200, 20, CAIRO_FILTER_NEAREST);
            for (int x = 0; x < 140; x += 10)
                Whole(c, volBar, x, 6, 10, 8, CAIRO_FILTER_NEAREST);
            Whole(c, volRest, 140, 6, 60, 8, CAIRO_FILTER_NEAREST);
            Whole(c, volThumb, 135, 0, 10, 20, CAIRO_FILTER_NEAREST);
        });
        benchkit::Child(cr, 670, 522, 96, 24, [&](cairo_t* c) {
            Whole(c, digitBack, 0, 0, 96, 24, CAIRO_FILTER_NEAREST);
            for (int d = 0; d < 4; ++d)
                Whole(c, digit, d * 24, 0, 24, 24, CAIRO_FILTER_NEAREST);
        });
        for (const int h : {40, 20})
            benchkit::Child(cr, h == 40 ? 10 : 210, h == 40 ? 550 : 560, 180, h, [&](cairo_t* c) {
                const double k = h / 40.0; // pieces scale with the height
                Part(c, divided, 0, 0, 25, 40, 0, 0, 25 * k, h, CAIRO_FILTER_BILINEAR);
                Part(c, divided, 25, 0, 50, 40, 25 * k, 0, 180 - 50 * k, h, CAIRO_FILTER_BILINEAR);
                Part(c, divided, 75, 0, 25, 40, 180 - 25 * k, 0, 25 * k, h, CAIRO_FILTER_BILINEAR);
                Text(c, f, h == 40 ? f.bold16 : f.bold8, "Open file", 0, 0, 180, h, 1, 0.94, 0.96,
                     0.97);
            });
        const char* labels[3] = {"Position", "Volume", "Subtitle delay"};
        for (int l = 0; l < 3; ++l)
            benchkit::Child(cr, 10, 220 + 24 * l, 180, 20, [&](cairo_t* c) {
                Part(c, labelBack, 0, 0, 8, 8, 0, 0, 180, 20, CAIRO_FILTER_NEAREST);
                if (l < 2)
                    Whole(c, icon, 2, 2, 16, 16, CAIRO_FILTER_NEAREST);
                Text(c, f, f.regular13, labels[l], 22, 0, 158, 20, l == 2 ? 1 : 0, 0.9, 0.93, 0.95);
            });
        benchkit::Child(cr, 210, 220, 150, 70, [&](cairo_t* c) {
            Part(c, labelBack, 0, 0, 8, 8, 0, 0, 150, 70, CAIRO_FILTER_NEAREST);
            Whole(c, logo, 43, 19, 64, 32, CAIRO_FILTER_NEAREST);
            Text(c, f, f.bold16, "skinkit", 0, 0, 150, 70, 1, 0.98, 0.84, 0.47);
        });
        // The two group boxes, double-buffered over what the window shows: the parent's pixels
        // copied in, an etched frame of two 1-pixel rectangles, the header band with its icon and
        // text; the disabled group's check box and note, and the link on its dialog-colour box.
        for (const Group& gb : groups)
            benchkit::Child(cr, gb.x, gb.y, gb.w, gb.h, [&](cairo_t* c) {
                cairo_set_source_surface(c, window, -gb.x, -gb.y);
                cairo_paint(c);
                cairo_set_line_width(c, 1);
                cairo_set_source_rgb(c, 0.5, 0.5, 0.5);
                cairo_rectangle(c, 0.5, 7.5, gb.w - 2, gb.h - 9);
                cairo_stroke(c);
                cairo_set_source_rgb(c, 1, 1, 1);
                cairo_rectangle(c, 1.5, 8.5, gb.w - 2, gb.h - 9);
                cairo_stroke(c);
                cairo_set_source_rgb(c, 0.16, 0.2, 0.25);
                cairo_rectangle(c, 8, 0, 90, 16);
                cairo_fill(c);
                Whole(c, groupIcon, 10, 0, 16, 16, CAIRO_FILTER_NEAREST);
                Text(c, f, f.bold14, gb.text, 28, 0, 70, 16, 0, 0.9, 0.93, 0.95);
            });
        for (const Group& box :
             {Group{"Option", 20, 311, 80, 16}, Group{"Read the README", 215, 305, 140, 18}})
            benchkit::Child(cr, box.x, box.y, box.w, box.h, [&](cairo_t* c) {
                cairo_set_source_rgb(c, 0.94, 0.94, 0.94);
                cairo_paint(c);
                Text(c, f, f.regular13, box.text, 16, 0, box.w - 16, box.h, 0, 0.47, 0.7, 1);
            });
        Text(cr, f, f.regular13, "Inside it", 110, 311, 80, 16, 0, 0.43, 0.43, 0.43);
        cairo_destroy(cr);
        benchmark::DoNotOptimize(window);
    }
    for (cairo_surface_t* s : {seekPlayed, seekRest, seekThumb, seekTrack, volThumb, volBar,
                               volRest, digit, digitBack, divided, icon, labelBack, logo})
        cairo_surface_destroy(s);
    pango_font_description_free(f.bold16);
    pango_font_description_free(f.bold8);
    g_object_unref(f.layout);
    pango_font_description_free(f.regular13);
    pango_font_description_free(f.bold14);
    pango_font_description_free(f.sans12);
    g_object_unref(f.ctx);
    for (cairo_surface_t* s :
         {window, bg, push, toggle, round, glyph, header, row, lineTop, lineBottom, sep, checkOn,
          track, thumb, up, down, frame, thumbnail, groupIcon})
        cairo_surface_destroy(s);
}
BENCHMARK(BareDemoCairoPango)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace
