// File and folder choosers and the emptying of a folder. Paths are wide texts in caller-owned
// buffers of 260 characters (MAX_PATH, the terminating NUL included).
//
// The choosers are the desktop's own (see util/chooser/Chooser.h). Every chooser answers 0
// when it was cancelled, when no chooser can be shown, and when the chosen path does not fit
// the caller's buffer; a cancelled chooser leaves the buffer as it was.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <vector>

// Browse flags.
constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;
constexpr UINT BIF_NEWDIALOGSTYLE = 0x0040;
constexpr UINT BIF_NONEWFOLDERBUTTON = 0x0200;
// Browser messages to the callback, and the one it sends back.
constexpr UINT BFFM_INITIALIZED = 1;
constexpr UINT BFFM_SELCHANGED = 2;
constexpr UINT BFFM_SETSELECTIONW = 0x0467;
// Item attribute of a shell link (here: a symbolic link).
constexpr DWORD SFGAO_LINK = 0x00010000;
// Open-file flag: ask before answering a name that does not exist yet.
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;

// What the fullest SelectFolder hands its browse callback. Texts are borrowed.
struct SelectFolderParam
{
    LPCWSTR pszCaption;    // window caption, and the title above the folders
    LPCWSTR pszInitFolder; // selected when the browser opens
    LPCWSTR pszOkText;
    LPCWSTR pszCancelText;
    UINT ulFlags; // the browse flags (kept, not read by the callback)
};

class CUtilPath
{
public:
    CUtilPath() = default;
    CUtilPath& operator=(const CUtilPath&) = default;
    ~CUtilPath() = default;

    // pszFilter: description and pattern pairs, each NUL-terminated, the list ending in an
    // empty text ("Images\0*.png;*.jpg\0\0"). With bCreatePrompt, a name that does not exist
    // yet may be typed and is answered only after the user agrees to create it. A null
    // pszPath shows the chooser and answers 0.
    int SelectFile(HWND hWnd, wchar_t* pszFilter, wchar_t* pszInitFolder, wchar_t* pszPath,
                   int bCreatePrompt);
    // The same chooser letting several existing files be chosen at once: answers how many were
    // chosen and puts their paths, in the chooser's order, in place of `paths`' contents; 0
    // leaves `paths` as it was. Paths have no length limit here.
    int SelectFiles(HWND hWnd, wchar_t* pszFilter, wchar_t* pszInitFolder,
                    std::vector<CString>& paths);
    int SelectFolder(HWND hWnd, wchar_t* pszPath);
    int SelectFolder(HWND hWnd, wchar_t* pszPath, wchar_t* pszTitle);
    // The OK button stays off for a choice that is not an existing folder on disk or that is
    // a symbolic link, and such a choice answers 0.
    int SelectFolder(HWND hWnd, wchar_t* pszInitFolder, wchar_t* pszCaption, wchar_t* pszPath,
                     wchar_t* pszOkText, wchar_t* pszCancelText, int bNewFolder);
    // Deletes the files directly inside the folder; sub-folders and the folder itself stay.
    void RemoveAll(wchar_t* pszFolder);

    // The fullest SelectFolder's browse callback; hWnd is the browser window, lpData the
    // SelectFolderParam.
    static int SelectFolderCallback(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
};
