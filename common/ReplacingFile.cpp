#include "ReplacingFile.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <process.h>
#define QUOR_PROCESS_ID _getpid
#else
#include <unistd.h>
#define QUOR_PROCESS_ID getpid
#endif

namespace quor {

namespace {

// Large blocks: an export of many short lines costs few system calls.
const size_t kBufferSize = size_t(1) << 16;
const int kNameAttempts = 100;

}  // namespace

ReplacingFile::~ReplacingFile()
{
    discard();
}

bool ReplacingFile::create(const char* target)
{
    discard();
    if (!target || !*target)
        return false;
    target_ = target;
    if (targetReadOnly())
        return false;
    inPlace_ = openSpecialTarget();
    if (inPlace_) {
        buffer_.resize(kBufferSize);
        used_ = 0;
        failed_ = false;
        return true;
    }
    // Exports may start on several threads at once (the plot's runs on its own).
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%u-%u.tmp", static_cast<unsigned>(QUOR_PROCESS_ID()), ++counter);
        if (openTemporary(target_ + suffix)) {
            temporary_ = target_ + suffix;
            buffer_.resize(kBufferSize);
            used_ = 0;
            failed_ = false;
            return true;
        }
    }
    return false;
}

bool ReplacingFile::write(const void* bytes, size_t count)
{
    if (!isOpen() || failed_)
        return false;
    const char* in = static_cast<const char*>(bytes);
    while (count > 0) {
        if (used_ == buffer_.size() && !flushBuffer())
            return false;
        const size_t take = std::min(count, buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, in, take);
        used_ += take;
        in += take;
        count -= take;
    }
    return true;
}

bool ReplacingFile::flushBuffer()
{
    if (used_ > 0 && !writeOut(buffer_.data(), used_))
        failed_ = true;
    used_ = 0;
    return !failed_;
}

bool ReplacingFile::commit()
{
    if (!isOpen())
        return false;
    const bool complete = flushBuffer() && syncAndClose() && (inPlace_ || renameOverTarget());
    if (!complete) {
        discard();
        return false;
    }
    temporary_.clear();
    buffer_.clear();
    buffer_.shrink_to_fit();
    return true;
}

void ReplacingFile::discard()
{
    closeQuietly();
    if (!temporary_.empty())
        removeTemporary();
    temporary_.clear();
    buffer_.clear();
    buffer_.shrink_to_fit();
    used_ = 0;
}

}  // namespace quor
