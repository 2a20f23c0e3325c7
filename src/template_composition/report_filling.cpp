#include "template_composition/report_filling.h"

#include "template_composition/ac_report.h"

#include <string>

namespace vantorel::template_composition {

namespace {

// Steps shared by both fills; the slot filled, or nullptr when none was.
ReportControl* fillSlot(AcReport& report, const direct_composition::Picture& Img, int num,
                        int lastSlot)
{
    if (num < 1 || num > lastSlot)
        return nullptr;
    ReportControl* slot = report.slot("Image" + std::to_string(num));
    if (slot == nullptr || slot->kind != ReportControl::Kind::Image)
        return nullptr;
    if (Img.isNull() || !slot->visible)
        return nullptr;  // the slot keeps whatever it shows
    slot->picture = Img;
    return slot;
}

}  // namespace

void FillReport(AcReport& report, const direct_composition::Picture& Img, int num)
{
    ReportControl* slot = fillSlot(report, Img, num, maxFillSlots);
    if (slot == nullptr || num == 1)
        return;
    if (const ReportControl* first = report.slot("Image1")) {
        slot->sizeMode = first->sizeMode;
        slot->pictureAlignment = first->pictureAlignment;
    }
}

void FillReport_RC(AcReport& report, const direct_composition::Picture& Img, int num)
{
    fillSlot(report, Img, num, maxRowColumnSlots);
}

}  // namespace vantorel::template_composition
