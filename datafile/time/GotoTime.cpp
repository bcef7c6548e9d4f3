#include "GotoTime.h"

#include <cstdint>
#include <cstring>

#include "DataFile.h"
#include "SampleTime.h"
#include "Text.h"
#include "TimeText.h"

namespace quor {

namespace {

// Out-of-range seconds saturate, as out-of-range nanoseconds do.
int64_t secondsToNs(double seconds)
{
    const double ns = seconds * 1000000000.0;
    if (!(ns > -9.2e18))
        return ns != ns ? 0 : INT64_MIN;
    if (ns >= 9.2e18)
        return INT64_MAX;
    return static_cast<int64_t>(ns);
}

}  // namespace

int64_t parseGotoTime(const char* text)
{
    if (std::strchr(text, ':'))
        return parseTime(text);
    Text number(text);
    if (std::strchr(text, '.'))
        return secondsToNs(number.toDouble());
    return number.toInt64();
}

int64_t gotoPageStart(int64_t time, int32_t dataType, double sampleRate)
{
    return dataType == typePeriodic ? alignTime(time, sampleRate) : time;
}

}  // namespace quor
