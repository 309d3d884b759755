#pragma once

#include <string>
#include <vector>

// What a terminal shows for some output: just enough of a VT100 to follow the line editor's
// drawing. Rows never scroll away; colours are dropped. Characters take the columns wcwidth()
// gives them in the locale.
class Screen {
public:
    explicit Screen(int columns) : columns_(columns) {}

    void Feed(const std::string& output);
    void Resize(int columns) { columns_ = columns; }

    // Every row so far, without trailing spaces.
    std::vector<std::string> Rows() const;
    int row() const { return row_; }
    int column() const { return column_; }
    int bells() const { return bells_; }

private:
    void Put(const std::string& character);
    void Control(char final, int count);

    int columns_;
    std::vector<std::vector<std::string>> cells_ = {{}};
    int row_ = 0;
    int column_ = 0;  // columns_ when waiting to wrap at the right margin
    int bells_ = 0;
};
