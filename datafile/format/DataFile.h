// DataFile: one open data file (native or legacy) with its index file,
// segment table, time cache and jump list. Every failure is E_FAIL; nothing
// here shows a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "FileHandle.h"
#include "IndexLayout.h"
#include "Status.h"
#include "Text.h"

namespace quor {

// The 1024-byte native header block. Every field is little-endian on disk;
// the first 108 bytes are the header record proper.
struct DataFileHeader {
    char version[64];
    int32_t tagId;
    int32_t dataFormat;
    double sampleRate;
    int64_t startTime;
    int64_t endTime;
    int32_t dataSize;
    int32_t byteOrder;
    int32_t dataType;
    uint8_t reserved[916];
};
static_assert(sizeof(DataFileHeader) == 1024, "the header block is 1024 bytes");
static_assert(offsetof(DataFileHeader, tagId) == 64, "header layout");
static_assert(offsetof(DataFileHeader, sampleRate) == 72, "header layout");
static_assert(offsetof(DataFileHeader, dataSize) == 96, "header layout");
static_assert(offsetof(DataFileHeader, reserved) == 108, "header layout");

enum DataFormat : int32_t {
    formatInt = 0,
    formatDiscrete = 1,
    formatFloat = 2,
    formatLong = 3,
    formatUlong = 4,
    formatDouble = 5,
    formatAscii = 6,
    formatBlob = 7,
    formatLong8 = 8,  // no name of its own; written as signed 64-bit
};

enum DataType : int32_t { typePeriodic = 0, typeAsynchronous = 1 };

enum DataFileKind : int32_t { kindLittleEndianLegacy = 0, kindBigEndianLegacy = 1, kindNative = 2 };

const int32_t kHeaderSize = 1024;
const int32_t kLegacyDataStart = 28;

// One run of a multi-periodic file (indices inclusive).
struct Segment {
    int64_t startIndex = 0;
    int64_t endIndex = 0;
    int64_t byteOffset = 0;          // data file position of startIndex
    int64_t lastOffset = 0;          // data file position of endIndex
    bool needsLoad = true;           // lastValue not yet read
    std::vector<uint8_t> lastValue;  // Data Size bytes, filled on first need
};

// The data file's path with its first ".quorData" (any case) replaced by
// ".quorIndex". false (and indexPath = dataPath) when there is none.
bool makeIndexPath(const char* dataPath, Text& indexPath);

class TimeCache;  // DataFile's seek machinery (TimeSeek.h)

class DataFile {
public:
    DataFile();
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // mode: 1 read, 2 read and write. Close an open file first.
    HRESULT open(const char* path, int32_t mode);
    HRESULT close();  // always S_OK
    bool isOpen() const;

    // Copies Version (up to its NUL) and Tag Id..Data Type; the caller's
    // reserved bytes 108..1023 are not touched.
    HRESULT getHeader(DataFileHeader* header) const;
    int64_t getFileSize() const;  // 0 when not open
    int64_t getEndTime() const;
    // The table (sorted by Start Index) and its count; null when empty.
    const Segment* getSegments(int32_t* count) const;

    // Reads up to count samples from time into values (count * Data Size
    // bytes) and, when times is given, their true time stamps (count
    // entries): for every kind of file times[k] is the time of values[k] on
    // the sample grid or in the time index. Page rows take their times from
    // PageBuffers, which follows the viewer's rule for them.
    HRESULT readSamples(int64_t time, int32_t count, void* values, int32_t* countRead,
                        int64_t* times = nullptr);

    // Writes the header record of a native block at offset 0, flushes it and
    // re-derives the state. Refused for legacy files, for a block under which
    // the file would no longer open, and when the file on disk is no longer
    // the one opened (another size or other header bytes). A failed write or
    // flush puts the old record back.
    HRESULT saveHeader(const DataFileHeader& block);

    // Asynchronous files: finds sample k with time(k) <= t < time(k + 1);
    // dataPos and indexPos are its positions in the data and index file.
    HRESULT gotoTime(int64_t time, int64_t* dataPos, int64_t* indexPos);
    // Asynchronous files: the read that follows a gotoTime, from the data and
    // index positions it gave (or positions further on, in step), so that a
    // long run of samples can be read in parts without seeking by time again.
    HRESULT readAsynchronousAt(int64_t dataPos, int64_t indexPos, int32_t count, void* values,
                               int32_t* countRead, int64_t* times);

    // Derived state.
    uint64_t getSamplePeriod() const { return samplePeriod_; }
    int64_t getStartIndex() const { return startIndex_; }
    int64_t getEndIndex() const { return endIndex_; }
    int32_t getKind() const { return kind_; }
    bool swapsValues() const { return swap_; }
    int64_t getDataStart() const { return dataStart_; }
    // A periodic file with more than one segment is read segment by segment.
    bool readsMultiPeriodic() const { return header_.dataType == typePeriodic && segments_.size() > 1; }
    // Any other periodic file is read as one run from its first sample.
    bool readsPeriodicRun() const { return header_.dataType == typePeriodic && segments_.size() <= 1; }
    // The stride reads use now: a saved header may have changed it.
    int32_t getDataSize() const { return header_.dataSize; }
    const char* getPath() const { return path_.c_str(); }
    const char* getIndexPath() const { return indexPath_.c_str(); }
    const SeekStats& lastSeekStats() const;

private:
    void resetState();
    HRESULT readNativeHeader();
    HRESULT readLegacyHeader();
    HRESULT finishOpen();
    bool opensUnder(const DataFileHeader& block) const;
    bool unchangedSinceOpen();
    bool writeRecord(const void* record);
    void deriveIndices();
    HRESULT openBinaryIndex();
    void readTextIndex();
    void appendSegment(int64_t startTime, int64_t endTime, int64_t byteOffset);
    void setLastOffset(Segment& segment) const;

    HRESULT readPeriodic(int64_t time, int32_t count, uint8_t* values, int32_t* countRead,
                         int64_t* times);
    HRESULT readMultiPeriodic(int64_t time, int32_t count, uint8_t* values, int32_t* countRead,
                              int64_t* times);
    HRESULT readAsynchronous(int64_t time, int32_t count, uint8_t* values, int32_t* countRead,
                             int64_t* times);
    HRESULT readSegmentRun(const Segment& segment, int64_t first, int64_t count, uint8_t* out,
                           int64_t* got);
    HRESULT fillGap(Segment& segment, int64_t count, uint8_t* out);
    HRESULT loadLastValue(Segment& segment);
    size_t findSegmentAtOrBefore(int64_t index) const;
    HRESULT readValues(int64_t position, int64_t count, uint8_t* out, int64_t* got);
    void swapValues(uint8_t* values, int64_t count) const;
    void fillPeriodTimes(int64_t firstIndex, int32_t count, int64_t* times) const;

    FileHandle dataFile_;
    FileHandle indexFile_;
    Text path_;
    Text indexPath_;
    DataFileHeader header_;
    int64_t dataStart_ = kHeaderSize;
    int32_t kind_ = kindNative;
    int64_t startIndex_ = 0;
    int64_t endIndex_ = 0;
    bool swap_ = false;
    // The header record's bytes and the file's size as the file had them at
    // open (or at the last save): a save checks the file still has them.
    uint8_t recordAtOpen_[108] = {};
    int64_t sizeAtOpen_ = -1;
    std::vector<Segment> segments_;
    uint64_t samplePeriod_ = 0;
    std::unique_ptr<TimeCache> timeCache_;
};

}  // namespace quor
