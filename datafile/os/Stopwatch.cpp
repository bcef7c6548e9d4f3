#include "Stopwatch.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace quor {

namespace {

#ifdef _WIN32
int64_t ticksPerMs()
{
    // Process-wide, set up on first use.
    static const int64_t perMs = [] {
        LARGE_INTEGER frequency;
        if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart / 1000 == 0)
            return int64_t(1000);
        return static_cast<int64_t>(frequency.QuadPart / 1000);
    }();
    return perMs;
}

int64_t now()
{
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}
#else
int64_t ticksPerMs()
{
    return 1000000;  // the monotonic clock counts nanoseconds
}

int64_t now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
#endif

}  // namespace

void Stopwatch::start()
{
    start_ = now();
}

void Stopwatch::stop()
{
    stop_ = now();
}

double Stopwatch::elapsedMs() const
{
    return static_cast<double>(stop_ - start_) / static_cast<double>(ticksPerMs());
}

}  // namespace quor
