// The line conversions shared by the CSV files and the clipboard.
#include <gtest/gtest.h>

#include "CsvLine.h"
#include "FileDialogs.h"

namespace quor {

TEST(CsvLines, RowToLineQuotesCommasAndDoublesQuotes)
{
    EXPECT_EQ("a,\"b,c\",d\"\"e", lineFromRow("a|b,c|d\"e", kCsvSeparator));
    EXPECT_EQ("x,,z", lineFromRow(" x ||z", kCsvSeparator));
    EXPECT_EQ("a\tb", lineFromRow("a|b", kClipboardSeparator));
    EXPECT_EQ("", lineFromRow("", kCsvSeparator));
}

TEST(CsvLines, LineToRowUnquotesAndReplacesBars)
{
    EXPECT_EQ("x|y,z|w", rowFromLine("x,\"y,z\",w", kCsvSeparator, 3));
    EXPECT_EQ("a-b|c", rowFromLine("a|b,c", kCsvSeparator, 2));
    EXPECT_EQ("d\"e|", rowFromLine("d\"\"e,", kCsvSeparator, 2));
    EXPECT_EQ("p|q", rowFromLine("p\tq", kClipboardSeparator, 2));
}

TEST(CsvLines, LineToRowAlwaysHasTheGridsColumns)
{
    EXPECT_EQ("a|b", rowFromLine("a,b,c,d", kCsvSeparator, 2));
    EXPECT_EQ("a||", rowFromLine("a", kCsvSeparator, 3));
    EXPECT_EQ("||", rowFromLine("  ,   ,", kCsvSeparator, 3));
    EXPECT_EQ("", rowFromLine("a,b", kCsvSeparator, 0));
}

TEST(CsvLines, EveryCellSurvivesTheRoundTrip)
{
    const std::string cells[] = {"plain", "b,c", "d\"e", "q\"", "\"lead", "b,\"", "x\"\"y", ""};
    for (const std::string& cell : cells) {
        const std::string row = "k|" + cell;
        EXPECT_EQ(row, rowFromLine(lineFromRow(row, kCsvSeparator), kCsvSeparator, 2)) << cell;
    }
}

TEST(CsvLines, HeadingLineKeepsQuotedBars)
{
    EXPECT_EQ("A,B  ,C", csvHeadingLine("A|B  |C"));
    EXPECT_EQ("\"a|b\",c", csvHeadingLine("\"a|b\"|c"));
}

TEST(CsvLines, DialogFilterBecomesNulSeparated)
{
    const std::string filter = dialogFilter("|CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|");
    EXPECT_EQ(std::string("CSV Files (*.csv)\0*.csv\0All Files (*.*)\0*.*\0\0", 45), filter);
}

}  // namespace quor
