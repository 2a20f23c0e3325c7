#pragma once

#include "base/clock.h"
#include "base/owner_thread.h"

#include <string>

namespace vantorel::base {

// The daily run log. Every subsystem writes its fixed messages through this
// interface; write() never throws and reports a failed write only as false.
// Callers carry on whatever it returns and do not mark that they ignore it:
// a line the log could not take has nowhere else to go (the service's journal
// copy, JournalRunLog, is written regardless), so the result is only for the
// log's own tests and wrappers.
class RunLog {
public:
    virtual ~RunLog() = default;
    virtual bool write(const std::string& message) = 0;  // message is UTF-8
};

// The run log on disk: <home>/LOG/<year>-<month>-<day>.log (month and day not
// padded), one line per message "[2014/3/5 7:08:09]    message" + CRLF, in GBK.
// The file is opened, appended and closed for every line, so another program
// (or the console's log page) can read it at any time.
class FileRunLog final : public RunLog {
public:
    FileRunLog(std::string homeFolder, const Clock& clock);

    bool write(const std::string& message) override;

    std::string folder() const;                                // <home>/LOG
    std::string filePathFor(const LocalDateTime& time) const;  // <home>/LOG/2014-3-5.log

    static std::string fileName(const LocalDateTime& time);   // "2014-3-5.log"
    static std::string timestamp(const LocalDateTime& time);  // "2014/3/5 7:08:09"
    // "[2014/3/5 7:08:09]    message", UTF-8, without the line end.
    static std::string formatLine(const LocalDateTime& time, const std::string& message);

private:
    OwnerThread owner_;  // main thread only
    std::string home_;
    const Clock& clock_;
};

}  // namespace vantorel::base
