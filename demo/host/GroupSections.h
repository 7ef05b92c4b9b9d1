// The demo's group boxes and hyperlink: a frame with an icon around the buttons, a disabled
// group with its children, and a link that opens the project's README. Positions come from the
// layout file's Grp and Lnk sections, texts from the language file's [GroupBox] section.
#pragma once

#include "controls/CtrlGroupBox.h"
#include "controls/HyperLink.h"

struct DemoSkin;

enum GroupSectionIds : UINT {
    IDC_GRP_BUTTONS = 1300,
    IDC_GRP_DISABLED = 1301,
    IDC_GRP_OPTION = 1302,
    IDC_GRP_NOTE = 1303,
    IDC_LNK_README = 1304,
};

class CGroupSections
{
public:
    // Makes the controls on `dialog`; the texts come from the skin folder's language file.
    void Create(CWnd& dialog, DemoSkin& skin);

    CCtrlGroupBox m_grpButtons;
    CCtrlGroupBox m_grpDisabled;
    CButton m_chkOption;
    CStatic m_lblNote;
    CHyperLink m_lnkReadme;
};

// The README the link opens: the source tree's while the demo runs from its build folder,
// else the installed one.
CString DemoReadmePath();
