// A few threads kept for the life of the pool that share the tasks of one
// batch with the thread that hands it in: the window's lanes query their
// envelopes side by side, each lane's summary having its own lock, so that
// a picture whose column edges are all new costs the reads of the slowest
// share rather than of every lane. Threads start with the first batch of
// more than one task, so a pool never used costs nothing.
//
// One thread hands in batches (the window's); a task must not hand in a
// batch of its own.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quor {

class TaskPool {
public:
    using Task = std::function<void(int index)>;

    // helpers: the threads besides the caller's (0 runs every batch on the caller).
    explicit TaskPool(int helpers);
    ~TaskPool();  // stops and joins the helpers
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // One helper fewer than the processor has cores, and not more than a
    // few: each helper takes a core from the lanes' own summarising.
    static int helpersForThisMachine();

    // Runs task(0) .. task(count - 1), each once, on the helpers and the
    // caller in any order; returns when all have returned.
    void run(int count, const Task& task);

private:
    void start();
    void serve();
    void takeTasks();

    const int helpers_;
    std::vector<std::thread> threads_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    const Task* task_ = nullptr;
    int count_ = 0;
    int next_ = 0;         // the next task to take
    int running_ = 0;      // helpers still in the batch
    uint64_t batch_ = 0;   // counts the batches handed in
    bool stopping_ = false;
};

}  // namespace quor
