// Lane > Shift...: the offset added to every time of a lane's file, typed
// in seconds (negative allowed) and taken exactly in nanoseconds. Tests
// answer it through LaneShiftAnswer instead of the dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ScopedAnswer.h"

namespace quor {

// Decimal seconds, blanks around allowed, to nanoseconds exactly; false
// for text that is no such number, finer than a nanosecond or beyond the
// 64-bit range.
bool parseShiftSeconds(const char* text, int64_t* ns);
// Why the text is refused as an offset; empty when it is taken (*ns set).
std::string shiftComplaint(const char* text, int64_t* ns);

// Shows offsetNs and gives the one typed; false when cancelled. A refused
// text is said in a box and the dialog stays open.
bool askLaneShift(HWND owner, int64_t& offsetNs);

extern const char kShiftCaption[];
const int kShiftSecondsEdit = 1001;  // for tests that drive the dialog

// While one lives, askLaneShift shows no dialog: `answer` gets the text
// the dialog would show and the complaint about the last text it gave
// (empty at first) and types a text (true) or cancels (false). It is asked
// again while its text is refused.
struct LaneShiftTag;
using LaneShiftAnswer = ScopedAnswer<LaneShiftTag, std::function<bool(const std::string& shown,
                                                                             const std::string& complaint,
                                                                             std::string& typed)>>;

}  // namespace quor
