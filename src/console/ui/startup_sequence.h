#pragma once

#include "base/fwd.h"

#include <functional>
#include <string>
#include <vector>

namespace vantorel::console::ui {

// One step of start-up. A step fails by throwing; the sequence then skips it
// and goes on with the next.
struct StartupStep {
    std::string name;
    std::function<void()> run;
};

struct StartupOutcome {
    std::vector<std::string> ran;      // names of the steps that finished
    std::vector<std::string> skipped;  // names of the steps that failed
};

// Runs every step in order. A failing step shows the operator nothing; it
// leaves a short diagnostic line in `log` (when given) naming the step.
StartupOutcome runStartupSteps(const std::vector<StartupStep>& steps, base::RunLog* log);

}  // namespace vantorel::console::ui
