// The demo's playlist and player: the sample AVI files in a skinned list (number, name, a
// picture of the first frame, duration, streams, check boxes with a header check box, the
// scroll bar and the wheel), and the video area that a double click plays the row in.
#pragma once

#include "controls/list/CtrlListbox.h"
#include "demo/host/VideoArea.h"
#include "demo/player/Playlist.h"

#include <string>
#include <vector>

struct DemoSkin;
class CControlBar;

class CDemoPlaylistPanel : public CWnd
{
public:
    CDemoPlaylistPanel() = default;
    ~CDemoPlaylistPanel() override;

    // Makes the panel at the skin's [Playlist] place and fills it with `files` (files and
    // folders), or when there are none from the media folder (writing the sample files there
    // on first run); shows the first playable file's first frame in `video`, and plays it
    // when `play` and files were named.
    BOOL Create(CWnd* parent, DemoSkin& skin, CDemoVideoArea& video,
                const std::vector<std::string>& files = {}, bool play = true);
    // Adds rows for the files and folders' AVI files; a file the reader refuses gets a greyed,
    // unchecked row that says why (in its tooltip too). Answers the first new row, or -1 when
    // none was added.
    int AddPaths(const std::vector<std::string>& paths);
    // Plays the row in the video area and marks it as the playing one.
    void PlayRow(int row);
    const std::vector<player::PlaylistEntry>& Entries() const { return m_entries; }

    CCtrlListbox m_list;

protected:
    LRESULT OnListClick(WPARAM row, LPARAM id);
    LRESULT OnListDoubleClick(WPARAM row, LPARAM id);
    LRESULT OnListCheck(WPARAM row, LPARAM id);
    DECLARE_MESSAGE_MAP()

private:
    void SkinList(DemoSkin& skin);
    void AddRow(const player::PlaylistEntry& entry);
    // At a clip's end: the next checked row plays, or playback stops after the last.
    void PlayNext();

    CDemoVideoArea* m_video = nullptr;
    std::vector<player::PlaylistEntry> m_entries;
    int m_playingRow = -1; // the row whose file the video area holds
};

// Where the demo keeps the sample files it makes: $SKINKIT_DEMO_MEDIA, else
// $XDG_CACHE_HOME/skinkit, else ~/.cache/skinkit.
std::string DemoMediaFolder();

// The player's parts, made together in the demo window.
struct DemoPlayer
{
    CDemoVideoArea video;
    CDemoPlaylistPanel playlist;
    // `files`: what to list (none: the sample files); `play`: the first plays at once.
    bool Create(CWnd* dialog, DemoSkin& skin, const std::vector<std::string>& files = {},
                bool play = false);
    // The Open buttons: a file chooser for AVI files, a folder chooser for a folder's.
    void OpenWithChooser(bool folder);
    // Where the last chooser was left, offered by the next.
    std::string lastFolder;
    // Playback moves the bar's seek slider and time display; seeking there moves playback.
    void ConnectControlBar(CControlBar& bar);
};
