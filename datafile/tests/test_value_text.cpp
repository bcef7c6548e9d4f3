#include <gtest/gtest.h>

#include <cstring>

#include "DataFile.h"
#include "Text.h"
#include "ValueText.h"

namespace quor {

namespace {

template <class T>
std::string valueText(T value, int32_t format, ValueStyle style = ValueStyle::grid,
                      int32_t size = sizeof(T))
{
    Text text;
    appendValueText(text, &value, size, format, style);
    return text.c_str();
}

std::string bytesText(const std::vector<uint8_t>& bytes, int32_t format)
{
    Text text;
    appendValueText(text, bytes.data(), static_cast<int32_t>(bytes.size()), format, ValueStyle::grid);
    return text.c_str();
}

}  // namespace

TEST(ValueText, FixedWidthFormats)
{
    EXPECT_EQ(valueText<int32_t>(-17, formatInt), "-17");
    EXPECT_EQ(valueText<float>(1.0f, formatFloat), "1.000000");
    EXPECT_EQ(valueText<double>(-2.5, formatDouble), "-2.500000");
    EXPECT_EQ(valueText<int64_t>(-9000000000LL, formatLong), "-9000000000");
    EXPECT_EQ(valueText<int64_t>(INT64_MIN, formatLong8), "-9223372036854775808");
}

TEST(ValueText, DiscreteIsHexInTheGridAndDecimalInTheExport)
{
    EXPECT_EQ(valueText<int32_t>(255, formatDiscrete, ValueStyle::grid), "0xFF");
    EXPECT_EQ(valueText<int32_t>(255, formatDiscrete, ValueStyle::exportCsv), "255");
    EXPECT_EQ(valueText<int32_t>(-1, formatDiscrete, ValueStyle::grid), "0xFFFFFFFF");
    EXPECT_EQ(valueText<int32_t>(-1, formatDiscrete, ValueStyle::exportCsv), "-1");
}

TEST(ValueText, UlongIsUnsignedOfItsDataSize)
{
    EXPECT_EQ(valueText<uint32_t>(4294967295u, formatUlong), "4294967295");
    EXPECT_EQ(valueText<uint64_t>(18446744073709551615ULL, formatUlong, ValueStyle::exportCsv),
              "18446744073709551615");
    EXPECT_EQ(bytesText({1, 2}, formatUlong), "01-02");
}

TEST(ValueText, BlobTextForRawDataUnknownCodesAndSizeMismatches)
{
    EXPECT_EQ(bytesText({0x5a}, formatBlob), "5A");
    EXPECT_EQ(bytesText({10, 255, 1}, formatBlob), "0A-FF-01");
    EXPECT_EQ(bytesText({1, 2, 3, 4}, 9), "01-02-03-04");
    EXPECT_EQ(bytesText({1, 2, 3, 4}, -1), "01-02-03-04");
    EXPECT_EQ(bytesText({1, 2}, formatInt), "01-02");               // int needs 4 bytes
    EXPECT_EQ(bytesText({1, 0, 0, 0}, formatDouble), "01-00-00-00");  // double needs 8
    EXPECT_EQ(bytesText({1, 2, 3, 4, 5, 6, 7, 8}, formatFloat), "01-02-03-04-05-06-07-08");
    EXPECT_EQ(bytesText({}, formatBlob), "");
}

TEST(ValueText, AsciiStopsAtItsTerminatorOrItsSize)
{
    EXPECT_EQ(bytesText({'a', 'b', 0, 'z'}, formatAscii), "ab");
    EXPECT_EQ(bytesText({'f', 'u', 'l', 'l'}, formatAscii), "full");
}

TEST(ValueText, SampleRowsCarryTimeTextNanosecondsAndValue)
{
    const int32_t value = 26;
    Text grid;
    appendSampleRow(grid, 90061123456789LL, &value, 4, formatDiscrete, ValueStyle::grid);
    EXPECT_STREQ(grid.c_str(), "001:01:01:01.123|90061123456789|0x1A");
    Text csv;
    appendSampleRow(csv, 90061123456789LL, &value, 4, formatDiscrete, ValueStyle::exportCsv);
    EXPECT_STREQ(csv.c_str(), "001:01:01:01.123,90061123456789,26");
}

}  // namespace quor
