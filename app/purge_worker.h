#pragma once

#include "archive/monthly_purge.h"
#include "base/fwd.h"

#include <QObject>

#include <atomic>
#include <string>
#include <thread>

namespace vantorel::app {

// Runs the monthly purge on a thread of its own, so that removing a month of
// films never holds the associations the main thread serves. One purge at a
// time: a tick while one runs is passed over. Its lines reach the run log on
// the main thread. Built on the main thread; ending the program asks a
// running purge to stop and waits for it.
class PurgeWorker {
public:
    PurgeWorker(const base::Clock& clock, base::RunLog& log);
    ~PurgeWorker();
    PurgeWorker(const PurgeWorker&) = delete;
    PurgeWorker& operator=(const PurgeWorker&) = delete;

    void tick(const std::string& exportFolder);
    bool running() const { return running_; }

private:
    archive::MonthlyPurge purge_;
    base::RunLog& log_;
    QObject mainThread_;  // where the run log lines are written
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stop_{false};
};

}  // namespace vantorel::app
