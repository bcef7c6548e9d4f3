#include "TestFiles.h"

#include <atomic>
#include <cstdio>
#include <filesystem>

#include "FileHandle.h"

namespace fs = std::filesystem;

namespace quor {

TempDir::TempDir()
{
    static std::atomic<int> serial{0};
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0;; ++attempt) {
        fs::path candidate = base / ("quordatafile-test-" + std::to_string(std::rand()) + "-" +
                                     std::to_string(serial++));
        std::error_code error;
        if (fs::create_directory(candidate, error) || attempt > 100) {
            dir_ = candidate.string();
            return;
        }
    }
}

TempDir::~TempDir()
{
    std::error_code error;
    fs::remove_all(dir_, error);
}

std::string TempDir::path(const std::string& name) const
{
    return (fs::path(dir_) / name).string();
}

DataFileHeader nativeHeader(int32_t dataFormat, int32_t dataSize, double sampleRate, int32_t dataType)
{
    DataFileHeader h;
    std::memset(&h, 0, sizeof h);
    std::strcpy(h.version, "QuorDataFileVersion1.0");
    h.tagId = 42;
    h.dataFormat = dataFormat;
    h.sampleRate = sampleRate;
    h.startTime = 0;
    h.endTime = 0;
    h.dataSize = dataSize;
    h.byteOrder = 1;
    h.dataType = dataType;
    return h;
}

Bytes& Bytes::putRaw(const void* data, size_t size)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    data_.insert(data_.end(), bytes, bytes + size);
    return *this;
}

bool writeFile(const std::string& path, const void* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

bool writeFile(const std::string& path, const Bytes& bytes)
{
    return writeFile(path, bytes.data().data(), bytes.data().size());
}

bool writeFile(const std::string& path, const std::string& text)
{
    return writeFile(path, text.data(), text.size());
}

bool writeAt(const std::string& path, int64_t position, const void* data, size_t size)
{
    FileHandle file;
    uint32_t written = 0;
    return SUCCEEDED(file.open(path.c_str(), FileHandle::modeReadWrite)) &&
           SUCCEEDED(file.seek(FileHandle::fromStart, position)) &&
           SUCCEEDED(file.write(data, static_cast<uint32_t>(size), &written)) && written == size;
}

bool writeNative(const std::string& path, const DataFileHeader& header, const Bytes& values)
{
    Bytes file;
    file.putRaw(&header, sizeof header).putRaw(values.data().data(), values.data().size());
    return writeFile(path, file);
}

bool writeTimeIndex(const std::string& path, const std::vector<int64_t>& times)
{
    std::vector<uint8_t> header(kIndexHeaderSize, 0);
    std::strcpy(reinterpret_cast<char*>(header.data()), "QuorIndexVersion1.0");
    Bytes file;
    file.putRaw(header.data(), header.size());
    if (!times.empty())
        file.putRaw(times.data(), times.size() * sizeof times[0]);
    return writeFile(path, file);
}

bool writeOffGridInts(const std::string& path)
{
    DataFileHeader h = nativeHeader(formatInt, 4, 1.0);
    h.startTime = -2500000000LL;
    return writeNative(path, h, Bytes().put<int32_t>(10).put<int32_t>(11).put<int32_t>(12).put<int32_t>(13));
}

bool writeSegmentIndex(const std::string& path, const std::string& lines)
{
    return writeFile(path, std::string(kIndexHeaderSize, '#') + lines);
}

}  // namespace quor
