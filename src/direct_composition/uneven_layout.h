#pragma once

#include "direct_composition/film_frame.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantorel::direct_composition {

// "1,2,3": the counts of a ROW or COL format as written in it.
std::string countsText(const std::vector<int>& lines);

// `PrintImgtoPrinter_rc`: composes one film of a ROW\R1,R2,... or
// COL\C1,C2,... display format (`rc` "ROW" or "COL"; `grid.lines` the counts,
// or grid's two counts when empty: rows or columns of equal size, the i-th
// holding lines[i] images in cells of equal size) in `area`, which comes back
// reduced by the bottom adjustment; its corner is not used. A count below 1
// aborts the film after the count check, with a log line.
// Each image goes to the cell of its own image box; empty cells stay empty.
// Cell sizes and positions are whole twips.
ComposedFilm PrintImgtoPrinter_rc(const CompositionContext& context, PrinterSurface& surface,
                                  const FilmImages& images, RectF area, FilmGrid grid, const std::string& rc);

}  // namespace vantorel::direct_composition
