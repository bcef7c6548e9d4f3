#include "ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "FileFaults.h"

namespace quor {

namespace {

std::string directoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The rename is durable only once the directory that holds it is flushed.
void syncDirectoryOf(const std::string& path)
{
    const int dir = ::open(directoryOf(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        ::close(dir);
    }
}

}  // namespace

bool ReplacingFile::openTemporary(const std::string& path)
{
    do {
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        return false;
    // The replacement keeps the access rights of the file it replaces.
    struct stat old;
    if (stat(target_.c_str(), &old) == 0)
        fchmod(fd_, old.st_mode & 07777);
    return true;
}

bool ReplacingFile::openSpecialTarget()
{
    struct stat info;
    if (stat(target_.c_str(), &info) != 0 || S_ISREG(info.st_mode))
        return false;
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    return fd_ >= 0;
}

bool ReplacingFile::targetReadOnly() const
{
    return ::access(target_.c_str(), F_OK) == 0 && ::access(target_.c_str(), W_OK) != 0;
}

bool ReplacingFile::writeOut(const char* bytes, size_t count)
{
    while (count > 0) {
        const uint32_t want = count > (1u << 30) ? (1u << 30) : static_cast<uint32_t>(count);
        bool fails = false;
        const uint32_t allowed = faultedWriteCount(want, &fails);
        ssize_t n = allowed > 0 ? ::write(fd_, bytes, allowed) : 0;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || fails || (n == 0 && allowed > 0))
            return false;
        bytes += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

bool ReplacingFile::syncAndClose()
{
    // A pipe or a terminal cannot be synced; that is no failure.
    const bool synced = (fsync(fd_) == 0 || errno == EINVAL || errno == EROFS) && !flushFaulted();
    const bool closed = ::close(fd_) == 0 && !closeFaulted();
    fd_ = -1;
    return synced && closed;
}

bool ReplacingFile::renameOverTarget()
{
    if (renameFaulted() || std::rename(temporary_.c_str(), target_.c_str()) != 0)
        return false;
    syncDirectoryOf(target_);
    return true;
}

void ReplacingFile::closeQuietly()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void ReplacingFile::removeTemporary()
{
    ::unlink(temporary_.c_str());
}

bool ReplacingFile::isOpen() const
{
    return fd_ >= 0;
}

}  // namespace quor
