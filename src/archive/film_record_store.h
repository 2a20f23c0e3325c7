#pragma once

#include "base/result.h"

#include <string>

namespace vantorel::archive {

// The film archive table: one row per exported film image.
class FilmRecordStore {
public:
    virtual ~FilmRecordStore() = default;
    // `SaveFilmDB`: records the film image `fil` in folder `pathstr` (no
    // trailing separator) with the current local time. A Failure with the
    // database's message when no row was written.
    virtual base::Result<void> SaveFilmDB(const std::string& pathstr, const std::string& fil) = 0;
};

}  // namespace vantorel::archive
