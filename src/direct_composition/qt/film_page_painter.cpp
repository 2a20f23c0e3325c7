#include "direct_composition/qt/film_page_painter.h"

#include "direct_composition/picture_scaling.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace vantorel::direct_composition {

QImage toQImage(const Picture& picture)
{
    if (picture.isNull())
        return {};
    const bool grey = picture.format == Picture::Format::Gray8;
    QImage image(picture.width, picture.height, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (image.isNull())
        return {};
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * picture.bytesPerPixel();
    const std::uint8_t* source = picture.pixels->data();
    for (int row = 0; row < picture.height; ++row)
        std::memcpy(image.scanLine(row), source + row * rowBytes, rowBytes);
    return image;
}

Picture fromQImage(const QImage& source)
{
    if (source.isNull())
        return {};
    const bool grey = source.format() == QImage::Format_Grayscale8 ||
        source.format() == QImage::Format_Mono || source.isGrayscale();
    const QImage image = source.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    Picture picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.format = grey ? Picture::Format::Gray8 : Picture::Format::Rgb24;
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * picture.bytesPerPixel();
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(rowBytes * picture.height);
    for (int row = 0; row < picture.height; ++row)
        std::memcpy(pixels->data() + row * rowBytes, image.constScanLine(row), rowBytes);
    picture.pixels = std::move(pixels);
    return picture;
}

void paintFilmText(QPainter& painter, const DrawOp& op)
{
    QFont font(QString::fromStdString(op.style.font));
    // Pixel sizes are user-space units here, i.e. twips: 20 twips a point.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(op.style.pointSize * 20))));
    font.setBold(op.style.bold);
    const std::uint32_t c = op.style.colour;
    painter.setPen(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    painter.drawText(QPointF(op.rect.x, op.rect.y + metrics.ascent()), QString::fromStdString(op.text));
}

namespace {

// Device pixels per twip beyond which pictures are not enlarged by us: 300 dpi.
// Enlarging further (Qt drives CUPS printers at 1200 dpi) costs seconds per
// film for detail the film does not have.
constexpr double maxEnlargePerTwip = 300.0 / 1440.0;

// The size a picture is enlarged to before it goes to the device: its
// rectangle at the device's resolution, at most 300 dpi; none when the picture
// already has as many pixels (the device reduces it) or the size is absurd.
std::optional<QSize> enlargedSize(const Picture& picture, const QTransform& toDevice, const QRectF& rect)
{
    const QRectF device = toDevice.mapRect(rect);
    const double width = std::min(device.width(), rect.width() * maxEnlargePerTwip);
    const double height = std::min(device.height(), rect.height() * maxEnlargePerTwip);
    if (width * height <= double(picture.width) * picture.height || width > 20000 || height > 20000)
        return std::nullopt;
    return QSize(int(std::lround(width)), int(std::lround(height)));
}

// The picture's own pixels seen as a QImage, without a copy where its rows
// already have QImage's 4-byte alignment (a large film image would otherwise
// be held twice while it is painted); a copy otherwise. The picture must
// outlive the image.
QImage viewOf(const Picture& picture)
{
    if (picture.isNull())
        return {};
    const qsizetype rowBytes = static_cast<qsizetype>(picture.width) * picture.bytesPerPixel();
    const auto* data = picture.pixels->data();
    if (rowBytes % 4 != 0 || reinterpret_cast<std::uintptr_t>(data) % 4 != 0)
        return toQImage(picture);
    const bool grey = picture.format == Picture::Format::Gray8;
    return QImage(data, picture.width, picture.height, rowBytes,
                  grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
}

QColor pixelColour(const Picture& picture)
{
    const auto& p = *picture.pixels;
    return picture.format == Picture::Format::Rgb24 ? QColor(p[0], p[1], p[2]) : QColor(p[0], p[0], p[0]);
}

// A picture smaller than its rectangle at the device's resolution is enlarged
// here as its magnification asks (printers and PDF viewers would otherwise
// stretch it their own way): by repeating pixels (REPLICATE), smoothly
// (BILINEAR, Qt's filtering), or by bicubic convolution (CUBIC); a picture
// printed unscaled (NONE) already has one pixel per dot. A larger picture goes
// as it is, at full resolution, and the device reduces it.
void paintPicture(QPainter& painter, const DrawOp& op, const QRectF& rect)
{
    const auto size = enlargedSize(op.picture, painter.transform(), rect);
    const bool smooth =
        op.magnification == Magnification::Bilinear || op.magnification == Magnification::Cubic;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    if (size && op.magnification == Magnification::Cubic) {
        const Picture enlarged = scaleBicubic(op.picture, size->width(), size->height());
        const QImage image = viewOf(enlarged);
        if (!image.isNull())
            painter.drawImage(rect, image);
        return;
    }
    const QImage image = viewOf(op.picture);
    if (image.isNull())
        return;
    if (!size) {
        painter.drawImage(rect, image);
        return;
    }
    painter.drawImage(rect,
                      image.scaled(*size, Qt::IgnoreAspectRatio,
                                   smooth ? Qt::SmoothTransformation : Qt::FastTransformation));
}

}  // namespace

void paintFilmPage(QPainter& painter, const FilmPage& page)
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.translate(page.originX, page.originY);
    for (const DrawOp& op : page.ops) {
        if (op.kind == DrawOp::Kind::Text) {
            paintFilmText(painter, op);
            continue;
        }
        const QRectF rect(op.rect.x, op.rect.y, op.rect.width, op.rect.height);
        if (op.picture.width == 1 && op.picture.height == 1 && !op.picture.isNull()) {
            painter.fillRect(rect, pixelColour(op.picture));  // a fill such as the black base
            continue;
        }
        paintPicture(painter, op, rect);
    }
    painter.restore();
}

QImage renderFilmPreview(const FilmPage& page, int widthPixels)
{
    if (page.pageWidth <= 0 || page.pageHeight <= 0 || widthPixels <= 0)
        return {};
    const double scale = widthPixels / static_cast<double>(page.pageWidth);
    const int heightPixels = std::max(1, static_cast<int>(std::lround(page.pageHeight * scale)));
    QImage preview(widthPixels, heightPixels, QImage::Format_RGB32);
    preview.fill(Qt::white);
    QPainter painter(&preview);
    painter.scale(scale, scale);
    paintFilmPage(painter, page);
    return preview;
}

}  // namespace vantorel::direct_composition
