// Recordings merged on one time base: a plain CSV (RFC 4180, CR LF) with
// one row per distinct time stamp of the recorded samples of all files and
// one column per file, streamed by a k-way merge over the files' own reads
// in bounded memory whatever their sizes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ExportSink.h"
#include "TaskProgress.h"

namespace quor {

struct MergeFile {
    std::string path;
    int64_t shift = 0;  // added to every time stamp of the file before anything else
};

struct MergeRequest {
    std::vector<MergeFile> files;
    bool hasFrom = false;  // false: from the earliest shifted sample
    int64_t from = 0;
    bool hasTo = false;    // false: to the latest shifted sample
    int64_t to = 0;
};

enum class MergeResult {
    ok,
    unableToOpen,      // failedPath could not be opened
    noNumericValues,   // failedPath holds no numeric values
    readFailed,        // failedPath could not be read to its end
    writeFailed,       // the sink refused bytes
    cancelled,         // progress->cancel was set: the sink was told to discard
};

// Opens every file before the first byte goes to the sink, so that a file
// that fails to open leaves no output. A cell holds the file's sample at
// the row's time, or its latest sample before it while that sample's run
// (segment, or the whole recording) lasts; otherwise it is empty.
// progress, when given, counts the samples of all files passed (done) of
// all they hold (total), and its cancel stops the merge.
MergeResult mergeRecordings(const MergeRequest& request, ExportSink& sink, std::string* failedPath,
                            TaskProgress* progress = nullptr);

// The column label of a file: its name without folder and extension,
// quoted as RFC 4180 asks when it holds a comma, a quote or a line end.
std::string mergeLabel(const std::string& path);

}  // namespace quor
