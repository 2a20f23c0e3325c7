#include "base/operator_messages.h"

#include "base/journal_run_log.h"
#include "base/run_log.h"

#include <ostream>

namespace vantorel::base {

LoggedOperatorMessages::LoggedOperatorMessages(RunLog& log, std::ostream& err) : log_(log), err_(err) {}

void LoggedOperatorMessages::show(const std::string& text, const std::string& title, MessageIcon)
{
    log_.write(text);
    // One line, as the run log's lines on the error stream are.
    const std::string line = journalLine(title + ": " + text) + "\n";
    err_.write(line.data(), static_cast<std::streamsize>(line.size()));
    err_.flush();
}

}  // namespace vantorel::base
