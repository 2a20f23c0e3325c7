#include "template_composition/grid_template.h"

#include "template_composition/template_chooser.h"

#include <map>
#include <regex>

namespace vantorel::template_composition {

namespace {

constexpr float twipsPerInch = 1440.0f;
constexpr float twipsPerMillimetre = 1440.0f / 25.4f;

void addSlot(ReportLayout& layout, int number, float left, float top, float width, float height)
{
    ReportControl slot;
    slot.name = "Image" + std::to_string(number);
    slot.left = left;
    slot.top = top;
    slot.width = width;
    slot.height = height;
    slot.sizeMode = SizeMode::Zoom;
    slot.pictureAlignment = PictureAlignment::Center;
    layout.controls.push_back(slot);
}

// `count` slots side by side (or stacked) across `length`.
void addStrip(ReportLayout& layout, int& number, int count, bool across, float left, float top, float width,
              float height, float gap)
{
    if (count <= 0)
        return;
    const float length = across ? width : height;
    const float cell = (length - gap * (count - 1)) / count;
    for (int i = 0; i < count; ++i) {
        const float offset = i * (cell + gap);
        if (across)
            addSlot(layout, number++, left + offset, top, cell, height);
        else
            addSlot(layout, number++, left, top + offset, width, cell);
    }
}

}  // namespace

std::optional<std::pair<float, float>> paperSizeOf(const std::string& paperCode)
{
    static const std::map<std::string, std::pair<float, float>> papers = {
        {"1417", {14 * twipsPerInch, 17 * twipsPerInch}},
        {"1414", {14 * twipsPerInch, 14 * twipsPerInch}},
        {"1114", {11 * twipsPerInch, 14 * twipsPerInch}},
        {"1012", {10 * twipsPerInch, 12 * twipsPerInch}},
        {"1014", {10 * twipsPerInch, 14 * twipsPerInch}},
        {"810", {8 * twipsPerInch, 10 * twipsPerInch}},
        {"A3", {297 * twipsPerMillimetre, 420 * twipsPerMillimetre}},
        {"A4", {210 * twipsPerMillimetre, 297 * twipsPerMillimetre}},
        {"B5", {176 * twipsPerMillimetre, 250 * twipsPerMillimetre}},
    };
    const auto found = papers.find(paperCode);
    if (found == papers.end())
        return std::nullopt;
    return found->second;
}

bool parseDisplayFormat(const std::string& text, GridTemplateOptions& options)
{
    static const std::regex form(R"((STANDARD|ROW|COL)\\(\d{1,2}),(\d{1,2}))");
    std::smatch match;
    if (!std::regex_match(text, match, form))
        return false;
    const int cols = std::stoi(match[2]), rows = std::stoi(match[3]);
    if (cols <= 0 || rows <= 0)
        return false;
    options.r_c = match[1] == "STANDARD" ? "" : match[1].str();
    options.cols = cols;
    options.rows = rows;
    return true;
}

std::string gridTemplateFileName(const GridTemplateOptions& options, const std::string& paperCode)
{
    const std::string path = TemplateChooser::templatePath(
        "", options.orientation == 2 ? "L" : "", options.r_c, paperCode,
        static_cast<std::int16_t>(options.cols), static_cast<std::int16_t>(options.rows));
    return path.substr(path.rfind('/') + 1);
}

ReportLayout gridTemplate(const GridTemplateOptions& o)
{
    ReportLayout layout;
    LayoutPageSettings& page = layout.page;
    page.orientation = o.orientation;
    page.paperWidth = o.paperWidth;
    page.paperHeight = o.paperHeight;
    page.marginLeft = page.marginTop = page.marginRight = page.marginBottom = o.margin;
    const bool landscape = o.orientation == 2;
    const float width = (landscape ? o.paperHeight : o.paperWidth) - 2 * o.margin;
    const float height = (landscape ? o.paperWidth : o.paperHeight) - 2 * o.margin;
    if (o.blackBase) {
        ReportControl base;
        base.kind = ReportControl::Kind::Shape;
        base.name = "Base";
        base.width = width;
        base.height = height;
        base.backFilled = true;
        base.backColor = 0;
        layout.controls.push_back(base);
    }
    int number = 1;
    if (o.r_c.empty()) {
        const float rowHeight = (height - o.gap * (o.rows - 1)) / o.rows;
        for (int row = 0; row < o.rows; ++row)
            addStrip(layout, number, o.cols, true, 0, row * (rowHeight + o.gap), width, rowHeight, o.gap);
    } else if (o.r_c == "ROW") {
        const float rowHeight = (height - o.gap) / 2;
        addStrip(layout, number, o.cols, true, 0, 0, width, rowHeight, o.gap);
        addStrip(layout, number, o.rows, true, 0, rowHeight + o.gap, width, rowHeight, o.gap);
    } else {
        const float columnWidth = (width - o.gap) / 2;
        addStrip(layout, number, o.cols, false, 0, 0, columnWidth, height, o.gap);
        addStrip(layout, number, o.rows, false, columnWidth + o.gap, 0, columnWidth, height, o.gap);
    }
    return layout;
}

}  // namespace vantorel::template_composition
