// What the modality asks of the printed image, seen on the FilmFile PDF of
// the real program: polarity, pixel aspect ratio, Presentation LUT and
// requested image size; values that cannot be applied are logged and the film
// still prints.

#include "print_server.h"
#include "support/dicom_image_files.h"

#include <QDirIterator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <utility>

namespace vantorel::testing {
namespace {

// Black base, no header, no margins: an A4 portrait page of 11900 x 16840
// twips whose image area is the whole page.
const QString plainFilms =
    "打印黑底胶片=1\r\n打印医院名称=0\r\n打印下边距=0\r\n打印左边距=0\r\n打印上边距=0\r\n";

// Four vertical bands of grey, 30, 90, 160 and 220, on a 128 x 128 image.
const int bandLevels[4] = {30, 90, 160, 220};

// The bands as an image file; `inverted` stores 255 - level.
QString writeBands(const TempHome& home, const QString& name, const char* photometric, bool inverted)
{
    const QString path = home.path() + "/" + name + ".dcm";
    const bool written = writeGreyImageFile(path, {128, 128, 8, photometric}, [inverted](int x, int) {
        return Uint16(inverted ? 255 - bandLevels[x / 32] : bandLevels[x / 32]);
    });
    return written ? path : QString();
}

// The longest run of pixels along a line for which `inside` holds: {first, length}.
std::pair<int, int> longestRun(int length, const std::function<bool(int)>& inside)
{
    std::pair<int, int> best{-1, 0};
    for (int i = 0, start = -1; i <= length; ++i) {
        const bool in = i < length && inside(i);
        if (in && start < 0)
            start = i;
        if (!in && start >= 0) {
            if (i - start > best.second)
                best = {start, i - start};
            start = -1;
        }
    }
    return best;
}

class PrintFidelity : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
        server = std::make_unique<PrintServer>(home, plainFilms);
        ASSERT_TRUE(server->start());
        bands = writeBands(home, "bands", "MONOCHROME2", false);
        invertedBands = writeBands(home, "inverted", "MONOCHROME2", true);
        ASSERT_FALSE(bands.isEmpty() || invertedBands.isEmpty());
    }

    // Prints one film with `options` and renders its page; the simulator's
    // output when it did not end well.
    QImage printed(QStringList options, int dpi = 72, const QString& image = {})
    {
        const QString folder = home.path() + "/FilmFile";
        const auto before = pdfFilesIn(folder);
        options << "--image" << (image.isEmpty() ? bands : image);
        const ProgramResult result = server->print(options);
        EXPECT_EQ(result.exitCode, 0) << result.out;
        const QStringList files = newPdfFiles(folder, before);
        if (files.size() != 1) {
            ADD_FAILURE() << "expected one new film, got " << files.size();
            return {};
        }
        return renderPdfPage(files.front(), dpi);
    }

    // The grey at the middle of each band of a 1x1 film: the square image
    // fills the page width (11900 twips), centred on the page height.
    static std::vector<int> bandGreys(const QImage& page)
    {
        std::vector<int> greys;
        const double scale = page.width() / 11900.0;  // pixels per twip
        for (int band = 0; band < 4; ++band)
            greys.push_back(meanGrey(page, int((band + 0.5) * 11900 / 4 * scale), int(16840 / 2 * scale), 3));
        return greys;
    }

    TempHome home;
    std::unique_ptr<PrintServer> server;
    QString bands;
    QString invertedBands;  // the same bands, stored values inverted
};

// REVERSE prints exactly what the inverted data prints NORMAL: the same page,
// pixel for pixel.
TEST_F(PrintFidelity, ReverseIsTheExactInverseOfNormal)
{
    const QImage normal = printed({"--polarity", "NORMAL"});
    const QImage reverse = printed({"--polarity", "REVERSE"});
    EXPECT_TRUE(normal == printed({}));
    EXPECT_TRUE(reverse == printed({}, 72, invertedBands));
    const auto greys = bandGreys(reverse);
    for (int band = 0; band < 4; ++band)
        EXPECT_NEAR(greys[band], 255 - bandLevels[band], 3) << "band " << band;
}

