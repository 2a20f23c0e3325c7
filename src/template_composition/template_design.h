#pragma once

#include "base/result.h"
#include "template_composition/grid_template.h"
#include "template_composition/report_layout.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::template_composition {

inline constexpr float twipsPerMm = 1440.0f / 25.4f;

// The paper codes a designed template can be named for: the shipped papers,
// then the routing table's custom papers, whose size the designer gives.
const std::vector<std::string>& designPaperCodes();
bool isCustomPaper(const std::string& paperCode);

// What the designer's administrator asks for: a paper code and, for a custom
// paper, its size; the grid options of `vantorel-template new`.
struct DesignRequest {
    std::string paperCode = "1417";
    float customWidthMm = 0;  // custom papers only, as the paper stands in portrait
    float customHeightMm = 0;
    GridTemplateOptions grid;  // paper size filled in from the code
};

// A template being designed: its layout, the page it is on, and the file name
// the template chooser looks up for it. Positions are twips from the top-left
// margin, as in the layout; moves and sizes snap to a 1 mm grid from there,
// and every control stays on the sheet.
class TemplateDesign {
public:
    // A new grid laid out as `vantorel-template new` lays it out; a Failure
    // for an unknown paper, a custom paper without a size or counts out of
    // range.
    static base::Result<TemplateDesign> newGrid(const DesignRequest& request);
    // A loaded layout under its file name; a page the file leaves out is the
    // paper of its name's code (1417 when the name has none).
    static TemplateDesign fromLayout(ReportLayout layout, const std::string& fileName);

    const ReportLayout& layout() const { return layout_; }
    const std::string& fileName() const { return fileName_; }
    ReportPageSettings page() const;

    std::size_t count() const { return layout_.controls.size(); }
    const ReportControl& control(std::size_t index) const { return layout_.controls.at(index); }
    // A picture slot the film fills: an image named Image1 ... Image42.
    bool isSlot(std::size_t index) const;

    // The topmost visible control at the point, the black base aside; lines
    // take a 1 mm band.
    std::optional<std::size_t> controlAt(float x, float y) const;

    // Moves the control's top-left corner (a line's first end) there, snapped.
    void moveTo(std::size_t index, float left, float top);
    // Moves by whole millimetres, as the arrow keys do.
    void nudge(std::size_t index, int rightMm, int downMm);
    // Sets the size, its right and bottom edges snapped; at least 2 mm. A
    // line keeps its direction and takes the length along it.
    void resizeTo(std::size_t index, float width, float height);

    // New controls go on top, under free names ("Label1", "Line1", "Picture1").
    std::size_t addLabel(const std::string& text, const std::string& fontName, double fontSize, bool bold);
    std::size_t addLine(bool horizontal);
    std::size_t addPicture(const direct_composition::Picture& picture);
    void remove(std::size_t index);

    void setSizeMode(std::size_t index, SizeMode mode);
    void setAlignment(std::size_t index, PictureAlignment alignment);
    void setLabel(std::size_t index, const std::string& text, const std::string& fontName, double fontSize,
                  bool bold);

private:
    TemplateDesign(ReportLayout layout, std::string fileName);
    std::string freeName(const std::string& stem) const;
    std::size_t add(ReportControl control);
    void syncLineBox(ReportControl& line) const;
    // White on a template with a black base, black otherwise.
    std::uint32_t inkColour() const;

    ReportLayout layout_;
    std::string fileName_;
};

// Replaces `path` with `bytes` through a temporary file beside it, synced to
// disk and renamed over it, so that a failed write never leaves half a
// template under the name; a Failure with the system's reason.
base::Result<void> writeTemplateFile(const std::string& path, const std::string& bytes);

}  // namespace vantorel::template_composition
