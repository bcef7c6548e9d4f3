// Arithmetic on positions, indices and times derived from untrusted header
// and index values: a corrupt file gives a wrong (and then rejected or
// merely shown) number, never undefined behaviour. Wrapping where the result
// is checked afterwards; saturating where it is shown or compared.
#pragma once

#include <cstdint>
#include <limits>

namespace quor {

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

// a * b, held at the int64 limits instead of overflowing.
inline int64_t saturatingMultiply(int64_t a, int64_t b)
{
    int64_t product = 0;
    if (!__builtin_mul_overflow(a, b, &product))
        return product;
    return ((a < 0) != (b < 0)) ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
}

inline int64_t saturatingAdd(int64_t a, int64_t b)
{
    int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b < 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
}

}  // namespace quor
