#include "PlotText.h"

#include <cinttypes>
#include <cstdio>

#include "Text.h"
#include "TimeText.h"
#include "ValueText.h"

namespace quor {

std::string plotTimeText(int64_t time, int decimals)
{
    Text text;
    const int64_t distance = time >= 0 ? time : time == INT64_MIN ? INT64_MAX : -time;
    formatTime(distance, decimals, true, text);
    return time < 0 ? "-" + text.str() : text.str();
}

std::string integerText(__int128 value)
{
    const bool negative = value < 0;
    unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(value) : value;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
}

std::string figureText(double figure)
{
    Text text;
    appendFigure(text, figure);
    return text.str();
}

std::string offsetMark(int64_t offset)
{
    if (offset == 0)
        return std::string();
    const uint64_t distance = offset < 0 ? 0 - static_cast<uint64_t>(offset) : static_cast<uint64_t>(offset);
    char text[48];
    int length = std::snprintf(text, sizeof text, " %c%" PRIu64 ".%09" PRIu64, offset < 0 ? '-' : '+',
                               distance / 1000000000u, distance % 1000000000u);
    // Whole seconds read without decimals, the others with the ones they need.
    while (text[length - 1] == '0')
        --length;
    if (text[length - 1] == '.')
        --length;
    return std::string(text, length) + " s";
}

}  // namespace quor
