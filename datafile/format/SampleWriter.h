// Writes the demonstration and test set of data files: one file of every
// kind the library reads, with small realistic contents. The files are
// composed byte by byte here, independently of the reader, so that the
// reader can be checked against them.
#pragma once

#include "Status.h"

#include <string>

namespace quor {

// One file of the set. indexName is empty when the file has no index file.
struct SampleFileInfo {
    const char* name;
    const char* indexName;
};

// The files writeSampleSet creates, in the order it writes them.
int sampleFileCount();
const SampleFileInfo& sampleFile(int i);

// Writes every file of the set into the existing directory dir.
// On failure *failedPath (when given) names the file that could not be
// written; files written before it are left in place. Each file replaces
// one of its name only once it is complete.
HRESULT writeSampleSet(const std::string& dir, std::string* failedPath);

}  // namespace quor
