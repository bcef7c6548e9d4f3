#include <sys/stat.h>

#include "FileLookup.h"

namespace quor {

// A file nobody may write counts as marked read-only, as a file system that
// keeps no such mark shows one to Windows programs.
FileFacts lookUpFile(const char* path)
{
    FileFacts facts;
    struct stat status;
    if (stat(path, &status) != 0)
        return facts;
    facts.found = true;
    facts.readOnly = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return facts;
}

}  // namespace quor
