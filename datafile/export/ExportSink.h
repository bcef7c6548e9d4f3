// Where an export's bytes go. The writers of rows and the writers of whole
// exports both take a sink, so neither needs the other to name it.
#pragma once

#include <cstddef>
#include <string>

namespace quor {

class ExportSink {
public:
    virtual ~ExportSink() = default;
    // false when not every byte could be written (a full disk, a removed
    // stick); the export writes nothing more after that.
    virtual bool write(const char* bytes, size_t count) = 0;
    // Called once after the last write of a complete export: true when
    // every byte written has reached its destination.
    virtual bool finish() { return true; }
    // Called instead of finish when the export stops short (a failed write,
    // a cancel): what was written must not pass for a whole export.
    virtual void discard() {}
};

// Collects the bytes in memory.
class BufferExportSink final : public ExportSink {
public:
    bool write(const char* bytes, size_t count) override
    {
        bytes_.append(bytes, count);
        return true;
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

}  // namespace quor
