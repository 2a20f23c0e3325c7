#include "hospital_name/qt/name_picture.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace vantorel::hospital_name {

namespace {

// 96 pixels to the inch, in the picture's own units.
constexpr int dotsPerMeter = 3780;

QImage asPreview(QImage image)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

QFont nameFont(const NameStyle& style)
{
    QFont font(QString::fromStdString(style.font));
    if (style.pointSize > 0)
        font.setPointSizeF(style.pointSize);
    font.setBold(style.bold);
    return font;
}

// The top-left of the name's line on the picture, in pixels.
constexpr QPointF nameCell(nameLeftTwips / twipsPerPixel, nameTopTwips / twipsPerPixel);

}  // namespace

QImage loadBasePicture(const QString& path)
{
    QImage image;
    if (path.isEmpty() || !image.load(path) || image.isNull()) {
        image = QImage(plainPictureSize, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    return asPreview(image);
}

QImage renderHospitalName(const QImage& base, const std::string& name, const NameStyle& style)
{
    QImage picture = asPreview(base);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = nameFont(style);
    painter.setFont(font);
    painter.setPen(QColor(redOf(style.colour), greenOf(style.colour), blueOf(style.colour)));
    // Text starts at the top of its line, as a print position does.
    const QFontMetricsF metrics(font, &picture);
    painter.drawText(nameCell + QPointF(0, metrics.ascent()), QString::fromStdString(name));
    return picture;
}

bool nameFitsPicture(const QImage& base, const std::string& name, const NameStyle& style)
{
    if (name.empty())
        return true;
    const QImage picture = asPreview(base);  // the resolution the name is drawn at
    const QFontMetricsF metrics(nameFont(style), &picture);
    const double right = nameCell.x() + metrics.horizontalAdvance(QString::fromStdString(name));
    const double bottom = nameCell.y() + metrics.height();
    return right <= picture.width() && bottom <= picture.height();
}

void NamePicture::reload(const std::string& path)
{
    image_ = loadBasePicture(QString::fromStdString(path));
}

void NamePicture::drawName(const std::string& name, const NameStyle& style)
{
    image_ = renderHospitalName(image_, name, style);
}

bool NamePicture::save(const std::string& path)
{
    // Written beside and renamed over the old file, so a failed write keeps it.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "bmp");
    return writer.write(image_) && file.commit();
}

}  // namespace vantorel::hospital_name
