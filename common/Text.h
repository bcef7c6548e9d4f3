// Text: the growable 8-bit text in which messages, rows and traces are
// built. Text is in the ANSI code page; wide strings only appear at the COM
// boundary (toWide).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Trace.h"  // QUOR_PRINTF_LIKE

namespace quor {

class Text {
public:
    Text() = default;
    Text(const char* text) { assign(text); }  // NOLINT: implicit on purpose

    const char* c_str() const { return text_.c_str(); }
    int32_t length() const { return static_cast<int32_t>(text_.size()); }
    bool empty() const { return text_.empty(); }
    const std::string& str() const { return text_; }

    Text& clear();
    Text& assign(const char* text);
    Text& assign(const char* text, size_t count);
    Text& append(const char* text);
    Text& append(const char* text, size_t count);
    Text& append(char c);
    Text& append(const Text& other) { return append(other.c_str(), other.text_.size()); }

    // printf-style; format replaces the text, appendFormat adds to it.
    Text& format(const char* fmt, ...) QUOR_PRINTF_LIKE(2, 3);
    Text& appendFormat(const char* fmt, ...) QUOR_PRINTF_LIKE(2, 3);

    // Position of the first occurrence at or after from, ignoring case; -1 if none.
    int32_t findNoCase(const char* what, int32_t from = 0) const;
    bool containsNoCase(const char* what) const { return findNoCase(what) >= 0; }
    // Replaces occurrences found ignoring case (all, or only the first);
    // returns how many were replaced.
    int32_t replaceNoCase(const char* what, const char* with, bool all = true);

    // Field k (from 0) of the text split by sep: the text after the k-th
    // separator up to the next one; empty when there are fewer separators.
    Text field(int32_t k, char sep) const;

    // Decimal conversions: leading blanks and a sign allowed, reading stops at
    // the first other character; no digits give 0. Out-of-range values saturate.
    int32_t toInt32() const;
    int64_t toInt64() const;
    double toDouble() const;

    Text& toUpper();
    std::wstring toWide() const;

    bool operator==(const char* other) const { return text_ == other; }
    bool operator==(const Text& other) const { return text_ == other.text_; }
    bool operator!=(const char* other) const { return text_ != other; }

private:
    Text& appendFormatV(const char* fmt, va_list args);

    std::string text_;
};

}  // namespace quor
