#include "util/chooser/Browser.h"

#include "platform/base/FilePath.h"
#include "util/UtilPath.h"

#include <sys/stat.h>

#include <cstdint>
#include <cwchar>

namespace chooser {

BEGIN_MESSAGE_MAP(FolderBrowser, CWnd)
ON_MESSAGE(BFFM_SETSELECTIONW, OnSetSelection)
END_MESSAGE_MAP()

BOOL FolderBrowser::CreateBrowser(const CString& title)
{
    // Never shown, so the size only has to hold the buttons.
    if (!CreateEx(0, nullptr, title, WS_POPUP | WS_CAPTION, CRect(0, 0, 400, 300), nullptr, 0))
        return FALSE;
    const struct
    {
        int id;
        DWORD style;
        int x;
    } buttons[] = {{IDOK, BS_DEFPUSHBUTTON, 220}, {IDCANCEL, BS_PUSHBUTTON, 310}};
    for (const auto& b : buttons) {
        const HMENU id = reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(b.id));
        if (!::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | b.style, b.x,
                               260, 80, 28, m_hWnd, id, nullptr, nullptr)) {
            DestroyWindow();
            return FALSE;
        }
    }
    return TRUE;
}

CString FolderBrowser::ButtonText(int id) const
{
    const HWND button = ::GetDlgItem(m_hWnd, id);
    return button ? CWnd::FromHandle(button)->GetWindowText() : CString();
}

BOOL FolderBrowser::IsOkEnabled() const
{
    const HWND ok = ::GetDlgItem(m_hWnd, IDOK);
    return ok && ::IsWindowEnabled(ok);
}

LRESULT FolderBrowser::OnSetSelection(WPARAM byPath, LPARAM path)
{
    if (byPath)
        m_selection = reinterpret_cast<LPCWSTR>(path);
    return 0;
}

BOOL ItemPath(LPARAM item, wchar_t* path)
{
    const auto* i = reinterpret_cast<const BrowserItem*>(item);
    if (!i || !path || i->path.empty() || i->path.size() >= MAX_PATH)
        return FALSE;
    std::wmemcpy(path, i->path.c_str(), i->path.size() + 1);
    return TRUE;
}

DWORD ItemAttributes(LPARAM item)
{
    const auto* i = reinterpret_cast<const BrowserItem*>(item);
    struct stat st;
    if (!i || i->path.empty() || ::lstat(platform::ResolvePath(CString(i->path)).c_str(), &st) != 0)
        return 0;
    return S_ISLNK(st.st_mode) ? SFGAO_LINK : 0;
}

} // namespace chooser
