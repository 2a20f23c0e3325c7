// The film PDF writer on its own: what each picture becomes in the PDF
// (pdfimages -list), pictures drawn twice kept once, fills as fills, and a
// refused write reported.

#include "direct_composition/pdf/film_pdf_writer.h"
#include "support/pdf_pages.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace vantorel::direct_composition {
namespace {

Picture picture(int width, int height, Picture::Format format, bool colour = false)
{
    Picture p;
    p.width = width;
    p.height = height;
    p.format = format;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * p.bytesPerPixel());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] =
            static_cast<std::uint8_t>(format == Picture::Format::Rgb24 && !colour ? (i / 3) * 7 : i * 7);
    p.pixels = std::make_shared<const std::vector<std::uint8_t>>(std::move(pixels));
    return p;
}

DrawOp pictureOp(const Picture& p, float size, Magnification magnification = Magnification::Bilinear)
{
    DrawOp op;
    op.picture = p;
    op.rect = {720, 720, size, size};
    op.magnification = magnification;
    return op;
}

// Writes the page into `folder` and returns the `pdfimages -list` rows as
// "type WxH colour bpc encoding interpolate".
QStringList listedImages(const QString& folder, const FilmPage& page, FilmImageCompression compression)
{
    const QString path = folder + "/film.pdf";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {"cannot write"};
    FilmPdfOptions options;
    options.compression = compression;
    const bool written =
        writeFilmPdf(page, {595, 842, 0, 0}, options, [&file](const char* data, std::size_t n) {
            return file.write(data, static_cast<qint64>(n)) == static_cast<qint64>(n);
        });
    file.close();
    if (!written)
        return {"not written"};
    QProcess list;
    list.start("pdfimages", {"-list", path});
    list.waitForFinished(30000);
    QStringList rows;
    for (const QByteArray& line : list.readAllStandardOutput().split('\n').mid(2)) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 10)
            rows << QString("%1 %2x%3 %4 %5 %6 %7").arg(f[2], f[3], f[4], f[5], f[7], f[8], f[9]);
    }
    return rows;
}

TEST(FilmPdfWriter, EachPictureBecomesOneImageAsItsKindAsks)
{
    const float inch = 1440;
    struct Case {
        const char* what;
        DrawOp op;
        FilmImageCompression compression;
        const char* listed;
    };
    const Case cases[] = {
        {"grey at its own size", pictureOp(picture(512, 512, Picture::Format::Gray8), inch),
         FilmImageCompression::Lossless, "image 512x512 gray 8 image yes"},
        {"RGB whose pixels are grey", pictureOp(picture(64, 48, Picture::Format::Rgb24), inch / 4),
         FilmImageCompression::Lossless, "image 64x48 gray 8 image yes"},
        {"colour", pictureOp(picture(64, 48, Picture::Format::Rgb24, true), inch / 4),
         FilmImageCompression::Lossless, "image 64x48 rgb 8 image yes"},
        {"grey as JPEG", pictureOp(picture(512, 512, Picture::Format::Gray8), inch),
         FilmImageCompression::Jpeg, "image 512x512 gray 8 jpeg yes"},
        {"colour as JPEG", pictureOp(picture(64, 48, Picture::Format::Rgb24, true), inch / 4),
         FilmImageCompression::Jpeg, "image 64x48 rgb 8 jpeg yes"},
        // 300 dots wanted: a quarter or less is enlarged to them first.
        {"small, replicated",
         pictureOp(picture(4, 4, Picture::Format::Gray8), inch, Magnification::Replicate),
         FilmImageCompression::Lossless, "image 300x300 gray 8 image no"},
        {"small, bicubic", pictureOp(picture(75, 75, Picture::Format::Gray8), inch, Magnification::Cubic),
         FilmImageCompression::Lossless, "image 300x300 gray 8 image yes"},
        {"over a quarter, kept",
         pictureOp(picture(76, 76, Picture::Format::Gray8), inch, Magnification::Cubic),
         FilmImageCompression::Lossless, "image 76x76 gray 8 image yes"},
        {"one pixel per dot", pictureOp(picture(4, 4, Picture::Format::Gray8), inch, Magnification::None),
         FilmImageCompression::Lossless, "image 4x4 gray 8 image no"},
    };
    QTemporaryDir folder;
    for (const Case& c : cases) {
        FilmPage page;
        page.ops.push_back(c.op);
        EXPECT_EQ(listedImages(folder.path(), page, c.compression), QStringList{c.listed}) << c.what;
    }
}

TEST(FilmPdfWriter, APictureDrawnTwiceIsKeptOnceAndFillsAreNoImages)
{
    QTemporaryDir folder;
    FilmPage page;
    DrawOp base;
    base.picture = Picture::solid(10, 20, 30);
    base.rect = {0, 0, 11900, 16840};
    page.ops.push_back(base);
    const Picture shared = picture(128, 128, Picture::Format::Gray8);
    page.ops.push_back(pictureOp(shared, 1440));
    page.ops.push_back(pictureOp(shared, 1440));
    page.ops.push_back(pictureOp(picture(128, 128, Picture::Format::Gray8), 1440));
    // pdfimages lists every drawing of an image; the object numbers tell
    // the images apart.
    EXPECT_EQ(listedImages(folder.path(), page, FilmImageCompression::Lossless).size(), 3);
    QProcess list;
    list.start("pdfimages", {"-list", folder.path() + "/film.pdf"});
    list.waitForFinished(30000);
    QSet<QByteArray> objects;
    for (const QByteArray& line : list.readAllStandardOutput().split('\n').mid(2)) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 11)
            objects.insert(f[10]);
    }
    EXPECT_EQ(objects.size(), 2);

    // The fill is drawn in its colour where nothing covers it.
    const QImage rendered = vantorel::testing::renderPdfPage(folder.path() + "/film.pdf", 72);
    ASSERT_FALSE(rendered.isNull());
    EXPECT_EQ(rendered.pixel(500, 800), qRgb(10, 20, 30));
}

TEST(FilmPdfWriter, ARefusedPieceStopsTheWriting)
{
    FilmPage page;
    page.ops.push_back(pictureOp(picture(64, 64, Picture::Format::Gray8), 1440));
    FilmPdf pdf(page, {595, 842, 0, 0}, {});
    ASSERT_TRUE(pdf.ready());
    int pieces = 0;
    EXPECT_FALSE(pdf.write([&pieces](const char*, std::size_t) { return ++pieces < 3; }));
    EXPECT_EQ(pieces, 3);
    EXPECT_FALSE(pdf.write([](const char*, std::size_t) { return true; }));  // written once
}

TEST(FilmPdfWriter, CompressionKeywords)
{
    const struct {
        const char* keyword;
        bool known;
        FilmImageCompression compression;
    } cases[] = {{"lossless", true, FilmImageCompression::Lossless},
                 {" JPEG ", true, FilmImageCompression::Jpeg},
                 {"Lossless", true, FilmImageCompression::Lossless},
                 {"png", false, FilmImageCompression::Lossless},
                 {"", false, FilmImageCompression::Lossless}};
    for (const auto& c : cases) {
        FilmImageCompression compression = FilmImageCompression::Lossless;
        EXPECT_EQ(filmImageCompressionOf(c.keyword, compression), c.known) << c.keyword;
        EXPECT_EQ(compression, c.compression) << c.keyword;
    }
}

}  // namespace
}  // namespace vantorel::direct_composition
