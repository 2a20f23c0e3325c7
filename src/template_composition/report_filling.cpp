#include "template_composition/report_filling.h"

#include "print_job/template_road.h"
#include "template_composition/ac_report.h"

#include <string>

namespace vantorel::template_composition {

namespace {

// Steps shared by both fills; the slot filled, or nullptr when none was.
ReportControl* fillSlot(AcReport& report, const direct_composition::Picture& picture, int cell, int lastSlot)
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

void applyFilmAppearance(AcReport& report, const print_job::TemplateFilm& film)
{
    const direct_composition::FilmAppearance& look = film.appearance;
    std::uint8_t baseGrey = look.baseGrey;
    ReportControl* base = report.slot("Base");
    if (base != nullptr && base->kind == ReportControl::Kind::Shape && base->backFilled) {
        if (look.baseGreySent)
            base->backColor = look.baseGrey * 0x010101u;
        const std::uint32_t bgr = base->backColor;
        baseGrey = static_cast<std::uint8_t>(
            ((bgr & 0xFF) * 299 + ((bgr >> 8) & 0xFF) * 587 + ((bgr >> 16) & 0xFF) * 114) / 1000);
    }
    for (std::size_t k = 1; k <= film.cells.size(); ++k) {
        ReportControl* slot = report.slot("Image" + std::to_string(k));
        if (slot == nullptr || slot->kind != ReportControl::Kind::Image || !slot->visible)
            continue;
        const auto& picture = film.cells[k - 1];
        if (!picture) {
            slot->emptyGrey = look.emptyCellGrey;
            continue;
        }
        if (slot->picture.pixels != picture->pixels)
            continue;  // the picture did not go into this slot
        if (k <= film.magnifications.size())
            slot->magnification = film.magnifications[k - 1];
        if (look.trim)
            slot->trimGrey = direct_composition::film_frame::trimGreyOn(baseGrey);
    }
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
