#include "text/line_editing/text_columns.h"

#include <cwchar>

#include "console/utf8.h"

namespace {

// The columns of the character at `at`, and its length in bytes.
int CharacterColumns(const std::string& text, std::size_t at, std::size_t& length) {
    std::mbstate_t state{};
    wchar_t character = 0;
    const std::size_t read = std::mbrtowc(&character, text.data() + at, text.size() - at, &state);
    if (read == 0 || read > text.size() - at) {
        // Not a character in this locale: one column, as the terminal most likely shows it.
        length = 1;
        while (at + length < text.size() && IsUtf8Continuation(text[at + length])) ++length;
        return 1;
    }
    length = read;
    const int columns = wcwidth(character);
    return columns < 0 ? 1 : columns;
}

}  // namespace

CellPosition CellOf(const std::string& text, std::size_t index, int width) {
    CellPosition position;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = 1;
        int columns = CharacterColumns(text, at, length);
        if (columns > width) columns = width;
        if (columns > 0 && position.column + columns > width) {
            ++position.row;
            position.column = 0;
        }
        if (at >= index) return position;
        position.column += columns;
        at += length;
    }
    return position;
}
