// How one fuzz input becomes a data file and its index file:
//   byte 0      the kind of data file (its extension), modulo the kinds
//   bytes 1..4  the length of the data file's bytes, little-endian, cut to
//               what the input holds
//   then        the data file's bytes, then the index file's bytes
// The seed generator writes the sample set in this form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quor {

const char* const kFuzzExtensions[] = {".quorData", ".LittleEndianZIBdata", ".ZIBdata"};
const int kFuzzKinds = 3;
const size_t kFuzzPrefix = 5;

struct FuzzFiles {
    int kind;
    std::string data;
    std::string index;
};

inline bool splitFuzzInput(const uint8_t* bytes, size_t size, FuzzFiles* files)
{
    if (size < kFuzzPrefix)
        return false;
    files->kind = bytes[0] % kFuzzKinds;
    size_t length = bytes[1] | (bytes[2] << 8) | (bytes[3] << 16) | (static_cast<size_t>(bytes[4]) << 24);
    if (length > size - kFuzzPrefix)
        length = size - kFuzzPrefix;
    const char* body = reinterpret_cast<const char*>(bytes + kFuzzPrefix);
    files->data.assign(body, length);
    files->index.assign(body + length, size - kFuzzPrefix - length);
    return true;
}

inline std::string joinFuzzInput(const FuzzFiles& files)
{
    std::string input(kFuzzPrefix, '\0');
    input[0] = static_cast<char>(files.kind);
    for (int i = 0; i < 4; ++i)
        input[1 + i] = static_cast<char>(files.data.size() >> (8 * i));
    return input + files.data + files.index;
}

}  // namespace quor
