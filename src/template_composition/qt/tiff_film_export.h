#pragma once

#include "direct_composition/film_page.h"
#include "template_composition/report_layout.h"

#include <QImage>

#include <optional>
#include <string>

#include "console/clock.h"

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

// Writes the film as <root>/yyyy/MM/dd/HHmmss.tiff (folders made level by
// level; "HHmmss-1.tiff", "-2", ... when a film of the same second is there),
// uncompressed. The image is written under a temporary name and given its
// film name only when complete, so a crash or a full disk never leaves a
// truncated file under a film's name. Nothing when it fails; `error` then
// names the folder or file and the system's reason.
std::optional<ExportedFilm> exportFilmImage(const QImage& image, const std::string& root,
                                            const console::LocalDateTime& now, std::string& error);

// The film's image rendered and written: where it went, or why not.
struct FilmImageOutcome {
    std::optional<ExportedFilm> film;
    std::string error;
};
FilmImageOutcome writeFilmImage(direct_composition::FilmPage page, ReportPageSettings settings,
                                std::string root, console::LocalDateTime now);

}  // namespace vantorel::template_composition
