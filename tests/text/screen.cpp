#include "screen.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

namespace {

// The columns a character takes in the locale: two for a wide one, none for a combining mark.
int Columns(const std::string& character) {
    std::mbstate_t state{};
    wchar_t wide = 0;
    if (std::mbrtowc(&wide, character.data(), character.size(), &state) != character.size()) {
        return 1;
    }
    const int columns = wcwidth(wide);
    return columns < 0 ? 1 : std::min(columns, 2);
}

}  // namespace

void Screen::Feed(const std::string& output) {
    for (std::size_t i = 0; i < output.size(); ++i) {
        const char c = output[i];
        if (c == '\x1b' && i + 1 < output.size() && output[i + 1] == '[') {
            std::size_t end = i + 2;
            while (end < output.size() && (output[end] < 0x40 || output[end] > 0x7E)) ++end;
            if (end == output.size()) break;
            const std::string parameter = output.substr(i + 2, end - i - 2);
            Control(output[end], parameter.empty() ? 1 : std::atoi(parameter.c_str()));
            i = end;
        } else if (c == '\r') {
            column_ = 0;
        } else if (c == '\n') {
            ++row_;
        } else if (c == '\a') {
            ++bells_;
        } else if (static_cast<unsigned char>(c) >= 0x20) {
            std::size_t end = i + 1;  // a whole UTF-8 character
            while (end < output.size() && (static_cast<unsigned char>(output[end]) & 0xC0) == 0x80)
                ++end;
            Put(output.substr(i, end - i));
            i = end - 1;
        }
        if (cells_.size() <= static_cast<std::size_t>(row_)) cells_.resize(row_ + 1);
    }
}

void Screen::Put(const std::string& character) {
    int width = Columns(character);
    if (width == 0 && column_ > 0) {
        cells_[row_][column_ - 1] += character;  // a combining mark joins the one before
        return;
    }
    width = std::max(width, 1);
    // A wide character does not fit in the last column: it goes whole to the next row.
    if (column_ + width > columns_) {
        column_ = 0;
        cells_.resize(std::max<std::size_t>(cells_.size(), ++row_ + 1));
    }
    std::vector<std::string>& row = cells_[row_];
    if (row.size() < static_cast<std::size_t>(column_ + width)) row.resize(column_ + width, " ");
    row[column_] = character;
    if (width == 2) row[column_ + 1] = "";  // the wide character's right half
    column_ += width;
}

void Screen::Control(char final, int count) {
    std::vector<std::string>& row = cells_[row_];
    switch (final) {
        case 'A':
            row_ = std::max(0, row_ - count);
            column_ = std::min(column_, columns_ - 1);
            break;
        case 'B':
            row_ += count;
            column_ = std::min(column_, columns_ - 1);
            break;
        case 'C':
            column_ = std::min(column_ + count, columns_ - 1);
            break;
        case 'D':
            column_ = std::max(std::min(column_, columns_ - 1) - count, 0);
            break;
        case 'K':
            row.resize(std::min<std::size_t>(row.size(), column_));
            break;
        case 'J':
            row.resize(std::min<std::size_t>(row.size(), column_));
            cells_.resize(row_ + 1);
            break;
        default:
            break;  // colours
    }
}

std::vector<std::string> Screen::Rows() const {
    std::vector<std::string> rows;
    for (const auto& cells : cells_) {
        std::string text;
        for (const std::string& cell : cells) text += cell;
        rows.push_back(text.substr(0, text.find_last_not_of(' ') + 1));
    }
    return rows;
}
