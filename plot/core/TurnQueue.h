// A few turns that many threads take one after another, first come first
// served: the lanes' readers share the cores through it. One reader
// thread per lane keeps the code simple, but thirty-two of them busy at
// once leave the window thread a thirty-third of the machine, and under
// Wine its server too, where thread priorities change nothing: opening a
// workspace of many lanes took seconds and the window answered late until
// every lane was read. With a turn per core the readers still use the
// whole machine between them, and each lane's next step waits behind the
// others' so that the lanes fill in together.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace quor {

class TurnQueue {
public:
    explicit TurnQueue(int turns);
    TurnQueue(const TurnQueue&) = delete;
    TurnQueue& operator=(const TurnQueue&) = delete;

    // The turns of the lanes' readers: one for each core.
    static TurnQueue& readers();

    // Waits for a turn. False, holding none, when cancel is set first (call
    // wakeWaiters after setting it).
    bool take(const std::atomic<bool>& cancel);
    // Hands the turn to the first waiter.
    void give();
    // Waiters look at their cancel flags again.
    void wakeWaiters();

private:
    struct Waiter {
        std::condition_variable wake;
        bool granted = false;
    };
    void grantFirst();

    std::mutex lock_;
    std::deque<Waiter*> waiting_;
    int free_;
};

}  // namespace quor
