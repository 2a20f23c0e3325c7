#pragma once

#include "direct_composition/film_frame.h"

#include <cstdint>
#include <string>

namespace vantorel::direct_composition {

// `PrintImgtoPrinter_rc`: composes one film of a ROW\a,b or COL\a,b display
// format (two rows or two columns holding a and b images). Only (a, b) of
// (1, 2), (2, 1), (2, 3), (3, 2) are composed; any other pair is aborted
// after the count check, with a log line. Each image goes to the cell of its
// own image box; empty cells stay empty. Cell sizes and positions are whole
// twips.
FilmEnd PrintImgtoPrinter_rc(const CompositionContext& context, PrinterSurface& surface,
                          const FilmImages& View, float& X, float& Y, float& width,
                          float& height, std::int16_t& cols, std::int16_t& rows,
                          const std::string& rc);

}  // namespace vantorel::direct_composition
