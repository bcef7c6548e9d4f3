// The sample set written once per test program into a fresh temporary folder.
#pragma once

#include <string>

namespace quor {

const std::string& sampleDir();
std::string samplePath(const char* name);

}  // namespace quor
