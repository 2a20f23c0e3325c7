#pragma once

#include <cstdint>
#include <string>

namespace vantorel::hospital_name {

// How the hospital name is drawn: font, size in points (fractions kept), bold,
// and colour as the settings hold it, 0x00BBGGRR. Italic can be chosen in the
// font dialog but is neither drawn nor stored.
struct NameStyle {
    std::string font;
    double pointSize = 0;
    bool bold = false;
    bool italic = false;
    std::uint32_t colour = 0;
};

// Colour value 0x00BBGGRR from its red, green and blue parts, and back.
constexpr std::uint32_t colourValue(int red, int green, int blue)
{
    return static_cast<std::uint32_t>(red & 0xff) | static_cast<std::uint32_t>(green & 0xff) << 8 |
        static_cast<std::uint32_t>(blue & 0xff) << 16;
}
constexpr int redOf(std::uint32_t colour)
{
    return static_cast<int>(colour & 0xff);
}
constexpr int greenOf(std::uint32_t colour)
{
    return static_cast<int>(colour >> 8 & 0xff);
}
constexpr int blueOf(std::uint32_t colour)
{
    return static_cast<int>(colour >> 16 & 0xff);
}

}  // namespace vantorel::hospital_name
