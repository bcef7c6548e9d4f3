// Stopwatch on the performance counter, for the seek timing traces.
#pragma once

#include <cstdint>

namespace quor {

class Stopwatch {
public:
    void start();
    void stop();
    double elapsedMs() const;

private:
    int64_t start_ = 0;
    int64_t stop_ = 0;
};

}  // namespace quor
