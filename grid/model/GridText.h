// 8-bit ANSI text helpers of the grid; case follows the collation in use
// (Collation.h).
#pragma once

#include <string>

namespace quor {

std::string trimmed(const std::string& text);
std::string upperAnsi(std::string text);
bool equalsNoCase(const std::string& a, const std::string& b);

}  // namespace quor
