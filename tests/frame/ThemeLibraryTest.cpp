#include "frame/ThemeLibrary.h"

#include <gtest/gtest.h>

#include <utility>

#if THEME_LIBRARY_PRESENT

TEST(ThemeLibraryPresent, ProcessHolderLoadsItAndHoldersCloseTheirThemeDataOnce)
{
    CThemeLibrary* process = AfxGetThemeLibrary();
    ASSERT_NE(process, nullptr);
    ASSERT_NE(process->m_hModule, nullptr);
    EXPECT_EQ(std::pair(process->IsThemeActive(), process->IsAppThemed()), std::pair(TRUE, TRUE));
    COLORREF colour = 0;
    EXPECT_EQ(process->GetThemeColor(reinterpret_cast<HTHEME>(0x7E), 4, 1, 3803, &colour), S_OK);
    EXPECT_EQ(colour, 0x00123456u);
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(
        process->DrawThemeBackground(reinterpret_cast<HTHEME>(0x7E), nullptr, 4, 1, &r, nullptr),
        S_OK);

    // A holder closes its theme data once and keeps its own reference to the library.
    auto closed =
        reinterpret_cast<int (*)(void**)>(GetProcAddress(process->m_hModule, "FakeClosed"));
    ASSERT_NE(closed, nullptr);
    void* last = nullptr;
    const int before = closed(&last);
    {
        CThemeLibrary holder;
        ASSERT_NE(holder.m_hModule, nullptr);
        holder.m_hTheme = holder.OpenThemeData(nullptr, L"BUTTON");
        ASSERT_EQ(holder.m_hTheme, reinterpret_cast<HTHEME>(0x7E));
    }
    EXPECT_EQ(closed(&last), before + 1);
    EXPECT_EQ(last, reinterpret_cast<void*>(0x7E));
    // The process-wide reference keeps the library usable.
    EXPECT_EQ(process->IsThemeActive(), TRUE);
    {
        CThemeLibrary untouched;
    }
    EXPECT_EQ(closed(&last), before + 1);
}

#else

TEST(ThemeLibraryMissing, EveryEntryPointAnswersItsFallback)
{
    CThemeLibrary* process = AfxGetThemeLibrary();
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(process->m_hModule, nullptr);
    EXPECT_EQ(std::pair(process->IsThemeActive(), process->IsAppThemed()), std::pair(FALSE, FALSE));
    EXPECT_EQ(process->OpenThemeData(nullptr, L"BUTTON"), nullptr);
    EXPECT_EQ(process->CloseThemeData(reinterpret_cast<HTHEME>(1)), E_FAIL);
    RECT r{0, 0, 1, 1};
    EXPECT_EQ(process->DrawThemeBackground(nullptr, nullptr, 4, 1, &r, nullptr), E_FAIL);
    COLORREF colour = 0xABCDEF;
    EXPECT_EQ(process->GetThemeColor(nullptr, 4, 1, 3803, &colour), E_FAIL);
    EXPECT_EQ(colour, 0xABCDEFu);
    // A holder that received a handle all the same goes away quietly.
    CThemeLibrary holder;
    holder.m_hTheme = reinterpret_cast<HTHEME>(1);
}

#endif
