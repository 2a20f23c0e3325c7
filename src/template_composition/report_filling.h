#pragma once

#include "direct_composition/picture.h"

#include <optional>
#include <vector>

namespace vantorel::print_job {
struct TemplateFilm;
}

namespace vantorel::template_composition {

class AcReport;

// Standard formats: cell number `cell` (1 ... 42) goes to slot "Image<cell>" when the
// layout has that slot, the slot is visible and the picture is not empty; a
// filled slot from "Image2" on then fits its picture as "Image1" does.
void FillReport(AcReport& report, const direct_composition::Picture& picture, int cell);

// ROW and COL formats: as FillReport for cells 1 ... 5, each slot keeping the
// picture-fit settings the template gives it.
void FillReport_RC(AcReport& report, const direct_composition::Picture& picture, int cell);

// What the film box asks of the filled report: Border Density recolours the
// template's base (a filled shape named "Base", as templates made here have;
// a template without one keeps its own look), Empty Image Density fills the
// visible slot of each cell without an image, and every slot that took its
// cell's picture scales it by that image's Magnification Type and, with Trim
// YES, gets a line at the base's opposite tone. Call after the fills.
void applyFilmAppearance(AcReport& report, const print_job::TemplateFilm& film);

// A film's cells into the report as the template road fills every film: cell
// k (index k - 1) by FillReport, or FillReport_RC for ROW and COL formats;
// cells without a picture are skipped. vantorel-template's preview fills its
// placeholders the same way, so it shows what a film prints.
void fillFilmCells(AcReport& report, const std::vector<std::optional<direct_composition::Picture>>& cells,
                   bool rowColumn);

}  // namespace vantorel::template_composition
