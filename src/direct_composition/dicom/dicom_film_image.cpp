#include "direct_composition/dicom/dicom_film_image.h"

#include "direct_composition/dicom/density_grey.h"
#include "direct_composition/rendered_film_image.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcvrus.h>
#include <dcmtk/dcmimage/diregist.h>  // colour images
#include <dcmtk/dcmimgle/dcmimage.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vantorel::direct_composition {

namespace {

// Most pixels a picture stretched to its true aspect may have: as many as the
// largest image an image box takes.
constexpr long long mostAspectPixels = 8192LL * 8192LL;

[[nodiscard]] bool positiveInteger(const OFString& text, long& value)
{
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    while (end != nullptr && *end == ' ')
        ++end;
    return !text.empty() && end != nullptr && *end == '\0' && value > 0 && value <= 65535;
}

// The image copied at its true aspect when its Pixel Aspect Ratio says its
// pixels are not square; the image itself when they are or nothing is said.
std::unique_ptr<DicomImage> withTrueAspect(DcmItem& item, std::unique_ptr<DicomImage> image,
                                           std::vector<std::string>& ignored)
{
    if (!item.tagExists(DCM_PixelAspectRatio))
        return image;
    OFString vertical, horizontal, all;
    item.findAndGetOFStringArray(DCM_PixelAspectRatio, all);
    long v = 0, h = 0;
    if (item.findAndGetOFString(DCM_PixelAspectRatio, vertical, 0).bad() ||
        item.findAndGetOFString(DCM_PixelAspectRatio, horizontal, 1).bad() || !positiveInteger(vertical, v) ||
        !positiveInteger(horizontal, h)) {
        ignored.push_back("Pixel Aspect Ratio \"" + std::string(all.c_str()) + "\"");
        return image;
    }
    const long columns = static_cast<long>(image->getWidth());
    const long rows = static_cast<long>(image->getHeight());
    const PixelSize size = trueAspectSize(columns, rows, v, h, mostAspectPixels);
    if (size.columns == columns && size.rows == rows)
        return image;
    // Window settings of the source do not travel with DCMTK's scaled copy.
    double center = 0, width = 0;
    const bool windowed = image->isMonochrome() && image->getWindowCount() > 0 && image->setWindow(0) &&
        image->getWindow(center, width);
    std::unique_ptr<DicomImage> scaled(image->createScaledImage(static_cast<unsigned long>(size.columns),
                                                                static_cast<unsigned long>(size.rows),
                                                                1 /*interpolate*/, 0 /*sizes given*/));
    if (!scaled || scaled->getStatus() != EIS_Normal) {
        ignored.push_back("Pixel Aspect Ratio \"" + std::string(all.c_str()) +
                          "\" (the image cannot be scaled)");
        return image;
    }
    if (windowed)
        scaled->setWindow(center, width);
    return scaled;
}

}  // namespace

PixelSize trueAspectSize(long columns, long rows, long vertical, long horizontal, long long mostPixels)
{
    if (vertical <= 0 || horizontal <= 0 || vertical == horizontal || columns <= 0 || rows <= 0)
        return {columns, rows};
    const double tall = static_cast<double>(vertical) / horizontal;  // pixel height / width
    const auto rounded = [](double value) { return std::max(1L, std::lround(value)); };
    PixelSize stretched =
        tall > 1 ? PixelSize{columns, rounded(rows * tall)} : PixelSize{rounded(columns / tall), rows};
    if (static_cast<double>(stretched.columns) * stretched.rows <= static_cast<double>(mostPixels))
        return stretched;
    return tall > 1 ? PixelSize{rounded(columns / tall), rows} : PixelSize{columns, rounded(rows * tall)};
}

base::Result<std::unique_ptr<DicomFilmImage>> DicomFilmImage::fromItem(DcmItem& item)
{
    auto image = std::make_unique<DicomImage>(&item, EXS_LittleEndianExplicit);
    if (image->getStatus() != EIS_Normal)
        return base::Failure{DicomImage::getString(image->getStatus())};
    if (image->getWidth() == 0 || image->getHeight() == 0)
        return base::Failure{"image without rows or columns"};
    // A window that the item itself carries is honoured, as viewers do.
    if (image->isMonochrome() && image->getWindowCount() > 0)
        image->setWindow(0);
    return std::unique_ptr<DicomFilmImage>(new DicomFilmImage(std::move(image)));
}

base::Result<std::unique_ptr<DicomFilmImage>> DicomFilmImage::fromItem(DcmItem& item,
                                                                       const ImagePresentation& presentation,
                                                                       std::vector<std::string>& ignored)
{
    auto made = fromItem(item);
    if (!made)
        return made;
    DicomFilmImage& film = **made;
    film.image_ = withTrueAspect(item, std::move(film.image_), ignored);
    film.applyPresentation(presentation, ignored);
    film.applyDensityRange(presentation, ignored);
    return made;
}

