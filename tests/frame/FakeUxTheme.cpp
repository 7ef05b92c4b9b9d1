// Stands in for the visual-styles library: answers as a themed desktop would and records
// what was closed.
#include <cstdint>

namespace {
int g_closeCount = 0;
void* g_lastClosed = nullptr;
} // namespace

extern "C" {
int IsThemeActive()
{
    return 1;
}
int IsAppThemed()
{
    return 1;
}
void* OpenThemeData(void*, const wchar_t* classList)
{
    return (classList && classList[0] == L'B') ? reinterpret_cast<void*>(0x7E) : nullptr;
}
std::int32_t CloseThemeData(void* theme)
{
    ++g_closeCount;
    g_lastClosed = theme;
    return 0;
}
std::int32_t DrawThemeBackground(void*, void*, int, int, const void*, const void*)
{
    return 0;
}
std::int32_t GetThemeColor(void*, int, int, int propId, std::uint32_t* color)
{
    if (propId != 3803)
        return static_cast<std::int32_t>(0x80070490); // element not found
    *color = 0x00123456;
    return 0;
}
// How many theme handles were closed; in `last` the last of them.
int FakeClosed(void** last)
{
    *last = g_lastClosed;
    return g_closeCount;
}
}
