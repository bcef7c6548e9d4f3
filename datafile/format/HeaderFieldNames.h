// The texts that stand for coded header fields in the header view and the
// CSV export.
#pragma once

#include <cstdint>

#include "Status.h"

namespace quor {

// Data Format name; "none" and E_FAIL for a code outside 0..7.
HRESULT dataFormatName(int32_t code, const char** name);
// "Periodic", "Asynchronous", else "Unknown"; always S_OK.
HRESULT dataTypeName(int32_t code, const char** name);
// "Little Endian" for 1, else "Big Endian".
const char* byteOrderName(int32_t byteOrder);

}  // namespace quor
