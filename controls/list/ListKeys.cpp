#include "controls/list/ListKeys.h"

#include <algorithm>

namespace list {

int RowForKey(Key key, int selected, int top, int pageRows, int rowCount)
{
    if (rowCount <= 0)
        return -1;
    // The counts and the top come from the host and the scroll bar as they are: work wide.
    const long long last = rowCount - 1LL;
    const long long page = std::max(pageRows, 1);
    long long row = selected;
    switch (key) {
    case Key::Home:
        return 0;
    case Key::End:
        return static_cast<int>(last);
    case Key::Up:
        row -= 1;
        break;
    case Key::Down:
        row += 1;
        break;
    case Key::PageUp:
        row -= page;
        break;
    case Key::PageDown:
        row += page;
        break;
    }
    if (selected < 0 || selected > last)
        row = top;
    return static_cast<int>(std::clamp(row, 0LL, last));
}

namespace {

bool IsControl(unsigned unit)
{
    return unit < 0x20 || unit == 0x7F;
}

bool IsHighSurrogate(unsigned unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

bool TypeAhead::Typing(DWORD time) const
{
    // Unsigned: a clock that wrapped between two keys still gives their distance.
    return !m_text.empty() && time - m_last < kTypeAheadResetMs;
}

int TypeAhead::Type(const Model& model, unsigned unit, DWORD time, int selected)
{
    if (IsControl(unit) || unit > 0xFFFF)
        return -1;
    if (!Typing(time)) {
        m_text.clear();
        if (unit == u' ')
            return -1;
    }
    m_last = time;
    if (m_text.size() >= kMaxUnits)
        return -1;
    m_text.push_back(static_cast<char16_t>(unit));
    if (IsHighSurrogate(unit))
        return -1;

    CString typed = CString::FromUtf16(m_text);
    typed.MakeLower();
    const int n = typed.GetLength();
    const int count = model.GetItemCount();
    if (n == 0 || count <= 0)
        return -1;
    const long long from = selected >= 0 && selected < count ? selected + (n == 1 ? 1LL : 0LL) : 0;
    for (long long k = 0; k < count; ++k) {
        const int row = static_cast<int>((from + k) % count);
        const Item* item = model.GetItem(row);
        if (item && item->strText[0].GetLength() >= n &&
            item->strText[0].Left(n).MakeLower() == typed)
            return row;
    }
    return -1;
}

} // namespace list
