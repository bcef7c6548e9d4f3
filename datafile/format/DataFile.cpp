#include "DataFile.h"

#include <algorithm>
#include <cstring>

#include "SampleTime.h"
#include "TimeSeek.h"
#include "WrappingMath.h"

namespace quor {

namespace {

const char kNativeVersionPrefix[] = "QuorDataFileVersion";
const size_t kNativeVersionPrefixLength = sizeof kNativeVersionPrefix - 1;
const char kLegacyVersion[] = "QUOR Legacy File";
const int32_t kRecordSize = 108;  // Version to Data Type: the header record proper
const int32_t kRecordFieldsStart = 64;
const int32_t kLegacyFieldsSize = 20;
const double kDefaultSampleRate = 50.0;
const int32_t kResetDataFormat = 9;

// The extension: from the last '.' of the last path component.
const char* extensionOf(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' || *p == '\\' || *p == ':')
            name = p + 1;
    }
    const char* dot = std::strrchr(name, '.');
    return dot ? dot : "";
}

bool kindOf(const char* path, int32_t* kind)
{
    const Text extension(extensionOf(path));
    // The little-endian test must come first: its name also ends in "ZIBdata".
    if (extension.containsNoCase(".quorData"))
        *kind = kindNative;
    else if (extension.containsNoCase(".LittleEndianZIBdata"))
        *kind = kindLittleEndianLegacy;
    else if (extension.containsNoCase(".ZIBdata"))
        *kind = kindBigEndianLegacy;
    else
        return false;
    return true;
}

template <class T>
T reversed(T value)
{
    uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof bytes);
    std::reverse(bytes, bytes + sizeof bytes);
    std::memcpy(&value, bytes, sizeof bytes);
    return value;
}

bool readExactly(FileHandle& file, int64_t position, void* buffer, uint32_t count)
{
    uint32_t got = 0;
    return SUCCEEDED(file.readAt(position, buffer, count, &got)) && got == count;
}

// Reads the whole file; text index files are small.
bool readWholeFile(FileHandle& file, std::string* content)
{
    int64_t size = 0;
    if (FAILED(file.getSize(&size)) || size < 0 || size > INT32_MAX)
        return false;
    content->resize(static_cast<size_t>(size));
    uint32_t got = 0;
    if (size > 0 && FAILED(file.readAt(0, &(*content)[0], static_cast<uint32_t>(size), &got)))
        return false;
    content->resize(got);
    return true;
}

// What reading in text mode gives on Windows; done everywhere so that an
// index file reads the same on every platform.
void dropCarriageReturns(std::string* text)
{
    size_t out = 0;
    for (size_t i = 0; i < text->size(); ++i) {
        if ((*text)[i] == '\r' && i + 1 < text->size() && (*text)[i + 1] == '\n')
            continue;
        (*text)[out++] = (*text)[i];
    }
    text->resize(out);
}

// The open's test of a native Version: its first 19 characters, any case.
bool hasNativeVersion(const char* version)
{
    Text prefix;
    prefix.assign(version, kNativeVersionPrefixLength);
    return std::strncmp(prefix.toUpper().c_str(), Text(kNativeVersionPrefix).toUpper().c_str(),
                        kNativeVersionPrefixLength) == 0;
}

// An asynchronous file opens only with an index file that holds its header.
bool indexHeaderReadable(FileHandle& index, const char* path)
{
    uint8_t indexHeader[kIndexHeaderSize];
    return SUCCEEDED(index.open(path, FileHandle::modeRead)) &&
           readExactly(index, 0, indexHeader, sizeof indexHeader);
}

bool isSkippedLine(const char* line, size_t length)
{
    return length == 0 || line[0] == '*' || line[0] == ' ';
}

}  // namespace

bool makeIndexPath(const char* dataPath, Text& indexPath)
{
    indexPath.assign(dataPath);
    return indexPath.replaceNoCase(".quorData", ".quorIndex", false) > 0;
}

DataFile::DataFile() : timeCache_(new TimeCache)
{
    resetState();
}

DataFile::~DataFile()
{
    close();
}

void DataFile::resetState()
{
    std::memset(&header_, 0, sizeof header_);
    header_.tagId = -1;
    header_.dataFormat = kResetDataFormat;
    header_.sampleRate = kDefaultSampleRate;
    header_.startTime = -1;
    header_.endTime = -1;
    header_.dataType = -1;
    segments_.clear();
    timeCache_->reset();
    indexPath_.clear();
    sizeAtOpen_ = -1;
}

HRESULT DataFile::open(const char* path, int32_t mode)
{
    if (!path || (mode != FileHandle::modeRead && mode != FileHandle::modeReadWrite))
        return E_FAIL;
    close();
    path_.assign(path);
    int32_t kind = kindNative;
    if (!kindOf(path, &kind))
        return E_FAIL;
    kind_ = kind;
    swap_ = kind == kindBigEndianLegacy;
    if (FAILED(dataFile_.open(path, mode)))
        return E_FAIL;
    resetState();
    const HRESULT hr = kind_ == kindNative ? readNativeHeader() : readLegacyHeader();
    if (FAILED(hr)) {
        dataFile_.close();
        return E_FAIL;
    }
    return finishOpen();
}

