#include "CommandLine.h"

#include "GotoTime.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace quor {

const char kToolUsage[] =
    "usage: quordata export FILE [--from TIME] [--count N | --to TIME]\n"
    "       quordata envelope FILE --width N [--from TIME] [--to TIME]\n"
    "       quordata stats FILE [--from TIME] [--to TIME]\n"
    "       quordata info FILE\n"
    "       quordata validate FILE\n"
    "       quordata samples DIR\n"
    "TIME is ddd:hh:mm:ss.fff, seconds with a decimal point, or nanoseconds;\n"
    "N is the number of samples to export (default 500) or of envelope columns.\n";

namespace {

bool parseCommand(const char* word, ToolCommand* command)
{
    static const struct {
        const char* word;
        ToolCommand command;
    } kCommands[] = {{"export", ToolCommand::exportPage},
                     {"info", ToolCommand::info},
                     {"validate", ToolCommand::validate},
                     {"samples", ToolCommand::samples},
                     {"envelope", ToolCommand::envelope},
                     {"stats", ToolCommand::stats}};
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

// The options each command takes; anything else is bad usage.
bool parseOption(const char* option, const char* value, ToolArgs* args)
{
    const ToolCommand command = args->command;
    const bool ranged = command == ToolCommand::exportPage || command == ToolCommand::envelope ||
                        command == ToolCommand::stats;
    if (ranged && std::strcmp(option, "--from") == 0) {
        args->hasFrom = true;
        args->fromText = value;
        return true;
    }
    if (ranged && std::strcmp(option, "--to") == 0) {
        args->hasTo = true;
        args->toText = value;
        return true;
    }
    if (command == ToolCommand::exportPage && std::strcmp(option, "--count") == 0) {
        args->hasCount = true;
        return parseCount(value, &args->count);
    }
    if (command == ToolCommand::envelope && std::strcmp(option, "--width") == 0)
        return parseCount(value, &args->width);
    return false;
}

// Checks between options, with the times read as typed, before any rounding.
bool optionsAgree(const ToolArgs& args)
{
    if (args.hasCount && args.hasTo)
        return false;
    if (args.command == ToolCommand::envelope && args.width < 1)
        return false;
    return !(args.hasFrom && args.hasTo &&
             parseGotoTime(args.toText.c_str()) < parseGotoTime(args.fromText.c_str()));
}

}  // namespace

bool parseToolArgs(int argc, const char* const* argv, ToolArgs* args)
{
    if (argc < 2 || !parseCommand(argv[1], &args->command))
        return false;
    bool havePath = false;
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--", 2) == 0) {
            if (i + 1 >= argc || !parseOption(arg, argv[i + 1], args))
                return false;
            ++i;
        } else if (!havePath) {
            args->path = arg;
            havePath = true;
        } else {
            return false;
        }
    }
    return havePath && optionsAgree(*args);
}

}  // namespace quor
