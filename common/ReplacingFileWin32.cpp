#include "ReplacingFile.h"

#include <windows.h>

#include "FileFaults.h"

namespace quor {

bool ReplacingFile::openTemporary(const std::string& path)
{
    handle_ = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle_ != INVALID_HANDLE_VALUE;
}

// Devices are not chosen in a save dialog; every target is replaced.
bool ReplacingFile::openSpecialTarget()
{
    return false;
}

bool ReplacingFile::writeOut(const char* bytes, size_t count)
{
    while (count > 0) {
        const DWORD want = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
        bool fails = false;
        const DWORD allowed = faultedWriteCount(want, &fails);
        DWORD n = 0;
        if (allowed > 0 && !WriteFile(handle_, bytes, allowed, &n, nullptr))
            return false;
        if (fails || (n == 0 && allowed > 0))
            return false;
        bytes += n;
        count -= n;
    }
    return true;
}

bool ReplacingFile::syncAndClose()
{
    const bool synced = FlushFileBuffers(handle_) && !flushFaulted();
    const bool closed = CloseHandle(handle_) && !closeFaulted();
    handle_ = INVALID_HANDLE_VALUE;
    return synced && closed;
}

// Not every system refuses to rename over a read-only file: it is asked here.
bool ReplacingFile::targetReadOnly() const
{
    const DWORD attributes = GetFileAttributesA(target_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReplacingFile::renameOverTarget()
{
    return !renameFaulted() &&
           MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

void ReplacingFile::closeQuietly()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

void ReplacingFile::removeTemporary()
{
    DeleteFileA(temporary_.c_str());
}

bool ReplacingFile::isOpen() const
{
    return handle_ != INVALID_HANDLE_VALUE;
}

}  // namespace quor
