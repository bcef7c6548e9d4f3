#include "Text.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quor {

namespace {

// Formatting starts with room for 40 characters and doubles until the text fits.
const size_t kFirstFormatRoom = 40;

char lowerOf(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool matchesNoCase(const char* text, const char* what, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (lowerOf(text[i]) != lowerOf(what[i]))
            return false;
    }
    return true;
}

}  // namespace

Text& Text::clear()
{
    text_.clear();
    return *this;
}

Text& Text::assign(const char* text)
{
    text_.assign(text ? text : "");
    return *this;
}

Text& Text::assign(const char* text, size_t count)
{
    text_.assign(text, count);
    return *this;
}

Text& Text::append(const char* text)
{
    if (text)
        text_.append(text);
    return *this;
}

Text& Text::append(const char* text, size_t count)
{
    text_.append(text, count);
    return *this;
}

Text& Text::append(char c)
{
    text_.push_back(c);
    return *this;
}

Text& Text::format(const char* fmt, ...)
{
    text_.clear();
    va_list args;
    va_start(args, fmt);
    appendFormatV(fmt, args);
    va_end(args);
    return *this;
}

Text& Text::appendFormat(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    appendFormatV(fmt, args);
    va_end(args);
    return *this;
}

Text& Text::appendFormatV(const char* fmt, va_list args)
{
    const size_t start = text_.size();
    size_t room = kFirstFormatRoom;
    for (;;) {
        text_.resize(start + room);
        va_list attempt;
        va_copy(attempt, args);
        const int needed = std::vsnprintf(&text_[start], room, fmt, attempt);
        va_end(attempt);
        if (needed < 0) {
            text_.resize(start);
            return *this;
        }
        if (static_cast<size_t>(needed) < room) {
            text_.resize(start + static_cast<size_t>(needed));
            return *this;
        }
        while (room <= static_cast<size_t>(needed))
            room *= 2;
    }
}

int32_t Text::findNoCase(const char* what, int32_t from) const
{
    const size_t count = std::strlen(what);
    if (from < 0 || count > text_.size())
        return -1;
    for (size_t i = static_cast<size_t>(from); i + count <= text_.size(); ++i) {
        if (matchesNoCase(text_.c_str() + i, what, count))
            return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t Text::replaceNoCase(const char* what, const char* with, bool all)
{
    const size_t count = std::strlen(what);
    if (count == 0)
        return 0;
    const size_t withCount = std::strlen(with);
    int32_t replaced = 0;
    int32_t at = findNoCase(what, 0);
    while (at >= 0) {
        text_.replace(static_cast<size_t>(at), count, with, withCount);
        ++replaced;
        if (!all)
            break;
        at = findNoCase(what, at + static_cast<int32_t>(withCount));
    }
    return replaced;
}

Text Text::field(int32_t k, char sep) const
{
    Text result;
    if (k < 0)
        return result;
    size_t begin = 0;
    for (int32_t i = 0; i < k; ++i) {
        const size_t found = text_.find(sep, begin);
        if (found == std::string::npos)
            return result;
        begin = found + 1;
    }
    const size_t end = text_.find(sep, begin);
    result.text_ = text_.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    return result;
}

int64_t Text::toInt64() const
{
    errno = 0;
    const long long value = std::strtoll(text_.c_str(), nullptr, 10);
    return static_cast<int64_t>(value);  // strtoll saturates on overflow
}

int32_t Text::toInt32() const
{
    const int64_t value = toInt64();
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

double Text::toDouble() const
{
    return std::strtod(text_.c_str(), nullptr);
}

Text& Text::toUpper()
{
    for (char& c : text_)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return *this;
}

}  // namespace quor
