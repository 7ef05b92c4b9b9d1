// The demo's window, built the way a player builds a dialog: system buttons made from a
// template are subclassed as skinned buttons, one more is created as a child, and everything
// (positions, pictures, texts, colours) comes from the skin through the library's loaders.
#pragma once

#include "controls/CtrlButton.h"
#include "demo/host/ControlBar.h"
#include "demo/host/DemoSettings.h"
#include "demo/host/GroupSections.h"
#include "demo/host/LabelPanel.h"
#include "demo/host/PlaylistPanel.h"
#include "skin/UICoordi.h"
#include "skin/UIImage.h"
#include "skin/UIText.h"

#include <functional>
#include <string>
#include <vector>

enum DemoControlId : UINT {
    IDC_TITLE = 1000,
    IDC_PLAY = 1001,
    IDC_STOP = 1002,
    IDC_REPEAT = 1003,
    IDC_SUBTITLES = 1004,
    IDC_MUTE = 1005,
    IDC_RECORD = 1006,
    IDC_STATUS = 1007,
};

struct DemoSkin
{
    CUICoordi layout;
    CUIImage images;
    CUIText text;
    CString fontName;
    CString folder;
    // Why the last Load failed, for the user: which file, and what is wrong with it.
    std::string problem;
    // Loads layout.ini, images.ini (pictures from the same folder) and lang_en.ini.
    bool Load(const CString& folder);
};

class CDemoDialog : public CWnd
{
public:
    explicit CDemoDialog(DemoSkin& skin) : m_skin(skin) {}
    // The window may outlive its WM_DESTROY handler's chance (the object going first).
    ~CDemoDialog() override { DestroyAcceleratorTable(m_accel); }
    BOOL CreateDialogWindow();

    // Called for every click a button reports (id and the button's caption).
    std::function<void(UINT id, const CString& name)> onClick;
    // Called when the window goes.
    std::function<void()> onDestroy;
    // Files and folders to play, set before the window is made; none: the playlist of the
    // last run, else the sample files.
    std::vector<std::string> m_files;
    // What the last run left (read when the window is made, written when it goes); off, the
    // settings store is neither read nor written.
    bool m_remember = true;
    DemoSettings m_settings;

    CCtrlButton m_btnPlay, m_btnStop, m_btnRepeat, m_chkSubtitles, m_btnMute, m_btnRecord;
    // The tooltips of controls that show no text (Mute's round icon): also what a screen
    // reader reads as their names.
    CToolTipCtrl m_tips;
    // The playlist and the video area it plays in.
    DemoPlayer m_player;
    // The player's control bar and the labels beside the buttons.
    CControlBar m_controlBar;
    CLabelPanel m_labels;
    CGroupSections m_groups;

protected:
    // Keys: Space plays and pauses whatever has the focus (an accelerator); Tab, Enter, Esc and
    // the mnemonics go to the dialog manager, which walks the buttons, the control bar's
    // sliders and buttons, the playlist and the link, in that order; the arrows move the
    // focused slider (the seek slider seeks).
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnButton(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    HWND MakeTemplateControl(LPCWSTR className, UINT id, DWORD style, LPCWSTR section);
    void SkinButton(CCtrlButton& button, LPCWSTR section, LPCWSTR textKey, LPCWSTR image,
                    int frames);
    void ShowStatus(const CString& text);
    // Gives every control that takes the focus the skin's focus look.
    void HandFocusLook();

    DemoSkin& m_skin;
    HACCEL m_accel = nullptr;
};
