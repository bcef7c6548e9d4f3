#include "FileHandle.h"

#include <windows.h>

#include "FileFaults.h"

namespace quor {

namespace {

bool accessFor(int32_t mode, DWORD* access)
{
    switch (mode) {
    case FileHandle::modeRead:
        *access = GENERIC_READ;
        return true;
    case FileHandle::modeReadWrite:
        *access = GENERIC_READ | GENERIC_WRITE;
        return true;
    case FileHandle::modeWrite:
        *access = GENERIC_WRITE;
        return true;
    default:
        return false;
    }
}

bool methodFor(int32_t origin, DWORD* method)
{
    switch (origin) {
    case FileHandle::fromStart:
        *method = FILE_BEGIN;
        return true;
    case FileHandle::fromEnd:
        *method = FILE_END;
        return true;
    case FileHandle::fromCurrent:
        *method = FILE_CURRENT;
        return true;
    default:
        return false;
    }
}

}  // namespace

FileHandle::~FileHandle()
{
    close();
}

HRESULT FileHandle::open(const char* path, int32_t mode)
{
    DWORD access = 0;
    if (!path || !accessFor(mode, &access))
        return E_FAIL;
    close();
    handle_ = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_READONLY, nullptr);
    return handle_ == INVALID_HANDLE_VALUE ? E_FAIL : S_OK;
}

HRESULT FileHandle::read(void* buffer, uint32_t count, uint32_t* got)
{
    *got = 0;
    if (!isOpen())
        return E_FAIL;
    DWORD n = 0;
    if (!ReadFile(handle_, buffer, count, &n, nullptr))
        return E_FAIL;
    *got = n;
    return S_OK;
}

HRESULT FileHandle::readAt(int64_t position, void* buffer, uint32_t count, uint32_t* got)
{
    *got = 0;
    if (position < 0)
        return E_FAIL;
    HRESULT hr = seek(fromStart, position);
    return FAILED(hr) ? hr : read(buffer, count, got);
}

HRESULT FileHandle::write(const void* buffer, uint32_t count, uint32_t* written)
{
    *written = 0;
    if (!isOpen())
        return E_FAIL;
    bool fails = false;
    const DWORD allowed = faultedWriteCount(count, &fails);
    DWORD n = 0;
    if (allowed > 0 && !WriteFile(handle_, buffer, allowed, &n, nullptr))
        return E_FAIL;
    *written = n;
    return fails || n < count ? E_FAIL : S_OK;
}

HRESULT FileHandle::seek(int32_t origin, int64_t distance)
{
    DWORD method = 0;
    if (!isOpen() || !methodFor(origin, &method))
        return E_FAIL;
    LARGE_INTEGER move;
    move.QuadPart = distance;
    return SetFilePointerEx(handle_, move, nullptr, method) ? S_OK : E_FAIL;
}

HRESULT FileHandle::getSize(int64_t* size) const
{
    *size = 0;
    LARGE_INTEGER value;
    if (!isOpen() || !GetFileSizeEx(handle_, &value))
        return E_FAIL;
    *size = value.QuadPart;
    return S_OK;
}

bool FileHandle::flush()
{
    return isOpen() && FlushFileBuffers(handle_) && !flushFaulted();
}

HRESULT FileHandle::close()
{
    if (!isOpen())
        return E_FAIL;
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed && !closeFaulted() ? S_OK : E_FAIL;
}

bool FileHandle::isOpen() const
{
    return handle_ != INVALID_HANDLE_VALUE;
}

}  // namespace quor
