#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "CommandLine.h"

namespace quor {

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

// Only the extension tells a workspace from a data file, whatever its case.
TEST(DataFileName, WorkspaceKnownByItsExtensionAlone)
{
    EXPECT_TRUE(namesWorkspace("C:\\tests\\run 4.quorWorkspace"));
    EXPECT_TRUE(namesWorkspace("run.QUORWORKSPACE"));
    EXPECT_FALSE(namesWorkspace(".quorWorkspace.quorData"));
    EXPECT_FALSE(namesWorkspace("C:\\a.quorWorkspace\\b.quorData"));
    EXPECT_FALSE(namesWorkspace(""));
}

// The success box of the export shows this. A name too long for the system
// comes back as given, never cut or as whatever a buffer held.
TEST(FullPathName, WholeOrAsGiven)
{
    char directory[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, directory), 0u);
    std::string folder(directory);
    if (folder.back() != '\\')
        folder += '\\';
    EXPECT_EQ(fullPathName("export.csv").str(), folder + "export.csv");
    const std::string longName(3000, 'n');
    const std::string full = fullPathName(longName.c_str()).str();
    EXPECT_TRUE(full == longName || full == folder + longName) << full.size();
}

}  // namespace quor
