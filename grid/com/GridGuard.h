// Keeps C++ exceptions (allocation failures in string work) from crossing
// the COM boundary: every automation method that allocates runs inside.
#pragma once

#include <windows.h>

#include <new>

namespace quor {

template <class Body>
HRESULT guarded(Body&& body, HRESULT onOutOfMemory = E_OUTOFMEMORY) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return onOutOfMemory;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace quor
