#pragma once

#include "direct_composition/picture.h"

#include <array>
#include <cstdint>

namespace vantorel::print_job {

// The 45-entry output table that films are rendered through when the LUT
// option is on: entry n = 256 x base[n], from 0 up to 65280.
using FilmLutTable = std::array<std::int32_t, 45>;
const FilmLutTable& filmLut();

// A picture rendered through the table: every 8-bit level (each channel of an
// RGB picture) is placed on the table's 45 points spread evenly over 0 ... 255
// and mapped linearly between the two nearest entries, scaled back to 8 bits.
direct_composition::Picture applyFilmLut(const direct_composition::Picture& picture,
                                         const FilmLutTable& lut = filmLut());

}  // namespace vantorel::print_job
