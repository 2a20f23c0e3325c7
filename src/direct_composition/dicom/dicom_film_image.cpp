#include "direct_composition/dicom/dicom_film_image.h"

#include "direct_composition/rendered_film_image.h"

#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmimage/diregist.h>  // colour images
#include <dcmtk/dcmimgle/dcmimage.h>

#include <cstring>

namespace vantorel::direct_composition {

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
    picture.pixels = std::move(pixels);
    picture_ = picture;
    return picture_;
}

std::unique_ptr<FilmImage> DicomFilmImage::Rsize() const
{
    return RenderedFilmImage(picture(), pixelWidth(), pixelHeight()).Rsize();
}

}  // namespace vantorel::direct_composition
