#pragma once

#include "base/result.h"
#include "direct_composition/film_page.h"
#include "template_composition/report_layout.h"

#include <QImage>

#include <string>

#include "base/clock.h"

namespace vantorel::template_composition {

// The size of every exported film image, whatever the film's orientation.
inline constexpr int exportWidthPixels = 2400;
inline constexpr int exportHeightPixels = 3200;

// Where an exported film went: its folder (no trailing separator) and name.
struct ExportedFilm {
    std::string folder;
    std::string file;
};

// The film page as the exported picture: the page inside its margins, scaled
// alike in both directions to fit 2400 x 3200 and centred on white paper;
// 8-bit grey when nothing on the page has colour, RGB otherwise.
QImage renderExportImage(const direct_composition::FilmPage& page, const ReportPageSettings& settings);

// The page as the printer gets it when its picture has been rendered once:
// the same sheet with `image` (the page's export image) drawn over the part
// of the sheet it shows, so what is printed and what is saved are the same
// pixels.
direct_composition::FilmPage exportImagePage(const direct_composition::FilmPage& page,
                                             const ReportPageSettings& settings, const QImage& image);

// A film image written whole (every write checked, synced to disk) under a
// hidden temporary name in its day folder, not yet a film.
struct WrittenFilmImage {
    std::string folder;     // <root>/yyyy/MM/dd
    std::string stem;       // HHmmss
    std::string temporary;  // full path of the complete file
};

// Encodes the image as an uncompressed TIFF and writes it below
// <root>/yyyy/MM/dd (folders made level by level), created with the process
// umask applied to 0666 like every film file. A Failure when it fails: the
// partial file is removed, and the reason names the folder or file and the
// system's words (e.g. "No space left on device").
base::Result<WrittenFilmImage> writeFilmImageFile(const QImage& image, const std::string& root,
                                                  const base::LocalDateTime& now);

// Gives the written image the first free film name, HHmmss.tiff (then
// "HHmmss-1.tiff", "-2", ...), never replacing a film; the temporary name
// goes. A Failure when it fails (the temporary file is removed).
base::Result<ExportedFilm> nameFilmImage(const WrittenFilmImage& image);

// Removes a written image that is not to become a film.
void discardFilmImage(const WrittenFilmImage& image);

// Both steps: a crash or a full disk never leaves a truncated file under a
// film's name.
base::Result<ExportedFilm> exportFilmImage(const QImage& image, const std::string& root,
                                           const base::LocalDateTime& now);

// writeFilmImageFile with its own copies of the arguments, for a worker thread.
base::Result<WrittenFilmImage> writeFilmImage(QImage image, std::string root, base::LocalDateTime now);

}  // namespace vantorel::template_composition
