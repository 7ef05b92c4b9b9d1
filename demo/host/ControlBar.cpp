#include "demo/host/ControlBar.h"

#include "demo/host/DemoDialog.h"

#include <cstdio>

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_SLIDER_LBUTTONDOWN, OnSliderDown)
ON_MESSAGE(WM_SLIDER_MOUSEMOVE, OnSliderMove)
ON_MESSAGE(WM_SLIDER_LBUTTONUP, OnSliderUp)
ON_CONTROL_RANGE(BN_CLICKED, IDC_CB_OPEN, IDC_CB_OPEN_SMALL, OnButton)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

CRect Place(DemoSkin& skin, LPCWSTR section)
{
    return skin.layout.GetWinPos(section)->rc;
}

} // namespace

BOOL CControlBar::CreateBar(CWnd* parent, DemoSkin& skin)
{
    // Its controls take their places in the dialog's tab order.
    if (!CreateEx(WS_EX_CONTROLPARENT, nullptr, L"", WS_CHILD | WS_VISIBLE,
                  Place(skin, L"CtlBarPanel"), parent, IDC_CB_PANEL))
        return FALSE;
    CUIImage& pictures = skin.images;

    SkinSlider(m_sldSeek, skin, L"CtlBarSeek", IDC_CB_SEEK,
               {L"cb_seek_played", L"cb_seek_rest", L"cb_seek_thumb"});
    SkinSlider(m_sldVolume, skin, L"CtlBarVolume", IDC_CB_VOLUME,
               {L"cb_vol_bar", L"cb_vol_rest", L"cb_vol_thumb"});
    m_sldVolume.SetBarType(1);
    m_sldVolume.SetRange(0, 100);
    m_sldVolume.SetPos(70);

    // A right-aligned static, as a dialog template would make it.
    m_numTime.Create(L"", WS_CHILD | WS_VISIBLE | SS_RIGHT, Place(skin, L"CtlBarTime"), this,
                     IDC_CB_TIME);
    for (int d = 0; d < 10; ++d) {
        wchar_t name[16];
        std::swprintf(name, 16, L"cb_digit%d", d);
        m_numTime.SetImage(pictures.GetImageFile(name), d);
    }
    m_numTime.SetBkImage(pictures.GetImageFile(L"cb_digit_back"), -1, -1);
    m_numTime.SetDigit(4);

    SkinButton(m_btnOpen, skin, L"CtlBarOpen", L"IDC_CB_OPEN", IDC_CB_OPEN);
    SkinButton(m_btnOpenSmall, skin, L"CtlBarOpenSmall", L"IDC_CB_OPEN_SMALL", IDC_CB_OPEN_SMALL);

    SetLength(kDefaultLength);
    SetPosition(0);
    return TRUE;
}

void CControlBar::SkinSlider(CCtrlSlider& control, DemoSkin& skin, LPCWSTR section, UINT id,
                             const SliderPictures& names)
{
    control.Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, Place(skin, section), this,
                   id);
    control.SetImage(skin.images.GetImageFile(names.played), slider::PlayedBar);
    control.SetImage(skin.images.GetImageFile(names.rest), slider::RemainingBar);
    control.SetImage(skin.images.GetImageFile(names.thumb), slider::Thumb);
    // Both sliders run on the seek slider's track.
    control.SetImageBG(skin.images.GetImageFile(L"cb_seek_track"), 0, 0, 1);
}

void CControlBar::SkinButton(CCtrlButtonEx& button, DemoSkin& skin, LPCWSTR section,
                             LPCWSTR textKey, UINT id)
{
    const _WIN_POS* pos = skin.layout.GetWinPos(section);
    button.Create(L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, pos->rc, this, id);
    button.SetButtonImage(skin.images.GetImageFile(L"cb_divided"), 4);
    button.SetTextColor(pos->clrText, 6);
    button.SetTextColor(pos->clrColor[0], btn::Hover);
    button.SetTextColor(pos->clrColor[0], btn::DownHover);
    button.SetTextColor(pos->clrColor[1], btn::Disabled);
    CString caption;
    int size = 0;
    if (skin.text.GetFontAndTextMain2(textKey, caption, size)) {
        button.SetWindowText(caption);
        // The size is the skin's, for a frame at its own height; the button scales it.
        button.SetInitFont(skin.fontName, size, Gdiplus::FontStyleBold);
    }
}

void CControlBar::SetLength(int seconds)
{
    m_sldSeek.SetRange(0, seconds > 0 ? seconds : 1);
}

void CControlBar::SetPosition(int seconds)
{
    m_sldSeek.SetPos(seconds);
    ShowTime(m_sldSeek.GetPos());
}

void CControlBar::ShowTime(int seconds)
{
    if (seconds < 0)
        seconds = 0;
    const int minutes = seconds / 60 > 99 ? 99 : seconds / 60;
    wchar_t text[8];
    std::swprintf(text, 8, L"%02d%02d", minutes, seconds % 60);
    m_numTime.SetWindowText(text);
}

LRESULT CControlBar::OnSeekOrVolume(UINT message, WPARAM id, LPARAM pos)
{
    const int value = static_cast<int>(pos);
    if (id == IDC_CB_SEEK) {
        // The time follows the thumb while it is dragged, before playback catches up.
        ShowTime(value);
        if (onSeek)
            onSeek(value, message == WM_SLIDER_LBUTTONUP);
    } else if (id == IDC_CB_VOLUME && onVolume) {
        onVolume(value);
    }
    return 0;
}

LRESULT CControlBar::OnSliderDown(WPARAM id, LPARAM pos)
{
    return OnSeekOrVolume(WM_SLIDER_LBUTTONDOWN, id, pos);
}
LRESULT CControlBar::OnSliderMove(WPARAM id, LPARAM pos)
{
    return OnSeekOrVolume(WM_SLIDER_MOUSEMOVE, id, pos);
}
LRESULT CControlBar::OnSliderUp(WPARAM id, LPARAM pos)
{
    return OnSeekOrVolume(WM_SLIDER_LBUTTONUP, id, pos);
}

void CControlBar::OnButton(UINT id)
{
    if (onClick)
        onClick(id);
}

BOOL CControlBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CControlBar::OnPaint()
{
    // The panel draws nothing itself: the dialog's skin shows between its controls, each of
    // which paints its whole rectangle.
    CPaintDC dc(this);
}
