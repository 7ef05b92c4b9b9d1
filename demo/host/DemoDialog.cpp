#include "demo/host/DemoDialog.h"

#include "controls/KeyboardAccess.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

BEGIN_MESSAGE_MAP(CDemoDialog, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_CONTROL_RANGE(BN_CLICKED, IDC_PLAY, IDC_RECORD, OnButton)
END_MESSAGE_MAP()

bool DemoSkin::Load(const CString& folder)
{
    this->folder = folder;
    problem.clear();
    const std::string dir = folder.ToUtf8();
    const std::string layoutFile = dir + "/layout.ini";
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        problem =
            "no sample skin in " + dir + " (build the skinkit-demo-skin target, or pass --skin)";
        return false;
    }
    if (!std::ifstream(layoutFile)) {
        problem = "the skin's layout " + layoutFile + " is missing or unreadable";
        return false;
    }
    layout.LoadInfo(folder + L"/layout.ini");
    const int pictures = images.LoadImageFiles(folder, folder + L"/images.ini");
    text.LoadTextMain(folder + L"/lang_en.ini");
    fontName = text.GetFontName(folder + L"/lang_en.ini");
    // A layout without the window's entry is not one the demo can use.
    const _WIN_POS* window = layout.GetWinPos(L"DemoWindow");
    if (window->nCX <= 0 || window->nCY <= 0) {
        problem = "the skin's layout " + layoutFile +
                  " is damaged: it has no usable [DemoWindow] entry with a size";
        return false;
    }
    // Asking for a picture of the window's size is the one check that knows what the drawing
    // layer can hold; a window past that could open but never paint.
    if (Gdiplus::Bitmap probe(window->nCX, window->nCY, Gdiplus::PixelFormat32bppARGB);
        probe.GetLastStatus() != Gdiplus::Ok) {
        problem = "the skin's layout " + layoutFile + " asks for a " + std::to_string(window->nCX) +
                  "x" + std::to_string(window->nCY) + " window, beyond the size that can be drawn";
        return false;
    }
    if (pictures != 1) {
        problem = "the skin's pictures in " + dir + " are missing or damaged (see " + dir +
                  "/images.ini)";
        return false;
    }
    return true;
}

BOOL CDemoDialog::CreateDialogWindow()
{
    const _WIN_POS* pos = m_skin.layout.GetWinPos(L"DemoWindow");
    CRect place(pos->rc);
    if (m_remember) {
        m_settings = DemoSettings::Load();
        // The size is the skin's; the place is where the user left the window.
        if (m_settings.hasPlace)
            place.OffsetRect(m_settings.x - place.left, m_settings.y - place.top);
    }
    return CreateEx(0, nullptr, m_skin.text.GetTextMain(L"IDS_TITLE"),
                    WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, place, nullptr, 0);
}

