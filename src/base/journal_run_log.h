#pragma once

#include "base/run_log.h"

#include <iosfwd>
#include <string>

namespace vantorel::base {

// The run log of an unattended service: every line goes to the log file and,
// as UTF-8, to the error stream, which a service manager's journal keeps one
// entry per line (journalctl -u vantorel).
class JournalRunLog final : public RunLog {
public:
    JournalRunLog(RunLog& file, std::ostream& err);

    // The result is the log file's; the stream line is written regardless.
    bool write(const std::string& message) override;

private:
    RunLog& file_;
    std::ostream& err_;
};

// `message` as one printable UTF-8 line: line breaks, tabs and other control
// characters become C escapes (\n, \r, \t, \x1b), bytes that are not UTF-8
// become \xNN, so a journal neither splits the entry nor stores it as binary.
std::string journalLine(const std::string& message);

}  // namespace vantorel::base
