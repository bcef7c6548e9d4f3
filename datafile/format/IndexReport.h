// The three-item check of an asynchronous data file's time index: header
// version, start/end times against the data file's header, and times that
// never decrease. It reads the index file on its own handle, so that it
// sees the file as it is on disk and not through any reader's caches.
#pragma once

#include <cstdint>
#include <string>

#include "Text.h"

namespace quor {

enum class IndexReportStatus {
    ok,
    noFileNamed,      // no data file has been named yet
    periodic,         // only asynchronous files have a time index
    indexUnreadable,  // missing, unreadable, or shorter than its header
};

// What the check needs of the data file: its path and its header's times.
struct IndexReportInput {
    std::string dataFilePath;
    int64_t startTime;
    int64_t endTime;
    int32_t dataType;
};

// Builds the report text into *report (cleared first). Only ok yields text.
IndexReportStatus buildIndexReport(const IndexReportInput& input, Text* report);

// The words the viewer and the tool show for a status without a report;
// empty for ok and for indexUnreadable, which are reported without words.
const char* indexReportMessage(IndexReportStatus status);

}  // namespace quor
