#include "FileHandle.h"

#include <windows.h>
#include <winternl.h>

#include "FileFaults.h"

// The native read that takes its position with it. ReadFile with an
// OVERLAPPED position costs tens of microseconds under Wine and a seek
// before each read doubles the calls, where a picture reads a block at
// each of thousands of column edges.
extern "C" NTSTATUS NTAPI NtReadFile(HANDLE file, HANDLE event, PIO_APC_ROUTINE apc, PVOID apcContext,
                                     PIO_STATUS_BLOCK status, PVOID buffer, ULONG length, PLARGE_INTEGER offset,
                                     PULONG key);

namespace quor {

namespace {

const NTSTATUS kEndOfFile = static_cast<NTSTATUS>(0xC0000011L);

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

// On a handle opened for synchronous access the call completes before it
// returns and leaves the file pointer after what it read, as a seek and a
// read would.
HRESULT FileHandle::readAt(int64_t position, void* buffer, uint32_t count, uint32_t* got)
{
    *got = 0;
    if (position < 0 || !isOpen())
        return E_FAIL;
    IO_STATUS_BLOCK status{};
    LARGE_INTEGER offset;
    offset.QuadPart = position;
    const NTSTATUS result = NtReadFile(handle_, nullptr, nullptr, nullptr, &status, buffer, count, &offset, nullptr);
    if (result == kEndOfFile)
        return S_OK;
    if (result < 0)
        return E_FAIL;
    *got = static_cast<uint32_t>(status.Information);
    return S_OK;
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
