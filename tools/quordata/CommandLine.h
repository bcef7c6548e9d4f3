// The quordata command line, checked before any file is touched.
#pragma once

#include <cstdint>
#include <string>

enum class QuordataCommand { exportPage, info, validate, samples };

struct QuordataArgs {
    QuordataCommand command = QuordataCommand::info;
    std::string path;      // FILE, or DIR for samples
    bool hasFrom = false;  // --from given
    std::string fromText;  // the goto time text of --from
    int32_t count = 500;   // --count
};

// False for bad usage: unknown command or option, a missing or extra
// argument, an option the command does not take, or --count below 1.
bool parseQuordataArgs(int argc, const char* const* argv, QuordataArgs* args);

extern const char kQuordataUsage[];
