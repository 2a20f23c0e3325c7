#include "hospital_name/qt/name_picture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantorel::hospital_name {
namespace {

const NameStyle redRegular{"Noto Sans CJK SC", 18, false, false, colourValue(255, 0, 0)};

QImage whitePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The smallest rectangle holding every pixel that is not white, and how many there are.
struct Ink {
    QRect box;
    int pixels = 0;
};
Ink inkOf(const QImage& image)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                ink.box |= QRect(x, y, 1, 1);
                ++ink.pixels;
            }
    return ink;
}

TEST(NamePicture, BasePictureOrPlainWhiteWhenMissing)
{
    QTemporaryDir dir;
    const QImage missing = loadBasePicture(dir.filePath("医院名称.bmp"));
    EXPECT_EQ(missing.size(), plainPictureSize);
    EXPECT_EQ(inkOf(missing).pixels, 0);

    QImage base = whitePicture(300, 40);
    base.setPixel(5, 5, qRgb(0, 0, 255));
    ASSERT_TRUE(base.convertToFormat(QImage::Format_Mono).save(dir.filePath("mono.bmp"), "BMP"));
    ASSERT_TRUE(base.save(dir.filePath("base.bmp"), "BMP"));
    EXPECT_EQ(loadBasePicture(dir.filePath("base.bmp")).pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(loadBasePicture(dir.filePath("mono.bmp")).size(), QSize(300, 40));

    QFile broken(dir.filePath("broken.bmp"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM not really");
    broken.close();
    EXPECT_EQ(loadBasePicture(dir.filePath("broken.bmp")).size(), plainPictureSize);
}

TEST(NamePicture, NameStartsAtItsFixedPositionInItsColourOnTheBase)
{
    QImage base = whitePicture(600, 64);
    base.setPixel(2, 60, qRgb(0, 0, 255));
    const QImage picture = renderHospitalName(base, "第一人民医院", redRegular);
    ASSERT_EQ(picture.size(), base.size());
    EXPECT_EQ(picture.pixel(2, 60), qRgb(0, 0, 255)) << "the base stays under the name";

    QImage withoutMark = picture;
    withoutMark.setPixel(2, 60, qRgb(255, 255, 255));
    const Ink ink = inkOf(withoutMark);
    // 1400 and 200 twips at 15 twips a pixel: the text cell starts at (93, 13).
    EXPECT_GE(ink.box.left(), 93);
    EXPECT_LE(ink.box.left(), 97);
    EXPECT_GE(ink.box.top(), 13);
    EXPECT_LE(ink.box.top(), 24);
    // Six CJK characters of 18 points (24 pixels) each.
    EXPECT_NEAR(ink.box.width(), 6 * 24, 12);
    int red = 0;
    for (int y = ink.box.top(); y <= ink.box.bottom(); ++y)
        for (int x = ink.box.left(); x <= ink.box.right(); ++x)
            if (picture.pixel(x, y) == qRgb(255, 0, 0))
                ++red;
    EXPECT_GT(red, 100);
}

TEST(NamePicture, BoldDrawsHeavierAndItalicIsNotDrawn)
{
    const QImage base = whitePicture(600, 64);
    NameStyle bold = redRegular;
    bold.bold = true;
    NameStyle italic = redRegular;
    italic.italic = true;
    const int regularInk = inkOf(renderHospitalName(base, "第一人民医院", redRegular)).pixels;
    EXPECT_GT(inkOf(renderHospitalName(base, "第一人民医院", bold)).pixels, regularInk * 11 / 10);
    EXPECT_EQ(renderHospitalName(base, "第一人民医院", italic),
              renderHospitalName(base, "第一人民医院", redRegular));
}

TEST(NamePicture, DrawingAgainDrawsOnTopOfTheLastDrawing)
{
    QTemporaryDir dir;
    NamePicture picture;
    picture.reload(dir.filePath("missing.bmp").toStdString());
    picture.drawName("一", redRegular);
    const QImage once = picture.image();
    picture.drawName("丨", redRegular);
    const QImage twice = picture.image();
    const QImage secondAlone = renderHospitalName(loadBasePicture({}), "丨", redRegular);
    for (int y = 0; y < twice.height(); ++y) {
        for (int x = 0; x < twice.width(); ++x) {
            if (once.pixel(x, y) == qRgb(255, 0, 0) || secondAlone.pixel(x, y) == qRgb(255, 0, 0)) {
                ASSERT_EQ(twice.pixel(x, y), qRgb(255, 0, 0)) << x << "," << y;
            }
        }
    }
    picture.reload(dir.filePath("missing.bmp").toStdString());
    EXPECT_EQ(inkOf(picture.image()).pixels, 0);
}

TEST(NamePicture, NameFitsWhenItsLineStaysInsideThePicture)
{
    // The shipped base picture's size; the name's line starts at (93, 13).
    const QImage base = whitePicture(600, 64);
    const NameStyle shipped{"Noto Sans CJK SC", 20, true, false, 0};
    NameStyle large = shipped;
    large.pointSize = 40;
    struct Case {
        const char* name;
        NameStyle style;
        bool fits;
    };
    const Case cases[] = {
        {"医院名称", shipped, true},
        {"", large, true},
        {"第一人民医院放射科影像中心", shipped, true},  // 13 characters, about 350 pixels
        {"第一人民医院放射科影像中心胶片打印室及远程会诊中心", shipped, false},
        {"医院", large, false},  // 53-pixel characters on a line taller than the picture
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nameFitsPicture(base, c.name, c.style), c.fits) << c.name << " " << c.style.pointSize;
        if (c.fits) {  // what fits is drawn whole: no ink on the picture's last column or row
            const QImage drawn = renderHospitalName(base, c.name, c.style);
            EXPECT_EQ(drawn.copy(base.width() - 1, 0, 1, base.height()),
                      base.copy(base.width() - 1, 0, 1, base.height()))
                << c.name;
        }
    }
    EXPECT_TRUE(nameFitsPicture(whitePicture(1200, 64), "第一人民医院放射科影像中心胶片打印室及远程会诊中心",
                                shipped));
}

TEST(NamePicture, SavesAWindowsBitmapAndReportsAFailedWrite)
{
    QTemporaryDir dir;
    NamePicture picture;
    picture.drawName("第一人民医院", redRegular);
    const QString path = dir.filePath("yy.bmp");
    ASSERT_TRUE(picture.save(path.toStdString()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), QByteArray("BM"));
    file.close();
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), picture.image());

    EXPECT_FALSE(picture.save(dir.filePath("no-such-folder/yy.bmp").toStdString()));
}

}  // namespace
}  // namespace vantorel::hospital_name
