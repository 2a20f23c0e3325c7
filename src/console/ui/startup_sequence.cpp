#include "console/ui/startup_sequence.h"

#include "console/result.h"
#include "console/run_log.h"

#include <exception>

namespace vantorel::console::ui {

StartupOutcome runStartupSteps(const std::vector<StartupStep>& steps, RunLog* log)
{
    StartupOutcome outcome;
    for (const StartupStep& step : steps) {
        std::string reason;
        try {
            step.run();
            outcome.ran.push_back(step.name);
            continue;
        } catch (...) {
            reason = currentExceptionReason();
        }
        outcome.skipped.push_back(step.name);
        if (log)
            log->write("start-up step skipped: " + step.name + ": " + reason);
    }
    return outcome;
}

}  // namespace vantorel::console::ui
