#pragma once

#include "direct_composition/pdf/film_pdf_writer.h"

namespace vantorel::direct_composition {

// The page's text operations drawn by Qt's PDF engine, as the page painter
// draws them (fonts embedded, so the text stays text), taken apart into
// objects numbered from `firstObject` whose Form XObject covers the sheet
// exactly. False when Qt's PDF could not be made or read. Main thread only
// (fonts).
bool drawFilmTextOverlay(const FilmPage& page, const PdfSheet& sheet, int firstObject,
                         PdfOverlay& overlay);

}  // namespace vantorel::direct_composition
