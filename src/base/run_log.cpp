#include "base/run_log.h"

#include "base/journal_run_log.h"

#include "base/gbk.h"
#include "base/text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vantorel::base {

FileRunLog::FileRunLog(std::string homeFolder, const Clock& clock)
    : home_(std::move(homeFolder)), clock_(clock)
{}

std::string FileRunLog::folder() const
{
    return (std::filesystem::path(home_) / "LOG").string();
}

std::string FileRunLog::filePathFor(const LocalDateTime& time) const
{
    return (std::filesystem::path(folder()) / fileName(time)).string();
}

std::string FileRunLog::fileName(const LocalDateTime& time)
{
    return std::to_string(time.year) + "-" + std::to_string(time.month) + "-" + std::to_string(time.day) +
        ".log";
}

std::string FileRunLog::timestamp(const LocalDateTime& time)
{
    return std::to_string(time.year) + "/" + std::to_string(time.month) + "/" + std::to_string(time.day) +
        " " + std::to_string(time.hour) + ":" + twoDigits(time.minute) + ":" + twoDigits(time.second);
}

std::string FileRunLog::formatLine(const LocalDateTime& time, const std::string& message)
{
    return "[" + timestamp(time) + "]    " + message;
}

bool FileRunLog::write(const std::string& message)
{
    owner_.check("FileRunLog::write");
    const LocalDateTime time = clock_.now();
    std::error_code error;
    std::filesystem::create_directories(folder(), error);
    if (error)
        return false;
    std::ofstream out(filePathFor(time), std::ios::binary | std::ios::app);
    if (!out)
        return false;
    // One entry, one line: a line break or a terminal control sequence in a
    // message (a value a peer sent, say) is written escaped, never raw.
    const std::string line = utf8ToGbk(formatLine(time, journalLine(message))) + "\r\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.close();
    return !out.fail();
}

}  // namespace vantorel::base
