// The conversions between a row string and one line of a CSV file (',')
// or of clipboard text (TAB). Export, Import, Append, Copy and Paste all
// go through these.
#pragma once

#include <cstdint>
#include <string>

namespace quor {

constexpr char kCsvSeparator = ',';
constexpr char kClipboardSeparator = '\t';

// Cells trimmed, quotes doubled, a cell holding ',' enclosed in quotes.
std::string lineFromRow(const std::string& rowText, char separator);

// The first two steps of reading a line: '|' becomes '-', and every
// separator outside a quoted stretch becomes the cell separator.
std::string splitLineIntoCells(const std::string& line, char separator);

// The row string of a line: always columnCount cells; fields beyond them
// are dropped, missing ones are empty.
std::string rowFromLine(const std::string& line, char separator, int32_t columnCount);

// The heading row as the first CSV line: '|' outside quotes becomes ','.
std::string csvHeadingLine(const std::string& headingString);

}  // namespace quor
