// The demo's labels area: labels with icons (one of them disabled, in its second colour) and
// an image control with a caption, made the way a dialog host makes them: template statics
// subclassed, then given their pictures, fonts and colours from the sample skin (Lbl* layout
// entries, cb_* pictures, IDS_CB_* texts).
#pragma once

#include "controls/CtrlImage.h"
#include "controls/CtrlStatic.h"

struct DemoSkin;

enum LabelPanelId : UINT {
    IDC_LBL_PANEL = 1110,
    IDC_LBL_TIME = 1111,
    IDC_LBL_VOLUME = 1112,
    IDC_LBL_DISABLED = 1113,
    IDC_LBL_LOGO = 1114,
};

class CLabelPanel : public CWnd
{
public:
    BOOL CreatePanel(CWnd* parent, DemoSkin& skin);

    CCtrlStatic m_lblTime;
    CCtrlStatic m_lblVolume;
    CCtrlStatic m_lblDisabled;
    CCtrlImage m_imgLogo;

protected:
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void MakeLabel(CCtrlStatic& label, DemoSkin& skin, LPCWSTR section, LPCWSTR textKey,
                   LPCWSTR icon, UINT id, DWORD style);
};
