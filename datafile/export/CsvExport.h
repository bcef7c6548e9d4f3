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
#include "Status.h"

namespace quor {

// Writes to a binary stream: one the caller opened and still owns (standard
// output), or a file it creates itself. finish() flushes the stream and
// closes a file of its own; a failed close counts as a failed write.
class FileExportSink final : public ExportSink {
public:
    explicit FileExportSink(FILE* file) : file_(file) {}
    ~FileExportSink() override;
    FileExportSink(const FileExportSink&) = delete;
    FileExportSink& operator=(const FileExportSink&) = delete;

    // Creates the file at path for binary writing, replacing any file of
    // that name (the writer puts CR LF itself); null when it cannot.
    static std::unique_ptr<FileExportSink> create(const char* path);

    bool write(const char* bytes, size_t count) override;
    bool finish() override;

private:
    FILE* file_;
    bool owned_ = false;
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
// (or the no-data line when it cannot be read), then the sink is finished.
// E_OUTOFMEMORY when the page buffers cannot be had (nothing is written);
// E_FAIL when the sink did not take every byte or could not finish. A
// failed read is not a failure of the export.
HRESULT writeCsvExport(const ExportPage& page, DataFile& file, ExportSink& sink);

}  // namespace quor
