// 8-bit ANSI text helpers of the grid and the conversions at the COM boundary.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace quor {

// UTF-16 to the ANSI code page; a null BSTR is the empty text.
std::string ansiFromBstr(BSTR text);

// A new BSTR for the caller, or null when it cannot be allocated.
BSTR bstrFromAnsi(const std::string& text);

// Stores a new BSTR in *out; E_OUTOFMEMORY when it cannot be made.
HRESULT returnBstr(const std::string& text, BSTR* out);

std::string trimmed(const std::string& text);
std::string upperAnsi(std::string text);
bool equalsNoCase(const std::string& a, const std::string& b);
bool isVariantTrue(VARIANT_BOOL flag);

}  // namespace quor
