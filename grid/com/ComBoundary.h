// The conversions at the control's COM boundary: the core works in 8-bit
// std::string and bool, its callers in BSTR and VARIANT_BOOL.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "VariantBool.h"

namespace quor {

// UTF-16 to the ANSI code page; a null BSTR is the empty text.
std::string ansiFromBstr(BSTR text);

// A new BSTR for the caller, or null when it cannot be allocated.
BSTR bstrFromAnsi(const std::string& text);

// Stores a new BSTR in *out; E_OUTOFMEMORY when it cannot be made.
HRESULT returnBstr(const std::string& text, BSTR* out);

}  // namespace quor
