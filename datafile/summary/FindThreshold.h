// The number X of a search ("above X"), read from decimal text and held so
// that every kind of sample value compares with it exactly: a 64-bit
// integer is never rounded to a double, nor X to either type.
#pragma once

#include <cstdint>

namespace quor {

__extension__ typedef __int128 Wide;  // exact times and indices beyond 64 bits

struct FindThreshold {
    // floor(X) and ceil(X), held within +-2^100 (far beyond any 64-bit value).
    Wide integerFloor = 0;
    Wide integerCeil = 0;
    // The greatest double at or below X and the least at or above it (equal
    // when X is a double); infinite beyond the largest double.
    double realFloor = 0;
    double realCeil = 0;
};

// Decimal text: an optional sign, digits with at most one '.', at least one
// digit, an optional exponent (e or E, a sign, digits), nothing else. false
// for anything else (inf and nan included).
bool parseFindThreshold(const char* text, FindThreshold* out);

// For any value v of a kind: v > X iff v > floor; v >= X iff v >= ceil;
// v < X iff v < ceil; v <= X iff v <= floor.

}  // namespace quor
