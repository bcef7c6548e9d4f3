// What a failure leaves: saves that refuse a file changed since open or a
// header it could not be opened under, and put the old header back when a
// write or flush fails; exports that replace their target only when
// complete, whatever fails, is cancelled or is killed on the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "CsvExport.h"
#include "FileFaults.h"
#include "PageBuffers.h"
#include "RangeExport.h"
#include "ReplacingFile.h"
#include "SampleWriter.h"
#include "TestFiles.h"

namespace quor {

namespace {

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

// Files in dir other than the ones named: left-over temporary files.
int strayFiles(const std::string& dir, std::initializer_list<std::string> known)
{
    int stray = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        stray += std::find(known.begin(), known.end(), name) == known.end();
    }
    return stray;
}

Bytes ints(int count)
{
    Bytes values;
    for (int32_t i = 0; i < count; ++i)
        values.put<int32_t>(i);
    return values;
}

class SafeSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.path("saved.quorData");
        ASSERT_TRUE(writeNative(path, nativeHeader(formatInt, 4, 10.0), ints(20)));
        ASSERT_EQ(file.open(path.c_str(), FileHandle::modeReadWrite), S_OK);
        file.getHeader(&edited);
        edited.tagId = 777;
        before = contentOf(path);
    }

    TempDir dir;
    std::string path;
    DataFile file;
    DataFileHeader edited{};
    std::string before;
};

}  // namespace

TEST_F(SafeSave, AFileChangedSinceOpenIsRefusedAndLeftAsItIs)
{
    // Replaced by a double file of the same size.
    Bytes doubles;
    for (int i = 0; i < 10; ++i)
        doubles.put<double>(i * 0.5);
    ASSERT_TRUE(writeNative(path, nativeHeader(formatDouble, 8, 10.0), doubles));
    const std::string replaced = contentOf(path);
    ASSERT_EQ(replaced.size(), before.size());
    EXPECT_EQ(file.saveHeader(edited), E_FAIL);
    EXPECT_EQ(contentOf(path), replaced);

    // A second writer saved its Sample Rate meanwhile.
    ASSERT_TRUE(writeFile(path, before));
    const double rate = 25.0;
    ASSERT_TRUE(writeAt(path, 72, &rate, sizeof rate));
    const std::string secondWriter = contentOf(path);
    EXPECT_EQ(file.saveHeader(edited), E_FAIL);
    EXPECT_EQ(contentOf(path), secondWriter);

    // Truncated to nothing.
    std::filesystem::resize_file(path, 0);
    EXPECT_EQ(file.saveHeader(edited), E_FAIL);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    // Put back as it was opened, the save goes through, and a second save
    // is checked against what the first one wrote.
    ASSERT_TRUE(writeFile(path, before));
    EXPECT_EQ(file.saveHeader(edited), S_OK);
    edited.tagId = 778;
    EXPECT_EQ(file.saveHeader(edited), S_OK);
    DataFileHeader stored;
    std::memcpy(&stored, contentOf(path).data(), sizeof stored);
    EXPECT_EQ(stored.tagId, 778);
}

TEST_F(SafeSave, AHeaderTheFileCouldNotBeOpenedUnderIsRefused)
{
    DataFileHeader unknownVersion = edited;
    std::strcpy(unknownVersion.version, "SomethingElse1.0");
    EXPECT_EQ(file.saveHeader(unknownVersion), E_FAIL);
    DataFileHeader asynchronous = edited;
    asynchronous.dataType = typeAsynchronous;
    EXPECT_EQ(file.saveHeader(asynchronous), E_FAIL);  // no index file
    EXPECT_EQ(contentOf(path), before);

    ASSERT_TRUE(writeTimeIndex(dir.path("saved.quorIndex"), {0, 100000000}));
    EXPECT_EQ(file.saveHeader(asynchronous), S_OK);
    file.close();
    EXPECT_EQ(file.open(path.c_str(), FileHandle::modeRead), S_OK);
}

