#pragma once

#include "base/run_log.h"
#include "print_service/print_job_port.h"

namespace vantorel::testing {

// Stands in for the print job driver: notes the N-ACTION in the run log,
// prints nothing and says so in the answer.
class LoggingPrintJob final : public print_service::PrintJobPort {
public:
    explicit LoggingPrintJob(base::RunLog& log) : log_(log) {}

    print_service::PrintOutcome DoPrint(const std::string& ruid, const std::string& Rip) override
    {
        log_.write("DoPrint " + ruid + " from " + Rip + ": no print job driver, nothing printed");
        print_service::PrintOutcome outcome;
        outcome.status = print_service::print_status::processingFailure;
        outcome.errorComment = "No print job driver, nothing printed";
        return outcome;
    }

private:
    base::RunLog& log_;
};

}  // namespace vantorel::testing
