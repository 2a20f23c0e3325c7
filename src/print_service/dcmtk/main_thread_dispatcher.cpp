#include "print_service/dcmtk/main_thread_dispatcher.h"

#include "base/result.h"

#include <QThread>

#include <exception>

namespace vantorel::print_service {

MainThreadDispatcher::MainThreadDispatcher(QObject* parent) : QObject(parent) {}

MainThreadDispatcher::~MainThreadDispatcher()
{
    close();
}

bool MainThreadDispatcher::onMainThread() const
{
    return QThread::currentThread() == thread();
}

bool MainThreadDispatcher::enqueue(std::shared_ptr<Item> item)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_)
            return false;
        queue_.push_back(std::move(item));
    }
    QMetaObject::invokeMethod(
        this, [this] { drain(); }, Qt::QueuedConnection);
    return true;
}

bool MainThreadDispatcher::call(std::function<void()> work, std::string* failure)
{
    Q_ASSERT(!onMainThread());  // waiting here would block the loop that runs it
    auto item = std::make_shared<Item>();
    item->work = std::move(work);
    std::future<bool> done = item->done.get_future();
    if (!enqueue(item))
        return false;
    const bool ran = done.get();
    if (failure != nullptr)
        *failure = item->failure;
    return ran;
}

void MainThreadDispatcher::post(std::function<void()> work)
{
    auto item = std::make_shared<Item>();
    item->work = std::move(work);
    // Once closed, posted work is dropped: nobody waits for it.
    (void)enqueue(std::move(item));
}

void MainThreadDispatcher::drain()
{
    if (running_)
        return;  // called from a nested loop: the running drain takes it next
    running_ = true;
    for (;;) {
        std::shared_ptr<Item> item;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queue_.empty())
                break;
            item = std::move(queue_.front());
            queue_.pop_front();
        }
        bool ran = true;
        try {
            item->work();
        } catch (...) {
            ran = false;  // the caller treats it as not handled
            item->failure = base::currentExceptionReason();
        }
        item->done.set_value(ran);
    }
    running_ = false;
}

void MainThreadDispatcher::close()
{
    std::deque<std::shared_ptr<Item>> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        dropped.swap(queue_);
    }
    for (auto& item : dropped)
        item->done.set_value(false);
}

}  // namespace vantorel::print_service
