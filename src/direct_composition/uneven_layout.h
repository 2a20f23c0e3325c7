#pragma once

#include "direct_composition/film_frame.h"

#include <cstdint>
#include <string>

namespace vantorel::direct_composition {

// `PrintImgtoPrinter_rc`: composes one film of a ROW\a,b or COL\a,b display
// format (`rc` "ROW" or "COL", `grid` a and b: two rows or two columns holding
// a and b images) in `area`, which comes back reduced by the bottom
// adjustment; its corner is not used. Only (a, b) of
// (1, 2), (2, 1), (2, 3), (3, 2) are composed; any other pair is aborted
// after the count check, with a log line. Each image goes to the cell of its
// own image box; empty cells stay empty. Cell sizes and positions are whole
// twips.
ComposedFilm PrintImgtoPrinter_rc(const CompositionContext& context, PrinterSurface& surface,
                                  const FilmImages& images, RectF area, FilmGrid grid,
                                  const std::string& rc);

}  // namespace vantorel::direct_composition