HRESULT DataFile::close()
{
    if (dataFile_.isOpen())
        dataFile_.close();
    if (indexFile_.isOpen())
        indexFile_.close();
    return S_OK;
}

bool DataFile::isOpen() const
{
    return dataFile_.isOpen();
}

void DataFile::deriveIndices()
{
    samplePeriod_ = samplePeriod(header_.sampleRate);
    if (samplePeriod_ == 0) {
        startIndex_ = endIndex_ = 1;
        return;
    }
    startIndex_ = divideByPeriod(header_.startTime, samplePeriod_);
    endIndex_ = divideByPeriod(header_.endTime, samplePeriod_);
}

HRESULT DataFile::readNativeHeader()
{
    DataFileHeader block;
    if (!readExactly(dataFile_, 0, &block, kRecordSize) || !hasNativeVersion(block.version))
        return E_FAIL;
    // A header without a stride between values cannot be read.
    if (block.dataSize <= 0)
        return E_FAIL;
    std::memcpy(&header_, &block, kRecordSize);
    std::memcpy(recordAtOpen_, &block, kRecordSize);
    if (FAILED(dataFile_.getSize(&sizeAtOpen_)))
        return E_FAIL;
    header_.version[sizeof header_.version - 1] = '\0';
    if (!(header_.sampleRate > 0))
        header_.sampleRate = kDefaultSampleRate;
    swap_ = header_.byteOrder != 1;
    if (header_.dataType == typePeriodic) {
        header_.startTime = alignTime(header_.startTime, header_.sampleRate);
        header_.endTime = alignTime(header_.endTime, header_.sampleRate);
    }
    deriveIndices();
    dataStart_ = kHeaderSize;
    return S_OK;
}

HRESULT DataFile::readLegacyHeader()
{
    uint8_t fields[kLegacyFieldsSize];
    if (!readExactly(dataFile_, 0, fields, sizeof fields))
        return E_FAIL;
    int32_t tagId = 0;
    double sampleRate = 0;
    int64_t startIndex = 0;
    std::memcpy(&tagId, fields, 4);
    std::memcpy(&sampleRate, fields + 4, 8);
    std::memcpy(&startIndex, fields + 12, 8);
    if (swap_) {
        tagId = reversed(tagId);
        sampleRate = reversed(sampleRate);
        startIndex = reversed(startIndex);
    }
    if (startIndex < 0)
        return E_FAIL;
    std::strcpy(header_.version, kLegacyVersion);
    header_.tagId = tagId;
    header_.dataFormat = formatFloat;
    header_.sampleRate = sampleRate;
    header_.dataSize = 4;
    header_.byteOrder = kind_ == kindLittleEndianLegacy ? 1 : 2;
    header_.dataType = typePeriodic;
    samplePeriod_ = samplePeriod(sampleRate);
    header_.startTime = wrappingMultiply(startIndex, samplePeriod_);
    startIndex_ = startIndex;
    endIndex_ = startIndex;
    dataStart_ = kLegacyDataStart;
    return S_OK;
}

HRESULT DataFile::finishOpen()
{
    if (header_.dataType == typeAsynchronous)
        return openBinaryIndex();
    if (header_.dataType != typePeriodic)
        return S_OK;
    int64_t size = 0;
    if (FAILED(dataFile_.getSize(&size)))
        size = 0;
    // A file shorter than its header holds no samples rather than a negative count.
    const int64_t samples = std::max<int64_t>(0, (size - dataStart_) / header_.dataSize);
    endIndex_ = wrappingAdd(startIndex_, samples - 1);
    header_.endTime = wrappingMultiply(endIndex_, samplePeriod_);
    if (kind_ == kindNative && samplePeriod_ != 0)
        readTextIndex();
    return S_OK;
}

HRESULT DataFile::openBinaryIndex()
{
    makeIndexPath(path_.c_str(), indexPath_);
    if (!indexHeaderReadable(indexFile_, indexPath_.c_str()))
        return E_FAIL;
    return indexFile_.seek(FileHandle::fromStart, kIndexHeaderSize);
}

void DataFile::readTextIndex()
{
    makeIndexPath(path_.c_str(), indexPath_);
    FileHandle file;
    std::string text;
    if (FAILED(file.open(indexPath_.c_str(), FileHandle::modeRead)) || !readWholeFile(file, &text))
        return;
    dropCarriageReturns(&text);
    size_t at = static_cast<size_t>(kIndexHeaderSize);
    while (at < text.size()) {
        // A last line without its newline may be one that a recording in
        // progress has only partly written: it is not read.
        const size_t end = text.find('\n', at);
        if (end == std::string::npos)
            break;
        if (!isSkippedLine(text.c_str() + at, end - at)) {
            const Text line(text.substr(at, end - at).c_str());
            appendSegment(line.field(0, ' ').toInt64(), line.field(1, ' ').toInt64(),
                          line.field(2, ' ').toInt64());
        }
        at = end + 1;
    }
    if (segments_.empty())
        return;
    std::stable_sort(segments_.begin(), segments_.end(),
                     [](const Segment& a, const Segment& b) { return a.startIndex < b.startIndex; });
    startIndex_ = segments_.front().startIndex;
    endIndex_ = segments_.back().endIndex;
}

