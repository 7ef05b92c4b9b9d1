#include "platform/base/CArray.h"
#include "platform/base/CMap.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
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
    int a = 0, upper = 0, b = 0;
    const auto found = std::tuple(m.Lookup(L"a", a), m.Lookup(L"A", upper), m.Lookup(L"b", b));
    EXPECT_EQ(found, std::tuple(TRUE, TRUE, FALSE));
    EXPECT_EQ(std::pair(a, upper), std::pair(3, 2));
    const BOOL removed = m.RemoveKey(L"A");
    EXPECT_EQ(std::tuple(removed, m.RemoveKey(L"A"), m.GetCount()), std::tuple(TRUE, FALSE, 1));

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
