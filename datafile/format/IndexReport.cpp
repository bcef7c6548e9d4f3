#include "IndexReport.h"

#include "DataFile.h"
#include "FileHandle.h"
#include "Text.h"

#include <cstring>
#include <vector>

namespace quor {

namespace {

const int64_t kIndexDataStart = 1024;
const int kVersionPiece = 76;

// Reads the index file's time entries in large blocks; the report is the
// same as with one 8-byte read per entry, but a long recording is checked
// in a fraction of the time.
class IndexScanner {
public:
    explicit IndexScanner(FileHandle& file) : file_(file), block_(8192) {}

    // Positions on the first entry; false when the seek fails.
    bool start()
    {
        used_ = filled_ = 0;
        return SUCCEEDED(file_.seek(0, kIndexDataStart));
    }

    // The next whole entry; false at the end of the file or on a failed read.
    bool next(int64_t* time)
    {
        if (used_ == filled_ && !refill())
            return false;
        *time = block_[used_++];
        return true;
    }

private:
    bool refill()
    {
        uint32_t got = 0;
        if (FAILED(file_.read(block_.data(), static_cast<uint32_t>(block_.size() * 8), &got)))
            return false;
        // A partial entry at the end of the file is not an entry.
        filled_ = got / 8;
        used_ = 0;
        return filled_ > 0;
    }

    FileHandle& file_;
    std::vector<int64_t> block_;
    size_t used_ = 0;
    size_t filled_ = 0;
};

bool readExactly(FileHandle& file, void* buffer, uint32_t count)
{
    uint32_t got = 0;
    return SUCCEEDED(file.read(buffer, count, &got)) && got == count;
}

bool readEntryAt(FileHandle& file, int64_t position, int64_t* time)
{
    return SUCCEEDED(file.seek(0, position)) && readExactly(file, time, 8);
}

bool readVersion(FileHandle& file, Text& item)
{
    char version[kVersionPiece + 1] = {};
    char second[4];
    std::vector<char> third(944);
    if (!readExactly(file, version, kVersionPiece) || !readExactly(file, second, sizeof second) ||
        !readExactly(file, third.data(), static_cast<uint32_t>(third.size())))
        return false;
    item.format("1) Index Header Version: %s\n\n", version);
    return true;
}

// The first and the last whole entry; both -1 when the index holds none,
// so that header bytes are never taken for a time.
void readEndTimes(FileHandle& file, int64_t* first, int64_t* last)
{
    *first = *last = -1;
    int64_t size = 0;
    if (FAILED(file.getSize(&size)))
        return;
    int64_t entries = (size - kIndexDataStart) / 8;
    if (entries < 1)
        return;
    if (!readEntryAt(file, kIndexDataStart, first))
        *first = -1;
    if (!readEntryAt(file, kIndexDataStart + 8 * (entries - 1), last))
        *last = -1;
}

void checkEndTimes(FileHandle& file, const IndexReportInput& input, Text& item)
{
    int64_t first = -1;
    int64_t last = -1;
    readEndTimes(file, &first, &last);
    if (first == input.startTime && last == input.endTime) {
        item.assign("2) Verify Index File Start/End Times Match the Data File Header: YES !\n\n");
        return;
    }
    item.format("2) Verify Index File Start/End Times Match the Data File Header: NO !\n"
                "\tData file: (%lld - %lld)\n\tIndex File: (%lld - %lld)\n\n",
                static_cast<long long>(input.startTime), static_cast<long long>(input.endTime),
                static_cast<long long>(first), static_cast<long long>(last));
}

// A predecessor is tracked by a flag rather than by a -1 mark: -1 ns is a
// valid time stamp and must be compared like any other.
void checkIncreasing(FileHandle& file, Text& item)
{
    IndexScanner scanner(file);
    int64_t previous = 0;
    int64_t current = 0;
    int64_t position = 0;
    bool scanning = scanner.start();
    while (scanning && scanner.next(&current)) {
        ++position;
        if (position > 1 && current <= previous) {
            item.format("3) Verify that Time Values are Always Increasing in Value: NO !\n"
                        "\tCurrent/Previous Time Values: (%lld - %lld)\n\tPosition: %lld",
                        static_cast<long long>(current), static_cast<long long>(previous),
                        static_cast<long long>(position));
            return;
        }
        previous = current;
    }
    item.assign("3) Verify that Time Values are Always Increasing in Value: YES !\n\n");
}

}  // namespace

IndexReportStatus buildIndexReport(const IndexReportInput& input, Text* report)
{
    report->clear();
    if (input.dataFilePath.empty())
        return IndexReportStatus::noFileNamed;
    if (input.dataType != 1)
        return IndexReportStatus::periodic;

    Text indexPath;
    makeIndexPath(input.dataFilePath.c_str(), indexPath);
    FileHandle file;
    if (FAILED(file.open(indexPath.c_str(), 1)))
        return IndexReportStatus::indexUnreadable;
    Text version, times, order;
    if (!readVersion(file, version))
        return IndexReportStatus::indexUnreadable;
    checkEndTimes(file, input, times);
    checkIncreasing(file, order);
    report->append(version).append(times).append(order);
    return IndexReportStatus::ok;
}

const char* indexReportMessage(IndexReportStatus status)
{
    switch (status) {
    case IndexReportStatus::noFileNamed:
        return "Please Open an QUOR Data File";
    case IndexReportStatus::periodic:
        return "Periodic files do not have an index file";
    default:
        return "";
    }
}

}  // namespace quor