// The packed 1x1 cell of an A4 page: a 2\1 image (pixels twice as tall as
// wide) is fitted to the page height, half as wide as it is tall.
TEST_F(PrintFidelity, PixelAspectTwoToOneIsDrawnTwiceAsTallAsWide)
{
    const QImage page = printed({"--pixel-aspect", "2\\1"}, 50);
    ASSERT_FALSE(page.isNull());
    // The drawn picture is what is not black base along the middle lines.
    auto extent = [&](bool across) {
        int n = 0;
        const int length = across ? page.width() : page.height();
        for (int i = 0; i < length; ++i) {
            const int x = across ? i : page.width() * 5 / 8;  // in the 160 band
            const int y = across ? page.height() / 2 : i;
            n += qGray(page.pixel(x, y)) > 15;
        }
        return n;
    };
    const int wide = extent(true), tall = extent(false);
    EXPECT_NEAR(tall, page.height(), 2);  // fitted to the height of the page
    EXPECT_NEAR(double(tall) / wide, 2.0, 0.03) << wide << " x " << tall;
}

TEST_F(PrintFidelity, IdentityChangesNothingWhileAnInvertingLutInverts)
{
    const QImage plain = printed({});
    const QImage identity = printed({"--presentation-lut", "IDENTITY"});
    const QImage identityTable = printed({"--presentation-lut", "table:identity", "--lut-at", "image-box"});
    EXPECT_TRUE(identity == plain);
    EXPECT_TRUE(identityTable == plain);
    const auto inverted = bandGreys(printed({"--presentation-lut", "table:inverse", "--lut-at", "session"}));
    const auto greys = bandGreys(plain);
    for (int band = 0; band < 4; ++band)
        EXPECT_NEAR(inverted[band], 255 - greys[band], 2) << "band " << band;
}

// LIN OD keeps the order of the greys (the darkest band prints at Max
// Density) and follows the film box's densities: a lower Max Density prints
// the darkest band lighter.
TEST_F(PrintFidelity, LinOdFollowsTheFilmBoxDensities)
{
    const auto plain = bandGreys(printed({}));
    const auto standard = bandGreys(printed({"--presentation-lut", "LIN OD"}));
    const auto light = bandGreys(printed({"--presentation-lut", "LIN OD", "--max-density", "60"}));
    EXPECT_NE(standard, plain);
    for (int band = 1; band < 4; ++band) {
        EXPECT_GT(standard[band], standard[band - 1]) << "band " << band;
        EXPECT_GT(light[band], light[band - 1]) << "band " << band;
    }
    EXPECT_GT(light[0], standard[0] + 20);
}

// At 254 dpi a pixel is a tenth of a millimetre.
TEST_F(PrintFidelity, RequestedImageSizeOf100mmPrints100mmWide)
{
    const QImage page = printed({"--requested-size", "100"}, 254);
    ASSERT_FALSE(page.isNull());
    // The longest run of picture along the middle line (the page's last
    // pixel column is not covered by the black base).
    const int y = page.height() / 2;
    const auto run = longestRun(page.width(), [&](int x) { return qGray(page.pixel(x, y)) > 15; });
    ASSERT_GT(run.second, 0);
    const int left = run.first, right = run.first + run.second - 1;
    EXPECT_NEAR(run.second / 10.0, 100.0, 1.0);
    // Centred on the page (210 mm wide).
    EXPECT_NEAR((left + right) / 20.0, 210.0 / 2, 1.0);
}

// Values that cannot be applied leave the image as it was, say so once per
// image box, and the film prints with Success.
TEST_F(PrintFidelity, UnapplicableValuesAreLoggedAndTheFilmStillPrints)
{
    const auto plain = bandGreys(printed({}));
    const auto odd =
        bandGreys(printed({"--format", "STANDARD\\1,1", "--polarity", "SIDEWAYS", "--presentation-lut",
                           "table:short", "--lut-at", "image-box", "--pixel-aspect", "0\\1"}));
    EXPECT_EQ(odd, plain);
    int lines = 0;
    for (const auto& line : runLogMessages(home))
        if (line.rfind("image box ", 0) == 0 && line.find(": ignored ") != std::string::npos) {
            ++lines;
            EXPECT_NE(line.find("Polarity \"SIDEWAYS\""), std::string::npos) << line;
            EXPECT_NE(line.find("Presentation LUT Sequence (malformed LUT)"), std::string::npos) << line;
            EXPECT_NE(line.find("Pixel Aspect Ratio \"0\\1\""), std::string::npos) << line;
        }
    EXPECT_EQ(lines, 1);
}

