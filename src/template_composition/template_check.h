#pragma once

#include "template_composition/report_layout.h"

#include <optional>
#include <string>
#include <vector>

namespace vantorel::template_composition {

// The most controls a usable template holds: a film layout has a few dozen;
// thousands only make rendering slow while every association waits.
inline constexpr std::size_t maxTemplateControls = 2000;
// The largest label font a template may ask for, in points.
inline constexpr double maxLabelFontPoints = 500;

// Why a loaded template cannot print this film without dropping an image;
// nothing when it can. `cells` has one entry per image box, true where the
// image box holds an image; `rowColumn` for ROW and COL films (which fill at
// most maxRowColumnSlots slots). Every cell with an image needs a visible
// image slot "Image<k>" of positive size inside the printable page; the page
// must have room inside its margins; the layout holds at most
// maxTemplateControls controls and no label larger than maxLabelFontPoints.
[[nodiscard]] std::optional<std::string> unusableTemplate(const std::vector<ReportControl>& controls,
                                                          const ReportPageSettings& page,
                                                          const std::vector<bool>& cells, bool rowColumn);

}  // namespace vantorel::template_composition
