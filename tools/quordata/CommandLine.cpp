#include "CommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

const char kQuordataUsage[] =
    "usage: quordata export FILE [--from TIME] [--count N]\n"
    "       quordata info FILE\n"
    "       quordata validate FILE\n"
    "       quordata samples DIR\n"
    "TIME is ddd:hh:mm:ss.fff, seconds with a decimal point, or nanoseconds;\n"
    "N is the number of samples to export (default 500).\n";

namespace {

bool parseCommand(const char* word, QuordataCommand* command)
{
    static const struct {
        const char* word;
        QuordataCommand command;
    } kCommands[] = {{"export", QuordataCommand::exportPage},
                     {"info", QuordataCommand::info},
                     {"validate", QuordataCommand::validate},
                     {"samples", QuordataCommand::samples}};
    for (const auto& c : kCommands) {
        if (std::strcmp(word, c.word) == 0) {
            *command = c.command;
            return true;
        }
    }
    return false;
}

// A whole decimal number from 1 to INT32_MAX; anything else is bad usage.
bool parseCount(const char* text, int32_t* count)
{
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || value < 1 || value > INT32_MAX)
        return false;
    *count = static_cast<int32_t>(value);
    return true;
}

bool parseExportOption(const char* option, const char* value, QuordataArgs* args)
{
    if (std::strcmp(option, "--from") == 0) {
        args->hasFrom = true;
        args->fromText = value;
        return true;
    }
    if (std::strcmp(option, "--count") == 0)
        return parseCount(value, &args->count);
    return false;
}

}  // namespace

bool parseQuordataArgs(int argc, const char* const* argv, QuordataArgs* args)
{
    if (argc < 2 || !parseCommand(argv[1], &args->command))
        return false;
    bool havePath = false;
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--", 2) == 0) {
            if (args->command != QuordataCommand::exportPage || i + 1 >= argc ||
                !parseExportOption(arg, argv[i + 1], args))
                return false;
            ++i;
        } else if (!havePath) {
            args->path = arg;
            havePath = true;
        } else {
            return false;
        }
    }
    return havePath;
}