// What the film box asks of the film as a whole, on 1x1 (or 2x1) films of
// an A4 page at 300 dpi: 1 twip is 300/1440 of a pixel.
class FilmBoxFidelity : public PrintFidelity {
protected:
    static constexpr double pixelsPerTwip = 300.0 / 1440;

    QImage printed300(QStringList options, const QString& image = {})
    {
        return printed(std::move(options), 300, image);
    }
    static int greyAt(const QImage& page, double xTwips, double yTwips, int radius = 2)
    {
        return meanGrey(page, int(xTwips * pixelsPerTwip), int(yTwips * pixelsPerTwip), radius);
    }
    // A 16 x 16 checkerboard of single pixels, greys 60 and 200.
    QString checkerboard()
    {
        const QString path = home.path() + "/checker.dcm";
        const bool written = writeGreyImageFile(path, {16, 16, 8, "MONOCHROME2"},
                                                [](int x, int y) { return Uint16((x + y) % 2 ? 200 : 60); });
        return written ? path : QString();
    }
    // Along the middle row of the picture's middle checker row, away from the
    // picture's edges: how many pixels are neither of the two greys the
    // checkerboard prints (the two most common ones).
    static int inBetweenGreys(const QImage& page)
    {
        const int y = int((2470 + 11900 * 8.5 / 16) * pixelsPerTwip);
        std::map<int, int> counts;
        const int from = int(11900 / 16.0 * pixelsPerTwip), to = int(11900 * 15 / 16.0 * pixelsPerTwip);
        for (int x = from; x < to; ++x)
            ++counts[qGray(page.pixel(x, y))];
        std::vector<std::pair<int, int>> byCount;
        for (const auto& [grey, n] : counts)
            byCount.push_back({n, grey});
        std::sort(byCount.rbegin(), byCount.rend());
        if (byCount.size() < 2)
            return 0;
        const int a = byCount[0].second, b = byCount[1].second;
        int others = 0;
        for (const auto& [grey, n] : counts)
            if (std::abs(grey - a) > 6 && std::abs(grey - b) > 6)
                others += n;
        return others;
    }
};

// The square image fills the page width between y = 2470 and 14370 twips;
// above and below it lies the base.
TEST_F(FilmBoxFidelity, BorderDensityFillsTheBase)
{
    const QImage plain = printed300({});
    const QImage white = printed300({"--border-density", "WHITE"});
    const QImage grey = printed300({"--border-density", "150"});
    const QImage black = printed300({"--border-density", "BLACK"});
    ASSERT_FALSE(plain.isNull() || white.isNull() || grey.isNull() || black.isNull());
    for (const double y : {1000.0, 15600.0}) {
        EXPECT_LT(greyAt(plain, 5950, y), 5) << y;
        EXPECT_GT(greyAt(white, 5950, y), 250) << y;
        EXPECT_GT(greyAt(grey, 5950, y), 30) << y;
        EXPECT_LT(greyAt(grey, 5950, y), 225) << y;
    }
    EXPECT_TRUE(black == plain);
    // The picture itself is as it was.
    EXPECT_EQ(greyAt(white, 11900 / 8.0, 8420), greyAt(plain, 11900 / 8.0, 8420));
}

// STANDARD\2,1 with one image: the empty right cell takes the Empty Image
// Density over the whole cell; the base stays black around the image.
TEST_F(FilmBoxFidelity, EmptyImageDensityWhiteGivesAWhiteEmptyCellOnABlackBase)
{
    const QStringList partial{"--format", "STANDARD\\2,1", "--images", "1"};
    const QImage plain = printed300(partial);
    const QImage white = printed300(partial + QStringList{"--empty-density", "WHITE"});
    ASSERT_FALSE(plain.isNull() || white.isNull());
    for (const double y : {1000.0, 8420.0, 15600.0}) {
        EXPECT_LT(greyAt(plain, 8925, y), 5) << y;
        EXPECT_GT(greyAt(white, 8925, y), 250) << y;
        EXPECT_LT(greyAt(white, 2975, y < 8000 || y > 9000 ? y : 1000), 5) << y;  // the base
    }
}

