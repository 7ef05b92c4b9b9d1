#include "platform/host/HostResources.h"

#include "platform/gdiplus/Gdi.h"
#include "platform/wnd/WinUser.h"

#include <cwchar>
#include <map>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

struct Resources
{
    std::mutex lock;
    bool named = false;
    CString appName;
    // Node-based, so that a pointer handed out by LoadStringW stays valid until replaced.
    std::map<UINT, std::wstring> strings;
    std::map<UINT, platform::host::IconSource> icons;
};

Resources& R()
{
    static auto* resources = new Resources;
    return *resources;
}

CString ExecutableName()
{
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return CString(L"skinkit");
    std::string name(path, static_cast<size_t>(n));
    name = name.substr(name.find_last_of('/') + 1);
    if (const size_t dot = name.find_last_of('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    return CString::FromUtf8(name);
}

// LoadImageW's view of the icon table.
bool LookUpPicture(UINT id, platform::ResourcePicture* out)
{
    platform::host::IconSource source;
    if (!platform::host::FindIcon(id, &source))
        return false;
    if (out)
        *out = platform::ResourcePicture{source.path, std::move(source.picture)};
    return true;
}

// The drawing layer learns of the table once the host puts the first icon in it.
void OfferIconsToDrawing()
{
    static const bool offered = (platform::SetResourcePictureLookup(&LookUpPicture), true);
    (void)offered;
}

} // namespace

namespace platform::host {

void SetApplicationName(const CString& name)
{
    std::lock_guard<std::mutex> guard(R().lock);
    R().appName = name;
    R().named = true;
}

CString ApplicationName()
{
    std::lock_guard<std::mutex> guard(R().lock);
    if (!R().named) {
        R().appName = ExecutableName();
        R().named = true;
    }
    return R().appName;
}

void SetString(UINT id, const CString& text)
{
    std::lock_guard<std::mutex> guard(R().lock);
    if (text.IsEmpty())
        R().strings.erase(id);
    else
        R().strings[id] = text.Str();
}

void SetIconFile(UINT id, const CString& path)
{
    OfferIconsToDrawing();
    std::lock_guard<std::mutex> guard(R().lock);
    R().icons[id] = IconSource{path, nullptr};
}

void SetIconPicture(UINT id, Gdiplus::Bitmap& picture)
{
    OfferIconsToDrawing();
    std::shared_ptr<Gdiplus::Bitmap> copy(static_cast<Gdiplus::Bitmap*>(picture.Clone()));
    std::lock_guard<std::mutex> guard(R().lock);
    R().icons[id] = IconSource{CString(), std::move(copy)};
}

void ClearResources()
{
    std::lock_guard<std::mutex> guard(R().lock);
    R().strings.clear();
    R().icons.clear();
}

bool FindIcon(UINT id, IconSource* out)
{
    std::lock_guard<std::mutex> guard(R().lock);
    auto it = R().icons.find(id);
    if (it == R().icons.end())
        return false;
    if (out)
        *out = it->second;
    return true;
}

} // namespace platform::host

int LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int size)
{
    if (!buffer)
        return 0;
    std::lock_guard<std::mutex> guard(R().lock);
    auto it = R().strings.find(id);
    if (size == 0) {
        *reinterpret_cast<LPCWSTR*>(buffer) =
            it != R().strings.end() ? it->second.c_str() : nullptr;
        return it != R().strings.end() ? static_cast<int>(it->second.size()) : 0;
    }
    if (size < 0)
        return 0;
    if (it == R().strings.end()) {
        buffer[0] = L'\0';
        return 0;
    }
    const int n = std::min<int>(size - 1, static_cast<int>(it->second.size()));
    std::wmemcpy(buffer, it->second.c_str(), static_cast<size_t>(n));
    buffer[n] = L'\0';
    return n;
}

LPCWSTR AfxGetAppName()
{
    static thread_local CString name;
    name = platform::host::ApplicationName();
    return name.GetString();
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT)
{
    const CString caption = platform::host::ApplicationName();
    return MessageBoxW(nullptr, text, caption, type);
}
