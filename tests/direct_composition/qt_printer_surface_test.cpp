// The printer surface over Qt print support: exact printer names, the built-in
// FilmFile PDF printer and, when scripts/services runs CUPS, a cups-pdf queue.

#include "direct_composition/qt/film_file_writer.h"
#include "direct_composition/qt/film_page_painter.h"
#include "direct_composition/qt/qt_printer_surface.h"
#include "support/memory_run_log.h"
#include "support/pdf_pages.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

namespace vantorel::direct_composition {
namespace {

using vantorel::testing::meanGrey;
using vantorel::testing::renderPdfPage;

// 2 x 2 pixels: black over mid-grey, so position and orientation both show.
Picture blackOverGrey()
{
    Picture picture;
    picture.width = 2;
    picture.height = 2;
    picture.pixels =
        std::make_shared<const std::vector<std::uint8_t>>(std::vector<std::uint8_t>{0, 0, 128, 128});
    return picture;
}

// Draws the test picture 2 inches square at (1 inch, 2 inches) from an origin
// 10 mm right and 10 mm down.
void drawTestFilm(PrinterSurface& surface)
{
    surface.setOrigin(10, 10);
    EXPECT_TRUE(surface.drawPicture(blackOverGrey(), 1440, 2880, 2880, 2880));
}

TEST(QtPrinterSurface, ListsSystemPrintersThenFilmFileAndMatchesNamesExactly)
{
    QTemporaryDir home;
    QtPrinterSurface surface(home.path().toStdString());
    const auto printers = surface.listPrinters();
    ASSERT_FALSE(printers.empty());
    EXPECT_EQ(printers.back(), "FilmFile");
    const std::string systemDefault = QPrinterInfo::defaultPrinterName().toStdString();
    EXPECT_EQ(surface.currentPrinter(), systemDefault.empty() ? "FilmFile" : systemDefault);

    ASSERT_TRUE(surface.selectPrinter("FilmFile"));
    for (const char* wrong : {"filmfile", "FilmFile ", "", "NoSuchPrinter"}) {
        EXPECT_FALSE(surface.selectPrinter(wrong)) << wrong;
        EXPECT_EQ(surface.currentPrinter(), "FilmFile") << wrong;
    }
}

TEST(QtPrinterSurface, FilmFileWritesOnePdfPagePerFilmWithoutOverwriting)
{
    QTemporaryDir home;
    QtPrinterSurface surface(home.path().toStdString());
    ASSERT_TRUE(surface.selectPrinter("FilmFile"));
    surface.setOrientation(Orientation::Portrait);
    EXPECT_FLOAT_EQ(surface.pageWidth(), 11900);
    EXPECT_FLOAT_EQ(surface.pageHeight(), 16840);

    drawTestFilm(surface);
    ASSERT_TRUE(surface.endDocument());
    const std::string first = surface.lastFilmFile();
    drawTestFilm(surface);
    ASSERT_TRUE(surface.endDocument());
    const std::string second = surface.lastFilmFile();
    drawTestFilm(surface);
    surface.abortDocument();  // nothing for an abandoned film

    const QString folder = home.path() + "/FilmFile";
    EXPECT_EQ(vantorel::testing::pdfFilesIn(folder).size(), 2);
    EXPECT_NE(first, second);  // both written within a second: the second gets a suffix
    for (const std::string& file : {first, second}) {
        EXPECT_EQ(vantorel::testing::pdfPageCount(QString::fromStdString(file)), 1);
        const QImage page = renderPdfPage(QString::fromStdString(file), 72);
        ASSERT_EQ(page.size(), QSize(595, 842));
        // At 72 dpi a pixel is 20 twips; the origin sits at 567 twips.
        EXPECT_LT(meanGrey(page, (567 + 2880) / 20, (567 + 2880 + 720) / 20), 20);
        EXPECT_NEAR(meanGrey(page, (567 + 2880) / 20, (567 + 2880 + 2160) / 20), 128, 12);
        EXPECT_GT(meanGrey(page, (567 + 1440) / 20 - 10, (567 + 2880) / 20 + 40), 245);  // paper
    }
}

TEST(QtPrinterSurface, LandscapeFilmFilePageAndTextInItsColour)
{
    QTemporaryDir home;
    QtPrinterSurface surface(home.path().toStdString());
    ASSERT_TRUE(surface.selectPrinter("FilmFile"));
    surface.setOrientation(Orientation::Landscape);
    EXPECT_FLOAT_EQ(surface.pageWidth(), 16840);
    EXPECT_FLOAT_EQ(surface.pageHeight(), 11900);
    surface.setOrigin(0, 0);
    surface.setTextPosition(1440, 1440);
    surface.setTextStyle({0x0000FF, "Noto Sans CJK SC", 36, true});  // red
    surface.printText("HHHHHHHH");
    ASSERT_TRUE(surface.endDocument());

    const QImage page = renderPdfPage(QString::fromStdString(surface.lastFilmFile()), 72);
    ASSERT_EQ(page.size(), QSize(842, 595));
    int red = 0;
    for (int y = 72; y < 72 + 40; ++y) {
        for (int x = 72; x < 72 + 200; ++x) {
            const QRgb p = page.pixel(x, y);
            red += qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
        }
    }
    EXPECT_GT(red, 200);
}

// The text pdftotext finds on the page, blanks folded.
QString pdfText(const std::string& pdf)
{
    QProcess text;
    text.start("pdftotext", {QString::fromStdString(pdf), "-"});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput()).simplified();
}

// The header text is laid out once and kept while it stays the same: every
// film still shows its own text, and pictures numbered around it stay right.
TEST(QtPrinterSurface, EachFilmShowsItsOwnTextWhenTheTextRepeats)
{
    QTemporaryDir home;
    QtPrinterSurface surface(home.path().toStdString());
    ASSERT_TRUE(surface.selectPrinter("FilmFile"));
    const char* texts[] = {"Radiology One", "Radiology One", "Radiology Two"};
    int pictures = 1;
    for (const char* text : texts) {
        surface.setOrigin(0, 0);
        for (int i = 0; i < pictures; ++i)  // a different number of images each time
            EXPECT_TRUE(surface.drawPicture(blackOverGrey(), 1440 + i * 1440, 2880, 1440, 1440));
        surface.setTextPosition(1440, 1440);
        surface.setTextStyle({0, "Noto Sans CJK SC", 20, false});
        surface.printText(text);
        ASSERT_TRUE(surface.endDocument());
        EXPECT_EQ(pdfText(surface.lastFilmFile()), text);
        const QImage page = renderPdfPage(QString::fromStdString(surface.lastFilmFile()), 72);
        EXPECT_LT(meanGrey(page, 72 + 36, 144 + 18, 1), 20) << text;  // the picture's black half
        ++pictures;
    }
}

Picture greyPicture(int width, int height, std::uint8_t level)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels =
        std::make_shared<const std::vector<std::uint8_t>>(static_cast<std::size_t>(width) * height, level);
    return picture;
}

