#include "direct_composition/qt/film_text_raster.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vantorel::direct_composition {

RasterText rasteriseFilmText(const DrawOp& op, int dotsPerInch)
{
    const QString text = QString::fromStdString(op.text);
    if (text.isEmpty() || dotsPerInch <= 0)
        return {};
    QFont font(QString::fromStdString(op.style.font));
    // Pixel sizes are twips here, as on the page painter: 20 twips a point.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(op.style.pointSize * 20))));
    font.setBold(op.style.bold);
    const QFontMetricsF metrics(font);
    const QPointF baseline(op.rect.x, op.rect.y + metrics.ascent());

    // The ink's box around the line, a few dots wider for anti-aliasing, on
    // whole dots so that the picture's pixels are square.
    const double dotsPerTwip = dotsPerInch / 1440.0;
    const double pad = 3 / dotsPerTwip;
    const QRectF ink = metrics.boundingRect(text).translated(baseline);
    const QRectF line(QPointF(std::min(ink.left(), baseline.x()), std::min(ink.top(), double(op.rect.y))),
                      QPointF(std::max(ink.right(), baseline.x() + metrics.horizontalAdvance(text)),
                              std::max(ink.bottom(), op.rect.y + metrics.height())));
    const double left = line.left() - pad;
    const double top = line.top() - pad;
    const int width = static_cast<int>(std::ceil((line.width() + 2 * pad) * dotsPerTwip));
    const int height = static_cast<int>(std::ceil((line.height() + 2 * pad) * dotsPerTwip));
    if (width <= 0 || height <= 0 || width > 30000 || height > 30000)
        return {};

    QImage image(width, height, QImage::Format_Grayscale8);
    if (image.isNull())
        return {};
    image.fill(255);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.scale(dotsPerTwip, dotsPerTwip);
        painter.translate(-left, -top);
        painter.setPen(Qt::black);
        painter.setFont(font);
        painter.drawText(baseline, text);
    }

    auto coverage = std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const uchar* row = image.constScanLine(y);
        std::uint8_t* out = coverage->data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = static_cast<std::uint8_t>(255 - row[x]);
    }
    RasterText raster;
    raster.coverage.width = width;
    raster.coverage.height = height;
    raster.coverage.format = Picture::Format::Gray8;
    raster.coverage.pixels = std::move(coverage);
    raster.rect = {static_cast<float>(left), static_cast<float>(top),
                   static_cast<float>(width / dotsPerTwip), static_cast<float>(height / dotsPerTwip)};
    return raster;
}

}  // namespace vantorel::direct_composition
