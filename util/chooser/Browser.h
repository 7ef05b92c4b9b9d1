// The folder browser as its callback sees it: a window whose selection, caption and button
// texts the callback sets and whose OK button it turns off, and the items it reports.
//
// FIXME: once the window layer has windows, the browser becomes one of them and these calls
// become BFFM_SETSELECTIONW, SetWindowTextW, GetDlgItem and EnableWindow on it. Until then a
// browser handle names one of these records, live for the length of one chooser call.
#pragma once

#include "platform/base/WinTypes.h"

#include <string>

namespace chooser {

struct BrowserState
{
    std::wstring selection; // the folder to open on
    std::wstring caption;   // the window caption; empty: the chooser's own
    std::wstring okText;
    std::wstring cancelText;
    bool okEnabled = true;
};

// One selected item: a path on disk, or none for a location outside the file system.
struct BrowserItem
{
    std::wstring path;
};

// Makes `state` reachable through the returned handle until Unregister.
HWND RegisterBrowser(BrowserState* state);
void UnregisterBrowser(HWND browser);

// What the callback does to the browser; calls on an unknown handle do nothing.
void BrowserSelect(HWND browser, LPCWSTR path);
void BrowserSetCaption(HWND browser, LPCWSTR caption);
void BrowserSetButtonText(HWND browser, int id, LPCWSTR text); // null: no text
void BrowserEnableButton(HWND browser, int id, BOOL enable);

// The item's path into a 260-character buffer; false when it has none or it does not fit.
BOOL ItemPath(LPARAM item, wchar_t* path);
// SFGAO_LINK for a symbolic link, else 0.
DWORD ItemAttributes(LPARAM item);

} // namespace chooser
