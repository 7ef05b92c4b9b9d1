// The demo's player through the headless window layer: the sample files as the reader sees
// them, and a double click on the playlist playing a file in the video area at its rate.
#include "demo/host/DemoDialog.h"
#include "demo/host/SkinColours.h"
#include "platform/wnd/headless/HeadlessDriver.h"
#include "tests/TestKit.h"
#include "tests/gdiplus/PixelProbe.h"
#include "util/chooser/Chooser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>

using platform::wnd::HeadlessDriver;

namespace {

// The demo remembers its playlist, volume and place: each test program keeps them in a
// folder of its own, never the user's settings.
const testkit::TempDir g_settings{"skinkit_demo_settings"};
const int g_settingsSet = setenv("SKINKIT_SETTINGS_DIR", g_settings.Path().c_str(), 1);

// The sample files read back and decode; a sample that cannot be completed leaves no file under
// its name, so the next run makes it and leaves the others as they were.
TEST(DemoSamples, ReadBackDecodedAndRemadeWhenMissing)
{
    HeadlessDriver driver; // graphics started
    const testkit::TempDir tmp{"skinkit_demo_media"};
    const std::string folder = tmp.File("not yet made");
    // A folder where the sample's temporary file would go makes its writing fail.
    std::filesystem::create_directories(folder + "/Garden path.avi.part/blocker");
    const size_t made = demo::MakeSampleMedia(folder).size();
    EXPECT_FALSE(std::filesystem::exists(folder + "/Garden path.avi"));
    std::filesystem::remove_all(folder + "/Garden path.avi.part");
    const auto before = std::filesystem::last_write_time(folder + "/Harbour at dawn.avi");
    const std::vector<std::string> files = demo::MakeSampleMedia(folder);
    ASSERT_EQ(std::pair(made, files.size()), std::pair(size_t{7}, size_t{8}));
    EXPECT_EQ(std::filesystem::last_write_time(files.front()), before);
    for (const std::string& file : files) {
        demo::AviClip clip;
        ASSERT_TRUE(clip.Open(file)) << file;
        // Frames differ as the picture moves, and decode whole.
        auto first = clip.Frame(0), later = clip.Frame(clip.FrameCount() - 1);
        ASSERT_TRUE(first && later) << file;
        EXPECT_EQ(std::pair(first->GetWidth(), first->GetHeight()), std::pair(160u, 120u));
        EXPECT_NE(PixelAt(*first, 5, 5), PixelAt(*later, 5, 5)) << file;
        EXPECT_EQ(clip.Frame(clip.FrameCount()), nullptr);
        // Played frames are written into the picture shown before (its pixels are the display
        // test's, against ffmpeg's).
        std::unique_ptr<Gdiplus::Bitmap> shown;
        ASSERT_TRUE(clip.FrameFittedInto(0, 80, 80, shown));
        const Gdiplus::Bitmap* const kept = shown.get();
        ASSERT_TRUE(clip.FrameFittedInto(clip.FrameCount() - 1, 80, 80, shown));
        EXPECT_EQ(std::tuple(shown.get(), shown->GetWidth(), shown->GetHeight()),
                  std::tuple(kept, 80u, 60u));
        EXPECT_FALSE(clip.FrameFittedInto(clip.FrameCount(), 80, 80, shown));
    }
}

// The demo's dialog on the headless layer with the built skin; the sample files are made in
// the test's own folder.
class DemoPlayer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("SKINKIT_DEMO_MEDIA", tmp.Path().c_str(), 1);
        ASSERT_TRUE(skin.Load(CString::FromUtf8(SKINKIT_DEMO_SKIN_BUILD_DIR)));
    }
    const testkit::TempDir tmp{"skinkit_demo_media"};
    HeadlessDriver driver;
    DemoSkin skin;
};

