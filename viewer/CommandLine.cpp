#include "CommandLine.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "WorkspaceFile.h"

namespace quor {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool equalsNoCase(const char* text, const char* word)
{
    for (; *text && *word; ++text, ++word) {
        char a = *text, b = *word;
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b)
            return false;
    }
    return *text == '\0' && *word == '\0';
}

// The program name ends at its closing quote when quoted, else at a blank;
// backslashes have no special meaning in it.
const char* skipProgramName(const char* p)
{
    if (*p == '"') {
        const char* close = std::strchr(p + 1, '"');
        return close ? close + 1 : p + std::strlen(p);
    }
    while (*p && !isBlank(*p))
        ++p;
    return p;
}

const char* skipBlanks(const char* p)
{
    while (isBlank(*p))
        ++p;
    return p;
}

Text trimmed(const char* p)
{
    p = skipBlanks(p);
    size_t n = std::strlen(p);
    while (n > 0 && isBlank(p[n - 1]))
        --n;
    Text out;
    out.assign(p, n);
    return out;
}

// One argument by the rules of the C runtime's argv parsing.
Text firstArgument(const char* p)
{
    Text out;
    bool quoted = false;
    while (*p && (quoted || !isBlank(*p))) {
        size_t slashes = 0;
        while (*p == '\\') {
            ++slashes;
            ++p;
        }
        if (*p == '"') {
            for (size_t i = 0; i < slashes / 2; ++i)
                out.append('\\');
            if (slashes % 2) {
                out.append('"');
            } else if (quoted && p[1] == '"') {
                out.append('"');
                ++p;
            } else {
                quoted = !quoted;
            }
            ++p;
            continue;
        }
        for (size_t i = 0; i < slashes; ++i)
            out.append('\\');
        if (*p && (quoted || !isBlank(*p)))
            out.append(*p++);
    }
    return trimmed(out.c_str());
}

}  // namespace

bool namesWorkspace(const char* path)
{
    const size_t length = std::strlen(path);
    const size_t extension = std::strlen(kWorkspaceExtension);
    return length >= extension && equalsNoCase(path + length - extension, kWorkspaceExtension);
}

RegistrationSwitch findRegistrationSwitch(const char* commandLine)
{
    if (!commandLine)
        return RegistrationSwitch::none;
    for (const char* p = std::strpbrk(commandLine, "-/"); p; p = std::strpbrk(p + 1, "-/")) {
        if (equalsNoCase(p + 1, "UnregServer"))
            return RegistrationSwitch::unregServer;
        if (equalsNoCase(p + 1, "RegServer"))
            return RegistrationSwitch::regServer;
    }
    return RegistrationSwitch::none;
}

Text dataFileNameFromCommandLine(const char* commandLine)
{
    if (!commandLine)
        return Text();
    const char* rest = skipBlanks(skipProgramName(skipBlanks(commandLine)));
    if (!std::strchr(rest, '"'))
        return trimmed(rest);
    return firstArgument(rest);
}

// The size is asked for first: a name longer than any fixed buffer is then
// neither cut nor left as whatever the buffer held.
Text fullPathName(const char* path)
{
    const DWORD needed = GetFullPathNameA(path, 0, nullptr, nullptr);
    if (needed == 0)
        return Text(path);
    std::string name(needed, '\0');
    const DWORD length = GetFullPathNameA(path, needed, &name[0], nullptr);
    if (length == 0 || length >= needed)
        return Text(path);
    name.resize(length);
    return Text(name.c_str());
}

}  // namespace quor
