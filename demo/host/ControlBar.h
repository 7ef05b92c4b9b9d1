// The demo's player control bar: a seek slider with a time display in digit pictures that
// follows it while it is dragged, a volume slider (the scaled one, its played bar tiled) and a
// divided-strip button at two heights. The bar is a child panel of the dialog that hears its
// sliders itself; everything in it comes from the sample skin (CtlBar* layout entries, cb_*
// pictures, IDS_CB_* and IDC_CB_* texts).
//
// Video playback drives it through SetPosition (slider and time display together) and hears
// the user's seeking through onSeek.
#pragma once

#include "controls/CtrlButtonEx.h"
#include "controls/CtrlNumber.h"
#include "controls/CtrlSliderEx.h"

#include <functional>

struct DemoSkin;

enum ControlBarId : UINT {
    IDC_CB_PANEL = 1100,
    IDC_CB_SEEK = 1101,
    IDC_CB_TIME = 1102,
    IDC_CB_VOLUME = 1103,
    IDC_CB_OPEN = 1104,
    IDC_CB_OPEN_SMALL = 1105,
};

class CControlBar : public CWnd
{
public:
    // The seek slider's range, in seconds, until the host gives the length of what it plays.
    static constexpr int kDefaultLength = 600;

    // Makes the panel on `parent` and its controls from `skin`.
    BOOL CreateBar(CWnd* parent, DemoSkin& skin);
    // Moves the seek slider and shows the time, as playback does.
    void SetPosition(int seconds);
    // The seek range, 0 to `seconds`.
    void SetLength(int seconds);
    // Shows `seconds` as minutes and seconds, four digits (MMSS); minutes stop at 99.
    void ShowTime(int seconds);

    // The user pressed, dragged or released the seek slider: the position in seconds, and
    // whether the button came up.
    std::function<void(int seconds, bool released)> onSeek;
    // The user moved the volume slider (0 to 100).
    std::function<void(int volume)> onVolume;
    // One of the divided buttons was clicked.
    std::function<void(UINT id)> onClick;

    CCtrlSlider m_sldSeek;
    CCtrlSliderEx m_sldVolume;
    CCtrlNumber m_numTime;
    CCtrlButtonEx m_btnOpen;
    CCtrlButtonEx m_btnOpenSmall;

protected:
    LRESULT OnSeekOrVolume(UINT message, WPARAM id, LPARAM pos);
    LRESULT OnSliderDown(WPARAM id, LPARAM pos);
    LRESULT OnSliderMove(WPARAM id, LPARAM pos);
    LRESULT OnSliderUp(WPARAM id, LPARAM pos);
    void OnButton(UINT id);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    struct SliderPictures
    {
        LPCWSTR played;
        LPCWSTR rest;
        LPCWSTR thumb;
    };
    void SkinSlider(CCtrlSlider& control, DemoSkin& skin, LPCWSTR section, UINT id,
                    const SliderPictures& names);
    void SkinButton(CCtrlButtonEx& button, DemoSkin& skin, LPCWSTR section, LPCWSTR textKey,
                    UINT id);
};
