#include "demo/host/PlaylistPanel.h"

#include "demo/host/ControlBar.h"
#include "demo/host/DemoDialog.h"
#include "util/chooser/Chooser.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <pwd.h>
#include <unistd.h>

BEGIN_MESSAGE_MAP(CDemoPlaylistPanel, CWnd)
ON_MESSAGE(UM_LISTBOX_CLICK, OnListClick)
ON_MESSAGE(UM_LISTBOX_DBLCLK, OnListDoubleClick)
ON_MESSAGE(UM_LISTBOX_CHECK, OnListCheck)
END_MESSAGE_MAP()

namespace {

constexpr UINT kListId = 1200;
constexpr UINT kVideoId = 1201;
constexpr UINT kPanelId = 1202;

enum Column { kNumber = 0, kName = 1, kPicture = 2, kDuration = 3, kStreams = 4, kCheck = 5 };

CString Text(DemoSkin& skin, LPCWSTR key, LPCWSTR fallback)
{
    CString text;
    int size = 0;
    return skin.text.GetFontAndTextMain2(key, text, size) ? text : CString(fallback);
}

CRect PlaceOf(DemoSkin& skin, LPCWSTR section, CRect fallback)
{
    const _WIN_POS* pos = skin.layout.GetWinPos(section);
    return pos && pos->nCX > 0 ? CRect(pos->rc) : fallback;
}

} // namespace

std::string DemoMediaFolder()
{
    if (const char* env = std::getenv("SKINKIT_DEMO_MEDIA"); env && *env)
        return env;
    // The XDG base directory rules: a relative XDG_CACHE_HOME is to be ignored.
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
        return std::string(cache) + "/skinkit";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw && pw->pw_dir ? pw->pw_dir : nullptr;
    }
    // Without any home the media go where temporary files go, never the working folder.
    return home && *home ? std::string(home) + "/.cache/skinkit" : "/tmp/skinkit-cache";
}

CDemoPlaylistPanel::~CDemoPlaylistPanel()
{
    if (m_hWnd && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CDemoPlaylistPanel::Create(CWnd* parent, DemoSkin& skin, CDemoVideoArea& video,
                                const std::vector<std::string>& files, bool play)
{
    m_video = &video;
    const CRect place = PlaceOf(skin, L"Playlist", CRect(10, 340, 790, 510));
    // The list takes its place in the dialog's tab order.
    if (!CWnd::CreateEx(WS_EX_CONTROLPARENT, nullptr, nullptr, WS_CHILD | WS_VISIBLE, place, parent,
                        kPanelId))
        return FALSE;
    if (!m_list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 0, 0),
                       this, kListId))
        return FALSE;
    SkinList(skin);
    // What a screen reader calls the table; the list paints no text of its own.
    m_list.SetWindowText(Text(skin, L"IDS_PLAYLIST", L"Playlist"));
    // The bar is attached before the list gets its size and rows, which place and count it.
    m_list.ActivateVScroll(1);
    m_list.MoveWindow(0, 0, place.Width(), place.Height());
    video.onEnded = [this] { PlayNext(); };
    const int first = AddPaths(files.empty() ? demo::MakeSampleMedia(DemoMediaFolder()) : files);
    if (first >= 0 && !files.empty() && play) {
        m_list.SetItemState(first, 2);
        PlayRow(first);
    } else if (first >= 0)
        video.Load(m_entries[static_cast<size_t>(first)].path, false);
    return TRUE;
}

void CDemoPlaylistPanel::SkinList(DemoSkin& skin)
{
    static const struct
    {
        int slot;
        LPCWSTR name;
    } slots[] = {
        {list::kHeaderBg, L"list_header"},        {list::kRowBg, L"list_row"},
        {list::kLineTop, L"list_line_top"},       {list::kLineBottom, L"list_line_bottom"},
        {list::kSeparator, L"list_sep"},          {list::kCheckOff, L"list_check_off"},
        {list::kCheckOn, L"list_check_on"},       {list::kIconPlaying, L"list_icon_play"},
        {list::kIconStopped, L"list_icon_pause"}, {list::kSelectedBg, L"list_row_sel"},
        {list::kScrollTrack, L"scroll_track"},    {list::kScrollThumb, L"scroll_thumb"},
        {list::kScrollTop, L"scroll_up"},         {list::kScrollBottom, L"scroll_down"},
        {list::kCheckMixed, L"list_check_mixed"},
    };
    for (const auto& s : slots)
        m_list.SetImage(skin.images.GetImageFile(s.name), s.slot);
    const _WIN_POS* pos = skin.layout.GetWinPos(L"Playlist");
    m_list.SetColor(list::kHeaderText, pos->clrText);
    for (int i = 0; i < 4; ++i)
        m_list.SetColor(list::kRowText + i, pos->clrColor[i]);
    m_list.SetBaseRect(CRect(0, 0, 780, 170));
    m_list.SetRowHeight(30);
    m_list.SetRowHeightHeader(26);
    m_list.SetInitFont(skin.fontName, 13);
    m_list.InsertColumn(kNumber, L"#", 44, 1);
    m_list.InsertColumn(kName, Text(skin, L"IDS_PL_NAME", L"Name"), 290, 1);
    m_list.InsertColumn(kPicture, L"", 70, 1);
    m_list.InsertColumn(kDuration, Text(skin, L"IDS_PL_DURATION", L"Duration"), 90, 1);
    m_list.InsertColumn(kStreams, Text(skin, L"IDS_PL_STREAMS", L"Streams"), 206, 1);
    m_list.InsertColumn(kCheck, L"", 80, 0);
    m_list.ActivateCheckbox();
    m_list.ShowHeaderCheckbox(1);
}

