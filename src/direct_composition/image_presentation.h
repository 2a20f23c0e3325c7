#pragma once

#include "direct_composition/picture.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vantorel::direct_composition {

// How the print job asks for one image to be presented, gathered from its
// image box, film box and film session: polarity, Presentation LUT with the
// densities LIN OD needs, and the printed width. The default asks for
// nothing: the image renders as the toolkit renders it for display.
struct ImagePresentation {
    enum class LutShape { None, Identity, LinOd, Table };

    bool reverse = false;  // Polarity REVERSE
    LutShape lutShape = LutShape::None;
    // An explicit Presentation LUT (LutShape::Table): LUT Descriptor (entries,
    // first mapped value, bits per entry) and LUT Data, as received.
    std::vector<std::uint16_t> lutDescriptor;
    std::vector<std::uint16_t> lutData;
    // Densities for LIN OD, in hundredths of optical density, and the light
    // they are seen under, in cd/m².
    unsigned minDensity = 20;
    unsigned maxDensity = 300;
    unsigned illumination = 2000;
    unsigned reflectedAmbientLight = 10;
    // Min or Max Density given without a Presentation LUT that uses them: the
    // printed greys narrowed to the range the two densities give.
    bool densityRange = false;
    double requestedWidthMm = 0;  // Requested Image Size; 0: fitted to the cell
    // Magnification Type of the image box; none: the film box's or the
    // configured one.
    std::optional<Magnification> magnification;
};

}  // namespace vantorel::direct_composition
