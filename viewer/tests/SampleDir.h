// The sample set written once per test program into a fresh temporary folder.
#pragma once

#include <string>

const std::string& sampleDir();
std::string samplePath(const char* name);
