#pragma once

#include "direct_composition/picture.h"

#include <memory>

namespace vantorel::direct_composition {

// One image of a film as composition sees it: its pixel size, its rendered
// picture and, for the square-cell layout, a copy padded to a square.
class FilmImage {
public:
    virtual ~FilmImage() = default;

    virtual int pixelWidth() const = 0;   // columns
    virtual int pixelHeight() const = 0;  // rows
    // The image as rendered for display; a null picture when it cannot be rendered.
    virtual Picture picture() const = 0;
    // `Rsize`: the image padded to a square with the source centred and blank
    // bands on the two short sides, window settings carried over; nullptr when
    // the toolkit cannot make the copy.
    virtual std::unique_ptr<FilmImage> Rsize() const = 0;
    // The printed width its image box asked for (Requested Image Size), in
    // millimetres; 0 when the picture is fitted to its cell.
    virtual double requestedWidthMm() const { return 0; }
    // How its picture is scaled into its rectangle (Magnification Type).
    virtual Magnification magnification() const { return Magnification::Bilinear; }
};

}  // namespace vantorel::direct_composition
