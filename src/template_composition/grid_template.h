#pragma once

#include "template_composition/report_layout.h"

#include <optional>
#include <string>
#include <utility>

namespace vantorel::template_composition {

// A grid template: slots laid out like the film's display format on paper of
// the given size (twips, as it stands in portrait), inside the margins, with a
// gap between slots and, when asked, a black base under them.
struct GridTemplateOptions {
    int orientation = 1;  // 1 portrait, 2 landscape
    std::string r_c;      // "", "ROW" or "COL"
    int cols = 1;         // STANDARD: columns; ROW/COL: images of row/column 1
    int rows = 1;         // STANDARD: rows; ROW/COL: images of row/column 2
    float paperWidth = 0;
    float paperHeight = 0;
    float margin = 360;
    float gap = 60;
    bool blackBase = true;
};

// The paper of a route's paper code in twips (width, height in portrait):
// "1417", "1414", "1114", "1012", "1014", "810", "A3", "A4", "B5".
[[nodiscard]] std::optional<std::pair<float, float>> paperSizeOf(const std::string& paperCode);

// "STANDARD\c,r", "ROW\a,b" or "COL\a,b" (counts 1 to 99) into the
// options' r_c, cols and rows; false for anything else.
[[nodiscard]] bool parseDisplayFormat(const std::string& text, GridTemplateOptions& options);

// The file name the template chooser looks for with these options on that
// paper code ("1417-23.rpx", "LROWA4-12.rpx").
std::string gridTemplateFileName(const GridTemplateOptions& options, const std::string& paperCode);

// Slots "Image1" ... in cell order (STANDARD row by row; ROW row 1 then row 2;
// COL column 1 then column 2), each zooming its picture to the centre.
ReportLayout gridTemplate(const GridTemplateOptions& options);

}  // namespace vantorel::template_composition
