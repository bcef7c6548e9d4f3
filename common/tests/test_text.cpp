#include <gtest/gtest.h>

#include <string>

#include "Text.h"

namespace quor {

TEST(Text, AssignAppendAndFormat)
{
    Text text("abc");
    text.append("def").append('g').append("hij", 2);
    EXPECT_STREQ(text.c_str(), "abcdefghi");
    EXPECT_EQ(text.length(), 9);
    text.format("%s-%d", "x", 5);
    EXPECT_STREQ(text.c_str(), "x-5");
    text.appendFormat("|%lld", 1234567890123LL);
    EXPECT_STREQ(text.c_str(), "x-5|1234567890123");
    text.assign(nullptr);
    EXPECT_TRUE(text.empty());
}

TEST(Text, FormatGrowsPastItsFirstRoom)
{
    const std::string longText(5000, 'q');
    Text text;
    text.format("<%s>", longText.c_str());
    EXPECT_EQ(text.length(), 5002);
    EXPECT_EQ(text.str(), "<" + longText + ">");
    text.format("%s", "");
    EXPECT_TRUE(text.empty());
}

TEST(Text, SearchAndReplaceIgnoreCase)
{
    Text path("C:\\Runs\\A.QuorData\\b.QUORDATA");
    EXPECT_EQ(path.findNoCase(".quordata"), 9);
    EXPECT_EQ(path.findNoCase(".quordata", 10), 20);
    EXPECT_EQ(path.findNoCase("missing"), -1);
    EXPECT_EQ(path.replaceNoCase(".quorData", ".quorIndex", false), 1);
    EXPECT_STREQ(path.c_str(), "C:\\Runs\\A.quorIndex\\b.QUORDATA");
    Text repeated("aAa");
    EXPECT_EQ(repeated.replaceNoCase("a", "aa"), 3);  // replacements are not searched again
    EXPECT_STREQ(repeated.c_str(), "aaaaaa");
}

TEST(Text, FieldsBySeparator)
{
    const Text row("one|two||four");
    EXPECT_STREQ(row.field(0, '|').c_str(), "one");
    EXPECT_STREQ(row.field(1, '|').c_str(), "two");
    EXPECT_STREQ(row.field(2, '|').c_str(), "");
    EXPECT_STREQ(row.field(3, '|').c_str(), "four");
    EXPECT_STREQ(row.field(4, '|').c_str(), "");
    EXPECT_STREQ(row.field(-1, '|').c_str(), "");
}

TEST(Text, NumbersStopAtTheFirstOtherCharacter)
{
    EXPECT_EQ(Text("  -42xyz").toInt32(), -42);
    EXPECT_EQ(Text("abc").toInt32(), 0);
    EXPECT_EQ(Text("99999999999").toInt32(), INT32_MAX);
    EXPECT_EQ(Text("9000000000123 4").toInt64(), 9000000000123LL);
    EXPECT_EQ(Text("-9223372036854775808").toInt64(), INT64_MIN);
    EXPECT_DOUBLE_EQ(Text("1.55s").toDouble(), 1.55);
    EXPECT_DOUBLE_EQ(Text("").toDouble(), 0.0);
}

TEST(Text, UpperCaseAndWide)
{
    Text text("0a-ff-01");
    EXPECT_STREQ(text.toUpper().c_str(), "0A-FF-01");
    EXPECT_EQ(Text("Value 1").toWide(), std::wstring(L"Value 1"));
    EXPECT_TRUE(Text("").toWide().empty());
}

}  // namespace quor
