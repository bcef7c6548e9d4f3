#include "TimeText.h"

#include <cctype>
#include <climits>
#include <cstring>

#include "Text.h"

namespace quor {

namespace {

const int64_t kSecond = 1000000000LL;
const int64_t kMinute = 60 * kSecond;
const int64_t kHour = 60 * kMinute;
const int64_t kDay = 24 * kHour;
const int kMaxDecimals = 9;

int64_t powerOfTen(int exponent)
{
    int64_t value = 1;
    while (exponent-- > 0)
        value *= 10;
    return value;
}

// Reads a decimal integer the way %d does: leading blanks, an optional sign,
// digits. Returns false when there are no digits. Saturates at the 32-bit range.
bool readInt32(const char*& text, int32_t* value)
{
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    int64_t magnitude = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        if (magnitude <= INT32_MAX)
            magnitude = magnitude * 10 + (*p - '0');
        ++p;
    }
    if (negative)
        magnitude = -magnitude;
    *value = static_cast<int32_t>(magnitude > INT32_MAX ? INT32_MAX
                                  : magnitude < INT32_MIN ? INT32_MIN
                                                          : magnitude);
    text = p;
    return true;
}

// Day, hours, minutes, seconds separated by ':'; reading stops at the first
// mismatch and fields not read stay 0.
void readClockFields(const char* text, int32_t fields[4])
{
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (*text != ':')
                return;
            ++text;
        }
        if (!readInt32(text, &fields[i]))
            return;
    }
}

// At most the first nine characters after the '.', scaled by their count:
// "5" is five tenths, "05" five hundredths, "5 " also five hundredths.
int64_t fractionNs(const char* digits)
{
    char cut[kMaxDecimals + 1] = {};
    std::strncpy(cut, digits, kMaxDecimals);
    const int length = static_cast<int>(std::strlen(cut));
    const char* p = cut;
    int32_t value = 0;
    if (!readInt32(p, &value))
        value = 0;
    return static_cast<int64_t>(value) * powerOfTen(kMaxDecimals - length);
}

}  // namespace

void formatTime(int64_t time, int32_t decimals, bool withDay, Text& out)
{
    const int64_t day = time / kDay;
    const int64_t r = time - day * kDay;
    const int hours = static_cast<int>(static_cast<int32_t>(r / kHour) % 24);
    const int minutes = static_cast<int>(static_cast<int32_t>(r / kMinute) % 60);
    const int seconds = static_cast<int>(static_cast<int32_t>(r / kSecond) % 60);
    const int p = decimals < 0 ? 0 : decimals > kMaxDecimals ? kMaxDecimals : decimals;
    const int64_t ns = r - (r / kSecond) * kSecond;
    const int fraction = static_cast<int>(ns / powerOfTen(kMaxDecimals - p));
    const int dayNumber = static_cast<int>(day);

    if (withDay && p > 0)
        out.format("%03d:%02d:%02d:%02d.%0*d", dayNumber, hours, minutes, seconds, p, fraction);
    else if (withDay)
        out.format("%03d:%02d:%02d:%02d", dayNumber, hours, minutes, seconds);
    else if (p > 0)
        out.format("%02d:%02d:%02d.%0*d", hours, minutes, seconds, p, fraction);
    else
        out.format("%02d:%02d:%02d", hours, minutes, seconds);
}

int64_t parseTime(const char* text)
{
    if (!text)
        return 0;
    const char* dot = std::strchr(text, '.');
    Text clock;
    if (dot)
        clock.assign(text, static_cast<size_t>(dot - text));
    else
        clock.assign(text);

    int32_t fields[4] = {0, 0, 0, 0};
    readClockFields(clock.c_str(), fields);
    // Unsigned arithmetic: absurd field values wrap instead of overflowing.
    uint64_t total = static_cast<uint64_t>(static_cast<int64_t>(fields[3]) +
                                           static_cast<int64_t>(fields[2]) * 60 +
                                           static_cast<int64_t>(fields[1]) * 3600) *
                     static_cast<uint64_t>(kSecond);
    total += static_cast<uint64_t>(fractionNs(dot ? dot + 1 : "0"));
    total += static_cast<uint64_t>(static_cast<int64_t>(fields[0]) * 24) * static_cast<uint64_t>(kHour);
    return static_cast<int64_t>(total);
}

}  // namespace quor
