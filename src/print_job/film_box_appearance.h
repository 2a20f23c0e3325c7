#pragma once

#include "direct_composition/film_frame.h"

#include <optional>
#include <string>
#include <vector>

class DcmItem;

namespace vantorel::print_job {

// What a film box asks of its film as a whole: the base and empty-cell greys,
// the trim, and the magnification of images whose image box asks for none.
struct FilmBoxAppearance {
    direct_composition::FilmAppearance film;
    std::optional<direct_composition::Magnification> magnification;
};

// Read from the film box: Border Density (2010,0100) and Empty Image Density
// (2010,0110) as BLACK, WHITE or hundredths of OD (the grey of that density on
// the printer's density scale, under the Illumination and Reflected Ambient
// Light of the film box or film session), Trim (2010,0140) YES or NO,
// Magnification Type (2010,0060); Smoothing Type (2010,0080) is taken but not
// applied. Values that cannot be applied are left at their defaults and said
// in `ignored`, one short phrase each. `filmSession` may be null.
FilmBoxAppearance filmBoxAppearanceOf(DcmItem& filmBox, DcmItem* filmSession,
                                      std::vector<std::string>& ignored);

}  // namespace vantorel::print_job
