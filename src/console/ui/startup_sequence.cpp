#include "console/ui/startup_sequence.h"

#include "base/result.h"
#include "base/run_log.h"

#include <exception>

namespace vantorel::console::ui {

StartupOutcome runStartupSteps(const std::vector<StartupStep>& steps, base::RunLog* log)
{
    StartupOutcome outcome;
    for (const StartupStep& step : steps) {
        std::string reason;
        try {
            step.run();
            outcome.ran.push_back(step.name);
            continue;
        } catch (...) {
            reason = base::currentExceptionReason();
        }
        outcome.skipped.push_back(step.name);
        if (log)
            log->write("start-up step skipped: " + step.name + ": " + reason);
    }
    return outcome;
}

}  // namespace vantorel::console::ui
