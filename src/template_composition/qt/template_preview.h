#pragma once

#include "direct_composition/film_page.h"
#include "template_composition/report_layout.h"

#include <QImage>

#include <optional>
#include <string>

namespace vantorel::template_composition {

// A square grey picture with the slot number `number` in large white digits.
direct_composition::Picture placeholderPicture(int number);

// Whether a template file is a ROW or COL template, by the name the server
// looks it up by ("LROW1417-23.rpx"): those films are filled by their own rule.
bool rowColumnTemplateName(const std::string& path);

// Why the server would not print a film through the template when every one
// of its image slots (up to its last) holds a picture; nothing when it would.
[[nodiscard]] std::optional<std::string> templatePreviewProblem(const ReportLayout& layout,
                                                                bool rowColumn = false);

// The page a template lays out for a film of as many images as it has image
// slots, each a numbered placeholder, filled by the template road's own code:
// what a film through it prints.
direct_composition::FilmPage templatePreviewPage(const ReportLayout& layout, bool rowColumn = false);

// That page as a picture `widthPixels` wide, white paper.
QImage renderTemplatePreview(const ReportLayout& layout, int widthPixels, bool rowColumn = false);

}  // namespace vantorel::template_composition
