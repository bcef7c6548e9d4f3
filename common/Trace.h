// Debug traces: seek timings, framework traces, logic-error reports.
// They go to the debugger output on Windows and are never shown to users.
// Natively they are dropped unless QUOR_TRACE is set in the environment,
// in which case they go to stderr.
#pragma once

#if defined(__GNUC__)
#define QUOR_PRINTF_LIKE(f, a) __attribute__((format(printf, f, a)))
#else
#define QUOR_PRINTF_LIKE(f, a)
#endif

namespace quor {

void trace(const char* format, ...) QUOR_PRINTF_LIKE(1, 2);

}  // namespace quor
