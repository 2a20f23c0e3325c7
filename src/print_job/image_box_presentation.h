#pragma once

#include "direct_composition/image_presentation.h"

#include <string>
#include <vector>

class DcmItem;

namespace vantorel::print_service {
class PrintObjectStore;
}

namespace vantorel::print_job {

// The print objects above one image: its image box, the film box that holds
// it and that film box's film session (either of the last two may be absent).
struct PresentationLevels {
    DcmItem* imageBox = nullptr;
    DcmItem* filmBox = nullptr;
    DcmItem* filmSession = nullptr;
};

// What a print job asks for the image of one image box, each attribute taken
// from the nearest level that gives it: the image box over the film box over
// the film session. Polarity (2020,0020), Requested Image Size (2020,0030),
// Magnification Type (2010,0060) and Smoothing Type (2010,0080, never
// applied) are read from the image box; the Referenced Presentation LUT Sequence
// (2050,0500), Min and Max Density (2010,0120/0130), Illumination (2010,015E)
// and Reflected Ambient Light (2010,0160) are looked up at every level: with
// LIN OD they shape its curve, without a Presentation LUT (or with IDENTITY)
// Min and Max Density narrow the printed greys (densityRange). The
// referenced Presentation LUT is found in `store`. Values that cannot be
// applied are left at their defaults and said in `ignored`, one short phrase
// each.
direct_composition::ImagePresentation presentationOf(const PresentationLevels& levels,
                                                     print_service::PrintObjectStore& store,
                                                     std::vector<std::string>& ignored);

}  // namespace vantorel::print_job
