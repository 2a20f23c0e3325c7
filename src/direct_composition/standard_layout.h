#pragma once

#include "direct_composition/film_frame.h"

#include <cstdint>

namespace vantorel::direct_composition {

// `PrintImgtoPrinter`: composes one film of a STANDARD\c,r display format
// (`grid`) in `area` on one page and ends the document (or aborts it when the
// film has no image or more images than cells). Each image goes to the cell of
// its own image box; empty cells stay empty. The area comes back reduced by
// the bottom adjustment. More than six cells use square cells (non-square
// images padded by `Rsize`); up to six use the packed aspect layout.
ComposedFilm PrintImgtoPrinter(const CompositionContext& context, PrinterSurface& surface,
                               const FilmImages& images, RectF area, FilmGrid grid);

}  // namespace vantorel::direct_composition