// Trim YES: a white line a quarter millimetre wide (about three dots) just
// inside the picture's edge on the black base; the picture's middle is as it
// was.
TEST_F(FilmBoxFidelity, TrimDrawsALineAroundThePicture)
{
    const QImage plain = printed300({});
    const QImage trimmed = printed300({"--trim", "YES"});
    ASSERT_FALSE(plain.isNull() || trimmed.isNull());
    const double x = 11900 / 8.0;  // in the darkest band (30)
    EXPECT_NEAR(greyAt(plain, x, 2477, 0), bandLevels[0], 4);
    EXPECT_GT(greyAt(trimmed, x, 2477, 0), 240);
    EXPECT_GT(greyAt(trimmed, x, 14363, 0), 240);
    EXPECT_GT(greyAt(trimmed, 7, 8420, 0), 240);
    EXPECT_NEAR(greyAt(trimmed, x, 2520, 0), bandLevels[0], 4);  // beyond the line
    EXPECT_EQ(greyAt(trimmed, x, 8420), greyAt(plain, x, 8420));
    // On a white border the line is black.
    const QImage onWhite = printed300({"--trim", "YES", "--border-density", "WHITE"});
    EXPECT_LT(greyAt(onWhite, 11900 * 7 / 8.0, 2477, 0), 15);
}

// Each checker pixel is about 155 dots wide: REPLICATE repeats it, so the row
// holds only the two greys; BILINEAR (the default) and CUBIC blend across
// every edge.
TEST_F(FilmBoxFidelity, ReplicateKeepsHardEdgesWhereBilinearAndCubicBlend)
{
    const QString checker = checkerboard();
    ASSERT_FALSE(checker.isEmpty());
    const QImage replicate = printed300({"--magnification", "REPLICATE"}, checker);
    const QImage bilinear = printed300({}, checker);
    const QImage cubic = printed300({"--box-magnification", "CUBIC", "--smoothing", "MEDIUM"}, checker);
    ASSERT_FALSE(replicate.isNull() || bilinear.isNull() || cubic.isNull());
    EXPECT_LE(inBetweenGreys(replicate), 2 * 14);  // at most a dot or two at each of 14 edges
    EXPECT_GT(inBetweenGreys(bilinear), 500);
    EXPECT_GT(inBetweenGreys(cubic), 500);
    EXPECT_TRUE(bilinear == printed300({"--magnification", "BILINEAR"}, checker));
    int smoothingLines = 0;
    for (const auto& line : runLogMessages(home))
        smoothingLines += line.rfind("film box ", 0) == 0 &&
            line.find("ignored Smoothing Type \"MEDIUM\" (not applied)") != std::string::npos;
    EXPECT_EQ(smoothingLines, 1);
}

// NONE: the 128 x 128 bands at one pixel per dot, centred on the page.
TEST_F(FilmBoxFidelity, MagnificationNonePrintsOnePixelPerDot)
{
    const QImage page = printed300({"--magnification", "NONE"});
    ASSERT_FALSE(page.isNull());
    const int y = page.height() / 2;
    const auto across = longestRun(page.width(), [&](int x) { return qGray(page.pixel(x, y)) > 15; });
    EXPECT_NEAR(across.second, 128, 1);
    EXPECT_NEAR(across.first + across.second / 2.0, page.width() / 2.0, 2);
    const int x = across.first + across.second / 8;  // the darkest band
    const auto down = longestRun(page.height(), [&](int yy) { return qGray(page.pixel(x, yy)) > 15; });
    EXPECT_NEAR(down.second, 128, 1);
}

