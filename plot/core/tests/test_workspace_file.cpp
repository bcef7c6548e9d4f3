// The workspace file read back as it was written, wherever it was written,
// and what is read of a file that was edited by hand or is no workspace.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "WorkspaceFile.h"

namespace quor {

namespace {

Workspace sample(const std::string& folder, char separator)
{
    Workspace w;
    const std::string beside = folder + separator + "run1.quorData";
    const std::string below = folder + separator + "day 2" + separator + "run2.quorData";
    for (const std::string& path : {beside, below, std::string("D:\\elsewhere\\run3.quorData")}) {
        WorkspaceLane lane;
        lane.settings.path = path;
        w.lanes.push_back(lane);
    }
    w.lanes[0].settings.colour = 0x00C08020;
    w.lanes[1].settings.style = LaneStyle::steps;
    w.lanes[1].settings.overlaid = true;
    w.lanes[1].settings.offset = -86400000000123;
    w.lanes[2].settings.colour = 0x00FFFFFF;
    w.lanes[2].settings.offset = INT64_MAX;
    w.hasView = true;
    w.view = TimeSpan{INT64_MIN, -1};
    w.b = PlotCursor{true, 3933000001234567};
    return w;
}

void expectSame(const Workspace& read, const Workspace& written)
{
    ASSERT_EQ(read.lanes.size(), written.lanes.size());
    for (size_t k = 0; k < read.lanes.size(); ++k) {
        const LaneSettings &r = read.lanes[k].settings, &w = written.lanes[k].settings;
        EXPECT_EQ(r.path, w.path) << k;
        EXPECT_EQ(r.style, w.style) << k;
        EXPECT_EQ(r.overlaid, w.overlaid) << k;
        EXPECT_EQ(r.colour, w.colour) << k;
        EXPECT_EQ(r.offset, w.offset) << k;
    }
    EXPECT_EQ(read.hasView, written.hasView);
    EXPECT_EQ(read.view, written.view);
    EXPECT_EQ(read.a, written.a);
    EXPECT_EQ(read.b, written.b);
}

}  // namespace

// Files beside or below the workspace are written relative to it, others
// whole; read back against the same workspace path, everything returns.
// The same text read from another folder finds the files there.
TEST(WorkspaceFile, RoundTripsWithRelativePathsOnEitherSeparator)
{
    for (const std::string folder : {"C:\\Tests\\Rig A", "/home/rig/tests"}) {
        const char separator = folder[0] == '/' ? '/' : '\\';
        const std::string workspacePath = folder + separator + "rig.quorWorkspace";
        const Workspace written = sample(folder, separator);
        const std::string text = writeWorkspace(written, workspacePath);
        EXPECT_EQ(text.find(folder), std::string::npos) << text;
        EXPECT_NE(text.find("\tday 2" + std::string(1, separator) + "run2.quorData\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("\tD:\\elsewhere\\run3.quorData\r\n"), std::string::npos);
        Workspace read;
        int skipped = -1;
        ASSERT_TRUE(readWorkspace(text, workspacePath, &read, &skipped));
        EXPECT_EQ(skipped, 0);
        expectSame(read, written);
        // The folder with its workspace moved to another machine.
        ASSERT_TRUE(readWorkspace(text, "E:/copy/rig.quorWorkspace", &read, &skipped));
        EXPECT_EQ(read.lanes[0].settings.path, "E:/copy/run1.quorData");
        EXPECT_EQ(read.lanes[1].settings.path, "E:/copy/day 2/run2.quorData");
        EXPECT_EQ(read.lanes[2].settings.path, "D:\\elsewhere\\run3.quorData");
    }
    // A folder whose name only begins like the workspace's is not below it;
    // case does not matter, as on Windows.
    EXPECT_EQ(pathBelow("C:\\Tests\\Rig AB\\x.quorData", "C:\\Tests\\Rig A"), "");
    EXPECT_EQ(pathBelow("c:/tests/rig a/x.quorData", "C:\\Tests\\Rig A"), "x.quorData");
    EXPECT_TRUE(isAbsolutePath("c:x") && isAbsolutePath("\\\\server\\share") && !isAbsolutePath("x\\y"));
}

// Lines that cannot be read are skipped and counted, the others are kept; a
// text whose first line does not name the format is no workspace.
TEST(WorkspaceFile, MalformedLinesAreSkippedAndCounted)
{
    const std::string text =
        "\xEF\xBB\xBFQuorWorkspace 1\n"
        "lane\tlines\tseparate\t#2080C0\t0\t/data/good.quorData\n"
        "lane\tdots\tseparate\t#2080C0\t0\t/data/bad style\n"
        "lane\tlines\tseparate\t#2080C\t0\t/data/bad colour\n"
        "lane\tlines\tseparate\t#2080C0\t1.5\t/data/bad offset\n"
        "lane\tlines\tseparate\t#2080C0\t0\t\n"
        "lane\tsteps\toverlay\t#000000\t-5\tnext.quorData\r\n"
        "\n"
        "view\t10\t9\n"
        "view\t10\n"
        "cursor\tC\t5\n"
        "cursor\tA\t99999999999999999999\n"
        "cursor\tA\t-42\n"
        "a line from a later version\n";
    Workspace read;
    int skipped = 0;
    ASSERT_TRUE(readWorkspace(text, "/data/w.quorWorkspace", &read, &skipped));
    EXPECT_EQ(skipped, 9);
    ASSERT_EQ(read.lanes.size(), 2u);
    EXPECT_EQ(read.lanes[0].settings.colour, 0x00C08020u);
    EXPECT_EQ(read.lanes[1].settings.path, "/data/next.quorData");
    EXPECT_EQ(read.lanes[1].settings.offset, -5);
    EXPECT_TRUE(read.lanes[1].settings.overlaid);
    EXPECT_FALSE(read.hasView);
    EXPECT_EQ(read.a, (PlotCursor{true, -42}));
    EXPECT_FALSE(read.b.placed);

    for (const char* other : {"", "QuorWorkspace\n", "QuorWorkspace x\n", "lane\tlines\n", "QUORDATA 1\n"})
        EXPECT_FALSE(readWorkspace(other, "/data/w.quorWorkspace", &read, &skipped)) << other;
}

TEST(WorkspaceFile, SavedFileLoadsAndAFileThatIsNoWorkspaceDoesNot)
{
    TempDir dir;
    const std::string path = dir.path("w.quorWorkspace");
    const Workspace written = sample(folderOf(path), path[folderOf(path).size()]);
    ASSERT_TRUE(saveWorkspaceFile(path, written));
    Workspace read;
    int skipped = -1;
    ASSERT_TRUE(loadWorkspaceFile(path, &read, &skipped));
    EXPECT_EQ(skipped, 0);
    expectSame(read, written);
    ASSERT_TRUE(writeFile(dir.path("data.quorData"), std::string(5000, '\0')));
    EXPECT_FALSE(loadWorkspaceFile(dir.path("data.quorData"), &read, &skipped));
    EXPECT_FALSE(loadWorkspaceFile(dir.path("missing.quorWorkspace"), &read, &skipped));
}

}  // namespace quor
