#include "template_composition/report_filling.h"

#include "template_composition/ac_report.h"

#include <string>

namespace vantorel::template_composition {

namespace {

// Steps shared by both fills; the slot filled, or nullptr when none was.
ReportControl* fillSlot(AcReport& report, const direct_composition::Picture& picture, int cell,
                        int lastSlot)
{
    if (cell < 1 || cell > lastSlot)
        return nullptr;
    ReportControl* slot = report.slot("Image" + std::to_string(cell));
    if (slot == nullptr || slot->kind != ReportControl::Kind::Image)
        return nullptr;
    if (picture.isNull() || !slot->visible)
        return nullptr;  // the slot keeps whatever it shows
    slot->picture = picture;
    return slot;
}

}  // namespace

void FillReport(AcReport& report, const direct_composition::Picture& picture, int cell)
{
    ReportControl* slot = fillSlot(report, picture, cell, maxFillSlots);
    if (slot == nullptr || cell == 1)
        return;
    if (const ReportControl* first = report.slot("Image1")) {
        slot->sizeMode = first->sizeMode;
        slot->pictureAlignment = first->pictureAlignment;
    }
}

void FillReport_RC(AcReport& report, const direct_composition::Picture& picture, int cell)
{
    fillSlot(report, picture, cell, maxRowColumnSlots);
}

void fillFilmCells(AcReport& report, const std::vector<std::optional<direct_composition::Picture>>& cells,
                   bool rowColumn)
{
    for (std::size_t k = 1; k <= cells.size(); ++k) {
        const auto& picture = cells[k - 1];
        if (!picture)
            continue;  // a cell without an image is not filled
        if (rowColumn)
            FillReport_RC(report, *picture, static_cast<int>(k));
        else
            FillReport(report, *picture, static_cast<int>(k));
    }
}

}  // namespace vantorel::template_composition
