#include "Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quor {

namespace {

void emit(const char* text)
{
#ifdef _WIN32
    OutputDebugStringA(text);
#else
    static const bool enabled = std::getenv("QUOR_TRACE") != nullptr;
    if (enabled)
        std::fputs(text, stderr);
#endif
}

}  // namespace

void trace(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    emit(text);
}

}  // namespace quor
