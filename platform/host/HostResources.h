// What a host's executable carries as resources on Windows (string tables, icons) and its
// application name, here registered by the host at start-up. The library reads them through the
// usual calls: LoadStringW, LoadImageW with a resource number, AfxGetAppName, and the caption
// of AfxMessageBox.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <memory>

namespace Gdiplus {
class Bitmap;
}

namespace platform::host {

// The name message boxes carry; by default the executable's file name without its extension.
void SetApplicationName(const CString& name);
CString ApplicationName();

// String `id` (below 0x10000, as resource numbers are); an empty text removes it.
void SetString(UINT id, const CString& text);
// Icon `id` from a picture file (ICO, PNG, ...), decoded at the size each load asks for.
void SetIconFile(UINT id, const CString& path);
// Icon `id` from pixels (copied), scaled to the size each load asks for.
void SetIconPicture(UINT id, Gdiplus::Bitmap& picture);
// Forgets every string and icon.
void ClearResources();

// Where icon `id` comes from; false when the host registered none.
struct IconSource
{
    CString path;                             // a picture file, or
    std::shared_ptr<Gdiplus::Bitmap> picture; // pixels
};
bool FindIcon(UINT id, IconSource* out);

} // namespace platform::host

// Copies string `id` into `buffer` (at most size - 1 characters and a terminator) and answers
// its length; 0 when there is no such string. With size 0, `buffer` receives a pointer to the
// string itself (valid until it is replaced), as LoadStringW does.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);

LPCWSTR AfxGetAppName();
// A message box with the application name as its caption; answers the button chosen.
int AfxMessageBox(LPCWSTR text, UINT type = 0, UINT helpId = 0);
