#include "FindThreshold.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace quor {

namespace {

const int kSaturatedDigits = 30;  // 10^30 < 2^100
const int kExponentLimit = 100000;

// A decimal number as sign, significant digits (no leading or trailing
// zeros; empty for zero) and the power of ten of the last digit.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
    int magnitude() const { return static_cast<int>(digits.size()) + exponent; }  // digits before the point
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool readExponent(const char*& p, int* exponent)
{
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (!isDigit(*p))
        return false;
    int value = 0;
    for (; isDigit(*p); ++p)
        value = value < kExponentLimit ? value * 10 + (*p - '0') : value;
    *exponent = negative ? -value : value;
    return true;
}

bool parseDecimal(const char* p, Decimal* out)
{
    Decimal d;
    d.negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    bool anyDigit = false, point = false;
    for (;; ++p) {
        if (isDigit(*p)) {
            anyDigit = true;
            if (!(d.digits.empty() && *p == '0'))
                d.digits.push_back(*p);
            if (point)
                --d.exponent;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return false;
    if (*p == 'e' || *p == 'E') {
        int exponent = 0;
        if (!readExponent(++p, &exponent))
            return false;
        d.exponent += exponent;
    }
    if (*p != '\0')
        return false;
    // Leading zeros after the point were skipped but counted in the exponent.
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
        ++d.exponent;
    }
    *out = d;
    return true;
}

// -1, 0 or 1 as a is below, equal to or above b.
int compareDecimals(const Decimal& a, const Decimal& b)
{
    const int signA = a.digits.empty() ? 0 : a.negative ? -1 : 1;
    const int signB = b.digits.empty() ? 0 : b.negative ? -1 : 1;
    if (signA != signB || signA == 0)
        return signA < signB ? -1 : signA > signB ? 1 : 0;
    int order = 0;
    if (a.magnitude() != b.magnitude())
        order = a.magnitude() < b.magnitude() ? -1 : 1;
    else
        order = a.digits.compare(b.digits) < 0 ? -1 : a.digits.compare(b.digits) > 0 ? 1 : 0;
    return signA < 0 ? -order : order;
}

Wide saturatedLimit() { return Wide(1) << 100; }

void integerBounds(const Decimal& x, FindThreshold* out)
{
    if (x.digits.empty()) {
        out->integerFloor = out->integerCeil = 0;
        return;
    }
    if (x.magnitude() > kSaturatedDigits) {
        out->integerFloor = out->integerCeil = x.negative ? -saturatedLimit() : saturatedLimit();
        return;
    }
    Wide whole = 0;
    bool fraction = false;
    const int wholeDigits = x.magnitude();
    for (int k = 0; k < wholeDigits; ++k)
        whole = whole * 10 + (k < static_cast<int>(x.digits.size()) ? x.digits[k] - '0' : 0);
    fraction = wholeDigits < static_cast<int>(x.digits.size());
    if (x.negative) {
        out->integerCeil = -whole;
        out->integerFloor = fraction ? -whole - 1 : -whole;
    } else {
        out->integerFloor = whole;
        out->integerCeil = fraction ? whole + 1 : whole;
    }
}

// The nearest double, then its exact decimal expansion tells on which side of X it lies.
void realBounds(const char* text, const Decimal& x, FindThreshold* out)
{
    const double nearest = std::strtod(text, nullptr);
    int side = 0;  // nearest compared with X
    if (std::isinf(nearest)) {
        side = nearest > 0 ? 1 : -1;
    } else {
        char exact[1600];
        const auto result = std::to_chars(exact, exact + sizeof exact - 1, nearest, std::chars_format::fixed, 1100);
        *result.ptr = '\0';
        Decimal d;
        parseDecimal(exact, &d);
        side = compareDecimals(d, x);
    }
    const double inf = std::numeric_limits<double>::infinity();
    out->realFloor = side <= 0 ? nearest : std::nextafter(nearest, -inf);
    out->realCeil = side >= 0 ? nearest : std::nextafter(nearest, inf);
}

}  // namespace

bool parseFindThreshold(const char* text, FindThreshold* out)
{
    Decimal x;
    if (!text || !parseDecimal(text, &x))
        return false;
    integerBounds(x, out);
    realBounds(text, x, out);
    return true;
}

}  // namespace quor
