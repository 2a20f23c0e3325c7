#include "direct_composition/rendered_film_image.h"

#include "base/number_rules.h"

#include <cstring>

namespace vantorel::direct_composition {

RenderedFilmImage::RenderedFilmImage(Picture picture, int pixelWidth, int pixelHeight,
                                     double requestedWidthMm, Magnification magnification)
    : picture_(std::move(picture)),
      pixelWidth_(pixelWidth),
      pixelHeight_(pixelHeight),
      requestedWidthMm_(requestedWidthMm),
      magnification_(magnification)
{}

std::unique_ptr<FilmImage> RenderedFilmImage::Rsize() const
{
    const Picture squared = padToSquare(picture_);
    if (squared.isNull())
        return nullptr;
    return std::make_unique<RenderedFilmImage>(squared, squared.width, squared.height, 0, magnification_);
}

Picture padToSquare(const Picture& picture)
{
    if (picture.isNull())
        return {};
    const int pw = picture.width, ph = picture.height;
    const int side = pw > ph ? pw : ph;
    // Where the source's top-left corner lands in the square: the negated
    // offsets of a crop that reaches beyond the source on both short sides.
    const auto offset = [](int shorter, int longer) {
        return -static_cast<int>(base::roundHalfEven((shorter - longer) / 2.0));
    };
    const int left = pw < side ? offset(pw, side) : 0;
    const int top = ph < side ? offset(ph, side) : 0;

    const int bpp = picture.bytesPerPixel();
    const std::size_t sourceRow = static_cast<std::size_t>(pw) * bpp;
    const std::size_t squareRow = static_cast<std::size_t>(side) * bpp;
    // Zero is black in a rendered picture, grey or colour.
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(squareRow * side, 0);
    const std::uint8_t* source = picture.pixels->data();
    for (int row = 0; row < ph; ++row)
        std::memcpy(pixels->data() + (row + top) * squareRow + static_cast<std::size_t>(left) * bpp,
                    source + row * sourceRow, sourceRow);
    Picture squared = picture;
    squared.width = side;
    squared.height = side;
    squared.pixels = std::move(pixels);
    return squared;
}

}  // namespace vantorel::direct_composition
