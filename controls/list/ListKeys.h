// What keys do to the list, free of windows: the row a movement key selects, and the row that
// text typed into the list finds (type-ahead) with the typed text's timeout. The list's key
// handlers only carry these answers out, as its mouse handlers carry out ListInput's.
#pragma once

#include "controls/list/ListModel.h"

#include <string>

namespace list {

enum class Key { Up, Down, PageUp, PageDown, Home, End };

// The row a key selects, among rows 0 .. rowCount − 1 with pageRows to a page (a page is at
// least one row); -1 without rows. Without a selected row in the list, the moves by a row or a
// page select the first visible row `top` (brought within the rows).
//
// | 20 rows, page 8            | Up | Down | PageUp | PageDown | Home | End |
// |----------------------------|----|------|--------|----------|------|-----|
// | selected 5                 | 4  | 6    | 0      | 13       | 0    | 19  |
// | selected 19                | 18 | 19   | 11     | 19       | 0    | 19  |
// | selected 0                 | 0  | 1    | 0      | 8        | 0    | 19  |
// | none selected, top 12      | 12 | 12   | 12     | 12       | 0    | 19  |
int RowForKey(Key key, int selected, int top, int pageRows, int rowCount);

// Characters typed less than this apart make one text; a longer pause starts a new one.
constexpr DWORD kTypeAheadResetMs = 1000;

// Type-ahead: each character typed selects the next row whose first column starts with the
// text typed so far, compared letter by letter without regard to case. A text's first
// character searches from the row after the selected one, so that typing the same letter
// again after a pause goes on to the next row with it; a longer text searches from the
// selected row itself, which keeps it while it still matches. The search wraps around.
class TypeAhead
{
public:
    // One UTF-16 unit typed at `time` (the message time, in ms): the row it finds, or -1.
    // Control characters and units beyond 0xFFFF are ignored; the first half of a surrogate
    // pair waits for the second. A space only continues a text: on its own it is the check
    // box's key, not a search.
    int Type(const Model& model, unsigned unit, DWORD time, int selected);
    // Whether a text is being typed at `time`, so that a space belongs to it.
    bool Typing(DWORD time) const;

private:
    // Longer texts match no row a user types at; further characters are not kept.
    static constexpr size_t kMaxUnits = 64;
    std::u16string m_text;
    DWORD m_last = 0; // when the text's last unit came
};

} // namespace list