// Pixel values pass polarity, then the Presentation LUT: the LUT sees the
// values as the photometric interpretation and polarity present them (0 is
// black). Without a LUT (or with IDENTITY) REVERSE is the complement of the
// rendered output: exact, where DCMTK's own reverse polarity is one grey level
// off for half of the values.
void DicomFilmImage::applyPresentation(const ImagePresentation& presentation,
                                       std::vector<std::string>& ignored)
{
    using Shape = ImagePresentation::LutShape;
    reverse_ = presentation.reverse;
    if (presentation.lutShape == Shape::None || presentation.lutShape == Shape::Identity)
        return;  // IDENTITY: the values already are what the printer shows
    if (!image_->isMonochrome()) {
        ignored.push_back("Presentation LUT (the image is not grey)");
        return;
    }
    std::vector<std::uint16_t> descriptor, data;
    if (presentation.lutShape == Shape::Table) {
        if (!wholeTable(presentation.lutDescriptor, presentation.lutData)) {
            ignored.push_back("Presentation LUT Sequence (malformed LUT)");
            return;
        }
        descriptor = presentation.lutDescriptor;
        data = presentation.lutData;
    } else if (!linOdTable(presentation, descriptor, data)) {
        ignored.push_back("Presentation LUT Shape LIN OD");
        return;
    }
    // DCMTK feeds the table with the values before MONOCHROME1's inversion and
    // applies polarity after it: where the two disagree with the order above,
    // the table is read backwards instead.
    const bool monochrome1 = image_->getPhotometricInterpretation() == EPI_Monochrome1;
    if (monochrome1 != presentation.reverse)
        std::reverse(data.begin(), data.end());
    lutDescriptor_ = std::make_unique<DcmUnsignedShort>(DCM_LUTDescriptor);
    lutData_ = std::make_unique<DcmUnsignedShort>(DCM_LUTData);
    if (lutDescriptor_->putUint16Array(descriptor.data(), 3).good() &&
        lutData_->putUint16Array(data.data(), static_cast<unsigned long>(data.size())).good() &&
        image_->setPresentationLut(*lutData_, *lutDescriptor_)) {
        reverse_ = false;  // the table has it
        return;
    }
    image_->setPresentationLutShape(ESP_Default);
    ignored.push_back(presentation.lutShape == Shape::Table ? "Presentation LUT Sequence (malformed LUT)"
                                                            : "Presentation LUT Shape LIN OD");
}

// An explicit LUT is taken only when it is whole: three descriptor values, as
// many entries as it announces (0 meaning 65536), 8 to 16 bits per entry and
// no entry beyond them.
bool DicomFilmImage::wholeTable(const std::vector<std::uint16_t>& descriptor,
                                const std::vector<std::uint16_t>& data)
{
    if (descriptor.size() != 3 || descriptor[2] < 8 || descriptor[2] > 16)
        return false;
    const std::size_t entries = descriptor[0] == 0 ? 65536u : descriptor[0];
    const unsigned long top = (1ul << descriptor[2]) - 1;
    return data.size() == entries &&
        std::all_of(data.begin(), data.end(), [top](std::uint16_t value) { return value <= top; });
}

// LIN OD as a table for the values as presented (0 black): DCMTK's hardcopy
// curve, which takes its input as density (0 the lightest), read backwards,
// so that the darkest value prints at Max Density and the brightest at Min
// Density, through the Grayscale Standard Display Function under the given
// light.
bool DicomFilmImage::linOdTable(const ImagePresentation& presentation, std::vector<std::uint16_t>& descriptor,
                                std::vector<std::uint16_t>& data)
{
    data = linOdCurve(presentation.minDensity, presentation.maxDensity, presentation.illumination,
                      presentation.reflectedAmbientLight);
    if (data.empty())
        return false;
    descriptor = {static_cast<std::uint16_t>(data.size()), 0, 16};
    return true;
}

// Min and Max Density without a LUT of their own: the printed greys run from
// the grey of Max Density (for 0) to the grey of Min Density (for 255),
// linearly, on the printer's density scale.
void DicomFilmImage::applyDensityRange(const ImagePresentation& presentation,
                                       std::vector<std::string>& ignored)
{
    if (!presentation.densityRange)
        return;
    if (!image_->isMonochrome()) {
        ignored.push_back("Min/Max Density (the image is not grey)");
        return;
    }
    const int light =
        greyOfDensity(presentation.minDensity, presentation.illumination, presentation.reflectedAmbientLight);
    const int dark =
        greyOfDensity(presentation.maxDensity, presentation.illumination, presentation.reflectedAmbientLight);
    if (light == 255 && dark == 0)
        return;  // the whole scale: nothing changes
    std::array<std::uint8_t, 256> levels{};
    for (int v = 0; v < 256; ++v)
        levels[static_cast<std::size_t>(v)] =
            static_cast<std::uint8_t>(dark + std::lround((light - dark) * v / 255.0));
    greyRange_ = levels;
}

DicomFilmImage::DicomFilmImage(std::unique_ptr<DicomImage> image) : image_(std::move(image)) {}

DicomFilmImage::~DicomFilmImage() = default;

int DicomFilmImage::pixelWidth() const
{
    return static_cast<int>(image_->getWidth());
}

int DicomFilmImage::pixelHeight() const
{
    return static_cast<int>(image_->getHeight());
}

Picture DicomFilmImage::picture() const
{
    if (!picture_.isNull())
        return picture_;
    const bool grey = image_->isMonochrome() != 0;
    Picture picture;
    picture.width = pixelWidth();
    picture.height = pixelHeight();
    picture.format = grey ? Picture::Format::Gray8 : Picture::Format::Rgb24;
    const std::size_t size =
        static_cast<std::size_t>(picture.width) * picture.height * picture.bytesPerPixel();
    if (image_->getOutputDataSize(8) != size)
        return {};
    // Rendered straight into the picture's own buffer: no second copy of a
    // large image in memory.
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(size);
    if (!image_->getOutputData(pixels->data(), size, 8, 0, 0))
        return {};
    if (reverse_)
        for (auto& value : *pixels)
            value = static_cast<std::uint8_t>(255 - value);
    if (greyRange_)
        for (auto& value : *pixels)
            value = (*greyRange_)[value];
    picture.pixels = std::move(pixels);
    picture_ = picture;
    return picture_;
}

std::unique_ptr<FilmImage> DicomFilmImage::Rsize() const
{
    return RenderedFilmImage(picture(), pixelWidth(), pixelHeight()).Rsize();
}

}  // namespace vantorel::direct_composition
