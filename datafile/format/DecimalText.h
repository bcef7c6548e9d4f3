// Decimal digits of integers written straight into a buffer, two at a time
// from a table and in 32-bit arithmetic: an export writes tens of millions
// of them, where printf and a divide per digit would set its pace.
#pragma once

#include <cstdint>
#include <cstring>

namespace quor {

namespace decimal_text {

inline const char* digitPairs()
{
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    return kPairs;
}

inline int digitCount(uint32_t v)
{
    int n = 1;
    for (uint32_t limit = 10; n < 10 && v >= limit; limit *= 10)
        ++n;
    return n;
}

// Exactly n digits of v (v < 10^n), the last at out + n - 1.
inline void putDigits(char* out, uint32_t v, int n)
{
    const char* pairs = digitPairs();
    char* at = out + n;
    while (n >= 2) {
        at -= 2;
        std::memcpy(at, pairs + 2 * (v % 100), 2);
        v /= 100;
        n -= 2;
    }
    if (n == 1)
        *--at = static_cast<char>('0' + v);
}

}  // namespace decimal_text

// v with at least width digits (leading zeros), as %0*u does.
inline char* putUnsigned32(char* out, uint32_t v, int width = 0)
{
    int n = decimal_text::digitCount(v);
    for (; width > n; --width)
        *out++ = '0';
    decimal_text::putDigits(out, v, n);
    return out + n;
}

inline char* putUnsigned64(char* out, uint64_t v, int width = 0)
{
    const uint64_t kBillion = 1000000000u;
    if (v < kBillion)
        return putUnsigned32(out, static_cast<uint32_t>(v), width);
    // At most three groups: one divide per nine digits, then 32-bit work.
    const uint64_t high = v / kBillion;
    const uint32_t low = static_cast<uint32_t>(v - high * kBillion);
    out = putUnsigned64(out, high, width - 9);
    decimal_text::putDigits(out, low, 9);
    return out + 9;
}

// As %0*lld does: the sign, then zeros up to the width, then the digits.
inline char* putSigned64(char* out, int64_t v, int width = 0)
{
    if (v < 0) {
        *out++ = '-';
        return putUnsigned64(out, 0 - static_cast<uint64_t>(v), width - 1);
    }
    return putUnsigned64(out, static_cast<uint64_t>(v), width);
}

}  // namespace quor
