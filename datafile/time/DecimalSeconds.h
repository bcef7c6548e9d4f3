// Seconds typed as decimal text ("-1.25") and nanoseconds shown the same
// way, converted digit by digit so that no double ever rounds them: the
// plot's lane shift and quordata's --offset read them alike.
#pragma once

#include <cstdint>
#include <string>

namespace quor {

enum class SecondsParse {
    ok,
    malformed,   // not [-]digits[.digits] with at least one digit
    outOfRange,  // beyond what signed 64-bit nanoseconds hold
    finerThanNanosecond,  // a non-zero digit after the ninth decimal: *ns holds the value cut there
};

// "[-]digits[.digits]" seconds to nanoseconds, exactly.
SecondsParse parseDecimalSeconds(const char* text, int64_t* ns);

// The seconds of ns as the parser reads them back: "-1.5", "0", "2.000000001".
std::string decimalSecondsText(int64_t ns);

}  // namespace quor