TEST(QtPrinterSurface, PicturesKeepTheirResolutionAndSmallOnesAreEnlargedSmoothly)
{
    QTemporaryDir home;
    QtPrinterSurface surface(home.path().toStdString());
    ASSERT_TRUE(surface.selectPrinter("FilmFile"));
    surface.setOrigin(0, 0);
    // Black and white columns, two pixels each, one inch wide: 300 pixels at 300 dpi.
    Picture stripes = greyPicture(4, 4, 255);
    {
        std::vector<std::uint8_t> pixels(*stripes.pixels);
        for (int y = 0; y < 4; ++y)
            pixels[y * 4] = pixels[y * 4 + 1] = 0;
        stripes.pixels = std::make_shared<const std::vector<std::uint8_t>>(pixels);
    }
    EXPECT_TRUE(surface.drawPicture(Picture::solid(0, 0, 0), 0, 0, 11900, 1000));  // a fill stays a fill
    EXPECT_TRUE(surface.drawPicture(stripes, 1440, 1440, 1440, 1440));
    // 512 pixels into one inch: more than the device needs, kept as it is.
    EXPECT_TRUE(surface.drawPicture(greyPicture(512, 512, 90), 1440, 4320, 1440, 1440));
    ASSERT_TRUE(surface.endDocument());

    const QString pdf = QString::fromStdString(surface.lastFilmFile());
    const QList<QSize> sizes = vantorel::testing::pdfImageSizes(pdf);
    EXPECT_EQ(sizes.size(), 2);
    EXPECT_TRUE(sizes.contains(QSize(300, 300))) << sizes.size();
    EXPECT_TRUE(sizes.contains(QSize(512, 512))) << sizes.size();

    // Across the stripes' edge the enlarged picture goes through greys.
    const QImage page = renderPdfPage(pdf, 300);
    ASSERT_FALSE(page.isNull());
    std::set<int> levels;
    for (int x = 300; x < 600; ++x)
        levels.insert(qGray(page.pixel(x, 450)) / 32);
    EXPECT_GE(levels.size(), 5u);
}

