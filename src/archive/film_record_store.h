#pragma once

#include <string>

namespace vantorel::archive {

// The film archive table: one row per exported film image.
class FilmRecordStore {
public:
    virtual ~FilmRecordStore() = default;
    // `SaveFilmDB`: records the film image `fil` in folder `pathstr` (no
    // trailing separator) with the current local time. False when no row was
    // written; `error` then holds the database's message.
    virtual bool SaveFilmDB(const std::string& pathstr, const std::string& fil, std::string& error) = 0;
};

}  // namespace vantorel::archive