HWND CDemoDialog::MakeTemplateControl(LPCWSTR className, UINT id, DWORD style, LPCWSTR section)
{
    const _WIN_POS* pos = m_skin.layout.GetWinPos(section);
    // Buttons are tab stops, in the order they are made.
    if (std::wstring_view(className) == L"BUTTON")
        style |= WS_TABSTOP;
    return CreateWindowExW(
        0, className, L"", WS_CHILD | WS_VISIBLE | style, pos->nX, pos->nY, pos->nCX, pos->nCY,
        m_hWnd, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
}

void CDemoDialog::SkinButton(CCtrlButton& button, LPCWSTR section, LPCWSTR textKey, LPCWSTR image,
                             int frames)
{
    const _WIN_POS* pos = m_skin.layout.GetWinPos(section);
    button.SetButtonImage(m_skin.images.GetImageFile(image), frames);
    button.SetTextColor(pos->clrText, 6);
    button.SetTextColor(pos->clrColor[0], btn::Hover);
    button.SetTextColor(pos->clrColor[0], btn::DownHover);
    button.SetTextColor(pos->clrColor[1], btn::Disabled);
    button.SetTextColor(pos->clrColor[1], btn::DownDisabled);
    if (textKey) {
        CString caption;
        int size = 0;
        if (m_skin.text.GetFontAndTextMain2(textKey, caption, size)) {
            button.SetWindowText(caption);
            button.SetInitFont(m_skin.fontName, size, Gdiplus::FontStyleBold);
        }
    }
}

BOOL CDemoDialog::PreTranslateMessage(MSG* msg)
{
    if (m_accel && TranslateAcceleratorW(m_hWnd, m_accel, msg))
        return TRUE;
    if (m_tips.m_hWnd)
        m_tips.RelayEvent(msg);
    return IsDialogMessageW(m_hWnd, msg);
}

BOOL CDemoDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // An accelerator's command (high word 1) stands for a click of its button.
    if (HIWORD(wParam) == 1 && LOWORD(wParam) == IDC_PLAY) {
        OnButton(IDC_PLAY);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

int CDemoDialog::OnCreate(LPCREATESTRUCT)
{
    // The skinned controls answer keys too: the sliders, the list, the link.
    skinkit::EnableKeyboardAccess(true);
    ACCEL keys[] = {{FVIRTKEY, VK_SPACE, IDC_PLAY}};
    m_accel = CreateAcceleratorTableW(keys, 1);
    // The controls a dialog template would hold: system buttons and statics.
    MakeTemplateControl(L"STATIC", IDC_TITLE, SS_LEFT, L"Title");
    MakeTemplateControl(L"BUTTON", IDC_PLAY, BS_PUSHBUTTON, L"BtnPlay");
    MakeTemplateControl(L"BUTTON", IDC_STOP, BS_PUSHBUTTON, L"BtnStop");
    MakeTemplateControl(L"BUTTON", IDC_REPEAT, BS_AUTOCHECKBOX | BS_PUSHLIKE, L"BtnRepeat");
    MakeTemplateControl(L"BUTTON", IDC_SUBTITLES, BS_AUTOCHECKBOX, L"ChkSubtitles");
    MakeTemplateControl(L"BUTTON", IDC_RECORD, BS_PUSHBUTTON | WS_DISABLED, L"BtnRecord");
    MakeTemplateControl(L"STATIC", IDC_STATUS, SS_LEFT, L"Status");
    ::SetWindowTextW(::GetDlgItem(m_hWnd, IDC_TITLE), m_skin.text.GetTextMain(L"IDS_TITLE"));
    ::SetWindowTextW(::GetDlgItem(m_hWnd, IDC_STATUS), m_skin.text.GetTextMain(L"IDS_READY"));

    m_btnPlay.SubclassDlgItem(IDC_PLAY, this);
    m_btnStop.SubclassDlgItem(IDC_STOP, this);
    m_btnRepeat.SubclassDlgItem(IDC_REPEAT, this);
    m_chkSubtitles.SubclassDlgItem(IDC_SUBTITLES, this);
    m_btnRecord.SubclassDlgItem(IDC_RECORD, this);
    SkinButton(m_btnPlay, L"BtnPlay", L"IDC_PLAY", L"btn_push", 4);
    SkinButton(m_btnStop, L"BtnStop", L"IDC_STOP", L"btn_push", 4);
    SkinButton(m_btnRepeat, L"BtnRepeat", L"IDC_REPEAT", L"btn_toggle", 4);
    SkinButton(m_chkSubtitles, L"ChkSubtitles", L"IDC_SUBTITLES", L"chk_glyph", 4);
    SkinButton(m_btnRecord, L"BtnRecord", L"IDC_RECORD", L"btn_push", 4);

    // A control made at run time rather than from the template: a six-frame toggle.
    const _WIN_POS* mute = m_skin.layout.GetWinPos(L"BtnMute");
    m_btnMute.Create(L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE,
                     CRect(), this, IDC_MUTE);
    m_btnMute.MoveWindow(&mute->rc);
    SkinButton(m_btnMute, L"BtnMute", nullptr, L"btn_round", 6);
    // Made before the playlist, so that Tab reaches the bar's sliders before the list.
    m_labels.CreatePanel(this, m_skin);
    m_controlBar.CreateBar(this, m_skin);
    if (m_tips.Create(this)) {
        m_tips.AddTool(&m_btnMute, m_skin.text.GetTextMain(L"IDT_MUTE"));
        m_tips.AddTool(&m_controlBar.m_sldSeek, m_skin.text.GetTextMain(L"IDT_SEEK"));
        m_tips.AddTool(&m_controlBar.m_sldVolume, m_skin.text.GetTextMain(L"IDT_VOLUME"));
    }
    if (m_remember)
        m_controlBar.m_sldVolume.SetPos(m_settings.volume);
    m_player.lastFolder = m_settings.lastFolder;
    // Files named now play at once; the last run's playlist comes back quietly.
    m_player.Create(this, m_skin, m_files.empty() ? m_settings.playlist : m_files,
                    !m_files.empty());
    m_player.ConnectControlBar(m_controlBar);
    m_controlBar.onClick = [this](UINT id) {
        CWnd* button = m_controlBar.GetDlgItem(static_cast<int>(id));
        const CString name = button ? button->GetWindowText() : CString();
        ShowStatus(m_skin.text.GetTextMain(L"IDS_CLICKED") + L" " + name);
        if (onClick)
            onClick(id, name);
        // The large Open button adds a file, the small one a folder's files.
        if (id == IDC_CB_OPEN || id == IDC_CB_OPEN_SMALL)
            m_player.OpenWithChooser(id == IDC_CB_OPEN_SMALL);
    };
    m_groups.Create(*this, m_skin);
    HandFocusLook();
    return 0;
}

void CDemoDialog::HandFocusLook()
{
    // The skin's focus picture; a skin that names none leaves the dotted rectangle.
    Gdiplus::Image* focus = m_skin.images.GetImageFile(L"focus");
    // A name the skin lacks answers its transparent picture, which would show no focus at all.
    if (focus == m_skin.images.GetImageFile(L"transparent"))
        focus = nullptr;
    CCtrlFocusLook* controls[] = {&m_btnPlay,
                                  &m_btnStop,
                                  &m_btnRepeat,
                                  &m_chkSubtitles,
                                  &m_btnMute,
                                  &m_btnRecord,
                                  &m_controlBar.m_sldSeek,
                                  &m_controlBar.m_sldVolume,
                                  &m_controlBar.m_btnOpen,
                                  &m_controlBar.m_btnOpenSmall,
                                  &m_player.playlist.m_list,
                                  &m_groups.m_lnkReadme};
    for (CCtrlFocusLook* control : controls)
        control->SetFocusImage(focus);
}

void CDemoDialog::OnDestroy()
{
    DestroyAcceleratorTable(m_accel);
    m_accel = nullptr;
    if (m_remember) {
        m_settings.volume = m_controlBar.m_sldVolume.GetPos();
        m_settings.lastFolder = m_player.lastFolder;
        m_settings.playlist.clear();
        for (const player::PlaylistEntry& e : m_player.playlist.Entries())
            m_settings.playlist.push_back(e.path);
        CRect r;
        GetWindowRect(&r);
        m_settings.hasPlace = true;
        m_settings.x = r.left;
        m_settings.y = r.top;
        m_settings.Save();
    }
    if (onDestroy)
        onDestroy();
    Default();
}

BOOL CDemoDialog::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CDemoDialog::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    Gdiplus::Graphics g(dc.m_hDC);
    if (Gdiplus::Image* bg = m_skin.images.GetImageFile(L"bg"))
        g.DrawImage(bg, Gdiplus::Rect(0, 0, client.Width(), client.Height()), 0, 0,
                    static_cast<INT>(bg->GetWidth()), static_cast<INT>(bg->GetHeight()),
                    Gdiplus::UnitPixel);
}

HBRUSH CDemoDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (kind == CTLCOLOR_STATIC && wnd) {
        const bool status = wnd->GetDlgCtrlID() == IDC_STATUS;
        dc->SetTextColor(m_skin.layout.GetWinPos(status ? L"Status" : L"Title")->crText);
    }
    return nullptr; // statics paint no background over the skin
}

