#pragma once

#include <iosfwd>
#include <string>

namespace vantorel::base {

class RunLog;

enum class MessageIcon { Information, Warning, Critical, None };  // None: text and OK only

// Messages for the operator (a modal message box in the window, a log line when
// nobody is there to close it). Texts are UTF-8.
class OperatorMessages {
public:
    virtual ~OperatorMessages() = default;
    virtual void show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

// For unattended runs: the message goes to the run log and, as one line
// "title: text", to the error stream, and the call never waits. Give it the
// log file itself when the run log also echoes to that stream.
class LoggedOperatorMessages final : public OperatorMessages {
public:
    LoggedOperatorMessages(RunLog& log, std::ostream& err);
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;

private:
    RunLog& log_;
    std::ostream& err_;
};

}  // namespace vantorel::base
