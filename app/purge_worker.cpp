#include "purge_worker.h"

#include "base/run_log.h"

#include <utility>
#include <vector>

namespace vantorel::app {

PurgeWorker::PurgeWorker(const base::Clock& clock, base::RunLog& log) : purge_(clock), log_(log) {}

PurgeWorker::~PurgeWorker()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void PurgeWorker::tick(const std::string& exportFolder)
{
    if (running_)
        return;
    if (thread_.joinable())
        thread_.join();  // the last purge is over
    running_ = true;
    thread_ = std::thread([this, exportFolder] {
        std::vector<std::string> lines = purge_.run(exportFolder, &stop_);
        if (!lines.empty())
            QMetaObject::invokeMethod(
                &mainThread_,
                [this, lines = std::move(lines)] {
                    for (const std::string& line : lines)
                        log_.write(line);
                },
                Qt::QueuedConnection);
        running_ = false;
    });
}

}  // namespace vantorel::app
