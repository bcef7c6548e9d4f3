// The comma-separated export of a data file's header, its segment table and
// one page of samples. The viewer and the quordata tool both write it
// through here, so that a file exported either way has the same bytes.
// Every line ends with CR LF on every platform; sinks take bytes as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "DataFile.h"
#include "QuorStatus.h"

class ExportSink {
public:
    virtual ~ExportSink() = default;
    virtual void write(const char* bytes, size_t count) = 0;
};

// Writes to a stream the caller opened in binary mode and still owns.
class FileExportSink final : public ExportSink {
public:
    explicit FileExportSink(FILE* file) : file_(file) {}
    void write(const char* bytes, size_t count) override;

private:
    FILE* file_;
};

// Collects the bytes in memory.
class BufferExportSink final : public ExportSink {
public:
    void write(const char* bytes, size_t count) override { bytes_.append(bytes, count); }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// What is exported: the header copy and the page the viewer shows.
struct ExportPage {
    const DataFileHeader* header = nullptr;
    int64_t fileSize = 0;
    const Segment* segments = nullptr;  // may be null when segmentCount is 0
    int32_t segmentCount = 0;
    int32_t pageSize = 500;
    int64_t currentTime = 0;
};

// The header lines and, for a periodic file with segments, the segment block.
void writeExportHeader(const ExportPage& page, ExportSink& sink);

// The whole export: the header lines, then the page read afresh from file
// (or the no-data line when it cannot be read). E_OUTOFMEMORY when the page
// buffers cannot be had; a failed read is not a failure of the export.
HRESULT writeCsvExport(const ExportPage& page, DataFile& file, ExportSink& sink);
