#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantorel::direct_composition {

// How a picture is scaled into its rectangle: nearest neighbour, bilinear,
// bicubic, or not at all (one picture pixel per printer dot at 300 dpi).
enum class Magnification { Replicate, Bilinear, Cubic, None };

// The keyword of a Magnification Type (REPLICATE, BILINEAR, CUBIC, NONE; blanks
// around it ignored); false for anything else.
[[nodiscard]] bool magnificationOf(const std::string& keyword, Magnification& magnification);

// A rendered picture: 8-bit grey or 24-bit RGB rows, tightly packed, top row
// first. Pixels are shared, so copies are cheap and a film page can hold the
// pictures it draws without copying them.
struct Picture {
    enum class Format { Gray8, Rgb24 };

    int width = 0;
    int height = 0;
    Format format = Format::Gray8;
    std::shared_ptr<const std::vector<std::uint8_t>> pixels;

    bool isNull() const
    {
        return width <= 0 || height <= 0 || !pixels ||
            pixels->size() < static_cast<std::size_t>(width) * height * bytesPerPixel();
    }
    int bytesPerPixel() const { return format == Format::Rgb24 ? 3 : 1; }

    // One pixel of one colour, stretched by the surface over any rectangle.
    static Picture solid(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        Picture picture;
        picture.width = 1;
        picture.height = 1;
        picture.format = Format::Rgb24;
        picture.pixels =
            std::make_shared<const std::vector<std::uint8_t>>(std::vector<std::uint8_t>{red, green, blue});
        return picture;
    }
};

}  // namespace vantorel::direct_composition
