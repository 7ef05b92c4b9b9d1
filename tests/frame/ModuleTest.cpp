#include "frame/ModuleFrame.h"
#include "platform/gdiplus/Gdiplus.h"

#include <gtest/gtest.h>

namespace {

int ChainLength()
{
    int n = 0;
    for (CDynLinkLibrary* dll = AfxGetFirstDynLinkLibrary(); dll; dll = dll->m_pNextDLL)
        ++n;
    return n;
}

} // namespace

TEST(ModuleEntry, GraphicsRunsAndTheModuleIsInTheFrameworkChain)
{
    ASSERT_TRUE(AfxGetSkinkitModule().bInitialized);
    bool found = false;
    for (CDynLinkLibrary* dll = AfxGetFirstDynLinkLibrary(); dll; dll = dll->m_pNextDLL)
        found = found || (dll->m_hModule == AfxGetSkinkitModule().hModule && !dll->m_bSystem);
    EXPECT_TRUE(found);
    // Thread notifications change nothing: graphics still runs after them.
    for (DWORD reason : {DWORD(DLL_THREAD_ATTACH), DWORD(DLL_THREAD_DETACH), DWORD(7)})
        EXPECT_EQ(DllMain(AfxGetSkinkitModule().hModule, reason, nullptr), TRUE) << reason;
    Gdiplus::Bitmap after(2, 2, Gdiplus::PixelFormat32bppARGB);
    EXPECT_EQ(after.GetLastStatus(), Gdiplus::Ok);
}

TEST(ModuleEntry, RefusedRegistrationFailsTheLoadWithoutStartingGraphics)
{
    // A null module is what the framework refuses; nothing else may happen.
    AFX_EXTENSION_MODULE& module = AfxGetSkinkitModule();
    const AFX_EXTENSION_MODULE saved = module;
    module.bInitialized = FALSE;
    const int chain = ChainLength();
    EXPECT_EQ(DllMain(nullptr, DLL_PROCESS_ATTACH, nullptr), FALSE);
    EXPECT_EQ(ChainLength(), chain);
    module = saved;
}
