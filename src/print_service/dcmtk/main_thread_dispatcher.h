#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>

namespace vantorel::print_service {

// Hands work from the network threads to the main thread, where it runs one
// item at a time in arrival order. An item never starts while another is
// running, even when the running one spins a nested event loop (a modal
// dialog): the nested loop's wake-ups find the guard set and leave the queue
// for the outer loop to continue.
class MainThreadDispatcher final : public QObject {
public:
    explicit MainThreadDispatcher(QObject* parent = nullptr);  // on the main thread
    ~MainThreadDispatcher() override;

    // Any thread but the main one: runs `work` on the main thread and waits
    // for it. Returns false, without running it, once the dispatcher is closed.
    // When `work` throws, returns false and puts the exception's message into
    // `failure` (when given); the exception goes no further.
    [[nodiscard]] bool call(std::function<void()> work, std::string* failure = nullptr);

    // Any thread: queues `work` without waiting (diagnostic log lines).
    void post(std::function<void()> work);

    // Main thread: everything still queued is dropped and its callers are
    // released with false; later calls return false at once.
    void close();

    bool onMainThread() const;

private:
    struct Item {
        std::function<void()> work;
        std::promise<bool> done;
        std::string failure;  // what the work threw, read once `done` is set
    };

    [[nodiscard]] bool enqueue(std::shared_ptr<Item> item);
    void drain();

    std::mutex mutex_;
    std::deque<std::shared_ptr<Item>> queue_;
    bool closed_ = false;
    bool running_ = false;  // main thread only
};

}  // namespace vantorel::print_service
