// What the viewer takes from its command line: a registration switch, or the
// path of the data file to open, or of a plot workspace to open; and the
// full form of a path it shows.
#pragma once

#include "Text.h"

namespace quor {

enum class RegistrationSwitch { none, regServer, unregServer };

// A switch counts only as the last thing on the line: "-" or "/" followed by
// exactly "RegServer" or "UnregServer", in any case.
RegistrationSwitch findRegistrationSwitch(const char* commandLine);

// The first argument after the program name. When the rest of the line holds
// no double quote it is taken whole (trimmed), so that `"program" a b.quorData`
// still names "a b.quorData"; otherwise the standard Windows argument rules
// apply (quotes group, backslashes escape only before a quote).
Text dataFileNameFromCommandLine(const char* commandLine);

// The full path of path, however long; path itself when the system cannot
// make one.
Text fullPathName(const char* path);

// A path whose extension is the plot workspace's (in any case): the viewer
// opens it in the plot rather than as a data file.
bool namesWorkspace(const char* path);

}  // namespace quor
