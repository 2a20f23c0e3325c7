#include "direct_composition/worker_pool.h"

#include <algorithm>

namespace vantorel::direct_composition {

WorkerPool::WorkerPool(int threads)
{
    for (int i = 0; i < threads; ++i)
        threads_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

WorkerPool& WorkerPool::shared()
{
    static WorkerPool pool(std::clamp(static_cast<int>(std::thread::hardware_concurrency()) - 1, 1, 3));
    return pool;
}

void WorkerPool::run(std::size_t count, const std::function<void(std::size_t)>& task)
{
    if (count == 0)
        return;
    std::lock_guard<std::mutex> call(callMutex_);
    std::unique_lock<std::mutex> lock(mutex_);
    task_ = &task;
    count_ = count;
    next_ = 0;
    finished_ = 0;
    wake_.notify_all();
    drain(lock);
    done_.wait(lock, [this] { return finished_ == count_; });
    task_ = nullptr;
    count_ = 0;
}

void WorkerPool::drain(std::unique_lock<std::mutex>& lock)
{
    while (task_ != nullptr && next_ < count_) {
        const std::size_t index = next_++;
        const auto* task = task_;
        lock.unlock();
        (*task)(index);
        lock.lock();
        if (++finished_ == count_)
            done_.notify_all();
    }
}

void WorkerPool::work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || (task_ != nullptr && next_ < count_); });
        if (stopping_)
            return;
        drain(lock);
    }
}

}  // namespace vantorel::direct_composition