// Min and Max Density 1.00 and 2.00 OD without a LUT: the darkest band prints
// lighter, the brightest darker, the order of the bands kept.
TEST_F(FilmBoxFidelity, MinAndMaxDensityNarrowTheGreyRange)
{
    const auto plain = bandGreys(printed({}));
    const auto narrow = bandGreys(printed({"--min-density", "100", "--max-density", "200"}));
    EXPECT_GT(narrow[0], plain[0] + 10);
    EXPECT_LT(narrow[3], plain[3] - 10);
    EXPECT_LT(narrow[3] - narrow[0], plain[3] - plain[0] - 60);
    for (int band = 1; band < 4; ++band)
        EXPECT_GT(narrow[band], narrow[band - 1]) << "band " << band;
    // The whole scale, 0.20 to 3.00 OD, is the plain film.
    EXPECT_EQ(bandGreys(printed({"--min-density", "20", "--max-density", "300"})), plain);
}

// ROW and COL of any length: every row (column) of the page holds as many
// pictures as its count. Each picture of the bands has one band of grey 220,
// so the runs of that grey along a line through a row (column) count its
// pictures.
TEST_F(FilmBoxFidelity, RowAndColumnFormatsOfAnyLengthPrintEachLineWithItsCount)
{
    struct Case {
        const char* format;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"ROW\\1,2", {1, 2}},
        {"ROW\\1,2,3", {1, 2, 3}},
        {"COL\\3,1,2", {3, 1, 2}},
        {"ROW\\2,2", {2, 2}},
    };
    const auto isTop = [](QRgb pixel) { return std::abs(qGray(pixel) - bandLevels[3]) < 12; };
    for (const Case& c : cases) {
        const QImage page = printed({"--format", c.format});
        ASSERT_FALSE(page.isNull()) << c.format;
        const bool byColumn = std::string(c.format).rfind("COL", 0) == 0;
        const int n = static_cast<int>(c.lines.size());
        int boxes = 0;
        for (int line = 0; line < n; ++line) {
            boxes += c.lines[line];
            int runs = 0;
            if (byColumn) {
                // Down the top band of the pictures of column `line`.
                const int x = int((line + 0.875) * page.width() / n);
                for (int y = 1; y < page.height(); ++y)
                    runs += isTop(page.pixel(x, y)) && !isTop(page.pixel(x, y - 1));
            } else {
                const int y = int((line + 0.5) * page.height() / n);
                for (int x = 1; x < page.width(); ++x)
                    runs += isTop(page.pixel(x, y)) && !isTop(page.pixel(x - 1, y));
            }
            EXPECT_EQ(runs, c.lines[line]) << c.format << " line " << line + 1;
        }
        bool counted = false;
        for (const auto& logged : runLogMessages(home))
            counted = counted || logged == "本次发送图像数目：" + std::to_string(boxes);
        EXPECT_TRUE(counted) << c.format;
    }
}

