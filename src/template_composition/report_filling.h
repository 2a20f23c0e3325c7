#pragma once

#include "direct_composition/picture.h"

namespace vantorel::template_composition {

class AcReport;

// Standard formats: cell number `cell` (1 ... 42) goes to slot "Image<cell>" when the
// layout has that slot, the slot is visible and the picture is not empty; a
// filled slot from "Image2" on then fits its picture as "Image1" does.
void FillReport(AcReport& report, const direct_composition::Picture& picture, int cell);

// ROW and COL formats: as FillReport for cells 1 ... 5, each slot keeping the
// picture-fit settings the template gives it.
void FillReport_RC(AcReport& report, const direct_composition::Picture& picture, int cell);

}  // namespace vantorel::template_composition