// The first file, with sound, plays on the sound's clock (the null output, headless); the Play
// button pauses it, and paused the player wakes nothing: no timer message reaches the video
// area. A double click on the playlist plays that row at its file's rate, and at its end the
// next checked row.
TEST_F(DemoPlayer, DoubleClickPlaysTheRowAtTheFilesRate)
{
    CDemoDialog dialog(skin);
    // The sample files, not the playlist an earlier test of this program left remembered
    // (its files are gone with that test's folder).
    dialog.m_remember = false;
    ASSERT_TRUE(dialog.CreateDialogWindow());
    driver.Pump();
    CCtrlListbox& list = dialog.m_player.playlist.m_list;
    CDemoVideoArea& video = dialog.m_player.video;
    // The timer messages the recorded window was sent.
    const auto timers = [&] {
        return std::count_if(driver.Recorded().begin(), driver.Recorded().end(),
                             [](const MSG& m) { return m.message == WM_TIMER; });
    };
    ASSERT_GE(list.GetItemCount(), 6);
    EXPECT_EQ(list.GetCheckedCount(), list.GetItemCount());
    EXPECT_FALSE(video.IsPlaying());
    EXPECT_STREQ(video.Sink().Name(), "no audio device");
    driver.Click(dialog.m_btnPlay.m_hWnd, {5, 5});
    ASSERT_TRUE(video.IsPlaying());
    const int from = video.PositionMs();
    driver.AdvanceTime(1000);
    // Frames are 40 ms: the one shown started within a frame of a second later.
    EXPECT_NEAR(video.PositionMs() - from, 1000, 80);
    driver.Click(dialog.m_btnPlay.m_hWnd, {5, 5});
    ASSERT_FALSE(video.IsPlaying());
    const int paused = video.PositionMs();
    driver.Record(video.m_hWnd);
    driver.AdvanceTime(5000);
    EXPECT_EQ(std::pair(timers(), video.PositionMs()), std::pair(0L, paused));
    driver.Click(dialog.m_btnPlay.m_hWnd, {5, 5}); // again: the timer comes back, and is seen
    driver.AdvanceTime(100);
    EXPECT_GT(timers(), 0);

    // Row 1 (the second file, MJPEG at 15 frames a second): header 26, rows 30 high.
    driver.DoubleClick(list.m_hWnd, {150, 26 + 30 + 15});
    EXPECT_EQ(std::pair(list.GetIndicatedItem(), list.m_nPlayStatus), std::pair(1, 1));
    ASSERT_TRUE(video.IsPlaying());
    std::vector<int> positions;
    video.onPosition = [&](int ms, int) { positions.push_back(ms); };
    driver.AdvanceTime(1000);
    // About 15 frames a second, each reported.
    EXPECT_TRUE(positions.size() >= 13u && positions.size() <= 16u) << positions.size();
    EXPECT_GT(video.PositionMs(), 800);
    video.SeekTo(500);
    EXPECT_EQ(video.PositionMs(), 466); // frame 7 of 66.7 ms
    // At its end the next checked row plays; unchecked rows are passed over.
    list.SetCheck(2, 0);
    driver.AdvanceTime(4000);
    EXPECT_TRUE(list.GetIndicatedItem() == 3 && video.IsPlaying());
    // After the last checked row playback stops and the list shows the paused icon.
    for (int i = 4; i < list.GetItemCount(); ++i)
        list.SetCheck(i, 0);
    driver.AdvanceTime(5000);
    EXPECT_EQ(std::tuple(video.IsPlaying(), list.GetIndicatedItem(), list.m_nPlayStatus),
              std::tuple(false, 3, 0));
    dialog.DestroyWindow();
}

// The chooser the Open buttons show, standing in for the desktop's: answers the set paths (the
// first alone as a single choice) and remembers what it was asked.
class FakeChooser : public chooser::Backend
{
public:
    std::vector<std::string> paths;
    std::vector<chooser::Request> asked;
    const char* Name() const override { return "fake"; }
    chooser::Answer Choose(const chooser::Request& r) override
    {
        asked.push_back(r);
        if (paths.empty())
            return {chooser::Answer::Result::Cancelled, {}};
        if (!r.multiple)
            return {chooser::Answer::Result::Chosen, paths.front()};
        return {chooser::Answer::Result::Chosen, paths.front(), paths};
    }
    chooser::Answer Ask(const chooser::Question&) override { return {}; }
};

