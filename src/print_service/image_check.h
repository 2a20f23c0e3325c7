#pragma once

#include <optional>
#include <string>

class DcmItem;

namespace vantorel::print_service {

// Largest image an image box keeps, in pixels (8192 x 8192).
inline constexpr unsigned long maxImagePixels = 8192UL * 8192UL;

// Looks at the image sequences of an image box, Basic Grayscale Image Sequence
// (2020,0110) and Basic Color Image Sequence (2020,0111). A sequence whose
// image is larger than maxImagePixels, or whose pixel data is shorter than its
// rows, columns, samples and bits declare, is taken out of the image box so
// that printing never renders it. Returns what was dropped and why.
[[nodiscard]] std::optional<std::string> dropUnusableImage(DcmItem& imageBox);

}  // namespace vantorel::print_service
