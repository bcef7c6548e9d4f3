#include "TurnQueue.h"

#include <algorithm>
#include <thread>

namespace quor {

TurnQueue::TurnQueue(int turns) : free_(std::max(1, turns)) {}

TurnQueue& TurnQueue::readers()
{
    static TurnQueue turns(static_cast<int>(std::thread::hardware_concurrency()));
    return turns;
}

bool TurnQueue::take(const std::atomic<bool>& cancel)
{
    std::unique_lock<std::mutex> guard(lock_);
    if (free_ > 0 && waiting_.empty()) {
        --free_;
        return true;
    }
    Waiter me;
    waiting_.push_back(&me);
    grantFirst();  // a turn is never left free while anyone waits
    me.wake.wait(guard, [&] { return me.granted || cancel.load(); });
    if (!me.granted) {
        waiting_.erase(std::find(waiting_.begin(), waiting_.end(), &me));
        return false;
    }
    if (!cancel.load())
        return true;
    // Granted and cancelled together: the turn goes on to the next waiter.
    ++free_;
    grantFirst();
    return false;
}

void TurnQueue::give()
{
    std::lock_guard<std::mutex> guard(lock_);
    ++free_;
    grantFirst();
}

void TurnQueue::wakeWaiters()
{
    std::lock_guard<std::mutex> guard(lock_);
    for (Waiter* waiter : waiting_)
        waiter->wake.notify_one();
}

// Under the lock. The waiter leaves the queue as it is granted, so a
// thread that gives its turn and asks again queues behind the others.
void TurnQueue::grantFirst()
{
    if (free_ == 0 || waiting_.empty())
        return;
    Waiter* first = waiting_.front();
    waiting_.pop_front();
    --free_;
    first->granted = true;
    first->wake.notify_one();
}

}  // namespace quor
