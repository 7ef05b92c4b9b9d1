#include "demo/host/GroupSections.h"

#include "demo/host/DemoDialog.h"
#include "platform/host/HostResources.h"
#include "platform/ini/PrivateProfile.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

constexpr UINT kGroupIcon = 1300;

// "size,text" from the language file's [GroupBox] section: the text, and its size in pixels.
CString GroupText(const CString& langFile, LPCWSTR key, int* size)
{
    wchar_t buffer[260];
    GetPrivateProfileStringW(L"GroupBox", key, L"", buffer, 260, langFile);
    CString value(buffer);
    const int comma = value.Find(L',');
    if (size)
        *size = comma > 0 ? std::wcstol(value.Left(comma), nullptr, 10) : 13;
    return comma >= 0 ? value.Mid(comma + 1) : value;
}

// The group's icon, drawn here and registered as a resource of the host.
void RegisterGroupIcon()
{
    // A round blue button with a light "play" triangle, row by row.
    Gdiplus::Bitmap icon(16, 16, Gdiplus::PixelFormat32bppARGB);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int dx = 2 * x - 15, dy = 2 * y - 15;
            const bool round = dx * dx + dy * dy <= 15 * 15;
            const bool play = x >= 6 && y >= 4 && y <= 11 && (x - 6) <= std::min(y - 4, 11 - y);
            icon.SetPixel(x, y,
                          Gdiplus::Color(!round ? 0x00000000u
                                         : play ? 0xFFF0F4F8u
                                                : 0xFF4F7FB8u));
        }
    platform::host::SetIconPicture(kGroupIcon, icon);
}

HWND MakeChild(CWnd& dialog, DemoSkin& skin, LPCWSTR className, LPCWSTR section, UINT id,
               DWORD style, const CString& text)
{
    const _WIN_POS* pos = skin.layout.GetWinPos(section);
    return CreateWindowExW(
        0, className, text, WS_CHILD | WS_VISIBLE | style, pos->nX, pos->nY, pos->nCX, pos->nCY,
        dialog.m_hWnd, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
}

bool IsFile(const char* path)
{
    struct stat st
    {
    };
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

CString DemoReadmePath()
{
    if (IsFile(SKINKIT_DEMO_README_SOURCE))
        return CString::FromUtf8(SKINKIT_DEMO_README_SOURCE);
    return CString::FromUtf8(SKINKIT_DEMO_README_INSTALL);
}

void CGroupSections::Create(CWnd& dialog, DemoSkin& skin)
{
    const CString lang = skin.folder + L"/lang_en.ini";
    RegisterGroupIcon();
    const _WIN_POS* frame = skin.layout.GetWinPos(L"GrpButtons");
    const COLORREF text = frame->crText, back = frame->crColor[0];

    // Made after the buttons, so on top of them: the box lets their clicks through.
    int size = 13;
    MakeChild(dialog, skin, L"STATIC", L"GrpButtons", IDC_GRP_BUTTONS, 0,
              GroupText(lang, L"Buttons", &size));
    m_grpButtons.SubclassDlgItem(IDC_GRP_BUTTONS, &dialog);
    m_grpButtons.SetFont(skin.fontName, size * 3 / 4, FALSE)
        .SetBold(TRUE, FALSE)
        .SetTextColor(text, FALSE)
        .SetBkColor(back, FALSE)
        .SetIcon(kGroupIcon, 16);

    MakeChild(dialog, skin, L"STATIC", L"GrpDisabled", IDC_GRP_DISABLED, 0,
              GroupText(lang, L"Disabled", nullptr));
    m_grpDisabled.SubclassDlgItem(IDC_GRP_DISABLED, &dialog);
    m_grpDisabled.SetTextColor(text, FALSE).SetBkColor(back, FALSE).SetIcon(kGroupIcon, 16, FALSE);
    MakeChild(dialog, skin, L"BUTTON", L"ChkGrpOption", IDC_GRP_OPTION, BS_AUTOCHECKBOX,
              GroupText(lang, L"Option", nullptr));
    MakeChild(dialog, skin, L"STATIC", L"LblGrpNote", IDC_GRP_NOTE, SS_LEFT,
              GroupText(lang, L"Note", nullptr));
    m_chkOption.SubclassDlgItem(IDC_GRP_OPTION, &dialog);
    m_lblNote.SubclassDlgItem(IDC_GRP_NOTE, &dialog);
    m_grpDisabled.EnableWindow(FALSE, TRUE);

    // As a dialog template does, the controls get the dialog's font.
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (UINT id : {IDC_GRP_OPTION, IDC_GRP_NOTE})
        ::SendMessageW(::GetDlgItem(dialog.m_hWnd, static_cast<int>(id)), WM_SETFONT,
                       reinterpret_cast<WPARAM>(font), FALSE);
    MakeChild(dialog, skin, L"STATIC", L"LnkReadme", IDC_LNK_README, SS_LEFT | WS_TABSTOP,
              GroupText(lang, L"Readme", nullptr));
    ::SendMessageW(::GetDlgItem(dialog.m_hWnd, IDC_LNK_README), WM_SETFONT,
                   reinterpret_cast<WPARAM>(font), FALSE);
    m_lnkReadme.SetURL(DemoReadmePath());
    m_lnkReadme.SubclassDlgItem(IDC_LNK_README, &dialog);
    m_lnkReadme.SetColours(RGB(120, 180, 255), RGB(190, 150, 255), RGB(255, 214, 120));
}
