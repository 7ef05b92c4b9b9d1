#include "util/UtilPath.h"

#include "platform/base/CString.h"
#include "platform/base/FilePath.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WinUser.h"
#include "util/chooser/Browser.h"
#include "util/chooser/Chooser.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <cwchar>

namespace {

std::string Utf8(const wchar_t* text)
{
    return text ? CString(text).ToUtf8() : std::string();
}

// A caller's folder as a path on disk: backslashes and letter case as the file system has them.
std::string DiskFolder(const wchar_t* folder)
{
    return folder && folder[0] ? platform::ResolvePath(CString(folder)) : std::string();
}

// The filter list as pairs of description and patterns. Patterns are split at ';', and "*.*"
// (every file on Windows, with or without an extension) becomes "*".
std::vector<chooser::Filter> ParseFilter(const wchar_t* list)
{
    std::vector<chooser::Filter> filters;
    if (!list)
        return filters;
    while (list[0]) {
        const wchar_t* description = list;
        const wchar_t* patterns = description + std::wcslen(description) + 1;
        if (!patterns[0])
            break; // a description without patterns ends the list
        chooser::Filter f{Utf8(description), {}};
        CString all(patterns);
        int pos = 0;
        for (CString p = all.Tokenize(L";", pos); pos >= 0; p = all.Tokenize(L";", pos)) {
            p.Trim();
            if (!p.IsEmpty())
                f.patterns.push_back(p == L"*.*" ? std::string("*") : p.ToUtf8());
        }
        filters.push_back(std::move(f));
        list = patterns + std::wcslen(patterns) + 1;
    }
    return filters;
}

// Copies a chosen path into a 260-character buffer; false when it does not fit.
bool CopyOut(const std::string& path, wchar_t* out)
{
    const CString wide = CString::FromPathBytes(path);
    if (wide.IsEmpty() || wide.GetLength() >= MAX_PATH)
        return false;
    std::wmemcpy(out, wide.GetString(), wide.GetLength() + 1);
    return true;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

using BrowseCallback = int (*)(HWND, UINT, LPARAM, LPARAM);

// The shell's folder browser on the desktop's chooser. A callback gets a browser window to set
// up, sees the user's choice, and may turn OK off for that choice.
int Browse(HWND owner, const std::string& title, UINT flags, BrowseCallback callback, LPARAM data,
           wchar_t* out)
{
    chooser::Request request;
    request.kind = chooser::Request::Kind::Folder;
    request.title = title;
    request.newFolderButton = (flags & BIF_NEWDIALOGSTYLE) && !(flags & BIF_NONEWFOLDERBUTTON);
    request.parentWindow = platform::wnd::NativeWindowHandle(owner);

    chooser::FolderBrowser browser;
    if (callback) {
        if (!browser.CreateBrowser(CString::FromUtf8(title)))
            return 0;
        callback(browser, BFFM_INITIALIZED, 0, data);
        request.title = browser.GetWindowText().ToUtf8();
        request.initialFolder = DiskFolder(browser.Selection());
        request.acceptLabel = browser.ButtonText(IDOK).ToUtf8();
        request.cancelLabel = browser.ButtonText(IDCANCEL).ToUtf8();
    }
    const chooser::Answer answer = chooser::Choose(request);
    if (answer.result != chooser::Answer::Result::Chosen || answer.path.empty())
        return 0;
    if (callback) {
        // The browser turns OK on for every folder of the file system; the callback may turn
        // it off again, which makes the choice one the user could not have confirmed.
        const chooser::BrowserItem item{CString::FromPathBytes(answer.path).Str()};
        ::EnableWindow(::GetDlgItem(browser, IDOK), TRUE);
        callback(browser, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(&item), data);
        if (!browser.IsOkEnabled())
            return 0;
    }
    return out && CopyOut(answer.path, out) ? 1 : 0;
}

} // namespace

// --- files ---

int CUtilPath::SelectFile(HWND hWnd, wchar_t* pszFilter, wchar_t* pszInitFolder, wchar_t* pszPath,
                          int bCreatePrompt)
{
    chooser::Request request;
    request.kind = chooser::Request::Kind::OpenFile;
    request.allowNewName = bCreatePrompt != 0;
    request.initialFolder = DiskFolder(pszInitFolder);
    request.filters = ParseFilter(pszFilter);
    request.parentWindow = platform::wnd::NativeWindowHandle(hWnd);

    for (;;) {
        const chooser::Answer answer = chooser::Choose(request);
        if (answer.result != chooser::Answer::Result::Chosen || answer.path.empty())
            return 0;
        if (bCreatePrompt && !Exists(answer.path)) {
            // As the open-file dialog does: ask, and on "no" stay in the chooser.
            const chooser::Answer yes = chooser::Ask(
                {"Open", answer.path + "\nThis file does not exist.\nDo you want to create it?"});
            if (yes.result == chooser::Answer::Result::Unavailable)
                return 0;
            if (yes.result != chooser::Answer::Result::Chosen) {
                request.initialFolder = answer.path.substr(0, answer.path.rfind('/') + 1);
                continue;
            }
        }
        if (!pszPath || !CopyOut(answer.path, pszPath))
            return 0;
        return 1;
    }
}

int CUtilPath::SelectFiles(HWND hWnd, wchar_t* pszFilter, wchar_t* pszInitFolder,
                           std::vector<CString>& paths)
{
    chooser::Request request;
    request.kind = chooser::Request::Kind::OpenFile;
    request.multiple = true;
    request.initialFolder = DiskFolder(pszInitFolder);
    request.filters = ParseFilter(pszFilter);
    request.parentWindow = platform::wnd::NativeWindowHandle(hWnd);
    const chooser::Answer answer = chooser::Choose(request);
    if (answer.result != chooser::Answer::Result::Chosen || answer.paths.empty())
        return 0;
    std::vector<CString> chosen;
    for (const std::string& path : answer.paths)
        chosen.push_back(CString::FromPathBytes(path));
    paths = std::move(chosen);
    return static_cast<int>(paths.size());
}

// --- folders ---

int CUtilPath::SelectFolder(HWND hWnd, wchar_t* pszPath)
{
    return Browse(hWnd, {}, BIF_RETURNONLYFSDIRS, nullptr, 0, pszPath);
}

int CUtilPath::SelectFolder(HWND hWnd, wchar_t* pszPath, wchar_t* pszTitle)
{
    return Browse(hWnd, Utf8(pszTitle), BIF_RETURNONLYFSDIRS, nullptr, 0, pszPath);
}

int CUtilPath::SelectFolder(HWND hWnd, wchar_t* pszInitFolder, wchar_t* pszCaption,
                            wchar_t* pszPath, wchar_t* pszOkText, wchar_t* pszCancelText,
                            int bNewFolder)
{
    const UINT flags =
        BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | (bNewFolder ? 0 : BIF_NONEWFOLDERBUTTON);
    SelectFolderParam param{pszCaption, pszInitFolder, pszOkText, pszCancelText, flags};
    return Browse(hWnd, Utf8(pszCaption), flags, &CUtilPath::SelectFolderCallback,
                  reinterpret_cast<LPARAM>(&param), pszPath);
}

int CUtilPath::SelectFolderCallback(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData)
{
    const auto* param = reinterpret_cast<const SelectFolderParam*>(lpData);
    if (uMsg == BFFM_INITIALIZED && param) {
        if (param->pszInitFolder && param->pszInitFolder[0])
            SendMessageW(hWnd, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(param->pszInitFolder));
        if (param->pszCaption && param->pszCaption[0])
            SetWindowTextW(hWnd, param->pszCaption);
        SetWindowTextW(GetDlgItem(hWnd, IDOK), param->pszOkText);
        SetWindowTextW(GetDlgItem(hWnd, IDCANCEL), param->pszCancelText);
    } else if (uMsg == BFFM_SELCHANGED) {
        wchar_t path[MAX_PATH] = {};
        const bool usable = chooser::ItemPath(lParam, path) && _waccess(path, 0) == 0 &&
                            !(chooser::ItemAttributes(lParam) & SFGAO_LINK);
        if (!usable)
            EnableWindow(GetDlgItem(hWnd, IDOK), FALSE);
    }
    return 0;
}

// --- emptying a folder ---

void CUtilPath::RemoveAll(wchar_t* pszFolder)
{
    if (!pszFolder || !pszFolder[0])
        return;
    // Deleting goes to the folder exactly as named: a folder found by letter case or with
    // backslashes read as slashes would be another folder's files.
    const std::string folder = platform::ExactPath(CString(pszFolder));
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    // Entries are told apart by name: a directory listing here need not start with ".".
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        // Deleting as a file: a sub-folder is left alone, a symbolic link goes but not what it
        // points to.
        ::unlinkat(::dirfd(dir), name, 0);
    }
    ::closedir(dir);
}
