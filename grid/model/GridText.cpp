#include "GridText.h"

#include <utility>

#include "Collation.h"

namespace quor {

std::string trimmed(const std::string& text)
{
    static const char kWhiteSpace[] = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

std::string upperAnsi(std::string text)
{
    return collation().upperCase(std::move(text));
}

bool equalsNoCase(const std::string& a, const std::string& b)
{
    return collation().sameIgnoringCase(a, b);
}

}  // namespace quor
