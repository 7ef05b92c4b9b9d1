#include "util/chooser/Browser.h"

#include "platform/base/CString.h"
#include "platform/base/FilePath.h"

#include <sys/stat.h>

#include <cwchar>
#include <mutex>
#include <unordered_set>

namespace chooser {
namespace {

constexpr int kIdOk = 1;         // IDOK
constexpr int kIdCancel = 2;     // IDCANCEL
constexpr DWORD kLink = 0x10000; // SFGAO_LINK

std::mutex g_mutex;
std::unordered_set<BrowserState*> g_browsers;

BrowserState* Find(HWND browser)
{
    auto* state = reinterpret_cast<BrowserState*>(browser);
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_browsers.count(state) ? state : nullptr;
}

} // namespace

HWND RegisterBrowser(BrowserState* state)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_browsers.insert(state);
    return reinterpret_cast<HWND>(state);
}

void UnregisterBrowser(HWND browser)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_browsers.erase(reinterpret_cast<BrowserState*>(browser));
}

void BrowserSelect(HWND browser, LPCWSTR path)
{
    if (BrowserState* s = Find(browser))
        s->selection = path ? path : L"";
}

void BrowserSetCaption(HWND browser, LPCWSTR caption)
{
    if (BrowserState* s = Find(browser))
        s->caption = caption ? caption : L"";
}

void BrowserSetButtonText(HWND browser, int id, LPCWSTR text)
{
    BrowserState* s = Find(browser);
    if (!s)
        return;
    if (id == kIdOk)
        s->okText = text ? text : L"";
    else if (id == kIdCancel)
        s->cancelText = text ? text : L"";
}

void BrowserEnableButton(HWND browser, int id, BOOL enable)
{
    if (BrowserState* s = Find(browser); s && id == kIdOk)
        s->okEnabled = enable != 0;
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
    return S_ISLNK(st.st_mode) ? kLink : 0;
}

} // namespace chooser