void CDemoDialog::ShowStatus(const CString& text)
{
    CWnd* status = GetDlgItem(IDC_STATUS);
    if (!status)
        return;
    status->SetWindowText(text);
    // The static draws no background: the dialog repaints the skin under it.
    CRect r;
    status->GetWindowRect(&r);
    ScreenToClient(&r);
    InvalidateRect(&r);
}

void CDemoDialog::OnButton(UINT id)
{
    CWnd* button = GetDlgItem(static_cast<int>(id));
    CString name = button ? button->GetWindowText() : CString();
    if (id == IDC_MUTE)
        name = m_skin.text.GetTextMain(L"IDT_MUTE");
    CString line = m_skin.text.GetTextMain(L"IDS_CLICKED") + L" " + name;
    if (id == IDC_REPEAT || id == IDC_SUBTITLES || id == IDC_MUTE) {
        const auto* b = static_cast<CCtrlButton*>(button);
        line += L" (" + m_skin.text.GetTextMain(b->m_nCheck ? L"IDS_ON" : L"IDS_OFF") + L")";
    }
    ShowStatus(line);
    // Play and Stop drive the player; Mute silences it.
    CDemoVideoArea& video = m_player.video;
    if (id == IDC_PLAY)
        video.IsPlaying() ? video.Pause() : video.Play();
    else if (id == IDC_STOP) {
        video.Pause();
        video.SeekTo(0);
    } else if (id == IDC_MUTE)
        video.SetMuted(m_btnMute.m_nCheck != 0);
    if (onClick)
        onClick(id, name);
}
