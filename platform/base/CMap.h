// The framework's hash map. Entries live in chained nodes, so a walk position is a node and
// SetAt of an existing key replaces its value in place.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"

#include <functional>
#include <string_view>
#include <type_traits>
#include <vector>

struct POSITION__;
using POSITION = POSITION__*;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))

// Hash values agree between a key type and the argument type it is looked up by
// (CString and const wchar_t*).
inline size_t HashKey(const CString& key)
{
    return std::hash<std::wstring_view>()(key.Str());
}
inline size_t HashKey(const wchar_t* key)
{
    return std::hash<std::wstring_view>()(key ? key : L"");
}
template <class T>
requires std::is_integral_v<T> || std::is_enum_v<T> || std::is_pointer_v<T>
inline size_t HashKey(T key)
{
    return std::hash<T>()(key);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject
{
    struct CAssoc
    {
        CAssoc* pNext;
        size_t nHash;
        KEY key;
        VALUE value;
    };

public:
    CMap() = default;
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_nCount); }
    INT_PTR GetSize() const { return GetCount(); }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // Sets the bucket count before the first insertion.
    void InitHashTable(UINT size)
    {
        if (m_nCount == 0 && size > 0)
            m_buckets.assign(size, nullptr);
    }

    BOOL Lookup(ARG_KEY key, VALUE& value) const
    {
        const CAssoc* a = Find(key);
        if (!a)
            return FALSE;
        value = a->value;
        return TRUE;
    }

    // The value of `key`, inserting a value-initialised one when the key is new.
    VALUE& operator[](ARG_KEY key)
    {
        const size_t h = HashKey(key);
        if (CAssoc* a = Find(key, h))
            return a->value;
        return Insert(key, h)->value;
    }

    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        const size_t h = HashKey(key);
        for (CAssoc** link = &m_buckets[h % m_buckets.size()]; *link; link = &(*link)->pNext) {
            if ((*link)->nHash == h && (*link)->key == key) {
                CAssoc* dead = *link;
                *link = dead->pNext;
                delete dead;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }

    void RemoveAll()
    {
        for (CAssoc*& head : m_buckets) {
            while (head) {
                CAssoc* next = head->pNext;
                delete head;
                head = next;
            }
        }
        m_nCount = 0;
    }

    POSITION GetStartPosition() const
    {
        return m_nCount == 0 ? nullptr : reinterpret_cast<POSITION>(FirstFrom(0));
    }

    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const
    {
        const CAssoc* a = reinterpret_cast<const CAssoc*>(pos);
        key = a->key;
        value = a->value;
        const CAssoc* next = a->pNext ? a->pNext : FirstFrom(a->nHash % m_buckets.size() + 1);
        pos = reinterpret_cast<POSITION>(const_cast<CAssoc*>(next));
    }

private:
    CAssoc* Find(ARG_KEY key) const { return Find(key, HashKey(key)); }
    CAssoc* Find(ARG_KEY key, size_t h) const
    {
        if (m_buckets.empty())
            return nullptr;
        for (CAssoc* a = m_buckets[h % m_buckets.size()]; a; a = a->pNext)
            if (a->nHash == h && a->key == key)
                return a;
        return nullptr;
    }

    CAssoc* FirstFrom(size_t bucket) const
    {
        for (size_t b = bucket; b < m_buckets.size(); ++b)
            if (m_buckets[b])
                return m_buckets[b];
        return nullptr;
    }

    CAssoc* Insert(ARG_KEY key, size_t h)
    {
        if (m_buckets.empty())
            m_buckets.assign(17, nullptr);
        else if (m_nCount >= m_buckets.size())
            Rehash(m_buckets.size() * 2 + 1);
        CAssoc*& head = m_buckets[h % m_buckets.size()];
        head = new CAssoc{head, h, KEY(key), VALUE()};
        ++m_nCount;
        return head;
    }

    void Rehash(size_t count)
    {
        std::vector<CAssoc*> buckets(count, nullptr);
        for (CAssoc* head : m_buckets) {
            while (head) {
                CAssoc* next = head->pNext;
                CAssoc*& slot = buckets[head->nHash % count];
                head->pNext = slot;
                slot = head;
                head = next;
            }
        }
        m_buckets.swap(buckets);
    }

    std::vector<CAssoc*> m_buckets;
    size_t m_nCount = 0;
};

template <class VALUE> using CMapStringTo = CMap<CString, LPCWSTR, VALUE, const VALUE&>;
