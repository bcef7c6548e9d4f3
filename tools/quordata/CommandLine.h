// The quordata command line, checked before any file is touched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SignalSummary.h"

namespace quor {

enum class ToolCommand { exportPage, info, validate, samples, envelope, stats, find, merge, help };

struct ToolArgs {
    ToolCommand command = ToolCommand::info;
    std::string path;      // FILE, or DIR for samples
    bool hasFrom = false;  // --from given
    std::string fromText;  // the goto time text of --from
    bool hasTo = false;    // --to given
    std::string toText;    // the time text of --to
    bool hasCount = false; // --count given
    int32_t count = 500;   // --count
    int32_t width = 0;     // --width: columns of the envelope
    bool hasCondition = false;      // find: --above, --below, --rising or --falling
    FindCondition condition = FindCondition::above;
    FindThreshold threshold;        // find: its X
    bool last = false;              // find: --last
    std::vector<std::string> paths; // merge: every FILE, in order
    std::vector<int64_t> shifts;    // merge: --offset of each file (0 when none)
};

// False for bad usage: unknown command or option, a missing or extra
// argument, an option the command does not take, --count or --width below
// 1, --count together with --to, an envelope without --width, or a --to
// earlier than the --from (both as typed); find without exactly one
// condition or with an X that is not a number; merge without a file, with
// more than 64, or with an --offset for a file that is not there.
// "quordata --help" and "-h" give the command help.
bool parseToolArgs(int argc, const char* const* argv, ToolArgs* args);

extern const char kToolUsage[];

}  // namespace quor