TEST(QtPrinterSurface, FilmFileFolderThatCannotBeWrittenReportsFailureWithTheSystemsWords)
{
    QTemporaryDir home;
    QFile blocker(home.path() + "/FilmFile");  // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    vantorel::testing::MemoryRunLog log;
    QtPrinterSurface surface(home.path().toStdString(), &log);
    std::vector<PageRelease> releases;
    surface.setPageEndedListener(
        [&](const FilmPage&, const PageRelease& release) { releases.push_back(release); });
    ASSERT_TRUE(surface.selectPrinter("FilmFile"));
    drawTestFilm(surface);
    EXPECT_FALSE(surface.endDocument());
    ASSERT_EQ(releases.size(), 1u);
    EXPECT_FALSE(releases[0].released);
    EXPECT_EQ(releases[0].failure, "Not a directory");
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0],
              "printer FilmFile did not take the film (" + home.path().toStdString() +
                  "/FilmFile): Not a directory");
}

// A film is written under a hidden temporary name and appears under its film
// name only when complete; what a killed run left half written is removed at
// the next start, what a running process is writing is not.
TEST(FilmFileWriter, PartialFilesNeverCarryAFilmNameAndDeadOnesAreRemoved)
{
    QTemporaryDir folder;
    QStringList seenWhilePainting;
    const base::Result<std::string> written =
        writeFilmFile(folder.path(), "20260101-120000", [&](QPdfWriter& writer) {
            QPainter painter(&writer);
            seenWhilePainting = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
            painter.fillRect(QRect(0, 0, 100, 100), Qt::black);
            return painter.end();
        });
    ASSERT_TRUE(written) << written.reason();
    ASSERT_EQ(seenWhilePainting.size(), 1);
    EXPECT_TRUE(seenWhilePainting[0].startsWith(".film-") && seenWhilePainting[0].endsWith(".part"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"20260101-120000.pdf"});
    EXPECT_EQ(vantorel::testing::pdfPageCount(QString::fromStdString(*written)), 1);

    const base::Result<std::string> failed =
        writeFilmFile(folder.path(), "20260101-120000", [](QPdfWriter&) { return false; });
    EXPECT_FALSE(failed);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"20260101-120000.pdf"});

    // pid 1 runs (init); a pid far above the kernel's limit cannot.
    for (const char* name : {".film-1-abcdef.part", ".film-999999999-abcdef.part"}) {
        QFile file(folder.path() + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(removeAbandonedFilmFiles(folder.path()), 1);
    EXPECT_TRUE(QFile::exists(folder.path() + "/.film-1-abcdef.part"));
    EXPECT_FALSE(QFile::exists(folder.path() + "/.film-999999999-abcdef.part"));
}

TEST(QtPrinterSurface, CupsPdfQueuePrintsTheFilmAtItsPlace)
{
    const char* queue = std::getenv("VANTOREL_CUPS_QUEUE");
    const char* folder = std::getenv("VANTOREL_CUPS_PDF_DIR");
    if (!queue || !*queue || !folder || !*folder)
        GTEST_SKIP() << "CUPS not started (run through scripts/test)";
    QTemporaryDir home;
    QtPrinterSurface surface(home.path().toStdString());
    ASSERT_TRUE(surface.selectPrinter(queue));
    surface.setOrientation(Orientation::Portrait);
    const auto before = vantorel::testing::pdfFilesIn(folder);
    drawTestFilm(surface);
    ASSERT_TRUE(surface.endDocument());

    const auto files = vantorel::testing::waitForNewPdfs(folder, before, 1, queue);
    ASSERT_GE(files.size(), 1);
    // (0, 0) of the surface is the printable area's corner.
    QPrinter printer(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
    const QPointF corner = printer.pageLayout().paintRect(QPageLayout::Point).topLeft();
    const int x = static_cast<int>(corner.x() + (567 + 2880) / 20.0);
    const int y = static_cast<int>(corner.y() + (567 + 2880) / 20.0);
    // The queue is shared with other tests: the film is the page that shows it.
    bool found = false;
    for (const QString& file : files) {
        const QImage page = renderPdfPage(file, 72);
        found = found ||
            (!page.isNull() && meanGrey(page, x, y + 36) < 20 &&
             std::abs(meanGrey(page, x, y + 108) - 128) <= 12 && meanGrey(page, x - 90, y - 30) > 245);
    }
    EXPECT_TRUE(found) << files.size() << " new files, none with the film";
}

TEST(FilmPagePreview, RendersTheSheetScaled)
{
    FilmPage page;
    page.pageWidth = 11900;
    page.pageHeight = 16840;
    DrawOp op;
    op.picture = Picture::solid(0, 0, 0);
    op.rect = {0, 0, 5950, 8420};
    page.ops.push_back(op);
    const QImage preview = renderFilmPreview(page, 595);
    ASSERT_EQ(preview.size(), QSize(595, 842));
    EXPECT_LT(qGray(preview.pixel(100, 100)), 10);
    EXPECT_GT(qGray(preview.pixel(500, 700)), 245);
}

// A 4 x 4 checkerboard (greys 40 and 220) stretched over 1.6 inches of a
// 300 dpi preview, once per magnification: repeated pixels keep only the two
// greys along a row, bilinear and bicubic pass through greys between them,
// and bicubic differs from bilinear.
TEST(FilmPagePainter, EnlargesEachPictureAsItsMagnificationAsks)
{
    Picture checker = greyPicture(4, 4, 0);
    {
        std::vector<std::uint8_t> pixels(16);
        for (int i = 0; i < 16; ++i)
            pixels[i] = (i % 4 + i / 4) % 2 ? 220 : 40;
        checker.pixels = std::make_shared<const std::vector<std::uint8_t>>(pixels);
    }
    const auto rowOf = [&](Magnification magnification) {
        FilmPage page;
        page.pageWidth = 2880;
        page.pageHeight = 2880;
        DrawOp op;
        op.picture = checker;
        op.rect = {0, 0, 2304, 2304};  // 480 dots at 300 dpi
        op.magnification = magnification;
        page.ops.push_back(op);
        const QImage preview = renderFilmPreview(page, 600);
        std::vector<int> row;
        for (int x = 0; x < 480; ++x)
            row.push_back(qGray(preview.pixel(x, 300)));
        return row;
    };
    const auto between = [](const std::vector<int>& row) {
        return std::count_if(row.begin(), row.end(), [](int g) { return g > 45 && g < 215; });
    };
    const auto replicate = rowOf(Magnification::Replicate);
    const auto bilinear = rowOf(Magnification::Bilinear);
    const auto cubic = rowOf(Magnification::Cubic);
    EXPECT_LE(between(replicate), 6);
    EXPECT_GT(between(bilinear), 100);
    EXPECT_GT(between(cubic), 100);
    EXPECT_NE(cubic, bilinear);
}

}  // namespace
}  // namespace vantorel::direct_composition
