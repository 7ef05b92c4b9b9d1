// Loads the library as a host does and watches its graphics start-up and shut-down: this
// program's own definitions of the two functions take the place of the library's.
#include "platform/gdiplus/Gdiplus.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<ULONG_PTR> g_started, g_stopped;
} // namespace

namespace Gdiplus {
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output)
{
    EXPECT_EQ(output, nullptr);
    EXPECT_EQ(input->GdiplusVersion, 1u);
    *token = 0xC0FFEE + g_started.size();
    g_started.push_back(*token);
    return Ok;
}
void GdiplusShutdown(ULONG_PTR token)
{
    g_stopped.push_back(token);
}
} // namespace Gdiplus

TEST(LibraryLoad, StartsGraphicsOnceAndStopsItOnceWithTheSameToken)
{
    void* lib = dlopen(SKINKIT_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    ASSERT_EQ(g_started.size(), 1u);
    EXPECT_TRUE(g_stopped.empty());
    ASSERT_EQ(dlclose(lib), 0);
    EXPECT_EQ(dlopen(SKINKIT_LIBRARY, RTLD_NOW | RTLD_NOLOAD), nullptr)
        << "the library stayed loaded";
    ASSERT_EQ(g_stopped.size(), 1u);
    EXPECT_EQ(g_stopped[0], g_started[0]);
    EXPECT_EQ(g_started.size(), 1u);
}
