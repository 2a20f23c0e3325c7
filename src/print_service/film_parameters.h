#pragma once

#include <cstdint>
#include <string>

namespace vantorel::print_service {

// The service-wide film parameters: overwritten at every film box N-CREATE on
// any association and kept for the log lines. Printing a film box uses the
// film box's own FilmBoxFormat instead (see print_object.h).
struct FilmParameters {
    std::string FilmSize;  // Film Size ID of the latest film box, as sent
    std::int16_t FormatCols = 0;
    std::int16_t FormatRows = 0;
    std::string r_c;  // "ROW", "COL" or empty
};

}  // namespace vantorel::print_service
