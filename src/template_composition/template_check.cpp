#include "template_composition/template_check.h"

#include <algorithm>
#include <cmath>

namespace vantorel::template_composition {

namespace {

std::string twips(float value)
{
    return std::to_string(static_cast<long>(std::lround(value)));
}

}  // namespace

std::optional<std::string> unusableTemplate(const std::vector<ReportControl>& controls,
                                            const ReportPageSettings& page, const std::vector<bool>& cells,
                                            bool rowColumn)
{
    if (controls.size() > maxTemplateControls)
        return std::to_string(controls.size()) + " controls, more than " +
            std::to_string(maxTemplateControls);
    const auto tooLarge = std::find_if(controls.begin(), controls.end(), [](const ReportControl& control) {
        return control.kind == ReportControl::Kind::Label && !(control.fontSize <= maxLabelFontPoints);
    });
    if (tooLarge != controls.end())
        return "label " + tooLarge->name + " larger than " +
            std::to_string(static_cast<int>(maxLabelFontPoints)) + " pt";
    const float width = page.sheetWidth() - page.marginLeft - page.marginRight;
    const float height = page.sheetHeight() - page.marginTop - page.marginBottom;
    if (!(width > 0) || !(height > 0))
        return "page of " + twips(page.sheetWidth()) + " x " + twips(page.sheetHeight()) +
            " twips has no room inside its margins";
    const int lastSlot = rowColumn ? maxRowColumnSlots : maxFillSlots;
    for (std::size_t k = 1; k <= cells.size(); ++k) {
        if (!cells[k - 1])
            continue;
        const std::string name = "Image" + std::to_string(k);
        if (static_cast<int>(k) > lastSlot)
            return "no slot for image " + std::to_string(k) + " (at most " + std::to_string(lastSlot) + ")";
        const auto slot = std::find_if(controls.begin(), controls.end(), [&](const ReportControl& control) {
            return control.kind == ReportControl::Kind::Image && control.name == name;
        });
        if (slot == controls.end() || !slot->visible) {
            const auto slots =
                std::count_if(controls.begin(), controls.end(), [](const ReportControl& control) {
                    return control.kind == ReportControl::Kind::Image && control.visible &&
                        control.name.rfind("Image", 0) == 0;
                });
            return std::to_string(slots) + " image slots, no visible slot " + name + " for image " +
                std::to_string(k);
        }
        if (!(slot->width > 0) || !(slot->height > 0))
            return "slot " + name + " has no positive size";
        // Half a twip of rounding is allowed at the page's edges.
        if (slot->left < -0.5f || slot->top < -0.5f || slot->left + slot->width > width + 0.5f ||
            slot->top + slot->height > height + 0.5f)
            return "slot " + name + " lies outside the page";
    }
    return std::nullopt;
}

}  // namespace vantorel::template_composition
