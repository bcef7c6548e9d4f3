// The header of a little-endian native file that a benchmark writes its
// samples behind; portable, unlike BenchSupport.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "DataFile.h"

namespace quor {

inline DataFileHeader benchHeader(int32_t dataFormat, double sampleRate, int32_t dataSize, int32_t dataType)
{
    DataFileHeader h;
    std::memset(&h, 0, sizeof h);
    std::strcpy(h.version, "QuorDataFileVersion1.0");
    h.dataFormat = dataFormat;
    h.sampleRate = sampleRate;
    h.dataSize = dataSize;
    h.byteOrder = 1;
    h.dataType = dataType;
    return h;
}

inline bool writeBenchHeader(FILE* f, const DataFileHeader& h)
{
    return std::fwrite(&h, sizeof h, 1, f) == 1;
}

}  // namespace quor
