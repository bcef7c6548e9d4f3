// What the file system says about a data file before it is opened: whether
// it is there and whether it is marked read-only.
#pragma once

namespace quor {

struct FileFacts {
    bool found = false;
    bool readOnly = false;
};

FileFacts lookUpFile(const char* path);

}  // namespace quor
