#pragma once

#include <memory>
#include <string>

class DcmItem;

namespace vantorel::tools {

enum class PixelKind { Mono8, Mono12, Rgb };

// One image sequence item (Basic Grayscale or Color Image Sequence) with a
// synthetic picture: a gradient with the cell number drawn large in the
// middle, so each cell of a printed film can be recognised.
std::unique_ptr<DcmItem> syntheticImage(int cell, int size, PixelKind kind);

// The image sequence item made from a DICOM file's pixel module. Empty with
// `error` set when the file cannot be read or is compressed.
std::unique_ptr<DcmItem> imageFromFile(const std::string& path, std::string& error);

}  // namespace vantorel::tools
