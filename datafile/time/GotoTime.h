// The start of a page typed as a goto time, shared by the viewer's "Goto:"
// command and the quordata tool.
#pragma once

#include <cstdint>

namespace quor {

// Text with a ':' is day-of-year time text; text with a '.' is decimal
// seconds (truncated to whole nanoseconds); anything else is a decimal count
// of nanoseconds. Text that is not a number gives 0.
int64_t parseGotoTime(const char* text);

// The page start for a goto time: periodic files start pages on their
// sample grid, asynchronous files at the time as given.
int64_t gotoPageStart(int64_t time, int32_t dataType, double sampleRate);

}  // namespace quor
