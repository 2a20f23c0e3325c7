#pragma once

#include "direct_composition/film_page.h"

#include <QImage>

class QPainter;

namespace vantorel::direct_composition {

// A picture as a QImage (copied row by row: QImage rows are 4-byte aligned).
QImage toQImage(const Picture& picture);
// A QImage as a picture (grey stays grey, everything else becomes RGB).
Picture fromQImage(const QImage& image);

// Plays the page onto a painter whose user space is twips with (0, 0) at the
// top-left of the printable area: moves to the page's origin, then draws every
// operation, pictures stretched into their rectangles. Pictures keep their full
// resolution; one smaller than its rectangle at the device's resolution is
// first enlarged as its magnification asks (up to 300 dpi): repeated pixels,
// bilinear (smooth filtering) or bicubic.
void paintFilmPage(QPainter& painter, const FilmPage& page);

// One text operation in the painter's user space of twips: its top-left at
// the operation's point, the font size in points, in its colour.
void paintFilmText(QPainter& painter, const DrawOp& op);

// The whole sheet as a picture `widthPixels` wide, white paper, for a preview.
QImage renderFilmPreview(const FilmPage& page, int widthPixels);

}  // namespace vantorel::direct_composition
