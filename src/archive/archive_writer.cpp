#include "archive/archive_writer.h"

#include "base/clock.h"
#include "base/file_writing.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace vantorel::archive {

namespace {

std::string prtdateOf(const base::LocalDateTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

std::string systemError()
{
    return std::strerror(errno);
}

[[nodiscard]] bool writeAll(int fd, const std::string& text, std::string& error)
{
    return base::writeAll(fd, text.data(), text.size(), error);
}

// Replaces `path` with `text` through a synced temporary file; an empty text
// removes it. A Failure with the system's reason.
base::Result<void> replaceFile(const std::string& path, const std::string& text)
{
    if (text.empty()) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            return base::Failure{systemError()};
        return {};
    }
    const std::string temporary = path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return base::Failure{systemError()};
    std::string error;
    const bool written = writeAll(fd, text, error) && (::fsync(fd) == 0 || (error = systemError(), false));
    if (::close(fd) != 0 && written) {
        base::Failure failure{systemError()};
        ::unlink(temporary.c_str());
        return failure;
    }
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        if (written)
            error = systemError();
        ::unlink(temporary.c_str());
        return base::Failure{error};
    }
    return {};
}

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

}  // namespace

std::string ArchiveWriter::spoolLine(const FilmRow& row)
{
    // prtdate, a tab, the path with "\", tab and line breaks escaped.
    std::string line = row.prtdate + "\t";
    for (char c : row.filmPath) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
    return line;
}

bool ArchiveWriter::parseSpoolLine(const std::string& line, FilmRow& row)
{
    const std::size_t tab = line.find('\t');
    if (tab != 19)  // "yyyy-mm-dd hh:mm:ss"
        return false;
    row.prtdate = line.substr(0, tab);
    row.filmPath.clear();
    for (std::size_t i = tab + 1; i < line.size(); ++i) {
        if (line[i] != '\\') {
            if (line[i] == '\t' || line[i] == '\r')
                return false;
            row.filmPath += line[i];
            continue;
        }
        if (++i == line.size())
            return false;
        switch (line[i]) {
        case '\\':
            row.filmPath += '\\';
            break;
        case 't':
            row.filmPath += '\t';
            break;
        case 'n':
            row.filmPath += '\n';
            break;
        case 'r':
            row.filmPath += '\r';
            break;
        default:
            return false;
        }
    }
    return !row.filmPath.empty();
}

ArchiveWriter::ArchiveWriter(FilmRowWriter& database, const base::Clock& clock, Options options,
                             Reports reports)
    : database_(database), clock_(clock), options_(std::move(options)), reports_(std::move(reports))
{
    std::error_code ignored;  // an unwritable folder shows at the first spooled row
    std::filesystem::create_directories(std::filesystem::path(options_.spoolPath).parent_path(), ignored);
}

void ArchiveWriter::start()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (worker_.joinable() || stopping_)
        return;
    spooled_ = readLines(options_.spoolPath).size();
    worker_ = std::thread([this] { run(); });
}

ArchiveWriter::~ArchiveWriter()
{
    stop();
}

void ArchiveWriter::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
        return;
    }
    // Never started: what was queued is kept for the next run all the same.
    for (const FilmRow& row : queue_) {
        const base::Result<void> kept = appendToSpool(row);
        if (!kept && reports_.log)
            reports_.log("film " + row.filmPath + " not recorded in the archive: the spool " +
                         options_.spoolPath + " cannot be written: " + kept.reason());
    }
    queue_.clear();
}

base::Result<void> ArchiveWriter::SaveFilmDB(const std::string& pathstr, const std::string& fil)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back({prtdateOf(clock_.now()), pathstr + "/" + fil});
    }
    wake_.notify_all();
    return {};
}

std::size_t ArchiveWriter::waiting() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size() + spooled_;
}

void ArchiveWriter::report(std::size_t waiting)
{
    if (reports_.waitingChanged)
        reports_.waitingChanged(waiting);
}

base::Result<void> ArchiveWriter::appendToSpool(const FilmRow& row)
{
    const int fd = ::open(options_.spoolPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0)
        return base::Failure{systemError()};
    std::string error;
    bool kept = writeAll(fd, spoolLine(row) + "\n", error);
    if (kept && ::fsync(fd) != 0) {
        error = systemError();
        kept = false;
    }
    if (::close(fd) != 0 && kept) {
        error = systemError();
        kept = false;
    }
    if (!kept)
        return base::Failure{error};
    return {};
}

