#pragma once

#include "direct_composition/film_frame.h"
#include "direct_composition/picture.h"
#include "print_job/film_result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::print_job {

// One film as the template road receives it from the print job driver.
struct TemplateFilm {
    std::string ruid;             // SOP Instance UID of the film box
    std::string Rip;              // the sending device
    std::string FilmOrientation;  // (2010,0040) as sent
    std::string FilmSize;         // the film box's own Film Size ID
    std::int16_t FormatCols = 0;
    std::int16_t FormatRows = 0;
    std::string r_c;         // "ROW", "COL" or empty
    std::vector<int> lines;  // ROW/COL: every count, in order
    // Cell k (1-based) at index k - 1: its picture, rendered through the
    // FilmLut when the LUT option is on; empty for a cell without an image.
    std::vector<std::optional<direct_composition::Picture>> cells;
    // The printed width in millimetres that the image box of cell k asked for
    // (Requested Image Size), at index k - 1; 0 (or no entry): fitted.
    std::vector<double> requestedWidthsMm;
    // How the picture of cell k is scaled (Magnification Type), at index k - 1.
    std::vector<direct_composition::Magnification> magnifications;
    // Border and Empty Image Density and Trim of the film box.
    direct_composition::FilmAppearance appearance;
    // False for the second and later copies of a film (Number of Copies):
    // they are printed, but the film is saved and recorded only once.
    bool firstCopy = true;
};

// The template road (template selection, filling and printing), plugged into
// the print job driver by the template composition subsystem.
class TemplateComposition {
public:
    virtual ~TemplateComposition() = default;
    // `repmod` and the filling of every cell with an image.
    virtual void composeFilm(const TemplateFilm& film) = 0;
    // Prints the composed film; called after the film is counted. Says
    // whether the film reached its printer and, when not, why.
    virtual FilmResult PrintReport() = 0;
};

}  // namespace vantorel::print_job
