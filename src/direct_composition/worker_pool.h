#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vantorel::direct_composition {

// A few threads that run the tasks of one call side by side. The calling
// thread works on the tasks too and returns when all of them are done, so a
// pool of n threads runs n + 1 tasks at once. Calls from several threads take
// turns.
class WorkerPool {
public:
    explicit WorkerPool(int threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs task(0) ... task(count - 1), each once, in no given order.
    void run(std::size_t count, const std::function<void(std::size_t)>& task);

    // The pool that rendering a film's images and writing its PDF share: one
    // thread fewer than the machine has cores (at least one, at most three).
    static WorkerPool& shared();

private:
    void work();
    // Takes and runs tasks of the current call until none is left.
    void drain(std::unique_lock<std::mutex>& lock);

    std::mutex callMutex_;  // one call at a time
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    const std::function<void(std::size_t)>* task_ = nullptr;
    std::size_t count_ = 0;
    std::size_t next_ = 0;
    std::size_t finished_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace vantorel::direct_composition
