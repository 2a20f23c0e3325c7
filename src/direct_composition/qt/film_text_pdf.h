#pragma once

#include "direct_composition/pdf/film_pdf_writer.h"

namespace vantorel::direct_composition {

// The page's text operations drawn by Qt's PDF engine, as the page painter
// draws them (fonts embedded, so the text stays text), taken apart into
// objects numbered from `firstObject` whose Form XObject covers the sheet
// exactly. The last text drawn is kept: a film whose text is the same (the
// header of every film) reuses it instead of laying out and embedding the
// fonts again. Main thread only (fonts).
class FilmTextOverlay {
public:
    // False when Qt's PDF could not be made or read.
    [[nodiscard]] bool draw(const FilmPage& page, const PdfSheet& sheet, int firstObject,
                            PdfOverlay& overlay);

private:
    std::string key_;  // what the kept PDF shows
    std::string pdf_;
};

}  // namespace vantorel::direct_composition
