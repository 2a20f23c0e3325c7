#include "run_log_retention_timer.h"

#include "base/clock.h"
#include "base/run_log.h"
#include "base/run_log_retention.h"

namespace vantorel::app {

RunLogRetentionTimer::RunLogRetentionTimer(std::string homeFolder, int keepDays, const base::Clock& clock,
                                           base::RunLog& log)
    : home_(std::move(homeFolder)), keepDays_(keepDays), clock_(clock), log_(log)
{
    removeOld();
    timer_.setInterval(10 * 60 * 1000);
    QObject::connect(&timer_, &QTimer::timeout, [this] { removeOld(); });
    timer_.start();
}

void RunLogRetentionTimer::removeOld()
{
    const base::LocalDateTime now = clock_.now();
    const int day = now.year * 10000 + now.month * 100 + now.day;
    if (day == lastDay_)
        return;
    lastDay_ = day;
    const int removed = base::removeOldRunLogs(home_, now, keepDays_);
    if (removed > 0)
        log_.write("删除" + std::to_string(keepDays_) + "天前的运行日志" + std::to_string(removed) + "个");
}

}  // namespace vantorel::app