// Writes the spooled rows in order until the database refuses one; the rest
// stay in the spool. Called with `lock` held; the database and the files
// are used without it. True when the spool is empty.
bool ArchiveWriter::writeSpool(std::unique_lock<std::mutex>& lock)
{
    lock.unlock();
    const std::vector<std::string> lines = readLines(options_.spoolPath);
    std::size_t next = 0;
    std::size_t written = 0;
    for (; next < lines.size(); ++next) {
        FilmRow row;
        if (!parseSpoolLine(lines[next], row)) {
            if (reports_.log)
                reports_.log("archive spool: line dropped, not a row: " + lines[next]);
            continue;
        }
        if (!database_.writeRow(row))
            break;  // the rest waits; the worker said why when the row was spooled
        ++written;
    }
    std::string rest;
    for (std::size_t i = next; i < lines.size(); ++i)
        rest += lines[i] + "\n";
    const base::Result<void> replaced = replaceFile(options_.spoolPath, rest);
    if (!replaced && reports_.log)
        // The rows written stay in the spool and would be written twice:
        // said, as the rows are in the database already.
        reports_.log("archive spool " + options_.spoolPath + " not updated: " + replaced.reason());
    if (written > 0 && reports_.log)
        reports_.log("archive: " + std::to_string(written) + " waiting rows recorded");
    lock.lock();
    spooled_ = replaced ? lines.size() - next : lines.size();
    return spooled_ == 0;
}

void ArchiveWriter::run()
{
    using Clock = std::chrono::steady_clock;
    std::chrono::milliseconds backOff = options_.firstRetry;
    Clock::time_point nextTry = Clock::now();
    std::string lastFailure;
    std::unique_lock<std::mutex> lock(mutex_);
    report(queue_.size() + spooled_);
    while (!stopping_) {
        if (spooled_ > 0 && Clock::now() >= nextTry) {
            if (writeSpool(lock)) {
                backOff = options_.firstRetry;
                lastFailure.clear();
            } else {
                nextTry = Clock::now() + backOff;
                backOff = std::min(backOff * 2, options_.longestRetry);
            }
            report(queue_.size() + spooled_);
            continue;
        }
        if (queue_.empty()) {
            if (spooled_ > 0)
                wake_.wait_until(lock, nextTry);
            else
                wake_.wait(lock);
            continue;
        }
        const FilmRow row = queue_.front();
        lock.unlock();
        std::string error;
        // Behind rows already waiting, a row waits too: the archive keeps film order.
        bool written = false;
        bool spooled = false;
        if (spooled_ == 0) {
            const base::Result<void> result = database_.writeRow(row);
            written = result.ok();
            error = result.reason();
        }
        if (!written) {
            const base::Result<void> kept = appendToSpool(row);
            spooled = kept.ok();
            const std::string& spoolError = kept.reason();
            if (reports_.log && error != lastFailure && !error.empty())
                reports_.log("film " + row.filmPath + " not yet recorded in the archive: " + error +
                             "; the row waits in " + options_.spoolPath);
            if (!error.empty())
                lastFailure = error;
            if (!spooled && reports_.log)
                reports_.log("film " + row.filmPath + " not recorded in the archive: " + error +
                             (error.empty() ? "" : "; ") + "the spool " + options_.spoolPath +
                             " cannot be written: " + spoolError);
        }
        lock.lock();
        queue_.pop_front();
        if (spooled) {
            if (spooled_++ == 0)
                nextTry = Clock::now() + backOff;
        }
        report(queue_.size() + spooled_);
    }
    // Rows not written yet are kept for the next run.
    const std::deque<FilmRow> left = std::move(queue_);
    queue_.clear();
    lock.unlock();
    for (const FilmRow& row : left) {
        const base::Result<void> kept = appendToSpool(row);
        if (!kept && reports_.log)
            reports_.log("film " + row.filmPath + " not recorded in the archive: the spool " +
                         options_.spoolPath + " cannot be written: " + kept.reason());
    }
}

}  // namespace vantorel::archive