int CDemoPlaylistPanel::AddPaths(const std::vector<std::string>& paths)
{
    int firstPlayable = -1;
    for (const std::string& path : player::ExpandPaths(paths)) {
        m_entries.push_back(player::ReadEntry(path));
        AddRow(m_entries.back());
        if (firstPlayable < 0 && m_entries.back().playable)
            firstPlayable = static_cast<int>(m_entries.size()) - 1;
    }
    m_list.UpdateListbox();
    return firstPlayable;
}

void CDemoPlaylistPanel::AddRow(const player::PlaylistEntry& e)
{
    const int row = m_list.GetItemCount();
    m_list.InsertItem(row, CString::FromUtf8(std::to_string(row + 1)));
    m_list.SetItemText(row, kName, CString::FromUtf8(e.name));
    m_list.AddItemData(row, static_cast<DWORD>(row));
    if (!e.playable) {
        // Greyed and unchecked, so it is never played; it says why in place of its streams and
        // in its tooltip, where a long reason is read whole.
        const CString why = CString::FromUtf8("cannot play: " + e.problem);
        m_list.SetItemText(row, kStreams, why);
        m_list.SetItemToolTip(row, why);
        m_list.SetItemDisabled(row, 1);
        m_list.SetCheck(row, 0);
        return;
    }
    m_list.SetItemText(row, kDuration,
                       demo::FormatDuration(static_cast<int>(
                           std::min<std::int64_t>(e.lengthMs, std::numeric_limits<int>::max()))));
    m_list.SetItemText(row, kStreams, CString::FromUtf8(e.streams));
    demo::AviClip clip;
    if (clip.Open(e.path))
        if (auto first = clip.FrameFitted(0, 60, 26))
            m_list.SetItemImage(row, kPicture, first.get());
    // Every playable file starts checked: unchecked ones are skipped when one ends.
    m_list.SetCheck(row, 1);
}

LRESULT CDemoPlaylistPanel::OnListClick(WPARAM, LPARAM)
{
    return 0;
}

void CDemoPlaylistPanel::PlayRow(int row)
{
    const DWORD file = m_list.GetItemData(row, 0);
    if (file >= m_entries.size() || !m_video || !m_entries[file].playable) {
        // The list marked the row as it was asked to play it; the row that still plays keeps
        // the mark.
        m_list.SetItemState(m_playingRow, 2);
        return;
    }
    const bool playing = m_video->Load(m_entries[file].path, true);
    m_playingRow = row;
    m_list.SetPlayStatus(playing ? 1 : 0);
}

void CDemoPlaylistPanel::PlayNext()
{
    const int next = m_list.GetNextCheckedIndex(m_list.GetIndicatedItem());
    if (next < 0) {
        m_list.SetPlayStatus(0);
        return;
    }
    m_list.SetItemState(next, 2);
    m_list.EnsureVisible(next);
    PlayRow(next);
}

LRESULT CDemoPlaylistPanel::OnListDoubleClick(WPARAM row, LPARAM)
{
    // The list has made the row the indicated one already.
    PlayRow(static_cast<int>(row));
    return 0;
}

LRESULT CDemoPlaylistPanel::OnListCheck(WPARAM, LPARAM)
{
    return 0;
}

bool DemoPlayer::Create(CWnd* dialog, DemoSkin& skin, const std::vector<std::string>& files,
                        bool play)
{
    if (!video.Create(dialog, PlaceOf(skin, L"VideoArea", CRect(370, 10, 790, 330)), kVideoId))
        return false;
    return playlist.Create(dialog, skin, video, files, play) != FALSE;
}

void DemoPlayer::OpenWithChooser(bool folder)
{
    chooser::Request request;
    request.kind = folder ? chooser::Request::Kind::Folder : chooser::Request::Kind::OpenFile;
    request.multiple = !folder;
    request.title = folder ? "Add a folder's AVI files" : "Add AVI files";
    request.filters = {{"AVI files", {"*.avi", "*.AVI"}}, {"All files", {"*"}}};
    request.initialFolder = lastFolder;
    const chooser::Answer answer = chooser::Choose(request);
    if (answer.result != chooser::Answer::Result::Chosen || answer.paths.empty())
        return;
    const std::string& last = answer.paths.back();
    const size_t slash = last.find_last_of('/');
    lastFolder = folder ? last : last.substr(0, slash == 0 ? 1 : slash);
    const int first = playlist.AddPaths(answer.paths);
    // Nothing playing yet: the first new file shows.
    if (first >= 0 && !video.IsPlaying())
        video.Load(playlist.Entries()[static_cast<size_t>(first)].path, false);
}

void DemoPlayer::ConnectControlBar(CControlBar& bar)
{
    // The bar counts whole seconds: it is told only when the second or the length changes.
    video.onPosition = [&bar, second = -1, length = -1](int ms, int lengthMs) mutable {
        const int total = std::max(1, (lengthMs + 999) / 1000);
        if (total != length) {
            length = total;
            bar.SetLength(total);
            second = -1;
        }
        if (ms / 1000 != second) {
            second = ms / 1000;
            bar.SetPosition(second);
        }
    };
    bar.onSeek = [this](int seconds, bool) { video.SeekTo(seconds * 1000); };
    // The volume slider is the sound's gain.
    bar.onVolume = [this](int volume) { video.SetVolume(volume); };
    video.SetVolume(bar.m_sldVolume.GetPos());
}