void DataFile::appendSegment(int64_t startTime, int64_t endTime, int64_t byteOffset)
{
    Segment segment;
    segment.startIndex = divideByPeriod(startTime, samplePeriod_);
    segment.endIndex = divideByPeriod(endTime, samplePeriod_);
    segment.byteOffset = byteOffset;
    setLastOffset(segment);
    segments_.push_back(std::move(segment));
}

void DataFile::setLastOffset(Segment& segment) const
{
    const int64_t span = wrappingSubtract(segment.endIndex, segment.startIndex);
    const uint64_t size = static_cast<uint64_t>(header_.dataSize);
    segment.lastOffset = wrappingAdd(segment.byteOffset, wrappingMultiply(span, size));
    segment.needsLoad = true;
}

HRESULT DataFile::getHeader(DataFileHeader* header) const
{
    // At most 63 characters and always terminated: the caller prints it as text.
    std::memset(header->version, 0, sizeof header->version);
    std::memcpy(header->version, header_.version, strnlen(header_.version, sizeof header->version - 1));
    std::memcpy(reinterpret_cast<uint8_t*>(header) + kRecordFieldsStart,
                reinterpret_cast<const uint8_t*>(&header_) + kRecordFieldsStart,
                kRecordSize - kRecordFieldsStart);
    return S_OK;
}

int64_t DataFile::getFileSize() const
{
    int64_t size = 0;
    if (!dataFile_.isOpen() || FAILED(dataFile_.getSize(&size)))
        return 0;
    return size;
}

int64_t DataFile::getEndTime() const
{
    return header_.endTime;
}

const Segment* DataFile::getSegments(int32_t* count) const
{
    *count = static_cast<int32_t>(segments_.size());
    return segments_.empty() ? nullptr : segments_.data();
}

const SeekStats& DataFile::lastSeekStats() const
{
    return timeCache_->stats();
}

// A header under which the file could no longer be opened is not written.
bool DataFile::opensUnder(const DataFileHeader& block) const
{
    if (!hasNativeVersion(block.version) || block.dataSize <= 0)
        return false;
    if (block.dataType != typeAsynchronous)
        return true;
    Text indexPath;
    makeIndexPath(path_.c_str(), indexPath);
    FileHandle index;
    return indexHeaderReadable(index, indexPath.c_str());
}

// The header is written only over the file that was opened: one replaced,
// truncated or saved by another writer meanwhile would get a stale record.
bool DataFile::unchangedSinceOpen()
{
    int64_t size = 0;
    uint8_t record[kRecordSize];
    return SUCCEEDED(dataFile_.getSize(&size)) && size == sizeAtOpen_ &&
           readExactly(dataFile_, 0, record, kRecordSize) && std::memcmp(record, recordAtOpen_, kRecordSize) == 0;
}

bool DataFile::writeRecord(const void* record)
{
    uint32_t written = 0;
    return SUCCEEDED(dataFile_.seek(FileHandle::fromStart, 0)) &&
           SUCCEEDED(dataFile_.write(record, kRecordSize, &written)) && written == kRecordSize;
}

HRESULT DataFile::saveHeader(const DataFileHeader& block)
{
    // The native block would overwrite a legacy header and its first samples.
    if (!dataFile_.isOpen() || kind_ != kindNative || !opensUnder(block) || !unchangedSinceOpen())
        return E_FAIL;
    // Only the header record is written: the file keeps its own reserved
    // bytes. A write or flush that fails puts the old record back, so the
    // file never holds half of each.
    if (!writeRecord(&block) || !dataFile_.flush()) {
        writeRecord(recordAtOpen_);
        dataFile_.flush();
        return E_FAIL;
    }
    std::memcpy(recordAtOpen_, &block, kRecordSize);
    std::memcpy(&header_, &block, kRecordSize);
    header_.version[sizeof header_.version - 1] = '\0';
    if (!(header_.sampleRate > 0))
        header_.sampleRate = kDefaultSampleRate;
    deriveIndices();
    dataStart_ = kHeaderSize;
    // A changed Data Size moves every segment's last sample.
    for (Segment& segment : segments_)
        setLastOffset(segment);
    return S_OK;
}

HRESULT DataFile::gotoTime(int64_t time, int64_t* dataPos, int64_t* indexPos)
{
    if (!indexFile_.isOpen())
        return E_FAIL;
    int64_t sample = 0;
    if (FAILED(timeCache_->find(indexFile_, time, &sample)))
        return E_FAIL;
    const uint64_t size = static_cast<uint64_t>(header_.dataSize);
    *dataPos = wrappingAdd(wrappingMultiply(sample, size), dataStart_);
    *indexPos = kIndexHeaderSize + kIndexStampSize * sample;
    return S_OK;
}

}  // namespace quor
