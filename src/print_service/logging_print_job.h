#pragma once

#include "print_service/print_job_port.h"

namespace vantorel::console {
class RunLog;
}

namespace vantorel::print_service {

// Stands in for the print job driver where none is plugged in: notes the
// N-ACTION in the run log, prints nothing and says so in the answer.
class LoggingPrintJob final : public PrintJobPort {
public:
    explicit LoggingPrintJob(console::RunLog& log) : log_(log) {}
    PrintOutcome DoPrint(const std::string& ruid, const std::string& Rip) override;

private:
    console::RunLog& log_;
};

}  // namespace vantorel::print_service
