#include "print_service/logging_print_job.h"

#include "console/run_log.h"

namespace vantorel::print_service {

PrintOutcome LoggingPrintJob::DoPrint(const std::string& ruid, const std::string& Rip)
{
    log_.write("DoPrint " + ruid + " from " + Rip + ": no print job driver, nothing printed");
    PrintOutcome outcome;
    outcome.status = print_status::processingFailure;
    outcome.errorComment = "No print job driver, nothing printed";
    return outcome;
}

}  // namespace vantorel::print_service
