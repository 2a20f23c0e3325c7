#pragma once

#include "direct_composition/picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantorel::direct_composition {

// Rectangles and points on the page, in twips (1/1440 inch), single precision.
struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

struct TextStyle {
    std::uint32_t colour = 0;  // 0x00BBGGRR
    std::string font;
    double pointSize = 0;
    bool bold = false;
};

// One drawing operation of a film page.
struct DrawOp {
    enum class Kind { Picture, Text };

    Kind kind = Kind::Picture;
    Picture picture;                                        // Kind::Picture: stretched to fill `rect`
    Magnification magnification = Magnification::Bilinear;  // how it is stretched
    RectF rect;  // Kind::Text: rect.x, rect.y is the top-left of the line
    std::string text;
    TextStyle style;
};

// The description of one film: what is drawn, in drawing order, relative to the
// page origin that the page setup placed; played onto a printer, a PDF file or a
// preview picture.
struct FilmPage {
    enum class Ending { Open, Ended, Aborted };

    std::string printer;  // the printer that was current when the page began
    float pageWidth = 0;  // the sheet, twips, as the surface reported it
    float pageHeight = 0;
    float originX = 0;  // the origin's offset from the printable area's corner
    float originY = 0;
    std::vector<DrawOp> ops;
    Ending ending = Ending::Open;
};

}  // namespace vantorel::direct_composition
