#include <gtest/gtest.h>

#include <cstdint>

#include "DecimalSeconds.h"

namespace quor {

namespace {

SecondsParse parsed(const char* text, int64_t* ns)
{
    *ns = 12345;  // what a refused text must leave alone
    return parseDecimalSeconds(text, ns);
}

}  // namespace

// Every digit counts exactly, out to the ends of the 64-bit range, where a
// double would already have dropped the last nanoseconds.
TEST(DecimalSeconds, ExactToTheNanosecondAndToTheRangeEnds)
{
    int64_t ns = 0;
    EXPECT_EQ(parsed("-1.25", &ns), SecondsParse::ok);
    EXPECT_EQ(ns, -1250000000);
    EXPECT_EQ(parsed("9223372036.854775807", &ns), SecondsParse::ok);
    EXPECT_EQ(ns, INT64_MAX);
    EXPECT_EQ(parsed("-9223372036.854775808", &ns), SecondsParse::ok);
    EXPECT_EQ(ns, INT64_MIN);
    EXPECT_EQ(parsed("86400.000000001", &ns), SecondsParse::ok);
    EXPECT_EQ(ns, 86400000000001);
    EXPECT_EQ(parsed("2.5000000000", &ns), SecondsParse::ok);
    EXPECT_EQ(ns, 2500000000);
    EXPECT_EQ(parsed(".5", &ns), SecondsParse::ok);
    EXPECT_EQ(ns, 500000000);

    EXPECT_EQ(parsed("9223372036.854775808", &ns), SecondsParse::outOfRange);
    EXPECT_EQ(parsed("99999999999999999999999", &ns), SecondsParse::outOfRange);
    EXPECT_EQ(ns, 12345);
    EXPECT_EQ(parsed("1.0000000005", &ns), SecondsParse::finerThanNanosecond);
    EXPECT_EQ(ns, 1000000000);
    for (const char* bad : {"", "-", ".", "1.2.3", "1e3", "+1", " 1", "1s", "--1"})
        EXPECT_EQ(parsed(bad, &ns), SecondsParse::malformed) << bad;
    EXPECT_EQ(ns, 12345);

    for (int64_t value : {int64_t(0), int64_t(-1500000000), int64_t(2000000001), INT64_MIN, INT64_MAX}) {
        const std::string text = decimalSecondsText(value);
        EXPECT_EQ(parsed(text.c_str(), &ns), SecondsParse::ok) << text;
        EXPECT_EQ(ns, value) << text;
    }
    EXPECT_EQ(decimalSecondsText(-1500000000), "-1.5");
    EXPECT_EQ(decimalSecondsText(0), "0");
}

}  // namespace quor