// Template films: the 1x1 template of 14 x 17 inch paper, saved as TIFF
// (the archive is out of reach, which the film does not mind).
class TemplateFidelity : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(home.path() + "/ReportMode");
        ASSERT_TRUE(QFile::copy(QString(VANTOREL_SHIPPED_TEMPLATES) + "/1417-11.rpx",
                                home.path() + "/ReportMode/1417-11.rpx"));
        home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
        const QString unreachable = QString("DRIVER={MySQL ODBC 5.2 ANSI Driver};SERVER=127.0.0.1;"
                                            "PORT=%1;DATABASE=dbprt;UID=root;PWD=;")
                                        .arg(freePort());
        server = std::make_unique<PrintServer>(
            home,
            "启用胶片格式文件=1\r\nSaveFilm=1\r\nFilmSize_1=4\r\n胶片导出路径=" + home.path() +
                "/images\r\nConnectString=" + unreachable + "\r\n");
        ASSERT_TRUE(server->start());
        bands = writeBands(home, "bands", "MONOCHROME2", false);
        ASSERT_FALSE(bands.isEmpty());
    }

    QStringList tiffs() const
    {
        QStringList files;
        QDirIterator it(home.path() + "/images", {"*.tiff"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

    // Prints one film of `image` (the bands by default) and reads its TIFF.
    QImage printed(QStringList options, const QString& image = {})
    {
        const QStringList before = tiffs();
        options << "--film-size"
                << "14INX17IN"
                << "--image" << (image.isEmpty() ? bands : image);
        const ProgramResult result = server->print(options);
        EXPECT_EQ(result.exitCode, 0) << result.out;
        QStringList after = tiffs();
        for (const QString& file : before)
            after.removeAll(file);
        if (after.size() != 1) {
            ADD_FAILURE() << "expected one new film image, got " << after.size();
            return {};
        }
        return QImage(after.front()).convertToFormat(QImage::Format_RGB32);
    }

    // The picture is where the bands' greys are: neither black base nor paper.
    static bool inPicture(const QImage& tiff, int x, int y)
    {
        const int grey = qGray(tiff.pixel(x, y));
        return grey > 15 && grey < 250;
    }

    static std::pair<int, int> across(const QImage& tiff, int y)
    {
        return longestRun(tiff.width(), [&](int x) { return inPicture(tiff, x, y); });
    }

    TempHome home;
    std::unique_ptr<PrintServer> server;
    QString bands;
};

TEST_F(TemplateFidelity, TiffFollowsPolarityLutAndPhotometricInterpretation)
{
    const QImage plain = printed({});
    ASSERT_FALSE(plain.isNull());
    EXPECT_TRUE(printed({"--polarity", "REVERSE"}) ==
                printed({}, writeBands(home, "inverted", "MONOCHROME2", true)));
    EXPECT_TRUE(printed({"--presentation-lut", "IDENTITY"}) == plain);
    const QImage inverted = printed({"--presentation-lut", "table:inverse", "--lut-at", "image-box"});
    const QImage mono1 = printed({}, writeBands(home, "mono1", "MONOCHROME1", true));
    const auto run = across(plain, plain.height() / 2);
    ASSERT_GT(run.second, 100);
    for (int band = 0; band < 4; ++band) {
        const int x = run.first + (2 * band + 1) * run.second / 8, y = plain.height() / 2;
        const int grey = meanGrey(plain, x, y, 3);
        EXPECT_NEAR(grey, bandLevels[band], 2) << "band " << band;
        EXPECT_NEAR(meanGrey(inverted, x, y, 3), 255 - grey, 2) << "band " << band;
        EXPECT_NEAR(meanGrey(mono1, x, y, 3), grey, 1) << "band " << band;
    }
}

// The TIFF holds the sheet inside its margins (19440 twips wide) in 2400
// pixels: 7 pixels to the millimetre.
TEST_F(TemplateFidelity, TiffKeepsPixelAspectAndRequestedSize)
{
    const QImage tall = printed({"--pixel-aspect", "2\\1"});
    ASSERT_FALSE(tall.isNull());
    const auto wide = across(tall, tall.height() / 2);
    const int column = wide.first + wide.second * 5 / 8;
    const auto high = longestRun(tall.height(), [&](int y) { return inPicture(tall, column, y); });
    EXPECT_NEAR(double(high.second) / wide.second, 2.0, 0.02) << wide.second << " x " << high.second;

    const double pixelsPerMm = 2400.0 / 19440 * 1440 / 25.4;
    const QImage sized = printed({"--requested-size", "100"});
    ASSERT_FALSE(sized.isNull());
    const auto run = across(sized, sized.height() / 2);
    EXPECT_NEAR(run.second / pixelsPerMm, 100.0, 1.0);
    EXPECT_NEAR(run.first + run.second / 2.0, sized.width() / 2.0, pixelsPerMm);
}

// On a template film, Border Density recolours the template's base and Trim
// draws its line around the picture: the square picture fills the width, so
// the base shows above and below it.
TEST_F(TemplateFidelity, BorderDensityAndTrimReachTheTemplateFilm)
{
    const QImage plain = printed({});
    const QImage white = printed({"--border-density", "WHITE", "--trim", "YES"});
    ASSERT_FALSE(plain.isNull() || white.isNull());
    const int x = plain.width() / 2, above = plain.height() / 20;
    EXPECT_LT(meanGrey(plain, x, above, 3), 5);
    EXPECT_GT(meanGrey(white, x, above, 3), 250);
    // The picture's top edge: one row of the 0.25 mm black line just inside it.
    const auto run = across(plain, plain.height() / 2);
    const int top = (plain.height() - run.second) / 2;
    EXPECT_LT(meanGrey(white, x, top + 1, 0), 5);
    EXPECT_GT(meanGrey(plain, x, top + 1, 0), 20);
}

}  // namespace
}  // namespace vantorel::testing
