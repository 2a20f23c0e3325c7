#include "print_job/image_box_presentation.h"

#include "base/text.h"
#include "print_service/print_object_store.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>

#include <cmath>
#include <cstdlib>

namespace vantorel::print_job {

namespace dc = direct_composition;

namespace {

std::string trimmed(const OFString& value)
{
    return base::trimSpaces(value.c_str());
}

// The nearest level that holds `tag`: image box, film box, film session.
DcmItem* nearestWith(const PresentationLevels& levels, const DcmTagKey& tag)
{
    for (DcmItem* level : {levels.imageBox, levels.filmBox, levels.filmSession})
        if (level != nullptr && level->tagExists(tag))
            return level;
    return nullptr;
}

void readPolarity(DcmItem& imageBox, dc::ImagePresentation& presentation, std::vector<std::string>& ignored)
{
    OFString value;
    if (imageBox.findAndGetOFString(DCM_Polarity, value).bad())
        return;
    const std::string polarity = trimmed(value);
    if (polarity == "REVERSE")
        presentation.reverse = true;
    else if (!polarity.empty() && polarity != "NORMAL")
        ignored.push_back("Polarity \"" + polarity + "\"");
}

void readRequestedSize(DcmItem& imageBox, dc::ImagePresentation& presentation,
                       std::vector<std::string>& ignored)
{
    OFString value;
    if (imageBox.findAndGetOFString(DCM_RequestedImageSize, value).bad())
        return;
    const std::string text = trimmed(value);
    if (text.empty())
        return;
    char* end = nullptr;
    const double millimetres = std::strtod(text.c_str(), &end);
    if (end != nullptr && *end == '\0' && std::isfinite(millimetres) && millimetres > 0)
        presentation.requestedWidthMm = millimetres;
    else
        ignored.push_back("Requested Image Size \"" + text + "\"");
}

// A density or light value of the nearest level; the default when no level
// gives one.
void readUnsigned(const PresentationLevels& levels, const DcmTagKey& tag, const char* name, unsigned& target,
                  std::vector<std::string>& ignored)
{
    DcmItem* level = nearestWith(levels, tag);
    if (level == nullptr)
        return;
    Uint16 value = 0;
    if (level->findAndGetUint16(tag, value).good())
        target = value;
    else
        ignored.push_back(name);
}

bool readDensities(const PresentationLevels& levels, dc::ImagePresentation& presentation,
                   std::vector<std::string>& ignored)
{
    dc::ImagePresentation read;
    readUnsigned(levels, DCM_MinDensity, "Min Density", read.minDensity, ignored);
    readUnsigned(levels, DCM_MaxDensity, "Max Density", read.maxDensity, ignored);
    readUnsigned(levels, DCM_Illumination, "Illumination", read.illumination, ignored);
    readUnsigned(levels, DCM_ReflectedAmbientLight, "Reflected Ambient Light", read.reflectedAmbientLight,
                 ignored);
    if (read.minDensity >= read.maxDensity) {
        ignored.push_back("Min Density " + std::to_string(read.minDensity) + " not below Max Density " +
                          std::to_string(read.maxDensity));
        return false;
    }
    presentation.minDensity = read.minDensity;
    presentation.maxDensity = read.maxDensity;
    presentation.illumination = read.illumination;
    presentation.reflectedAmbientLight = read.reflectedAmbientLight;
    return true;
}

// Magnification Type of the image box (the film box's is read with the film
// box); Smoothing Type is taken but not applied.
void readScaling(DcmItem& imageBox, dc::ImagePresentation& presentation, std::vector<std::string>& ignored)
{
    OFString value;
    if (imageBox.findAndGetOFString(DCM_MagnificationType, value).good() && !trimmed(value).empty()) {
        dc::Magnification magnification;
        if (dc::magnificationOf(trimmed(value), magnification))
            presentation.magnification = magnification;
        else
            ignored.push_back("Magnification Type \"" + trimmed(value) + "\"");
    }
    if (imageBox.findAndGetOFString(DCM_SmoothingType, value).good() && !trimmed(value).empty())
        ignored.push_back("Smoothing Type \"" + trimmed(value) + "\" (not applied)");
}

std::vector<std::uint16_t> wordsOf(DcmItem& item, const DcmTagKey& tag)
{
    const Uint16* words = nullptr;
    unsigned long count = 0;
    if (item.findAndGetUint16Array(tag, words, &count).good() && words != nullptr)
        return {words, words + count};
    // A descriptor sent as SS: its values are the same bits.
    const Sint16* signedWords = nullptr;
    if (item.findAndGetSint16Array(tag, signedWords, &count).good() && signedWords != nullptr) {
        std::vector<std::uint16_t> values;
        for (unsigned long i = 0; i < count; ++i)
            values.push_back(static_cast<std::uint16_t>(signedWords[i]));
        return values;
    }
    return {};
}

// The Presentation LUT object: its shape, or its one-item Presentation LUT
// Sequence. A table is checked where it is applied.
void readLut(DcmItem& lut, dc::ImagePresentation& presentation, std::vector<std::string>& ignored)
{
    using Shape = dc::ImagePresentation::LutShape;
    DcmItem* table = nullptr;
    if (lut.findAndGetSequenceItem(DCM_PresentationLUTSequence, table, 0).good() && table != nullptr) {
        presentation.lutShape = Shape::Table;
        presentation.lutDescriptor = wordsOf(*table, DCM_LUTDescriptor);
        presentation.lutData = wordsOf(*table, DCM_LUTData);
        return;
    }
    OFString value;
    lut.findAndGetOFString(DCM_PresentationLUTShape, value);
    const std::string shape = trimmed(value);
    if (shape == "IDENTITY")
        presentation.lutShape = Shape::Identity;
    else if (shape == "LIN OD")
        presentation.lutShape = Shape::LinOd;
    else
        ignored.push_back("Presentation LUT Shape \"" + shape + "\"");
}

void readReferencedLut(const PresentationLevels& levels, print_service::PrintObjectStore& store,
                       dc::ImagePresentation& presentation, std::vector<std::string>& ignored)
{
    DcmItem* level = nearestWith(levels, DCM_ReferencedPresentationLUTSequence);
    if (level == nullptr)
        return;
    DcmItem* reference = nullptr;
    OFString uid;
    if (level->findAndGetSequenceItem(DCM_ReferencedPresentationLUTSequence, reference, 0).bad() ||
        reference == nullptr)
        return;  // an empty sequence asks for nothing
    reference->findAndGetOFString(DCM_ReferencedSOPInstanceUID, uid);
    print_service::PrintObject* lut = store.Dataset("", trimmed(uid));
    if (lut == nullptr) {
        ignored.push_back("Referenced Presentation LUT \"" + trimmed(uid) + "\" (not held)");
        return;
    }
    readLut(lut->attributes(), presentation, ignored);
}

}  // namespace

dc::ImagePresentation presentationOf(const PresentationLevels& levels, print_service::PrintObjectStore& store,
                                     std::vector<std::string>& ignored)
{
    dc::ImagePresentation presentation;
    if (levels.imageBox != nullptr) {
        readPolarity(*levels.imageBox, presentation, ignored);
        readRequestedSize(*levels.imageBox, presentation, ignored);
        readScaling(*levels.imageBox, presentation, ignored);
    }
    readReferencedLut(levels, store, presentation, ignored);
    using Shape = dc::ImagePresentation::LutShape;
    if (presentation.lutShape == Shape::LinOd) {
        readDensities(levels, presentation, ignored);
    } else if ((presentation.lutShape == Shape::None || presentation.lutShape == Shape::Identity) &&
               (nearestWith(levels, DCM_MinDensity) != nullptr ||
                nearestWith(levels, DCM_MaxDensity) != nullptr)) {
        // Without a LUT that uses them, the densities narrow the printed greys.
        presentation.densityRange = readDensities(levels, presentation, ignored);
    }
    return presentation;
}

}  // namespace vantorel::print_job