TEST_F(SafeSave, AFailedWriteOrFlushPutsTheOldHeaderBack)
{
    {
        // 68 of the 108 bytes, then the disk is full.
        FileFaults faults;
        faults.failingWrite = 1;
        faults.failingWriteKeeps = 68;
        ScopedFileFaults scope(faults);
        EXPECT_EQ(file.saveHeader(edited), E_FAIL);
    }
    EXPECT_EQ(contentOf(path), before);
    {
        FileFaults faults;
        faults.failFlush = true;
        ScopedFileFaults scope(faults);
        EXPECT_EQ(file.saveHeader(edited), E_FAIL);
    }
    EXPECT_EQ(contentOf(path), before);
    DataFileHeader inMemory;
    file.getHeader(&inMemory);
    EXPECT_EQ(inMemory.tagId, 42);
    EXPECT_EQ(file.saveHeader(edited), S_OK);
}

TEST(FileLayer, ReportsShortWritesFailedFlushesAndCloses)
{
    TempDir dir;
    const std::string path = dir.path("raw.bin");
    ASSERT_TRUE(writeFile(path, std::string(16, 'x')));
    FileHandle handle;
    ASSERT_EQ(handle.open(path.c_str(), FileHandle::modeReadWrite), S_OK);
    FileFaults faults;
    faults.failingWrite = 1;
    faults.failingWriteKeeps = 3;
    faults.failFlush = true;
    faults.failClose = true;
    ScopedFileFaults scope(faults);
    uint32_t written = 0;
    EXPECT_EQ(handle.write("abcdefgh", 8, &written), E_FAIL);
    EXPECT_EQ(written, 3u);
    EXPECT_FALSE(handle.flush());
    EXPECT_EQ(handle.close(), E_FAIL);
    EXPECT_FALSE(handle.isOpen());
    EXPECT_EQ(contentOf(path), "abc" + std::string(13, 'x'));
}

TEST(ReplacingFile, ReplacesTheTargetOnlyWhenEverythingSucceeded)
{
    TempDir dir;
    const std::string target = dir.path("export.csv");
    const std::string big(200000, 'n');  // more than one buffer
    ASSERT_TRUE(writeFile(target, std::string("old bytes")));
    auto attempt = [&](FileFaults faults) {
        ScopedFileFaults scope(faults);
        ReplacingFile file;
        EXPECT_TRUE(file.create(target.c_str()));
        const bool written = file.write(big.data(), big.size());
        return file.commit() && written;
    };
    FileFaults shortWrite;
    shortWrite.failingWrite = 2;
    shortWrite.failingWriteKeeps = 10;
    FileFaults flush, close, rename;
    flush.failFlush = true;
    close.failClose = true;
    rename.failRename = true;
    for (const FileFaults& faults : {shortWrite, flush, close, rename}) {
        EXPECT_FALSE(attempt(faults));
        EXPECT_EQ(contentOf(target), "old bytes");
        EXPECT_EQ(strayFiles(dir.path(""), {"export.csv"}), 0);
    }
    {
        ReplacingFile abandoned;
        ASSERT_TRUE(abandoned.create(target.c_str()));
        abandoned.write("new", 3);
    }
    EXPECT_EQ(contentOf(target), "old bytes");
    EXPECT_TRUE(attempt(FileFaults()));
    EXPECT_EQ(contentOf(target), big);
    EXPECT_EQ(strayFiles(dir.path(""), {"export.csv"}), 0);

    const std::string absent = dir.path("absent.csv");
    EXPECT_FALSE([&] {
        FileFaults faults;
        faults.failingWrite = 1;
        ScopedFileFaults scope(faults);
        ReplacingFile file;
        return file.create(absent.c_str()) && file.write("x", 1) && file.commit();
    }());
    EXPECT_FALSE(exists(absent));
    ReplacingFile nowhere;
    EXPECT_FALSE(nowhere.create(dir.path("no-such-dir/x.csv").c_str()));
}

