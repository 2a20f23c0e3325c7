#pragma once

#include "direct_composition/film_page.h"

namespace vantorel::template_composition {

class AcReport;

// Twips per picture pixel for pictures shown at their own size (96 dpi).
inline constexpr float twipsPerPicturePixel = 15.0f;

// Lays the report out as one film page: the sheet of its page settings, the
// origin at the top-left margin, and every visible control in layout order,
// pictures fitted to their slots by the slot's size mode and alignment. Played
// onto a painter whose (0, 0) is the sheet's top-left corner.
direct_composition::FilmPage layoutReportPage(const AcReport& report);

// True when nothing on the page has colour: grey pictures, grey fills and text.
bool isGrayPage(const direct_composition::FilmPage& page);

}  // namespace vantorel::template_composition
