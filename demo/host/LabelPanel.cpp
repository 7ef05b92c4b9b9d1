#include "demo/host/LabelPanel.h"

#include "demo/host/DemoDialog.h"

BEGIN_MESSAGE_MAP(CLabelPanel, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CLabelPanel::CreatePanel(CWnd* parent, DemoSkin& skin)
{
    if (!Create(nullptr, L"", WS_CHILD | WS_VISIBLE, skin.layout.GetWinPos(L"LblPanel")->rc, parent,
                IDC_LBL_PANEL))
        return FALSE;
    MakeLabel(m_lblTime, skin, L"LblTime", L"IDS_CB_TIME", L"cb_icon_time", IDC_LBL_TIME, SS_LEFT);
    MakeLabel(m_lblVolume, skin, L"LblVolume", L"IDS_CB_VOLUME", L"cb_icon_volume", IDC_LBL_VOLUME,
              SS_LEFT);
    MakeLabel(m_lblDisabled, skin, L"LblDisabled", L"IDS_CB_DISABLED", nullptr, IDC_LBL_DISABLED,
              SS_LEFT | WS_DISABLED);
    // The disabled label has no icon: its text lines up with the others' all the same.
    m_lblDisabled.SetTextAlign(Gdiplus::StringAlignmentFar, Gdiplus::StringAlignmentCenter);

    const _WIN_POS* logo = skin.layout.GetWinPos(L"LblLogo");
    CString caption;
    int size = 0;
    skin.text.GetFontAndTextMain2(L"IDS_CB_LOGO", caption, size);
    m_imgLogo.Create(caption, WS_CHILD | WS_VISIBLE | SS_CENTER, logo->rc, this, IDC_LBL_LOGO);
    m_imgLogo.SetImageBk(skin.images.GetImageFile(L"cb_label_back"), CRect(0, 0, 8, 8));
    m_imgLogo.SetImage(skin.images.GetImageFile(L"cb_logo"));
    if (size > 0)
        m_imgLogo.SetInitFont(skin.fontName, size, Gdiplus::FontStyleBold);
    m_imgLogo.SetTextColor(logo->clrText);
    m_imgLogo.SetTextAlign(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter);
    return TRUE;
}

void CLabelPanel::MakeLabel(CCtrlStatic& label, DemoSkin& skin, LPCWSTR section, LPCWSTR textKey,
                            LPCWSTR icon, UINT id, DWORD style)
{
    const _WIN_POS* pos = skin.layout.GetWinPos(section);
    CString text;
    int size = 0;
    skin.text.GetFontAndTextMain2(textKey, text, size);
    CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, pos->nX, pos->nY, pos->nCX,
                    pos->nCY, m_hWnd, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)),
                    nullptr, nullptr);
    label.SubclassDlgItem(id, this);
    label.SetBkImage(skin.images.GetImageFile(L"cb_label_back"), -1, -1, 0);
    if (icon)
        label.SetImageIcon(skin.images.GetImageFile(icon));
    if (size > 0)
        label.SetInitFont(skin.fontName, size, Gdiplus::FontStyleRegular);
    label.SetTextColor(pos->clrText, CCtrlStatic::Enabled);
    label.SetTextColor(pos->clrColor[1], CCtrlStatic::DisabledColour);
    label.SetTextAlign(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter);
}

BOOL CLabelPanel::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CLabelPanel::OnPaint()
{
    // The labels paint their whole rectangles; between them the dialog's skin shows.
    CPaintDC dc(this);
}
