#include "TaskPool.h"

#include <algorithm>

namespace quor {

namespace {

const int kMostHelpers = 3;

}  // namespace

TaskPool::TaskPool(int helpers) : helpers_(std::max(0, helpers)) {}

TaskPool::~TaskPool()
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

int TaskPool::helpersForThisMachine()
{
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::min(kMostHelpers, std::max(0, cores - 1));
}

void TaskPool::start()
{
    for (int k = 0; k < helpers_; ++k)
        threads_.emplace_back([this] { serve(); });
}

void TaskPool::run(int count, const Task& task)
{
    if (count <= 1 || helpers_ == 0) {
        for (int k = 0; k < count; ++k)
            task(k);
        return;
    }
    if (threads_.empty())
        start();
    {
        std::lock_guard<std::mutex> guard(lock_);
        task_ = &task;
        count_ = count;
        next_ = 0;
        running_ = helpers_;
        ++batch_;
    }
    wake_.notify_all();
    takeTasks();
    std::unique_lock<std::mutex> guard(lock_);
    finished_.wait(guard, [this] { return running_ == 0; });
    task_ = nullptr;
}

// Tasks are taken one at a time: a lane's envelope costs from nothing (its
// columns kept) to many reads, so even shares would leave a thread idle.
void TaskPool::takeTasks()
{
    for (;;) {
        int index = 0;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (next_ >= count_)
                return;
            index = next_++;
        }
        (*task_)(index);
    }
}

void TaskPool::serve()
{
    uint64_t served = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> guard(lock_);
            wake_.wait(guard, [&] { return stopping_ || batch_ != served; });
            if (stopping_)
                return;
            served = batch_;
        }
        takeTasks();
        std::lock_guard<std::mutex> guard(lock_);
        if (--running_ == 0)
            finished_.notify_one();
    }
}

}  // namespace quor
