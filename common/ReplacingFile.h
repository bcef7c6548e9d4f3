// A new file written under a temporary name beside its target and renamed
// over the target only once every byte is down and flushed. A failed write,
// a cancel or a crash therefore leaves the file that was there before byte
// for byte (or no file, when there was none); a crash may leave the
// temporary file ("<target>.<number>.tmp") beside it. A target that is no
// regular file (a device, a pipe) is written in place: it has no old bytes
// to keep and must not be replaced by a file. Every export of the project
// writes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quor {

class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile();  // a file not committed is removed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file beside target; false when it cannot, or
    // when the target is a read-only file, which must not be replaced.
    bool create(const char* target);
    // false once any byte could not be written; nothing more is written then.
    bool write(const void* bytes, size_t count);
    // Flushes and closes the temporary file and renames it over the target.
    // false when any of that, or an earlier write, failed: the temporary
    // file is then removed and the target is untouched.
    bool commit();
    // Removes the temporary file; the target is untouched.
    void discard();
    bool isOpen() const;
    const std::string& temporaryPath() const { return temporary_; }

private:
    bool flushBuffer();
    // One implementation per platform.
    bool openTemporary(const std::string& path);
    bool openSpecialTarget();  // false when the target is a regular file or absent
    bool targetReadOnly() const;
    bool writeOut(const char* bytes, size_t count);
    bool syncAndClose();
    bool renameOverTarget();
    void closeQuietly();
    void removeTemporary();

    std::string target_;
    std::string temporary_;
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool failed_ = false;
    bool inPlace_ = false;
#ifdef _WIN32
    void* handle_ = reinterpret_cast<void*>(static_cast<intptr_t>(-1));
#else
    int fd_ = -1;
#endif
};

}  // namespace quor
