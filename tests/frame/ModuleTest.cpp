#include "frame/ModuleFrame.h"
#include "platform/gdiplus/Gdiplus.h"

#include <gtest/gtest.h>

TEST(ModuleEntry, GraphicsRunsAndTheModuleIsInTheFrameworkChain)
{
    Gdiplus::Bitmap b(2, 2, Gdiplus::PixelFormat32bppARGB);
    EXPECT_EQ(b.GetLastStatus(), Gdiplus::Ok);
    ASSERT_TRUE(AfxGetSkinkitModule().bInitialized);
    bool found = false;
    for (CDynLinkLibrary* dll = AfxGetFirstDynLinkLibrary(); dll; dll = dll->m_pNextDLL)
        found = found || (dll->m_hModule == AfxGetSkinkitModule().hModule && !dll->m_bSystem);
    EXPECT_TRUE(found);
}

TEST(ModuleEntry, ThreadNotificationsChangeNothing)
{
    const HINSTANCE self = AfxGetSkinkitModule().hModule;
    EXPECT_EQ(DllMain(self, DLL_THREAD_ATTACH, nullptr), TRUE);
    EXPECT_EQ(DllMain(self, DLL_THREAD_DETACH, nullptr), TRUE);
    EXPECT_EQ(DllMain(self, 7, nullptr), TRUE);
    Gdiplus::Bitmap b(2, 2, Gdiplus::PixelFormat32bppARGB);
    EXPECT_EQ(b.GetLastStatus(), Gdiplus::Ok);
}

TEST(ModuleEntry, RefusedRegistrationFailsTheLoadWithoutStartingGraphics)
{
    // A null module is what the framework refuses; nothing else may happen.
    AFX_EXTENSION_MODULE& module = AfxGetSkinkitModule();
    const AFX_EXTENSION_MODULE saved = module;
    module.bInitialized = FALSE;
    int chainBefore = 0;
    for (CDynLinkLibrary* dll = AfxGetFirstDynLinkLibrary(); dll; dll = dll->m_pNextDLL)
        ++chainBefore;
    EXPECT_EQ(DllMain(nullptr, DLL_PROCESS_ATTACH, nullptr), FALSE);
    int chainAfter = 0;
    for (CDynLinkLibrary* dll = AfxGetFirstDynLinkLibrary(); dll; dll = dll->m_pNextDLL)
        ++chainAfter;
    EXPECT_EQ(chainAfter, chainBefore);
    module = saved;
}
