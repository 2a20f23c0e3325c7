#include "print_service/image_check.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcelem.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcsequen.h>

namespace vantorel::print_service {

namespace {

Uint16 valueOr(DcmItem& item, const DcmTagKey& tag, Uint16 fallback)
{
    Uint16 value = 0;
    return item.findAndGetUint16(tag, value).good() ? value : fallback;
}

// Why the image of `item` cannot be used, or nullopt.
[[nodiscard]] std::optional<std::string> imageProblem(DcmItem& item)
{
    DcmElement* pixelData = nullptr;
    if (item.findAndGetElement(DCM_PixelData, pixelData).bad() || pixelData == nullptr)
        return std::nullopt;  // no pixels: nothing to render
    const unsigned long rows = valueOr(item, DCM_Rows, 0);
    const unsigned long columns = valueOr(item, DCM_Columns, 0);
    const unsigned long samples = valueOr(item, DCM_SamplesPerPixel, 1);
    const unsigned long bits = valueOr(item, DCM_BitsAllocated, 8);
    const std::string size = std::to_string(columns) + "x" + std::to_string(rows);
    if (rows * columns > maxImagePixels)
        return "image " + size + " is larger than " + std::to_string(maxImagePixels) + " pixels";
    const unsigned long long needed =
        (static_cast<unsigned long long>(rows) * columns * samples * bits + 7) / 8;
    const unsigned long long present = pixelData->getLength();
    if (present < needed)
        return "image " + size + " needs " + std::to_string(needed) + " bytes of pixel data, " +
            std::to_string(present) + " received";
    return std::nullopt;
}

}  // namespace

std::optional<std::string> dropUnusableImage(DcmItem& imageBox)
{
    for (const DcmTagKey& tag : {DCM_BasicGrayscaleImageSequence, DCM_BasicColorImageSequence}) {
        DcmSequenceOfItems* sequence = nullptr;
        if (imageBox.findAndGetSequence(tag, sequence).bad() || sequence == nullptr)
            continue;
        for (unsigned long i = 0; i < sequence->card(); ++i) {
            if (auto problem = imageProblem(*sequence->getItem(i))) {
                imageBox.findAndDeleteElement(tag);
                return *problem + ": image sequence dropped";
            }
        }
    }
    return std::nullopt;
}

}  // namespace vantorel::print_service
