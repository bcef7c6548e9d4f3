#include <windows.h>

#include "FileLookup.h"

namespace quor {

FileFacts lookUpFile(const char* path)
{
    FileFacts facts;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return facts;
    FindClose(search);
    facts.found = true;
    facts.readOnly = (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return facts;
}

}  // namespace quor
