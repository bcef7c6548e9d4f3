#include "CsvLine.h"

#include "GridText.h"
#include "RowText.h"

namespace quor {

namespace {

constexpr char kQuote = '"';

std::string doubledQuotes(const std::string& text)
{
    std::string result;
    result.reserve(text.size() + 2);
    for (char c : text) {
        result += c;
        if (c == kQuote)
            result += kQuote;
    }
    return result;
}

std::string fieldFromCell(const std::string& cell)
{
    std::string field = doubledQuotes(trimmed(cell));
    if (field.find(kCsvSeparator) != std::string::npos)
        field = kQuote + field + kQuote;
    return field;
}

// Every doubled quote back to one, a pair at the very end included: a
// quoted cell ending in a quote then reads back as it was written.
std::string undoubledQuotes(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == kQuote && i + 1 < text.size() && text[i + 1] == kQuote)
            ++i;
    }
    return result;
}

std::string cellFromField(const std::string& field)
{
    std::string cell = trimmed(field);
    if (cell.empty())
        return cell;
    if (cell.back() == kQuote)
        cell.pop_back();
    if (!cell.empty() && cell.front() == kQuote)
        cell.erase(0, 1);
    return undoubledQuotes(cell);
}

// Replaces `from` outside quoted stretches by `to`.
std::string replacedOutsideQuotes(std::string text, char from, char to)
{
    bool quoted = false;
    for (char& c : text) {
        if (c == kQuote)
            quoted = !quoted;
        else if (c == from && !quoted)
            c = to;
    }
    return text;
}

}  // namespace

std::string lineFromRow(const std::string& rowText, char separator)
{
    std::string line;
    for (int32_t k = 0;; ++k) {
        const CellRead cell = readCell(rowText, k);
        if (!cell.found)
            break;
        if (!cell.text.empty())
            line += fieldFromCell(cell.text);
        line += separator;
    }
    if (!line.empty())
        line.pop_back();
    return line;
}

std::string splitLineIntoCells(const std::string& line, char separator)
{
    std::string cells = line;
    for (char& c : cells) {
        if (c == kCellSeparator)
            c = '-';
    }
    return replacedOutsideQuotes(std::move(cells), separator, kCellSeparator);
}

std::string rowFromLine(const std::string& line, char separator, int32_t columnCount)
{
    const std::string cells = splitLineIntoCells(line, separator);
    std::string row;
    for (int32_t column = 0; column < columnCount; ++column) {
        if (column > 0)
            row += kCellSeparator;
        row += cellFromField(cellOrEmpty(cells, column));
    }
    return row;
}

std::string csvHeadingLine(const std::string& headingString)
{
    return replacedOutsideQuotes(headingString, kCellSeparator, kCsvSeparator);
}

}  // namespace quor
