#include "platform/base/CArray.h"
#include "platform/base/CMap.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

TEST(CArrayEdit, RemoveAtShiftsLaterElementsAndOutOfRangeThrowsOurInvalidArgument)
{
    CArray<int> a;
    for (int i = 0; i < 5; ++i)
        a.Add(i);
    a.RemoveAt(1, 2);
    ASSERT_EQ(a.GetSize(), 3);
    EXPECT_EQ((std::vector<int>{a[0], a[1], a[2]}), (std::vector<int>{0, 3, 4}));
    EXPECT_THROW(a.RemoveAt(2, 2), CInvalidArgException);
    EXPECT_THROW(a.GetAt(3), CInvalidArgException);
    EXPECT_THROW(a.GetAt(-1), std::invalid_argument);
}

TEST(CMapBehaviour, SetAtReplacesLookupByPointerKeyAndWalksAcrossRehashes)
{
    CMap<CString, LPCWSTR, int, int> m;
    m.SetAt(L"a", 1);
    m.SetAt(L"A", 2);
    m.SetAt(L"a", 3);
    int v = 0;
    EXPECT_TRUE(m.Lookup(L"a", v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(m.Lookup(L"A", v));
    EXPECT_EQ(v, 2);
    EXPECT_FALSE(m.Lookup(L"b", v));
    EXPECT_TRUE(m.RemoveKey(L"A"));
    EXPECT_FALSE(m.RemoveKey(L"A"));
    EXPECT_EQ(m.GetCount(), 1);

    // A walk visits every entry once across rehashes.
    CMap<int, int, int, int> many;
    for (int i = 0; i < 1000; ++i)
        many[i] = i * 2;
    std::map<int, int> seen;
    for (POSITION pos = many.GetStartPosition(); pos;) {
        int k, value;
        many.GetNextAssoc(pos, k, value);
        seen[k] = value;
    }
    ASSERT_EQ(seen.size(), 1000u);
    EXPECT_EQ(seen[999], 1998);
    many.RemoveAll();
    EXPECT_EQ(many.GetStartPosition(), nullptr);
}
