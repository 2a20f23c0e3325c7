#pragma once

#include "direct_composition/film_image.h"

#include <memory>
#include <string>

class DcmItem;
class DicomImage;

namespace vantorel::direct_composition {

// A film image rendered by DCMTK from the item of a Basic Grayscale or Basic
// Color Image Sequence: 8- to 16-bit grey (MONOCHROME1, MONOCHROME2) and RGB.
// Grey images without a window are mapped over their full range, since print
// image boxes carry presentation values. The item must outlive the image.
class DicomFilmImage final : public FilmImage {
public:
    // nullptr (with the reason in *error) when DCMTK cannot make an image of it.
    static std::unique_ptr<DicomFilmImage> fromItem(DcmItem& item, std::string* error = nullptr);
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

    std::unique_ptr<DicomImage> image_;
    mutable Picture picture_;
};

}  // namespace vantorel::direct_composition
