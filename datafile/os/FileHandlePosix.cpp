#include "FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "FileFaults.h"

namespace quor {

static_assert(sizeof(off_t) == 8, "file positions are 64-bit");

namespace {

int accessFlags(int32_t mode)
{
    switch (mode) {
    case FileHandle::modeRead:
        return O_RDONLY;
    case FileHandle::modeReadWrite:
        return O_RDWR;
    case FileHandle::modeWrite:
        return O_WRONLY;
    default:
        return -1;
    }
}

int whenceOf(int32_t origin)
{
    switch (origin) {
    case FileHandle::fromStart:
        return SEEK_SET;
    case FileHandle::fromEnd:
        return SEEK_END;
    case FileHandle::fromCurrent:
        return SEEK_CUR;
    default:
        return -1;
    }
}

}  // namespace

FileHandle::~FileHandle()
{
    close();
}

HRESULT FileHandle::open(const char* path, int32_t mode)
{
    const int flags = accessFlags(mode);
    if (flags < 0 || !path)
        return E_FAIL;
    close();
    do {
        fd_ = ::open(path, flags | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        return E_FAIL;
    struct stat info;
    if (fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
        close();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT FileHandle::read(void* buffer, uint32_t count, uint32_t* got)
{
    *got = 0;
    if (fd_ < 0)
        return E_FAIL;
    char* out = static_cast<char*>(buffer);
    while (*got < count) {
        const ssize_t n = ::read(fd_, out + *got, count - *got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return E_FAIL;
        if (n == 0)
            break;
        *got += static_cast<uint32_t>(n);
    }
    return S_OK;
}

HRESULT FileHandle::readAt(int64_t position, void* buffer, uint32_t count, uint32_t* got)
{
    *got = 0;
    if (fd_ < 0 || position < 0)
        return E_FAIL;
    char* out = static_cast<char*>(buffer);
    while (*got < count) {
        const ssize_t n = ::pread(fd_, out + *got, count - *got, static_cast<off_t>(position + *got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return E_FAIL;
        if (n == 0)
            break;
        *got += static_cast<uint32_t>(n);
    }
    return S_OK;
}

HRESULT FileHandle::write(const void* buffer, uint32_t count, uint32_t* written)
{
    *written = 0;
    if (fd_ < 0)
        return E_FAIL;
    const char* in = static_cast<const char*>(buffer);
    while (*written < count) {
        bool fails = false;
        const uint32_t allowed = faultedWriteCount(count - *written, &fails);
        const ssize_t n = allowed > 0 ? ::write(fd_, in + *written, allowed) : 0;
        if (n < 0 && errno == EINTR)
            continue;
        if (n > 0)
            *written += static_cast<uint32_t>(n);
        if (n <= 0 || fails)
            return E_FAIL;
    }
    return S_OK;
}

HRESULT FileHandle::seek(int32_t origin, int64_t distance)
{
    const int whence = whenceOf(origin);
    if (fd_ < 0 || whence < 0)
        return E_FAIL;
    return lseek(fd_, static_cast<off_t>(distance), whence) < 0 ? E_FAIL : S_OK;
}

HRESULT FileHandle::getSize(int64_t* size) const
{
    *size = 0;
    struct stat info;
    if (fd_ < 0 || fstat(fd_, &info) != 0)
        return E_FAIL;
    *size = static_cast<int64_t>(info.st_size);
    return S_OK;
}

bool FileHandle::flush()
{
    return fd_ >= 0 && fsync(fd_) == 0 && !flushFaulted();
}

HRESULT FileHandle::close()
{
    if (fd_ < 0)
        return E_FAIL;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 && !closeFaulted() ? S_OK : E_FAIL;
}

bool FileHandle::isOpen() const
{
    return fd_ >= 0;
}

}  // namespace quor
