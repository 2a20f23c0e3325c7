#include "console/operator_messages.h"

#include "console/run_log.h"

#include <ostream>

namespace vantorel::console {

LoggedOperatorMessages::LoggedOperatorMessages(RunLog& log, std::ostream& err) : log_(log), err_(err) {}

void LoggedOperatorMessages::show(const std::string& text, const std::string& title, MessageIcon)
{
    log_.write(text);
    err_ << title << ": " << text << std::endl;
}

}  // namespace vantorel::console