// Files named at the start play at once, a file the reader refuses gets an unchecked row
// that says why, and the Open buttons add files (several at once) or a folder's files through
// the chooser. Volume, last folder, playlist and window place come back at the next start;
// files named at that start take the playlist's place.
TEST_F(DemoPlayer, NamedFilesAndTheOpenButtonsFillThePlaylistTheNextStartRestores)
{
    const std::vector<std::string> samples = demo::MakeSampleMedia(tmp.File("samples"));
    ASSERT_GE(samples.size(), 3u);
    const auto paths = [](CDemoDialog& d) {
        std::vector<std::string> rows;
        for (const player::PlaylistEntry& e : d.m_player.playlist.Entries())
            rows.push_back(e.path);
        return rows;
    };
    std::vector<std::string> rows;
    {
        CDemoDialog dialog(skin);
        dialog.m_files = {tmp.Write("junk.avi", std::string("not a video at all")), samples[2]};
        ASSERT_TRUE(dialog.CreateDialogWindow());
        driver.Pump();
        CCtrlListbox& list = dialog.m_player.playlist.m_list;
        ASSERT_EQ(list.GetItemCount(), 2);
        // Checked, greyed; the first playable file plays at once, and a double click on the
        // refused row plays nothing and leaves playback, and the row shown playing, as they were.
        EXPECT_EQ(std::tuple(list.GetCheck(0), list.GetCheck(1), list.IsItemDisabled(0),
                             list.IsItemDisabled(1), list.GetIndicatedItem()),
                  std::tuple(0, 1, 1, 0, 1));
        EXPECT_EQ(list.GetItemToolTip(0).ToUtf8(),
                  "cannot play: not an AVI file this reader understands");
        driver.DoubleClick(list.m_hWnd, {150, 26 + 15});
        EXPECT_EQ(std::pair(dialog.m_player.video.IsPlaying(), list.GetIndicatedItem()),
                  std::pair(true, 1));

        FakeChooser fake;
        chooser::SetBackend(&fake);
        fake.paths = {samples[0], samples[1]};
        driver.Click(dialog.m_controlBar.m_btnOpen.m_hWnd, {5, 5});
        fake.paths = {tmp.File("samples")};
        driver.Click(dialog.m_controlBar.m_btnOpenSmall.m_hWnd, {3, 3});
        fake.paths.clear(); // cancelled: nothing added
        driver.Click(dialog.m_controlBar.m_btnOpen.m_hWnd, {5, 5});
        chooser::SetBackend(nullptr);
        ASSERT_EQ(fake.asked.size(), 3u);
        EXPECT_EQ(std::pair(fake.asked[0].kind, fake.asked[1].kind),
                  std::pair(chooser::Request::Kind::OpenFile, chooser::Request::Kind::Folder));
        // The next chooser opens where the last one was left.
        EXPECT_EQ(fake.asked[1].initialFolder, tmp.File("samples"));
        rows = paths(dialog);
        ASSERT_EQ(rows.size(), 4 + samples.size());
        EXPECT_EQ(std::pair(rows[2], rows[3]), std::pair(samples[0], samples[1]));
        EXPECT_EQ(list.GetCheckedCount(), static_cast<int>(3 + samples.size()));
        dialog.m_controlBar.m_sldVolume.SetPos(35);
        dialog.MoveWindow(123, 45, 800, 600);
        dialog.DestroyWindow();
    }
    for (const std::vector<std::string>& named : {std::vector<std::string>{}, {samples[1]}}) {
        CDemoDialog again(skin);
        again.m_files = named;
        ASSERT_TRUE(again.CreateDialogWindow());
        EXPECT_EQ(paths(again), named.empty() ? rows : named);
        EXPECT_EQ(std::pair(again.m_controlBar.m_sldVolume.GetPos(), again.m_player.video.Volume()),
                  std::pair(35, 35));
        EXPECT_EQ(again.m_player.lastFolder, tmp.File("samples"));
        CRect r;
        again.GetWindowRect(&r);
        EXPECT_EQ(std::pair(static_cast<int>(r.left), static_cast<int>(r.top)), std::pair(123, 45));
        // The restored playlist waits for the user; named files play.
        EXPECT_EQ(again.m_player.video.IsPlaying(), !named.empty());
        again.DestroyWindow();
    }
}

// The sample files go to the user's cache, never the working folder.
TEST(DemoSamples, FolderFollowsTheOverrideThenTheCacheRules)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "/h", 1);
    // SKINKIT_DEMO_MEDIA, XDG_CACHE_HOME (null: unset) → the folder. An empty SKINKIT_DEMO_MEDIA
    // counts as unset: the program's test runs it so.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/m/here", "/c", "/m/here"},
        {nullptr, "/c", "/c/skinkit"},
        {nullptr, "relative", "/h/.cache/skinkit"}, // to be ignored, say the XDG rules
        {nullptr, nullptr, "/h/.cache/skinkit"},
    };
    const auto set = [](const char* name, const char* value) {
        value ? setenv(name, value, 1) : unsetenv(name);
    };
    for (const auto& [media, cache, folder] : cases) {
        set("SKINKIT_DEMO_MEDIA", media);
        set("XDG_CACHE_HOME", cache);
        EXPECT_EQ(DemoMediaFolder(), folder)
            << (media ? media : "-") << " " << (cache ? cache : "-");
    }
    setenv("HOME", home.c_str(), 1); // the last case left the other two unset
}

