// FileHandle: the thin operating-system file layer under every data and
// index file access. Positions and sizes are 64-bit.
#pragma once

#include <cstdint>

#include "Status.h"

namespace quor {

class FileHandle {
public:
    enum Mode : int32_t { modeRead = 1, modeReadWrite = 2, modeWrite = 3 };
    enum Origin : int32_t { fromStart = 0, fromEnd = 1, fromCurrent = 2 };

    FileHandle() = default;
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Opens an existing file (never creates one), sharing read and write
    // access with others. Any mode other than 1, 2, 3 is E_FAIL. An open
    // handle is closed first.
    HRESULT open(const char* path, int32_t mode);
    // Reading at or near the end of the file succeeds with fewer bytes.
    HRESULT read(void* buffer, uint32_t count, uint32_t* got);
    HRESULT write(const void* buffer, uint32_t count, uint32_t* written);
    HRESULT seek(int32_t origin, int64_t distance);
    // Reads count bytes at position; *got is how many arrived (possibly fewer).
    HRESULT readAt(int64_t position, void* buffer, uint32_t count, uint32_t* got);
    HRESULT getSize(int64_t* size) const;
    bool flush();
    HRESULT close();
    bool isOpen() const;

private:
#ifdef _WIN32
    void* handle_ = reinterpret_cast<void*>(static_cast<intptr_t>(-1));
#else
    int fd_ = -1;
#endif
};

}  // namespace quor
