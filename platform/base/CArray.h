// The framework's growable array. Element access through GetAt, SetAt, ElementAt and
// operator[] checks the index and throws CInvalidArgException when it is out of range.
#pragma once

#include "platform/base/CObject.h"

#include <string>
#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject
{
public:
    CArray() = default;
    CArray(const CArray&) = default;
    CArray& operator=(const CArray&) = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        (void)growBy;
        m_items.resize(newSize < 0 ? 0 : static_cast<size_t>(newSize));
    }
    void RemoveAll() { m_items.clear(); }
    void FreeExtra() { m_items.shrink_to_fit(); }

    const TYPE& GetAt(INT_PTR i) const { return m_items[Checked(i)]; }
    TYPE& GetAt(INT_PTR i) { return m_items[Checked(i)]; }
    void SetAt(INT_PTR i, ARG_TYPE v) { m_items[Checked(i)] = v; }
    TYPE& ElementAt(INT_PTR i) { return m_items[Checked(i)]; }
    const TYPE& operator[](INT_PTR i) const { return GetAt(i); }
    TYPE& operator[](INT_PTR i) { return ElementAt(i); }
    TYPE* GetData() { return m_items.data(); }
    const TYPE* GetData() const { return m_items.data(); }

    // Grows the array as needed, as SetAtGrow does.
    void SetAtGrow(INT_PTR i, ARG_TYPE v)
    {
        if (i < 0)
            AfxThrowInvalidArgException("CArray::SetAtGrow: negative index " + std::to_string(i));
        if (static_cast<size_t>(i) >= m_items.size())
            m_items.resize(static_cast<size_t>(i) + 1);
        m_items[static_cast<size_t>(i)] = v;
    }
    INT_PTR Add(ARG_TYPE v)
    {
        m_items.push_back(v);
        return GetSize() - 1;
    }
    INT_PTR Append(const CArray& other)
    {
        const INT_PTR first = GetSize();
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        return first;
    }
    void Copy(const CArray& other) { m_items = other.m_items; }
    void InsertAt(INT_PTR i, ARG_TYPE v, INT_PTR count = 1)
    {
        if (i < 0 || count < 0)
            AfxThrowInvalidArgException("CArray::InsertAt: negative index or count");
        if (static_cast<size_t>(i) > m_items.size())
            m_items.resize(static_cast<size_t>(i));
        m_items.insert(m_items.begin() + i, static_cast<size_t>(count), v);
    }
    // Removes `count` elements from `i` on; later elements shift down.
    void RemoveAt(INT_PTR i, INT_PTR count = 1)
    {
        if (i < 0 || count < 0 || static_cast<size_t>(i + count) > m_items.size())
            AfxThrowInvalidArgException("CArray::RemoveAt: range " + std::to_string(i) + "+" +
                                        std::to_string(count) + " outside size " +
                                        std::to_string(m_items.size()));
        m_items.erase(m_items.begin() + i, m_items.begin() + i + count);
    }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    size_t Checked(INT_PTR i) const
    {
        if (i < 0 || static_cast<size_t>(i) >= m_items.size())
            AfxThrowInvalidArgException("CArray: index " + std::to_string(i) + " outside size " +
                                        std::to_string(m_items.size()));
        return static_cast<size_t>(i);
    }

    std::vector<TYPE> m_items;
};

using CDWordArray = CArray<DWORD, DWORD>;