// From the keyboard: Space plays and pauses whatever has the focus, Tab walks every control
// in order, repainting only the one it leaves and the one it reaches, and the focused control
// shows the skin's focus picture (opaque outer ring at its edge, its middle untouched) only
// once the keyboard was used; the arrows on the seek slider seek.
TEST_F(DemoPlayer, TabWalksEveryControlShowingTheSkinsFocusAndArrowsSeek)
{
    CDemoDialog dialog(skin);
    dialog.m_remember = false; // the sample files, whatever an earlier test left
    ASSERT_TRUE(dialog.CreateDialogWindow());
    driver.Pump();
    CDemoVideoArea& video = dialog.m_player.video;
    CControlBar& bar = dialog.m_controlBar;
    driver.Click(dialog.m_btnStop.m_hWnd, {5, 5}); // the mouse gives the focus, unshown
    EXPECT_EQ(driver.Focus(), dialog.m_btnStop.m_hWnd);
    const auto ring = [&](CWnd& w, int x, int y) { return driver.PixelAt(w.m_hWnd, {x, y}); };
    CRect stop;
    dialog.m_btnStop.GetClientRect(&stop);
    EXPECT_NE(ring(dialog.m_btnStop, 0, stop.Height() / 2), demo::kFocusOuter);
    driver.Key(VK_SPACE);
    EXPECT_TRUE(video.IsPlaying());
    driver.Key(VK_SPACE);
    EXPECT_FALSE(video.IsPlaying());
    // Record (disabled) and the option of the disabled group are passed over.
    CWnd* order[] = {&dialog.m_btnRepeat,
                     &dialog.m_chkSubtitles,
                     &dialog.m_btnMute,
                     &bar.m_sldSeek,
                     &bar.m_sldVolume,
                     &bar.m_btnOpen,
                     &bar.m_btnOpenSmall,
                     &dialog.m_player.playlist.m_list,
                     &dialog.m_groups.m_lnkReadme,
                     &dialog.m_btnPlay,
                     &dialog.m_btnStop};
    CWnd* from = &dialog.m_btnStop;
    for (CWnd* to : order) {
        driver.ClearPaints();
        driver.Key(VK_TAB);
        ASSERT_EQ(driver.Focus(), to->m_hWnd) << to->GetDlgCtrlID();
        driver.Pump();
        for (CWnd* w : order)
            EXPECT_EQ(driver.Paints(w->m_hWnd), w == from || w == to)
                << w->GetDlgCtrlID() << " after Tab to " << to->GetDlgCtrlID();
        // The check box's face leaves the background to the dialog, which repaints under it.
        const bool under = from == &dialog.m_chkSubtitles || to == &dialog.m_chkSubtitles;
        EXPECT_EQ(driver.Paints(dialog.m_hWnd), under) << to->GetDlgCtrlID();
        CRect r;
        to->GetClientRect(&r);
        EXPECT_EQ(ring(*to, 0, r.Height() / 2), demo::kFocusOuter) << to->GetDlgCtrlID();
        EXPECT_NE(ring(*from, 0, 0), demo::kFocusOuter) << from->GetDlgCtrlID();
        from = to;
    }
    // The middle is the control's own: the push face, as without the focus.
    EXPECT_EQ(ring(dialog.m_btnStop, stop.Width() / 2, 3), demo::kPush[0].face);

    // The first sample lasts 3 seconds at 25 frames a second: each second is a frame's start.
    while (driver.Focus() != bar.m_sldSeek.m_hWnd)
        driver.Key(VK_TAB);
    for (auto [key, second] : {std::pair{VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_LEFT, 1}}) {
        driver.Key(key);
        EXPECT_EQ(std::pair(bar.m_sldSeek.GetPos(), video.PositionMs()),
                  std::pair(second, second * 1000));
    }
}

// A skin that names no focus picture leaves the controls the platform's dotted rectangle, one
// pixel inside the edge.
TEST_F(DemoPlayer, WithoutTheSkinsFocusPictureTheFocusIsDotted)
{
    const testkit::TempDir plain{"skinkit_demo_plain_skin"};
    std::filesystem::copy(SKINKIT_DEMO_SKIN_BUILD_DIR, plain.Path(),
                          std::filesystem::copy_options::recursive);
    testkit::RunCommand("sed -i '/^focus=/d' " + testkit::Quote(plain.File("images.ini")));
    DemoSkin bare;
    ASSERT_TRUE(bare.Load(CString::FromUtf8(plain.Path())));
    CDemoDialog dialog(bare);
    dialog.m_remember = false;
    ASSERT_TRUE(dialog.CreateDialogWindow());
    driver.Pump();
    CWnd& play = dialog.m_btnPlay;
    driver.Key(VK_TAB);
    ASSERT_EQ(driver.Focus(), play.m_hWnd);
    // Every other pixel of the outline is inverted; the edge itself is the button's.
    const auto pixel = [&](int x) { return driver.PixelAt(play.m_hWnd, {x, 1}); };
    const DWORD focused[] = {pixel(0), pixel(1), pixel(2)};
    driver.Key(VK_TAB);
    EXPECT_EQ(std::tuple(focused[0], pixel(0), (pixel(1) != focused[1]) + (pixel(2) != focused[2])),
              std::tuple(demo::kPush[0].border, focused[0], 1));
}

} // namespace
