#pragma once

#include "direct_composition/film_page.h"
#include "template_composition/report_layout.h"

#include <QImage>

namespace vantorel::template_composition {

// A square grey picture with the slot number `number` in large white digits.
direct_composition::Picture placeholderPicture(int number);

// The page a template lays out with a placeholder picture in each of its
// picture slots (Image1 ... Image42), as a film through it would look.
direct_composition::FilmPage templatePreviewPage(const ReportLayout& layout);

// That page as a picture `widthPixels` wide, white paper.
QImage renderTemplatePreview(const ReportLayout& layout, int widthPixels);

}  // namespace vantorel::template_composition
