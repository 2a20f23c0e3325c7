// What the modality asks of the printed image, seen on the FilmFile PDF of
// the real program: polarity, pixel aspect ratio, Presentation LUT and
// requested image size; values that cannot be applied are logged and the film
// still prints.

#include "image_files.h"
#include "print_server.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantorel::testing {
namespace {

// Black base, no header, no margins: an A4 portrait page of 11900 x 16840
// twips whose image area is the whole page.
const QString plainFilms =
    "打印黑底胶片=1\r\n打印医院名称=0\r\n打印下边距=0\r\n打印左边距=0\r\n打印上边距=0\r\n";

// Four vertical bands of grey, 30, 90, 160 and 220, on a 128 x 128 image.
const int bandLevels[4] = {30, 90, 160, 220};

class PrintFidelity : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
        server = std::make_unique<PrintServer>(home, plainFilms);
        ASSERT_TRUE(server->start());
        bands = home.path() + "/bands.dcm";
        ASSERT_TRUE(writeGreyImageFile(bands, {128, 128, 8, "MONOCHROME2"},
                                       [](int x, int) { return Uint16(bandLevels[x / 32]); }));
        invertedBands = home.path() + "/inverted.dcm";
        ASSERT_TRUE(writeGreyImageFile(invertedBands, {128, 128, 8, "MONOCHROME2"},
                                       [](int x, int) { return Uint16(255 - bandLevels[x / 32]); }));
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
            greys.push_back(meanGrey(page, int((band + 0.5) * 11900 / 4 * scale),
                                     int(16840 / 2 * scale), 3));
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
    const QImage identityTable =
        printed({"--presentation-lut", "table:identity", "--lut-at", "image-box"});
    EXPECT_TRUE(identity == plain);
    EXPECT_TRUE(identityTable == plain);
    const auto inverted = bandGreys(
        printed({"--presentation-lut", "table:inverse", "--lut-at", "session"}));
    const auto greys = bandGreys(plain);
    for (int band = 0; band < 4; ++band)
        EXPECT_NEAR(inverted[band], 255 - greys[band], 2) << "band " << band;
}

// At 254 dpi a pixel is a tenth of a millimetre.
TEST_F(PrintFidelity, RequestedImageSizeOf100mmPrints100mmWide)
{
    const QImage page = printed({"--requested-size", "100"}, 254);
    ASSERT_FALSE(page.isNull());
    // The longest run of picture along the middle line (the page's last
    // pixel column is not covered by the black base).
    int left = -1, right = -1;
    const int y = page.height() / 2;
    for (int x = 0, start = -1; x <= page.width(); ++x) {
        const bool picture = x < page.width() && qGray(page.pixel(x, y)) > 15;
        if (picture && start < 0)
            start = x;
        if (!picture && start >= 0) {
            if (x - start > right - left + 1)
                left = start, right = x - 1;
            start = -1;
        }
    }
    ASSERT_GE(left, 0);
    const double widthMm = (right - left + 1) / 10.0;
    EXPECT_NEAR(widthMm, 100.0, 1.0);
    // Centred on the page (210 mm wide).
    EXPECT_NEAR((left + right) / 20.0, 210.0 / 2, 1.0);
}

// Values that cannot be applied leave the image as it was, say so once per
// image box, and the film prints with Success.
TEST_F(PrintFidelity, UnapplicableValuesAreLoggedAndTheFilmStillPrints)
{
    const auto plain = bandGreys(printed({}));
    const auto odd = bandGreys(printed({"--format", "STANDARD\\1,1", "--polarity", "SIDEWAYS",
                                        "--presentation-lut", "table:short", "--lut-at", "image-box",
                                        "--pixel-aspect", "0\\1"}));
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

}  // namespace
}  // namespace vantorel::testing
