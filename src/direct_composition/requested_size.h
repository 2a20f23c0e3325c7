#pragma once

#include "direct_composition/film_frame.h"

namespace vantorel::direct_composition {

// Twips in one millimetre, exactly (margins use the rounder 56.7): a picture
// printed at its requested size can be measured with a ruler.
inline constexpr double twipsPerTrueMillimetre = 1440.0 / 25.4;

// Draws the pictures of one film whose image boxes asked for a printed width
// (Requested Image Size).
class RequestedSize {
public:
    explicit RequestedSize(const CompositionContext& context) : context_(context) {}

    // When `image` asked for a width and the picture fits its cell at that
    // width (height from its aspect), draws it there, centred in the cell
    // (x, y, w, h, twips), and says true. Otherwise false: the caller fits the
    // picture to the cell as usual (so does an image printed unscaled,
    // magnification NONE); a size that does not fit is said in the
    // run log once per film.
    [[nodiscard]] bool draw(PrinterSurface& surface, const FilmImage& image, double x, double y, double w,
                            double h);

private:
    const CompositionContext& context_;
    bool toldTooLarge_ = false;
};

}  // namespace vantorel::direct_composition