TEST(ReplacingFile, ExportsThatFailOrAreCancelledLeaveTheOldFile)
{
    TempDir dir;
    const std::string data = dir.path("ints.quorData");
    ASSERT_TRUE(writeNative(data, nativeHeader(formatInt, 4, 1000.0), ints(100000)));
    const std::string target = dir.path("out.csv");
    ASSERT_TRUE(writeFile(target, std::string("previous export")));

    DataFile file;
    ASSERT_EQ(file.open(data.c_str(), FileHandle::modeRead), S_OK);
    DataFileHeader h;
    file.getHeader(&h);
    ExportPage page;
    page.header = &h;
    page.fileSize = file.getFileSize();
    page.pageSize = 100000;
    {
        FileFaults faults;
        faults.failingWrite = 3;
        ScopedFileFaults scope(faults);
        auto sink = FileExportSink::create(target.c_str());
        ASSERT_TRUE(sink);
        EXPECT_EQ(writeCsvExport(page, file, *sink), E_FAIL);
    }
    EXPECT_EQ(contentOf(target), "previous export");

    RangeExportRequest request;
    request.path = data.c_str();
    request.to = INT64_MAX;
    TaskProgress cancelled;
    cancelled.cancel = true;
    auto sink = FileExportSink::create(target.c_str());
    ASSERT_TRUE(sink);
    EXPECT_EQ(exportTimeRange(request, *sink, &cancelled), RangeExportResult::cancelled);
    sink.reset();
    EXPECT_EQ(contentOf(target), "previous export");
    EXPECT_EQ(strayFiles(dir.path(""), {"ints.quorData", "out.csv"}), 0);

    sink = FileExportSink::create(target.c_str());
    EXPECT_EQ(exportTimeRange(request, *sink, nullptr), RangeExportResult::ok);
    EXPECT_EQ(contentOf(target).rfind("Version,QuorDataFileVersion1.0\r\n", 0), 0u);
}

#ifndef _WIN32
// The export's process dies halfway through its rows: the final name still
// holds the old file, or nothing when there was none.
TEST(ReplacingFile, AnExportKilledMidwayLeavesTheOldFileOrNone)
{
    TempDir dir;
    const std::string data = dir.path("ints.quorData");
    ASSERT_TRUE(writeNative(data, nativeHeader(formatInt, 4, 1000.0), ints(200000)));
    const std::string kept = dir.path("kept.csv");
    const std::string fresh = dir.path("fresh.csv");
    ASSERT_TRUE(writeFile(kept, std::string("previous export")));
    for (const std::string& target : {kept, fresh}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Dies by SIGKILL once a few blocks of rows are down.
            class DyingSink final : public ExportSink {
            public:
                explicit DyingSink(ExportSink& inner) : inner_(inner) {}
                bool write(const char* bytes, size_t count) override
                {
                    if ((written_ += count) > 300000)
                        raise(SIGKILL);
                    return inner_.write(bytes, count);
                }
                bool finish() override { return inner_.finish(); }

            private:
                ExportSink& inner_;
                size_t written_ = 0;
            };
            auto file = FileExportSink::create(target.c_str());
            if (!file)
                _exit(3);
            DyingSink dying(*file);
            RangeExportRequest request;
            request.path = data.c_str();
            request.to = INT64_MAX;
            exportTimeRange(request, dying, nullptr);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
    }
    EXPECT_EQ(contentOf(kept), "previous export");
    EXPECT_FALSE(exists(fresh));
}
#endif

TEST(PageBuffers, HoldNoMoreRowsThanTheFileCanGive)
{
    TempDir dir;
    const std::string path = dir.path("small.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatInt, 4, 1.0), ints(1000)));
    DataFile file;
    ASSERT_EQ(file.open(path.c_str(), FileHandle::modeRead), S_OK);
    PageBuffers buffers;
    ASSERT_EQ(buffers.allocate(268435455, 4), S_OK);
    int32_t count = 0;
    ASSERT_EQ(buffers.read(file, 0, 268435455, &count), S_OK);
    EXPECT_EQ(count, 1000);
    EXPECT_EQ(buffers.heldRows(), 1000);

    // A multi-periodic file: its 800 indices, gaps included.
    ASSERT_EQ(writeSampleSet(dir.path(""), nullptr), S_OK);
    DataFile multi;
    ASSERT_EQ(multi.open(dir.path("multiperiodic_float.quorData").c_str(), FileHandle::modeRead), S_OK);
    DataFileHeader h;
    multi.getHeader(&h);
    ASSERT_EQ(buffers.allocate(268435455, 4), S_OK);
    ASSERT_EQ(buffers.read(multi, h.startTime, 268435455, &count), S_OK);
    EXPECT_EQ(count, 800);
    EXPECT_LE(buffers.heldRows(), 1000);
    ExportPage page;
    page.header = &h;
    page.fileSize = multi.getFileSize();
    page.segments = multi.getSegments(&page.segmentCount);
    page.pageSize = 268435455;
    page.currentTime = h.startTime;
    BufferExportSink sink;
    EXPECT_EQ(writeCsvExport(page, multi, sink), S_OK);
}

}  // namespace quor
