#include "CommandLine.h"

#include "DecimalSeconds.h"
#include "GotoTime.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace quor {

const char kToolUsage[] =
    "usage: quordata export FILE [--from TIME] [--count N | --to TIME]\n"
    "       quordata envelope FILE --width N [--from TIME] [--to TIME]\n"
    "       quordata stats FILE [--from TIME] [--to TIME]\n"
    "       quordata find FILE (--above X | --below X | --rising X | --falling X)\n"
    "                     [--from TIME] [--to TIME] [--count N] [--last]\n"
    "       quordata merge FILE [FILE...] [--from TIME] [--to TIME] [--offset K=SHIFT]...\n"
    "       quordata info FILE\n"
    "       quordata validate FILE\n"
    "       quordata samples DIR\n"
    "TIME is ddd:hh:mm:ss.fff, seconds with a decimal point, or nanoseconds;\n"
    "N is the number of samples to export (default 500), of envelope columns or\n"
    "of hits to print (default 1); X is a decimal number; SHIFT moves the K-th\n"
    "file's times by decimal seconds with a point or integer nanoseconds.\n";

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
                     {"stats", ToolCommand::stats},
                     {"find", ToolCommand::find},
                     {"merge", ToolCommand::merge},
                     {"--help", ToolCommand::help},
                     {"-h", ToolCommand::help}};
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

const int32_t kMaxMergeFiles = 64;

bool parseCondition(const char* option, const char* value, ToolArgs* args)
{
    static const struct {
        const char* option;
        FindCondition condition;
    } kConditions[] = {{"--above", FindCondition::above},
                       {"--below", FindCondition::below},
                       {"--rising", FindCondition::rising},
                       {"--falling", FindCondition::falling}};
    for (const auto& c : kConditions) {
        if (std::strcmp(option, c.option) == 0) {
            if (args->hasCondition)
                return false;  // one condition a search
            args->hasCondition = true;
            args->condition = c.condition;
            return parseFindThreshold(value, &args->threshold);
        }
    }
    return false;
}

// Decimal seconds with a point, or integer nanoseconds; a leading minus
// allowed. The fraction's digits after the ninth are cut.
bool parseShift(const char* text, int64_t* shift)
{
    if (std::strchr(text, '.')) {
        const SecondsParse parsed = parseDecimalSeconds(text, shift);
        return parsed == SecondsParse::ok || parsed == SecondsParse::finerThanNanosecond;
    }
    const char* digits = *text == '-' ? text + 1 : text;
    if (*digits < '0' || *digits > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, 10);
    if (*end != '\0' || errno == ERANGE)
        return false;
    *shift = value;
    return true;
}

// K=SHIFT, K counted from 1 in command-line order; checked against the
// files once all are known.
bool parseOffset(const char* value, ToolArgs* args)
{
    const char* equals = std::strchr(value, '=');
    if (!equals)
        return false;
    int32_t file = 0;
    int64_t shift = 0;
    if (!parseCount(std::string(value, equals).c_str(), &file) || file > kMaxMergeFiles ||
        !parseShift(equals + 1, &shift))
        return false;
    if (static_cast<int32_t>(args->shifts.size()) < file)
        args->shifts.resize(static_cast<size_t>(file), 0);
    args->shifts[static_cast<size_t>(file - 1)] = shift;
    return true;
}

// The options each command takes; anything else is bad usage.
bool parseOption(const char* option, const char* value, ToolArgs* args)
{
    const ToolCommand command = args->command;
    const bool ranged = command == ToolCommand::exportPage || command == ToolCommand::envelope ||
                        command == ToolCommand::stats || command == ToolCommand::find ||
                        command == ToolCommand::merge;
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
    if ((command == ToolCommand::exportPage || command == ToolCommand::find) &&
        std::strcmp(option, "--count") == 0) {
        args->hasCount = true;
        return parseCount(value, &args->count);
    }
    if (command == ToolCommand::find)
        return parseCondition(option, value, args);
    if (command == ToolCommand::merge && std::strcmp(option, "--offset") == 0)
        return parseOffset(value, args);
    if (command == ToolCommand::envelope && std::strcmp(option, "--width") == 0)
        return parseCount(value, &args->width);
    return false;
}

// Checks between options, with the times read as typed, before any rounding.
bool optionsAgree(const ToolArgs& args)
{
    if (args.command == ToolCommand::exportPage && args.hasCount && args.hasTo)
        return false;
    if (args.command == ToolCommand::envelope && args.width < 1)
        return false;
    if (args.command == ToolCommand::find && !args.hasCondition)
        return false;
    if (args.command == ToolCommand::merge &&
        (args.paths.empty() || args.paths.size() > static_cast<size_t>(kMaxMergeFiles) ||
         args.shifts.size() > args.paths.size()))
        return false;
    return !(args.hasFrom && args.hasTo &&
             parseGotoTime(args.toText.c_str()) < parseGotoTime(args.fromText.c_str()));
}

}  // namespace

bool parseToolArgs(int argc, const char* const* argv, ToolArgs* args)
{
    if (argc < 2 || !parseCommand(argv[1], &args->command))
        return false;
    if (args->command == ToolCommand::help)
        return argc == 2;
    if (args->command == ToolCommand::find)
        args->count = 1;
    bool havePath = false;
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        if (args->command == ToolCommand::find && std::strcmp(arg, "--last") == 0) {
            args->last = true;
        } else if (std::strncmp(arg, "--", 2) == 0) {
            if (i + 1 >= argc || !parseOption(arg, argv[i + 1], args))
                return false;
            ++i;
        } else if (args->command == ToolCommand::merge) {
            args->paths.push_back(arg);
            havePath = true;
        } else if (!havePath) {
            args->path = arg;
            havePath = true;
        } else {
            return false;
        }
    }
    if (args->command == ToolCommand::merge)
        args->shifts.resize(std::max(args->shifts.size(), args->paths.size()), 0);
    return havePath && optionsAgree(*args);
}

}  // namespace quor
