#include "RowText.h"

namespace quor {

namespace {

// Offset where cell k starts, or npos when the string ends first.
size_t cellStart(const std::string& rowText, int32_t k)
{
    if (k < 0)
        return std::string::npos;
    size_t start = 0;
    for (int32_t i = 0; i < k; ++i) {
        size_t separator = rowText.find(kCellSeparator, start);
        if (separator == std::string::npos)
            return std::string::npos;
        start = separator + 1;
    }
    return start;
}

size_t cellEnd(const std::string& rowText, size_t start)
{
    size_t separator = rowText.find(kCellSeparator, start);
    return separator == std::string::npos ? rowText.size() : separator;
}

}  // namespace

CellRead readCell(const std::string& rowText, int32_t k)
{
    CellRead result;
    size_t start = cellStart(rowText, k);
    if (start == std::string::npos)
        return result;
    result.found = true;
    result.text.assign(rowText, start, cellEnd(rowText, start) - start);
    return result;
}

std::string cellOrEmpty(const std::string& rowText, int32_t k)
{
    return readCell(rowText, k).text;
}

std::vector<std::string> splitSequential(const std::string& text)
{
    std::vector<std::string> tokens;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = cellEnd(text, start);
        tokens.emplace_back(text, start, end - start);
        start = end + 1;
    }
    return tokens;
}

bool writeCell(std::string& rowText, int32_t k, const std::string& text)
{
    size_t start = cellStart(rowText, k);
    if (start == std::string::npos)
        return false;
    rowText.replace(start, cellEnd(rowText, start) - start, text);
    return true;
}

std::string blankRowText(int32_t count)
{
    if (count == 1)
        return " ";
    return count > 1 ? std::string(static_cast<size_t>(count - 1), kCellSeparator) : std::string();
}

}  // namespace quor
