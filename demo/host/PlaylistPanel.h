// The demo's playlist and player: the sample AVI files in a skinned list (number, name, a
// picture of the first frame, duration, streams, check boxes with a header check box, the
// scroll bar and the wheel), and the video area that a double click plays the row in.
#pragma once

#include "controls/list/CtrlListbox.h"
#include "demo/host/VideoArea.h"

#include <string>
#include <vector>

struct DemoSkin;
class CControlBar;

class CDemoPlaylistPanel : public CWnd
{
public:
    CDemoPlaylistPanel() = default;
    ~CDemoPlaylistPanel() override;

    // Makes the panel at the skin's [Playlist] place, fills it from the media folder (writing
    // the sample files there on first run) and shows the first file's first frame in `video`.
    BOOL Create(CWnd* parent, DemoSkin& skin, CDemoVideoArea& video);

    CCtrlListbox m_list;

protected:
    LRESULT OnListClick(WPARAM row, LPARAM id);
    LRESULT OnListDoubleClick(WPARAM row, LPARAM id);
    LRESULT OnListCheck(WPARAM row, LPARAM id);
    DECLARE_MESSAGE_MAP()

private:
    void SkinList(DemoSkin& skin);
    void Fill();
    // Plays the row in the video area and marks it as the playing one.
    void PlayRow(int row);
    // At a clip's end: the next checked row plays, or playback stops after the last.
    void PlayNext();

    CDemoVideoArea* m_video = nullptr;
    std::vector<std::string> m_files;
};

// Where the demo keeps the sample files it makes: $SKINKIT_DEMO_MEDIA, else
// $XDG_CACHE_HOME/skinkit, else ~/.cache/skinkit.
std::string DemoMediaFolder();

// The player's parts, made together in the demo window.
struct DemoPlayer
{
    CDemoVideoArea video;
    CDemoPlaylistPanel playlist;
    bool Create(CWnd* dialog, DemoSkin& skin);
    // Playback moves the bar's seek slider and time display; seeking there moves playback.
    void ConnectControlBar(CControlBar& bar);
};
