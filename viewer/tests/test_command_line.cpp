#include <gtest/gtest.h>

#include "CommandLine.h"

TEST(RegistrationSwitch, RecognisedOnlyAsTheLastThingOnTheLine)
{
    EXPECT_EQ(findRegistrationSwitch("viewer.exe /RegServer"), RegistrationSwitch::regServer);
    EXPECT_EQ(findRegistrationSwitch("viewer.exe -regserver"), RegistrationSwitch::regServer);
    EXPECT_EQ(findRegistrationSwitch("\"c:\\a-b\\viewer.exe\" /UNREGSERVER"), RegistrationSwitch::unregServer);
    EXPECT_EQ(findRegistrationSwitch("viewer.exe /RegServer "), RegistrationSwitch::none);
    EXPECT_EQ(findRegistrationSwitch("viewer.exe /RegServer x"), RegistrationSwitch::none);
    EXPECT_EQ(findRegistrationSwitch("viewer.exe c:\\data\\a-b.quorData"), RegistrationSwitch::none);
    EXPECT_EQ(findRegistrationSwitch(nullptr), RegistrationSwitch::none);
}

TEST(DataFileName, FirstArgumentQuotedOrNot)
{
    EXPECT_EQ(dataFileNameFromCommandLine("\"C:\\p\\viewer.exe\" \"C:\\my data\\a.quorData\""),
              "C:\\my data\\a.quorData");
    EXPECT_EQ(dataFileNameFromCommandLine("viewer.exe C:\\d\\a.quorData"), "C:\\d\\a.quorData");
    EXPECT_EQ(dataFileNameFromCommandLine("viewer.exe   C:\\d\\a.quorData  "), "C:\\d\\a.quorData");
    EXPECT_EQ(dataFileNameFromCommandLine("viewer.exe \"  C:\\d\\a.quorData \" second"), "C:\\d\\a.quorData");
}

TEST(DataFileName, UnquotedPathWithBlanksAfterQuotedProgramIsKeptWhole)
{
    EXPECT_EQ(dataFileNameFromCommandLine("\"C:\\p q\\viewer.exe\" C:\\my data\\a.quorData"),
              "C:\\my data\\a.quorData");
}

TEST(DataFileName, EmptyWhenNoArgument)
{
    EXPECT_EQ(dataFileNameFromCommandLine("\"C:\\p\\viewer.exe\""), "");
    EXPECT_EQ(dataFileNameFromCommandLine("viewer.exe   "), "");
    EXPECT_EQ(dataFileNameFromCommandLine("\"unterminated"), "");
    EXPECT_EQ(dataFileNameFromCommandLine(""), "");
}

TEST(DataFileName, BackslashesBeforeAQuoteFollowTheArgumentRules)
{
    EXPECT_EQ(dataFileNameFromCommandLine("v.exe \"C:\\dir\\\\\" x"), "C:\\dir\\");
    EXPECT_EQ(dataFileNameFromCommandLine("v.exe \"a\\\"b\""), "a\"b");
}
