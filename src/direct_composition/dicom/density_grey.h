#pragma once

#include <cstdint>
#include <vector>

namespace vantorel::direct_composition {

// LIN OD as a 4096-entry table of 16-bit output values for the input values
// as presented (0 black): the input runs linearly in optical density from
// `maxDensity` (input 0) to `minDensity` (input 4095), densities in hundredths
// of OD, shown through the Grayscale Standard Display Function under
// `illumination` and `reflectedAmbientLight` (cd/m²). Empty when the toolkit
// cannot make it.
std::vector<std::uint16_t> linOdCurve(unsigned minDensity, unsigned maxDensity, unsigned illumination,
                                      unsigned reflectedAmbientLight);

// The printer's density scale: grey 255 is the lightest the film takes and 0
// the darkest, the default Min and Max Density (0.20 and 3.00 OD); densities
// in hundredths of OD.
inline constexpr unsigned lightestDensity = 20;
inline constexpr unsigned darkestDensity = 300;

// The 8-bit grey that prints `density` (hundredths of OD) on that scale, by
// the LIN OD rule above; densities beyond the scale print at its ends. 255 or
// 0 when the toolkit cannot make the curve.
std::uint8_t greyOfDensity(unsigned density, unsigned illumination = 2000,
                           unsigned reflectedAmbientLight = 10);

}  // namespace vantorel::direct_composition
