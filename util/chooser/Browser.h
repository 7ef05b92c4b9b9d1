// The folder browser as its callback sees it: a window of the window layer, never shown, that
// stands for the desktop's chooser while the chooser is up. The callback talks to it as to any
// browser (BFFM_SETSELECTIONW, SetWindowTextW, GetDlgItem and EnableWindow); its selection,
// caption, button texts and the state of OK are then read back as the chooser's options.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/wnd/Wnd.h"

#include <string>

namespace chooser {

class FolderBrowser : public CWnd
{
public:
    // A hidden top-level window captioned `title`, with OK (IDOK) and Cancel (IDCANCEL)
    // buttons. The buttons start without text, which leaves the chooser its own labels.
    BOOL CreateBrowser(const CString& title);

    // The folder last selected by path; empty when none was.
    const CString& Selection() const { return m_selection; }
    // The text of button `id`; empty for a button that has none or does not exist.
    CString ButtonText(int id) const;
    BOOL IsOkEnabled() const;

protected:
    // wParam TRUE: lParam is the folder's path. Item lists are not known here.
    LRESULT OnSetSelection(WPARAM byPath, LPARAM path);
    DECLARE_MESSAGE_MAP()

private:
    CString m_selection;
};

// One selected item: a path on disk, or none for a location outside the file system.
struct BrowserItem
{
    std::wstring path;
};

// The item's path into a 260-character buffer; false when it has none or it does not fit.
BOOL ItemPath(LPARAM item, wchar_t* path);
// SFGAO_LINK for a symbolic link, else 0.
DWORD ItemAttributes(LPARAM item);

} // namespace chooser
