#pragma once

#include <cstddef>
#include <string>

// A place on the terminal, counted from the first row a text is written on.
struct CellPosition {
    int row = 0;
    int column = 0;  // equals the width when a row is filled and the next one not yet begun
};

// Where the character starting at byte `index` of `text` (a whole UTF-8 text) lands when the
// text is written from the start of a row on a terminal `width` columns wide, or, for the
// text's size, where writing stops. Characters take the columns wcwidth() gives them in the
// player's locale: wide ones two, moved whole to the next row when one column is left, and
// combining marks none. Without a UTF-8 locale every character takes one.
CellPosition CellOf(const std::string& text, std::size_t index, int width);
