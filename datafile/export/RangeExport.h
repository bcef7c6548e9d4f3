// The export of a time range: the header lines and every sample row that
// paging from the start time would show, up to and including the last row
// whose time is at or before the end time. Streams any range in bounded
// memory; for the same rows it writes the same bytes as the page export.
// The plot window's "Export A-B..." and quordata's export --to share it.
#pragma once

#include <cstdint>

#include "CsvExport.h"
#include "TaskProgress.h"

namespace quor {

struct RangeExportRequest {
    const char* path = nullptr;  // the data file; opened here, read-only
    bool hasFrom = false;        // false: from the header's Start Time
    int64_t from = 0;            // a goto time: periodic files start on their sample grid
    int64_t to = 0;              // the last row's time is at or before this
};

enum class RangeExportResult {
    ok,
    unableToOpen,   // the data file could not be opened
    cancelled,      // progress->cancel was set; the sink was discarded
    writeFailed,    // the sink refused bytes; the sink was discarded
    outOfMemory,
};

// progress (may be null): done counts rows written, total the rows expected.
// Any thread may run it; it shares nothing with other DataFiles.
RangeExportResult exportTimeRange(const RangeExportRequest& request, ExportSink& sink,
                                  TaskProgress* progress);

}  // namespace quor
