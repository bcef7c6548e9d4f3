#include "DecimalSeconds.h"

#include <cstdio>

namespace quor {

namespace {

const int64_t kNanosecondsPerSecond = 1000000000;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// The magnitude is gathered as unsigned so that the most negative offset,
// whose magnitude no int64_t holds, still reads.
SecondsParse parseDecimalSeconds(const char* text, int64_t* ns)
{
    const bool negative = *text == '-';
    const char* p = negative ? text + 1 : text;
    uint64_t whole = 0;
    bool anyDigit = false;
    bool tooBig = false;
    for (; isDigit(*p); ++p, anyDigit = true)
        tooBig = tooBig || __builtin_mul_overflow(whole, 10u, &whole) ||
                 __builtin_add_overflow(whole, uint64_t(*p - '0'), &whole);
    uint64_t fraction = 0;
    bool cut = false;
    if (*p == '.') {
        uint64_t unit = kNanosecondsPerSecond;
        for (++p; isDigit(*p); ++p, anyDigit = true) {
            unit /= 10;
            fraction += uint64_t(*p - '0') * unit;
            cut = cut || (unit == 0 && *p != '0');
        }
    }
    if (!anyDigit || *p != '\0')
        return SecondsParse::malformed;
    uint64_t magnitude = 0;
    const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
    if (tooBig || __builtin_mul_overflow(whole, uint64_t(kNanosecondsPerSecond), &magnitude) ||
        __builtin_add_overflow(magnitude, fraction, &magnitude) || magnitude > limit)
        return SecondsParse::outOfRange;
    *ns = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
    return cut ? SecondsParse::finerThanNanosecond : SecondsParse::ok;
}

std::string decimalSecondsText(int64_t ns)
{
    const uint64_t magnitude = ns < 0 ? 0 - uint64_t(ns) : uint64_t(ns);
    char text[40];
    int length = std::snprintf(text, sizeof text, "%s%llu.%09llu", ns < 0 ? "-" : "",
                               static_cast<unsigned long long>(magnitude / kNanosecondsPerSecond),
                               static_cast<unsigned long long>(magnitude % kNanosecondsPerSecond));
    while (text[length - 1] == '0')
        --length;
    if (text[length - 1] == '.')
        --length;
    return std::string(text, static_cast<size_t>(length));
}

}  // namespace quor
