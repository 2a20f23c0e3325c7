#pragma once

#include "direct_composition/film_image.h"

#include <memory>

namespace vantorel::direct_composition {

// A film image already rendered: its picture and its pixel size, nothing of
// the source data set kept. `Rsize` pads the rendered picture itself, so the
// bands are black (grey 0, or RGB 0,0,0) whatever the photometric
// interpretation and window of the source, and the source part renders exactly
// as the unpadded image does.
class RenderedFilmImage final : public FilmImage {
public:
    RenderedFilmImage(Picture picture, int pixelWidth, int pixelHeight, double requestedWidthMm = 0,
                      Magnification magnification = Magnification::Bilinear);

    int pixelWidth() const override { return pixelWidth_; }
    int pixelHeight() const override { return pixelHeight_; }
    Picture picture() const override { return picture_; }
    // The picture padded to a square of its longer side with black bands on
    // the two short sides, the source centred (offsets rounded half to even);
    // nullptr for a null picture.
    std::unique_ptr<FilmImage> Rsize() const override;
    double requestedWidthMm() const override { return requestedWidthMm_; }
    Magnification magnification() const override { return magnification_; }

private:
    Picture picture_;
    int pixelWidth_;
    int pixelHeight_;
    double requestedWidthMm_;
    Magnification magnification_;
};

// `picture` padded to a square as `Rsize` does it.
Picture padToSquare(const Picture& picture);

}  // namespace vantorel::direct_composition
