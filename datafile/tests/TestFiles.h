// Test data files written byte by byte into a private temporary directory
// that is removed with the fixture.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "DataFile.h"

namespace quor {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const;

private:
    std::string dir_;
};

// A native header block with sensible defaults.
DataFileHeader nativeHeader(int32_t dataFormat, int32_t dataSize, double sampleRate,
                            int32_t dataType = typePeriodic);

class Bytes {
public:
    template <class T>
    Bytes& put(T value)
    {
        const size_t at = data_.size();
        data_.resize(at + sizeof value);
        std::memcpy(&data_[at], &value, sizeof value);
        return *this;
    }
    template <class T>
    Bytes& putBigEndian(T value)
    {
        uint8_t raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof raw);
        for (size_t i = sizeof raw; i > 0; --i)
            data_.push_back(raw[i - 1]);
        return *this;
    }
    Bytes& putRaw(const void* data, size_t size);
    Bytes& putText(const std::string& text) { return putRaw(text.data(), text.size()); }
    const std::vector<uint8_t>& data() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

bool writeFile(const std::string& path, const void* data, size_t size);
bool writeFile(const std::string& path, const Bytes& bytes);
bool writeFile(const std::string& path, const std::string& text);
// Writes data at position of an existing file (extending it, sparsely where
// the system allows).
bool writeAt(const std::string& path, int64_t position, const void* data, size_t size);

// A native file: the header block followed by the values.
bool writeNative(const std::string& path, const DataFileHeader& header, const Bytes& values);
// A binary index file: a header with its version text, then the times.
bool writeTimeIndex(const std::string& path, const std::vector<int64_t>& times);
// A text index file: a 1024-character header, then the given lines.
bool writeSegmentIndex(const std::string& path, const std::string& lines);
// A periodic int file at 1 Hz whose Start Time, -2.5 s, lies off the sample
// grid and before 0; values 10, 11, 12 and 13.
bool writeOffGridInts(const std::string& path);

}  // namespace quor
