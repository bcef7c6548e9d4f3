#include <gtest/gtest.h>

#include <cmath>

#include "SampleTime.h"
#include "Text.h"
#include "TimeText.h"

namespace quor {

namespace {

std::string timeText(int64_t t, int32_t decimals, bool withDay = true)
{
    Text text;
    formatTime(t, decimals, withDay, text);
    return text.c_str();
}

}  // namespace

TEST(SamplePeriod, IsIntegerNanosecondsFromTheRate)
{
    EXPECT_EQ(samplePeriod(50.0), 20000000u);
    EXPECT_EQ(samplePeriod(3.0), 333333333u);
    EXPECT_EQ(samplePeriod(1000000.0), 1000u);
    EXPECT_EQ(samplePeriod(0.5), 2000000000u);
}

TEST(SamplePeriod, IsZeroWhenTheRateGivesNone)
{
    EXPECT_EQ(samplePeriod(0.0), 0u);
    EXPECT_EQ(samplePeriod(-10.0), 0u);
    EXPECT_EQ(samplePeriod(2e9), 0u);
    EXPECT_EQ(samplePeriod(1e300), 0u);
    EXPECT_EQ(samplePeriod(std::nan("")), 0u);
}

TEST(SampleIndex, TruncatesAndReportsAMissingPeriod)
{
    EXPECT_EQ(timeToIndex(19999999, 50.0), 0);
    EXPECT_EQ(timeToIndex(20000000, 50.0), 1);
    EXPECT_EQ(timeToIndex(1000000000, 3.0), 3);
    EXPECT_EQ(timeToIndex(123, 0.0), -1);
    EXPECT_EQ(divideByPeriod(123, 0), 0);
    EXPECT_EQ(divideByPeriod(-40000001, 20000000), -2);
}

TEST(SampleIndex, AlignTimeRoundsDownOnlyNonNegativeTimes)
{
    EXPECT_EQ(alignTime(39999999, 50.0), 20000000);
    EXPECT_EQ(alignTime(1234567890, 10.0), 1200000000);
    EXPECT_EQ(alignTime(-5, 50.0), -5);
    EXPECT_EQ(alignTime(77, 0.0), 77);
}

TEST(TimeText, WritesDayClockAndTruncatedFraction)
{
    const int64_t t = 90061123456789LL;
    EXPECT_EQ(timeText(t, 3), "001:01:01:01.123");
    EXPECT_EQ(timeText(t, 0), "001:01:01:01");
    EXPECT_EQ(timeText(t, 3, false), "01:01:01.123");
    EXPECT_EQ(timeText(t, 0, false), "01:01:01");
    EXPECT_EQ(timeText(t, 9), "001:01:01:01.123456789");
    EXPECT_EQ(timeText(0, 3), "000:00:00:00.000");
    EXPECT_EQ(timeText(999999999, 3), "000:00:00:00.999");
    EXPECT_EQ(timeText(t, 12), timeText(t, 9));
    EXPECT_EQ(timeText(t, -2), "001:01:01:01");
    // Many days: the day field widens, hours never exceed 23 without it.
    EXPECT_EQ(timeText(1000 * 86400000000000LL + 5 * 3600000000000LL, 1), "1000:05:00:00.0");
    EXPECT_EQ(timeText(3 * 86400000000000LL + 5 * 3600000000000LL, 0, false), "05:00:00");
}

TEST(TimeText, FractionNeedsNoFloatingPoint)
{
    // Values whose fraction a float64 product would round the wrong way.
    EXPECT_EQ(timeText(290000000, 2), "000:00:00:00.29");
    EXPECT_EQ(timeText(570000000, 2), "000:00:00:00.57");
    EXPECT_EQ(timeText(1000000001, 9), "000:00:00:01.000000001");
}

TEST(TimeText, ParseReadsWhatFormatWrites)
{
    EXPECT_EQ(parseTime("001:01:01:01.123"), 90061123000000LL);
    const int64_t expected = 2 * 86400000000000LL + 3 * 3600000000000LL + 4 * 60000000000LL + 5500000000LL;
    EXPECT_EQ(parseTime("2:3:4:5.5"), expected);
    EXPECT_EQ(parseTime("2:3:4:5.500"), expected);
    EXPECT_EQ(parseTime("2:3:4:5.05"), expected - 450000000LL);
    for (int64_t t : {0LL, 1LL, 86399999999999LL, 123456789012345LL}) {
        const int64_t cut = t / 1000000 * 1000000;
        EXPECT_EQ(parseTime(timeText(t, 3).c_str()), cut) << t;
    }
}

TEST(TimeText, ParseQuirksOfShortAndLongText)
{
    EXPECT_EQ(parseTime("12:00:00"), 12 * 86400000000000LL);  // the first field is the day
    EXPECT_EQ(parseTime("0:0:0:1.1234567899"), 1123456789LL);
    EXPECT_EQ(parseTime("0:0:0:0.5 "), 50000000LL);  // a trailing blank counts as a digit place
    EXPECT_EQ(parseTime("0:0:0:7"), 7000000000LL);
    EXPECT_EQ(parseTime("garbage"), 0);
    EXPECT_EQ(parseTime(""), 0);
}

}  // namespace quor
