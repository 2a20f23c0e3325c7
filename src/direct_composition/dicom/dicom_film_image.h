#pragma once

#include "base/result.h"
#include "direct_composition/film_image.h"
#include "direct_composition/image_presentation.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class DcmItem;
class DcmUnsignedShort;
class DicomImage;

namespace vantorel::direct_composition {

// A film image rendered by DCMTK from the item of a Basic Grayscale or Basic
// Color Image Sequence: 8- to 16-bit grey (MONOCHROME1, MONOCHROME2) and RGB.
// Grey images without a window are mapped over their full range, since print
// image boxes carry presentation values. The item must outlive the image.
class DicomFilmImage final : public FilmImage {
public:
    // A Failure with DCMTK's reason when it cannot make an image of it.
    static base::Result<std::unique_ptr<DicomFilmImage>> fromItem(DcmItem& item);
    // The same, presented as the print job asks: the Pixel Aspect Ratio of
    // the item, then `presentation`. What cannot be applied is left out and
    // said in `ignored`, one short phrase each; the image still renders.
    static base::Result<std::unique_ptr<DicomFilmImage>>
    fromItem(DcmItem& item, const ImagePresentation& presentation, std::vector<std::string>& ignored);
    ~DicomFilmImage() override;

    int pixelWidth() const override;
    int pixelHeight() const override;
    Picture picture() const override;  // rendered once, then shared
    // The rendered picture padded with black bands to a square, the source
    // centred: black whatever the photometric interpretation (MONOCHROME1
    // included) and window, since the padding is added after rendering.
    std::unique_ptr<FilmImage> Rsize() const override;

private:
    explicit DicomFilmImage(std::unique_ptr<DicomImage> image);
    void applyPresentation(const ImagePresentation& presentation, std::vector<std::string>& ignored);
    void applyDensityRange(const ImagePresentation& presentation, std::vector<std::string>& ignored);
    static bool wholeTable(const std::vector<std::uint16_t>& descriptor,
                           const std::vector<std::uint16_t>& data);
    [[nodiscard]] static bool linOdTable(const ImagePresentation& presentation,
                                         std::vector<std::uint16_t>& descriptor,
                                         std::vector<std::uint16_t>& data);

    std::unique_ptr<DicomImage> image_;
    bool reverse_ = false;
    // An explicit Presentation LUT: DCMTK keeps references to these.
    std::unique_ptr<DcmUnsignedShort> lutDescriptor_;
    std::unique_ptr<DcmUnsignedShort> lutData_;
    // Min and Max Density without a LUT: every printed grey mapped into the
    // range they give.
    std::optional<std::array<std::uint8_t, 256>> greyRange_;
    mutable Picture picture_;
};

// The picture size that shows pixels of `vertical`:`horizontal` aspect with
// square pixels: the shorter side stretched, or the longer one shrunk when
// stretching would pass `mostPixels`. {columns, rows} unchanged for square
// pixels.
struct PixelSize {
    long columns = 0;
    long rows = 0;
};
PixelSize trueAspectSize(long columns, long rows, long vertical, long horizontal, long long mostPixels);

}  // namespace vantorel::direct_composition
