// The two readings of a '|' string and the cell write.
#include <gtest/gtest.h>

#include "RowText.h"

namespace quor {

TEST(RowText, ReadingByIndexFailsPastTheLastSeparator)
{
    EXPECT_EQ("c", readCell("a||c", 2).text);
    EXPECT_TRUE(readCell("a|b|", 2).found);
    EXPECT_EQ("", readCell("a|b|", 2).text);
    EXPECT_FALSE(readCell("a|b", 2).found);
    EXPECT_TRUE(readCell("", 0).found);
    EXPECT_FALSE(readCell("a", -1).found);
}

TEST(RowText, ReadingInSequenceDropsATrailingSeparator)
{
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), splitSequential("A|B"));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), splitSequential("A|B|"));
    EXPECT_EQ((std::vector<std::string>{"", "A"}), splitSequential("|A"));
    EXPECT_TRUE(splitSequential("").empty());
    EXPECT_EQ((std::vector<std::string>{"a", "", "c"}), splitSequential("a||c"));
}

TEST(RowText, WritingReplacesOneCell)
{
    std::string row = "a|b|c";
    EXPECT_TRUE(writeCell(row, 1, "xyz"));
    EXPECT_EQ("a|xyz|c", row);
    EXPECT_TRUE(writeCell(row, 2, ""));
    EXPECT_EQ("a|xyz|", row);
    EXPECT_FALSE(writeCell(row, 4, "q"));
    EXPECT_EQ("a|xyz|", row);
    EXPECT_TRUE(writeCell(row, 0, "p|q"));  // the text is not checked
    EXPECT_EQ("p|q|xyz|", row);
}

TEST(RowText, BlankRows)
{
    EXPECT_EQ(" ", blankRowText(1));
    EXPECT_EQ("||", blankRowText(3));
    EXPECT_EQ("", blankRowText(0));
}

}  // namespace quor
