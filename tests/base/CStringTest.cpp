#include "platform/base/CString.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(CStringConversion, Utf8AndUtf16KeepNonBmpCharactersAndRepairBadInput)
{
    const CString s(L"Gr\u00fc\u00dfe \U0001F600");
    EXPECT_EQ(s.GetLength(), 7);
    EXPECT_EQ(s.ToUtf8(), "Gr\xc3\xbc\xc3\x9f"
                          "e \xf0\x9f\x98\x80");
    EXPECT_EQ(CString::FromUtf8(s.ToUtf8()), s);
    // UTF-16 uses surrogate pairs; lone ones and bad UTF-8 become U+FFFD.
    EXPECT_EQ(CString(L"a\U0001F600").ToUtf16(), std::u16string(u"a\xD83D\xDE00"));
    const char16_t lone[] = {u'x', 0xD800, u'y'};
    EXPECT_EQ(CString::FromUtf16(lone, 3), CString(L"x\uFFFDy"));
    EXPECT_EQ(CString::FromUtf8("\xff"
                                "ab"),
              CString(L"\uFFFDab"));
}

TEST(CStringFormat, WideConventions)
{
    CString s;
    s.Format(L"%s\\%s", L"skin\\img", L"a.png");
    EXPECT_EQ(s, L"skin\\img\\a.png");
    s.Format(L"%S|%c|%5.2f|%I64d", "narrow", L'w', 1.5, 1234567890123LL);
    EXPECT_EQ(s, L"narrow|w| 1.50|1234567890123");
    CString big;
    big.Format(L"%s", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(big.GetLength(), 5000);
}

TEST(CStringEdit, FindMidDeleteTokenizeAndBounds)
{
    CString s(L"10,20,30");
    EXPECT_EQ(std::tuple(s.Find(L','), s.Find(L',', 3), s.Find(L"x")), std::tuple(2, 5, -1));
    EXPECT_EQ(s.Mid(3), L"20,30");
    EXPECT_EQ(s.Mid(100) + s.Left(-1), L"");
    s.Delete(0, 3);
    EXPECT_EQ(s, L"20,30");
    s.Delete(10, 2);
    EXPECT_EQ(s, L"20,30");
    CString t(L"  x y \t");
    EXPECT_EQ(t.Trim(), L"x y");
    // The length is recounted from the terminator when a buffer is released.
    wcscpy(t.GetBuffer(10), L"abc");
    t.ReleaseBuffer();
    EXPECT_EQ(t.GetLength(), 3);
    // Tokenize skips runs of delimiters.
    const CString runs(L",,12,,a,b,");
    int pos = 0;
    std::vector<std::wstring> tokens;
    for (CString token = runs.Tokenize(L",", pos); pos != -1; token = runs.Tokenize(L",", pos))
        tokens.push_back(token.Str());
    EXPECT_EQ(tokens, (std::vector<std::wstring>{L"12", L"a", L"b"}));
}

TEST(WideRuntime, WtoiFollowsTheDecimalRule)
{
    EXPECT_EQ(std::tuple(_wtoi(L"  -42abc"), _wtoi(L"+7"), _wtoi(L"abc")), std::tuple(-42, 7, 0));
    EXPECT_EQ(_wcsicmp(L"ABC", L"abc"), 0);
    EXPECT_LT(_wcsicmp(L"abc", L"abd"), 0);
}
