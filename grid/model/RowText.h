// The row string: the cells of one row joined by '|', without escaping.
// Every cell read, write and comparison of the grid goes through here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quor {

constexpr char kCellSeparator = '|';

struct CellRead {
    bool found = false;  // false when the string has fewer than k separators
    std::string text;
};

// Cell k: the text after the k-th separator up to the next one or the end.
CellRead readCell(const std::string& rowText, int32_t k);

// The cell, or the empty text when the row has no such cell.
std::string cellOrEmpty(const std::string& rowText, int32_t k);

// Tokens in sequence: a trailing separator yields no extra token, a leading
// one yields an empty first token, and the empty string yields none.
std::vector<std::string> splitSequential(const std::string& text);

// Replaces cell k; false (row unchanged) when the string has fewer than k
// separators.
bool writeCell(std::string& rowText, int32_t k, const std::string& text);

// `count` empty cells: " " for one cell, count - 1 separators otherwise.
std::string blankRowText(int32_t count);

}  // namespace quor
