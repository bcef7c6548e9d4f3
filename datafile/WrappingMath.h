// Two's-complement wrapping arithmetic for positions and times derived from
// untrusted header and index values: a corrupt file gives a wrong (and then
// rejected) number, never undefined behaviour.
#pragma once

#include <cstdint>

inline int64_t wrappingAdd(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}

inline int64_t wrappingSubtract(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}

inline int64_t wrappingMultiply(int64_t a, uint64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) * b);
}
