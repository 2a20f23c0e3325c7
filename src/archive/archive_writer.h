#pragma once

#include "archive/film_record_store.h"
#include "base/fwd.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace vantorel::archive {

// One archive row as the film left the printer: its time ("yyyy-mm-dd
// hh:mm:ss") and FilmPath (folder + "/" + file name).
struct FilmRow {
    std::string prtdate;
    std::string filmPath;
};

// Writes one row into the archive table, on the calling thread; a Failure
// with the database's words.
class FilmRowWriter {
public:
    virtual ~FilmRowWriter() = default;
    virtual base::Result<void> writeRow(const FilmRow& row) = 0;
};

// The archive rows of the printed films, written by a thread of their own so
// that a slow or silent database never holds a modality: SaveFilmDB only
// queues the row (with the film's time) and returns at once. The worker
// writes the rows in film order. A row that cannot be written goes to the
// spool file (one line a row, appended and synced), and so does every row
// after it while the spool holds any; the spool is written to the database
// when it answers again, tried after 1, 2, 4 ... up to 60 seconds. A spool
// left by an earlier run is written the same way, so no printed film is left
// out of the archive.
class ArchiveWriter final : public FilmRecordStore {
public:
    struct Options {
        std::string spoolPath;  // <home>/LOG/archive-spool
        std::chrono::milliseconds firstRetry{1000};
        std::chrono::milliseconds longestRetry{60000};
    };
    // Called on the writer's thread: a line for the run log, and the number
    // of rows waiting whenever it changes. Hand them to the main thread.
    struct Reports {
        std::function<void(const std::string&)> log;
        std::function<void(std::size_t)> waitingChanged;
    };

    ArchiveWriter(FilmRowWriter& database, const base::Clock& clock, Options options, Reports reports);

    // Starts the worker (once the database's settings are loaded): a spool
    // left by an earlier run is written first. Rows saved before are queued.
    void start();
    ~ArchiveWriter() override;
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    // Queues the row of `pathstr` + "/" + `fil`, stamped now; never a
    // Failure: whatever becomes of the row is the writer's to report.
    base::Result<void> SaveFilmDB(const std::string& pathstr, const std::string& fil) override;

    // Rows queued or spooled, not yet in the database.
    std::size_t waiting() const;

    // Ends the worker once the row being written is done; rows still queued
    // go to the spool, for the next run.
    void stop();

    // The spool's text form of a row, and back (nothing when the line is not one).
    static std::string spoolLine(const FilmRow& row);
    [[nodiscard]] static bool parseSpoolLine(const std::string& line, FilmRow& row);

private:
    void run();
    [[nodiscard]] bool writeSpool(std::unique_lock<std::mutex>& lock);
    base::Result<void> appendToSpool(const FilmRow& row);
    void report(std::size_t waiting);

    FilmRowWriter& database_;
    const base::Clock& clock_;
    Options options_;
    Reports reports_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<FilmRow> queue_;
    std::size_t spooled_ = 0;  // rows in the spool file
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace vantorel::archive
