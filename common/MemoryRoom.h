// How much more memory the process may still commit and address, so that a
// caller can refuse a huge request before it makes any of it.
#pragma once

#include <cstdint>

namespace quor {

// In bytes; UINT64_MAX when the system does not say.
uint64_t memoryRoom();

}  // namespace quor
