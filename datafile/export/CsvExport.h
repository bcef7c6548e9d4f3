// The comma-separated export of a data file's header, its segment table and
// one page of samples. The viewer and the quordata tool both write it
// through here, so that a file exported either way has the same bytes.
// Every line ends with CR LF on every platform; sinks take bytes as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "DataFile.h"
#include "ExportSink.h"
#include "ReplacingFile.h"
#include "Status.h"

namespace quor {

// Writes to a binary stream the caller opened and still owns (standard
// output), or to a file of its own that replaces its target only when the
// export is complete (ReplacingFile). finish() flushes the stream, or
// commits the file; discard() leaves the target as it was.
class FileExportSink final : public ExportSink {
public:
    explicit FileExportSink(FILE* file) : stream_(file) {}
    FileExportSink(const FileExportSink&) = delete;
    FileExportSink& operator=(const FileExportSink&) = delete;

    // A sink whose bytes replace the file at path once finished (the writer
    // puts CR LF itself); null when the file cannot be created.
    static std::unique_ptr<FileExportSink> create(const char* path);

    bool write(const char* bytes, size_t count) override;
    bool finish() override;
    void discard() override;

private:
    FileExportSink() = default;

    FILE* stream_ = nullptr;
    ReplacingFile file_;
    bool failed_ = false;
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

// The header lines and, for a periodic file with segments, the segment
// block. E_FAIL when the sink did not take every byte.
HRESULT writeExportHeader(const ExportPage& page, ExportSink& sink);

// The lines before the sample rows: the header lines, the segment block and
// the data heading. E_FAIL when the sink did not take every byte.
HRESULT writeExportOpening(const ExportPage& page, ExportSink& sink);
// The lines that stand for the sample rows when the first read fails.
HRESULT writeExportNoData(int64_t currentTime, ExportSink& sink);

// The whole export: the header lines, then the page read afresh from file
// (or the no-data line when it cannot be read), then the sink is finished,
// or discarded when it did not take every byte. E_OUTOFMEMORY when the page
// buffers cannot be had (nothing is written); E_FAIL when the sink did not
// take every byte or could not finish. A failed read is not a failure of
// the export.
HRESULT writeCsvExport(const ExportPage& page, DataFile& file, ExportSink& sink);

}  // namespace quor
