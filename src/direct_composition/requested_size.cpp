#include "direct_composition/requested_size.h"

#include "base/run_log.h"

#include <cmath>
#include <string>

namespace vantorel::direct_composition {

namespace {

std::string millimetres(double twips)
{
    return std::to_string(std::lround(twips / twipsPerTrueMillimetre));
}

}  // namespace

bool RequestedSize::draw(PrinterSurface& surface, const FilmImage& image, double x, double y, double w,
                         double h)
{
    const double widthMm = image.requestedWidthMm();
    if (!(widthMm > 0) || image.magnification() == Magnification::None)
        return false;
    const Picture picture = image.picture();
    if (picture.isNull())
        return false;
    const double dw = widthMm * twipsPerTrueMillimetre;
    const double dh = dw * picture.height / picture.width;
    if (dw > w || dh > h) {
        if (!toldTooLarge_)
            context_.log.write("Requested Image Size " + std::to_string(std::lround(widthMm)) +
                               " mm does not fit its cell (" + millimetres(w) + " x " + millimetres(h) +
                               " mm): printed fitted to the cell");
        toldTooLarge_ = true;
        return false;
    }
    film_frame::drawImage(
        context_, surface, image, picture,
        RectF{static_cast<float>(x + (w - dw) / 2), static_cast<float>(y + (h - dh) / 2),
              static_cast<float>(dw), static_cast<float>(dh)},
        RectF{static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h)});
    return true;
}

}  // namespace vantorel::direct_composition
