#pragma once

#include "direct_composition/picture.h"

#include <optional>
#include <vector>

namespace vantorel::template_composition {

class AcReport;

// Standard formats: cell number `cell` (1 ... 42) goes to slot "Image<cell>" when the
// layout has that slot, the slot is visible and the picture is not empty; a
// filled slot from "Image2" on then fits its picture as "Image1" does.
void FillReport(AcReport& report, const direct_composition::Picture& picture, int cell);

// ROW and COL formats: as FillReport for cells 1 ... 5, each slot keeping the
// picture-fit settings the template gives it.
void FillReport_RC(AcReport& report, const direct_composition::Picture& picture, int cell);

// A film's cells into the report as the template road fills every film: cell
// k (index k - 1) by FillReport, or FillReport_RC for ROW and COL formats;
// cells without a picture are skipped. vantorel-template's preview fills its
// placeholders the same way, so it shows what a film prints.
void fillFilmCells(AcReport& report, const std::vector<std::optional<direct_composition::Picture>>& cells,
                   bool rowColumn);

}  // namespace vantorel::template_composition
