#pragma once

#include "archive/archive_writer.h"
#include "archive/film_record_store.h"
#include "base/fwd.h"

#include <atomic>
#include <string>

namespace vantorel::archive {

// Seconds to wait for the database server to answer a connection, and for
// each statement: a hung server delays one film by this much, never the whole
// service for hours.
inline constexpr int connectTimeoutSeconds = 5;
inline constexpr int statementTimeoutSeconds = 10;

// The film record store in table DBPRT through Qt's QODBC driver: a new
// connection for every film, the row inserted with FilmPath = folder + "/" +
// file name and prtdate "yyyy-mm-dd hh:mm:ss"; id is the database's.
//
// As a FilmRowWriter it writes a row stamped earlier (the archive writer's
// thread uses it; each call opens its own connection on the calling thread).
class OdbcFilmRecordStore final : public FilmRecordStore, public FilmRowWriter {
public:
    // `connectString` is read at every film (it is set at start-up).
    OdbcFilmRecordStore(const std::string& connectString, const base::Clock& clock);

    base::Result<void> SaveFilmDB(const std::string& pathstr, const std::string& fil) override;
    base::Result<void> writeRow(const FilmRow& row) override;

    // The id the database gave the last row written (0 when none).
    long long lastId() const { return lastId_.load(); }

private:
    const std::string& connectString_;
    const base::Clock& clock_;
    std::atomic<long long> lastId_{0};
};

}  // namespace vantorel::archive
