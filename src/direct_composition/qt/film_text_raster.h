#pragma once

#include "direct_composition/pdf/film_pdf_writer.h"

namespace vantorel::direct_composition {

// One text operation drawn as a picture of its ink at `dotsPerInch`, just as
// the page painter places it (its top-left at the operation's point, the font
// size in points, bold as asked): the coverage picture and the rectangle, in
// twips, that it fills. Main thread only (fonts).
RasterText rasteriseFilmText(const DrawOp& op, int dotsPerInch = 600);

}  // namespace vantorel::direct_composition
