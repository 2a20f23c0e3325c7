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

}  // namespace vantorel::template_composition
