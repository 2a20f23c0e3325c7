#pragma once

#include "direct_composition/picture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::template_composition {

// How a picture fits its slot. The numbers are those of the layout files.
enum class SizeMode { Clip = 0, Stretch = 1, Zoom = 2 };
enum class PictureAlignment { TopLeft = 0, TopRight = 1, Center = 2, BottomLeft = 3, BottomRight = 4 };

// The report's page: orientation 1 (portrait) or 2 (landscape), the paper as
// it stands in portrait (landscape swaps the two), and the margins; twips.
struct ReportPageSettings {
    int orientation = 1;
    float paperWidth = 0;
    float paperHeight = 0;
    float marginLeft = 0;
    float marginTop = 0;
    float marginRight = 0;
    float marginBottom = 0;

    float sheetWidth() const { return orientation == 2 ? paperHeight : paperWidth; }
    float sheetHeight() const { return orientation == 2 ? paperWidth : paperHeight; }
};

// The page settings a layout file states; what it leaves out keeps the
// report's current value.
struct LayoutPageSettings {
    std::optional<int> orientation;
    std::optional<float> paperWidth;
    std::optional<float> paperHeight;
    std::optional<float> marginLeft;
    std::optional<float> marginTop;
    std::optional<float> marginRight;
    std::optional<float> marginBottom;
};

// An XML element of a layout file that the server does not read (another
// section, a style sheet, a script, a control of another type, a child of a
// control), kept as it was so that a designer can load and save the file
// without losing it. An element without a name is character data.
struct KeptElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;
    std::vector<KeptElement> children;
};

using KeptAttributes = std::vector<std::pair<std::string, std::string>>;

// One control of the detail section. Positions are twips from the top-left
// corner inside the margins.
struct ReportControl {
    enum class Kind { Image, Label, Line, Shape };

    Kind kind = Kind::Image;
    std::string name;
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool visible = true;

    // Image: the two picture-fit settings and the picture shown.
    SizeMode sizeMode = SizeMode::Clip;
    PictureAlignment pictureAlignment = PictureAlignment::TopLeft;
    direct_composition::Picture picture;
    // The printed width its image box asked for (Requested Image Size), in
    // twips: the picture is drawn that wide, centred in the slot. 0: fitted.
    float requestedWidth = 0;
    // How the picture is scaled (Magnification Type of its image or film
    // box); None prints it at one pixel per printer dot, centred and cropped.
    direct_composition::Magnification magnification = direct_composition::Magnification::Bilinear;
    // The film box's Trim: the grey of a thin line around the picture.
    std::optional<std::uint8_t> trimGrey;
    // The film box's Empty Image Density, for a slot whose cell has no image.
    std::optional<std::uint8_t> emptyGrey;

    // Label: text in one line, font and colour (0x00BBGGRR).
    std::string text;
    std::string fontName = "Arial";
    double fontSize = 10;
    bool bold = false;
    std::uint32_t foreColor = 0;
    // Label and Shape: filled background when backFilled.
    bool backFilled = false;
    std::uint32_t backColor = 0xFFFFFF;

    // Line: from (x1, y1) to (x2, y2), weight in twips.
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float lineWeight = 15;
    std::uint32_t lineColor = 0;

    // What the file said of the control that is not read above: other
    // attributes, child elements, and for labels the other style entries
    // ("text-align: center"); written back as they came.
    KeptAttributes keptAttributes;
    std::vector<KeptElement> keptChildren;
    std::string keptStyle;
};

// The rest of a layout file around the page settings and the detail
// section's controls, in file order, so that it is written back in place.
struct KeptLayout {
    KeptAttributes rootAttributes;  // of ActiveReportsLayout, but Version
    KeptAttributes pageAttributes;  // of PageSettings, not read
    std::vector<KeptElement> pageChildren;
    // Elements of the root before PageSettings, between PageSettings and
    // Sections, and after Sections.
    std::vector<KeptElement> beforePage, beforeSections, afterSections;
    KeptAttributes sectionsAttributes;
    // Sections before and after the Detail section.
    std::vector<KeptElement> beforeDetail, afterDetail;
    KeptAttributes detailAttributes;  // but Type and Name
    std::string detailName = "Detail";
    // Other elements among the detail's controls: each stands before the
    // control of that index (the number of controls: after the last).
    std::vector<std::pair<std::size_t, KeptElement>> detailElements;
};

// A template: its page settings and the controls of its detail section, in
// drawing order.
struct ReportLayout {
    LayoutPageSettings page;
    std::vector<ReportControl> controls;
    KeptLayout kept;
};

// The layout the report has until a template loads: a banner slot "Imgyy"
// across the top, one large visible "Image1" below it, and small hidden
// "Image2" ... "Image42".
ReportLayout builtInLayout();

inline constexpr int maxFillSlots = 42;
inline constexpr int maxRowColumnSlots = 5;

}  // namespace vantorel::template_composition
