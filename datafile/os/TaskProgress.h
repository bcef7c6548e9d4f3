// Progress and cancellation of a long task (a summary build, a range
// export), shared between the thread that runs it and the one that watches.
#pragma once

#include <atomic>
#include <cstdint>

namespace quor {

struct TaskProgress {
    std::atomic<int64_t> done{0};    // samples summarised, rows written
    std::atomic<int64_t> total{0};   // what the task expects to reach; may grow
    std::atomic<bool> cancel{false}; // set by the watcher; the task stops soon after

    // done of total, from 0 to 1; 0 while the total is unknown.
    double fraction() const
    {
        const int64_t all = total.load();
        const double part = all > 0 ? double(done.load()) / double(all) : 0.0;
        return part < 1.0 ? part : 1.0;
    }
};

}  // namespace quor
