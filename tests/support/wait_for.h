#pragma once

// Waiting with a predicate and a deadline, never a fixed sleep.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace vantorel::testing {

// Polls `done` until it holds or `timeoutMs` has passed; true when it held.
// Between polls the calling thread's Qt events are served (when there is an
// application object), so work handed to this thread goes on meanwhile.
inline bool waitFor(const std::function<bool()>& done, int timeoutMs = 60000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    return true;
}

}  // namespace vantorel::testing
