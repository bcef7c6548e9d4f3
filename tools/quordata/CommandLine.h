// The quordata command line, checked before any file is touched.
#pragma once

#include <cstdint>
#include <string>

namespace quor {

enum class ToolCommand { exportPage, info, validate, samples, envelope, stats };

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
};

// False for bad usage: unknown command or option, a missing or extra
// argument, an option the command does not take, --count or --width below
// 1, --count together with --to, an envelope without --width, or a --to
// earlier than the --from (both as typed).
bool parseToolArgs(int argc, const char* const* argv, ToolArgs* args);

extern const char kToolUsage[];

}  // namespace quor
