// Input filters of the overlay definition dialog: what the user types is cut
// down to what the printing side can read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zd {

struct FilterResult {
    std::u16string text; // the characters kept, in order
    size_t removed = 0;  // how many were dropped (the dialog beeps when > 0)
};

// Keeps a page list of the form 1,3,5-12: numbers of 1 to 4 digits without a
// leading zero, separated by "," with at most one "-" between two commas.
// A trailing separator is kept, since the user is still typing.
FilterResult FilterPageList(std::u16string_view text);

// Keeps the characters allowed in a PostScript name: printable ASCII other
// than the delimiters % ( ) / < > [ \ ] { }.
FilterResult FilterFormName(std::u16string_view text);

// Whether a character survives FilterFormName.
bool IsFormNameChar(char16_t c);

// Where the caret goes after filtering: moved back by the number of removed
// characters, never before the start.
size_t CaretAfterFilter(size_t oldCaret, size_t removed);

} // namespace zd
