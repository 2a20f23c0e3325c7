#pragma once

#include "base/fwd.h"

#include <QTimer>

#include <string>

namespace vantorel::app {

// Keeps the run logs of the last `keepDays` days: removes older ones at once
// and again once each day has turned (checked every ten minutes), saying in
// the run log how many went.
class RunLogRetentionTimer {
public:
    RunLogRetentionTimer(std::string homeFolder, int keepDays, const base::Clock& clock, base::RunLog& log);

private:
    void removeOld();

    std::string home_;
    int keepDays_;
    const base::Clock& clock_;
    base::RunLog& log_;
    int lastDay_ = 0;  // year * 10000 + month * 100 + day of the last removal
    QTimer timer_;
};

}  // namespace vantorel::app
