#include "direct_composition/dicom/density_grey.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmimgle/dcmimage.h>

#include <algorithm>
#include <cmath>

namespace vantorel::direct_composition {

// DCMTK's hardcopy curve takes its input as density (0 the lightest): it is
// read backwards, so that the darkest value prints at Max Density.
std::vector<std::uint16_t> linOdCurve(unsigned minDensity, unsigned maxDensity, unsigned illumination,
                                      unsigned reflectedAmbientLight)
{
    constexpr int entries = 4096;
    DcmItem ramp;
    std::vector<Uint16> values(entries);
    for (int i = 0; i < entries; ++i)
        values[i] = static_cast<Uint16>(i);
    ramp.putAndInsertUint16(DCM_SamplesPerPixel, 1);
    ramp.putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
    ramp.putAndInsertUint16(DCM_Rows, 1);
    ramp.putAndInsertUint16(DCM_Columns, entries);
    ramp.putAndInsertUint16(DCM_BitsAllocated, 16);
    ramp.putAndInsertUint16(DCM_BitsStored, 12);
    ramp.putAndInsertUint16(DCM_HighBit, 11);
    ramp.putAndInsertUint16(DCM_PixelRepresentation, 0);
    ramp.putAndInsertUint16Array(DCM_PixelData, values.data(), entries);
    DicomImage curve(&ramp, EXS_LittleEndianExplicit);
    if (curve.getStatus() != EIS_Normal || !curve.setPresentationLutShape(ESP_LinOD) ||
        !curve.setHardcopyParameters(minDensity, maxDensity, reflectedAmbientLight, illumination))
        return {};
    std::vector<std::uint16_t> data(entries, 0);
    if (!curve.getOutputData(data.data(), entries * sizeof(std::uint16_t), 16, 0, 0))
        return {};
    std::reverse(data.begin(), data.end());
    return data;
}

std::uint8_t greyOfDensity(unsigned density, unsigned illumination, unsigned reflectedAmbientLight)
{
    const double clamped = std::clamp<double>(density, lightestDensity, darkestDensity);
    const std::vector<std::uint16_t> curve =
        linOdCurve(lightestDensity, darkestDensity, illumination, reflectedAmbientLight);
    if (curve.empty())
        return clamped * 2 < lightestDensity + darkestDensity ? 255 : 0;
    const double last = static_cast<double>(curve.size() - 1);
    const auto index = static_cast<std::size_t>(
        std::lround((darkestDensity - clamped) / (darkestDensity - lightestDensity) * last));
    return static_cast<std::uint8_t>(std::lround(curve[index] / 257.0));
}

}  // namespace vantorel::direct_composition
