#include "test_image.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcxfer.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vantorel::tools {

namespace {

// 5x7 digit glyphs, one row per byte, bit 4 is the left column.
const std::uint8_t digitGlyphs[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// Brightness 0..1 of each pixel: a diagonal gradient, the digits at full white.
std::vector<double> picture(int cell, int size)
{
    std::vector<double> value(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            value[static_cast<std::size_t>(y) * size + x] = 0.1 + 0.4 * (x + y) / (2.0 * size);
    const std::string digits = std::to_string(cell);
    const int glyphColumns = static_cast<int>(digits.size()) * 6 - 1;
    const int scale = std::max(1, size / 2 / std::max(glyphColumns, 7));
    const int left = (size - glyphColumns * scale) / 2;
    const int top = (size - 7 * scale) / 2;
    for (std::size_t d = 0; d < digits.size(); ++d)
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column) {
                if (!(digitGlyphs[digits[d] - '0'][row] & (0x10 >> column)))
                    continue;
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx) {
                        const int x = left + (static_cast<int>(d) * 6 + column) * scale + dx;
                        const int y = top + row * scale + dy;
                        if (x >= 0 && y >= 0 && x < size && y < size)
                            value[static_cast<std::size_t>(y) * size + x] = 1.0;
                    }
            }
    return value;
}

}  // namespace

std::unique_ptr<DcmItem> syntheticImage(int cell, int size, PixelKind kind)
{
    auto item = std::make_unique<DcmItem>();
    const std::vector<double> value = picture(cell, size);
    item->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(size));
    item->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(size));
    item->putAndInsertString(DCM_PixelAspectRatio, "1\\1");
    item->putAndInsertUint16(DCM_PixelRepresentation, 0);
    if (kind == PixelKind::Mono12) {
        std::vector<Uint16> pixels(value.size());
        std::transform(value.begin(), value.end(), pixels.begin(), [](double v) { return Uint16(v * 4095); });
        item->putAndInsertUint16(DCM_SamplesPerPixel, 1);
        item->putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
        item->putAndInsertUint16(DCM_BitsAllocated, 16);
        item->putAndInsertUint16(DCM_BitsStored, 12);
        item->putAndInsertUint16(DCM_HighBit, 11);
        item->putAndInsertUint16Array(DCM_PixelData, pixels.data(), pixels.size());
        return item;
    }
    std::vector<Uint8> pixels;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const Uint8 v = Uint8(value[i] * 255);
        if (kind == PixelKind::Rgb) {
            // The cell tinted by its number, the digits white.
            pixels.push_back(value[i] >= 1.0 ? 255 : Uint8(v * ((cell % 3) == 0 ? 2 : 1) / 2));
            pixels.push_back(value[i] >= 1.0 ? 255 : Uint8(v * ((cell % 3) == 1 ? 2 : 1) / 2));
            pixels.push_back(value[i] >= 1.0 ? 255 : Uint8(v * ((cell % 3) == 2 ? 2 : 1) / 2));
        } else {
            pixels.push_back(v);
        }
    }
    const bool rgb = kind == PixelKind::Rgb;
    item->putAndInsertUint16(DCM_SamplesPerPixel, rgb ? 3 : 1);
    item->putAndInsertString(DCM_PhotometricInterpretation, rgb ? "RGB" : "MONOCHROME2");
    if (rgb)
        item->putAndInsertUint16(DCM_PlanarConfiguration, 0);
    item->putAndInsertUint16(DCM_BitsAllocated, 8);
    item->putAndInsertUint16(DCM_BitsStored, 8);
    item->putAndInsertUint16(DCM_HighBit, 7);
    item->putAndInsertUint8Array(DCM_PixelData, pixels.data(), pixels.size());
    return item;
}

std::unique_ptr<DcmItem> imageFromFile(const std::string& path, std::string& error)
{
    DcmFileFormat file;
    if (OFCondition cond = file.loadFile(path.c_str()); cond.bad()) {
        error = path + ": " + cond.text();
        return nullptr;
    }
    DcmDataset* data = file.getDataset();
    if (DcmXfer(data->getOriginalXfer()).isEncapsulated()) {
        error = path + ": compressed pixel data is not supported";
        return nullptr;
    }
    auto item = std::make_unique<DcmItem>();
    const DcmTagKey copied[] = {DCM_SamplesPerPixel,
                                DCM_PhotometricInterpretation,
                                DCM_PlanarConfiguration,
                                DCM_Rows,
                                DCM_Columns,
                                DCM_PixelAspectRatio,
                                DCM_BitsAllocated,
                                DCM_BitsStored,
                                DCM_HighBit,
                                DCM_PixelRepresentation,
                                DCM_PixelData};
    for (const DcmTagKey& tag : copied) {
        DcmElement* element = nullptr;
        if (data->findAndGetElement(tag, element, OFFalse, OFTrue /*copy*/).good() && element != nullptr)
            item->insert(element, OFTrue);
    }
    if (!item->tagExists(DCM_PixelData)) {
        error = path + ": no pixel data";
        return nullptr;
    }
    return item;
}

}  // namespace vantorel::tools
