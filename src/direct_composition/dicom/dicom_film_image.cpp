#include "direct_composition/dicom/dicom_film_image.h"

#include "console/settings_conversions.h"

#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmimage/diregist.h>  // colour images
#include <dcmtk/dcmimgle/dcmimage.h>

#include <cstring>

namespace vantorel::direct_composition {

namespace {

long roundedOffset(double value)
{
    return static_cast<long>(console::roundHalfEven(value));
}

}  // namespace

std::unique_ptr<DicomFilmImage> DicomFilmImage::fromItem(DcmItem& item, std::string* error)
{
    auto image = std::make_unique<DicomImage>(&item, EXS_LittleEndianExplicit);
    if (image->getStatus() != EIS_Normal) {
        if (error)
            *error = DicomImage::getString(image->getStatus());
        return nullptr;
    }
    if (image->getWidth() == 0 || image->getHeight() == 0) {
        if (error)
            *error = "image without rows or columns";
        return nullptr;
    }
    // A window that the item itself carries is honoured, as viewers do.
    if (image->isMonochrome() && image->getWindowCount() > 0)
        image->setWindow(0);
    return std::unique_ptr<DicomFilmImage>(new DicomFilmImage(std::move(image)));
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
    const void* data = image_->getOutputData(8, 0, 0);
    if (data == nullptr)
        return {};
    Picture picture;
    picture.width = pixelWidth();
    picture.height = pixelHeight();
    picture.format = grey ? Picture::Format::Gray8 : Picture::Format::Rgb24;
    const std::size_t size =
        static_cast<std::size_t>(picture.width) * picture.height * picture.bytesPerPixel();
    if (image_->getOutputDataSize(8) < size)
        return {};
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(size);
    std::memcpy(pixels->data(), data, size);
    picture.pixels = std::move(pixels);
    picture_ = picture;
    image_->deleteOutputData();
    return picture_;
}

std::unique_ptr<FilmImage> DicomFilmImage::Rsize() const
{
    const long pw = pixelWidth();
    const long ph = pixelHeight();
    long side = pw, left = 0, top = 0;
    if (pw > ph)
        top = roundedOffset((ph - pw) / 2.0);
    else if (ph > pw) {
        side = ph;
        left = roundedOffset((pw - ph) / 2.0);
    }
    std::unique_ptr<DicomImage> squared(image_->createClippedImage(
        left, top, static_cast<unsigned long>(side), static_cast<unsigned long>(side), 0));
    if (!squared || squared->getStatus() != EIS_Normal)
        return nullptr;
    double center = 0, width = 0;
    if (image_->getWindow(center, width))
        squared->setWindow(center, width);
    return std::unique_ptr<FilmImage>(new DicomFilmImage(std::move(squared)));
}

}  // namespace vantorel::direct_composition
