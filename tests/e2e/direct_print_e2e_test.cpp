// Films printed by the real program, sent by the modality simulator: through a
// real cups-pdf queue, the built-in FilmFile printer and printer routing; the
// PDF pages are rendered with pdftoppm and sampled where the layout puts the
// images.

#include "print_server.h"
#include "support/dicom_image_files.h"

#include <QDirIterator>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

namespace vantorel::testing {
namespace {

// Plain films: black base, no header band, no bottom adjustment, no margins.
const QString plainFilms =
    "打印黑底胶片=1\r\n打印医院名称=0\r\n打印下边距=0\r\n打印左边距=0\r\n打印上边距=0\r\n";

// Sends one STANDARD\2,2 film of four flat images, one grey level per cell.
ProgramResult printFlatTwoByTwo(const PrintServer& server, const TempHome& home, const int (&levels)[4],
                                const char* filmSize)
{
    QStringList args{"--format", "STANDARD\\2,2", "--film-size", filmSize};
    for (int level : levels)
        args << "--image" << writeFlatImage(home.path(), level);
    return server.print(args);
}

// A STANDARD\2,2 film of four flat square images on an A4 portrait page:
// cells 5950 x 8420 twips, squares 5950 wide touching each other, the block
// 1235 twips down, black base around it. `corner` is the printable area's
// top-left in points. Returns what differs, empty when the film is as laid out.
std::string twoByTwoFilmDifferences(const QString& pdf, QPointF corner, const int levels[4])
{
    if (pdfPageCount(pdf) != 1)
        return "not one page";
    const QImage page = renderPdfPage(pdf, 72);  // one pixel per point, 20 twips
    if (page.isNull())
        return "cannot be rendered";
    auto at = [&](double xTwips, double yTwips) {
        return meanGrey(page, int(corner.x() + xTwips / 20), int(corner.y() + yTwips / 20), 2);
    };
    std::string differences;
    auto expectLevel = [&](const char* where, int k, double x, double y, int level) {
        const int found = at(x, y);
        if (std::abs(found - level) > 6)
            differences += std::string(where) + " of image " + std::to_string(k) + ": " +
                std::to_string(found) + " not " + std::to_string(level) + "; ";
    };
    for (int k = 0; k < 4; ++k) {
        const double x = (k % 2) * 5950.0, y = 1235 + (k / 2) * 5950.0;
        expectLevel("centre", k + 1, x + 2975, y + 2975, levels[k]);
        expectLevel("top-left", k + 1, x + 200, y + 200, levels[k]);
        expectLevel("bottom-right", k + 1, x + 5750, y + 5750, levels[k]);
    }
    expectLevel("black base above", 0, 2975, 600, 0);
    expectLevel("black base below", 0, 8925, 1235 + 11900 + 600, 0);
    return differences;
}

// The one file of `files` that holds the film; the queues are shared with
// other tests, so other films may have arrived meanwhile.
QString findFilm(const QStringList& files, QPointF corner, const int levels[4])
{
    for (const QString& file : files) {
        if (twoByTwoFilmDifferences(file, corner, levels).empty())
            return file;
    }
    return {};
}

QPointF printableCorner(const QString& queue)
{
    QPrinter printer(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    return printer.pageLayout().paintRect(QPageLayout::Point).topLeft();
}

// One row of `pdfimages -list`.
struct ListedImage {
    QString type;  // "image", "smask", ...
    QSize size;
    QString colour;  // "gray", "rgb", ...
    int bitsPerComponent = 0;
    QString encoding;  // "image" (Flate), "jpeg", ...

    std::string text() const
    {
        return QString("%1 %2x%3 %4 %5 %6")
            .arg(type)
            .arg(size.width())
            .arg(size.height())
            .arg(colour)
            .arg(bitsPerComponent)
            .arg(encoding)
            .toStdString();
    }
};

QList<ListedImage> listedImages(const QString& pdf)
{
    QProcess list;
    list.start("pdfimages", {"-list", pdf});
    list.waitForFinished(30000);
    QList<ListedImage> images;
    for (const QByteArray& line : list.readAllStandardOutput().split('\n').mid(2)) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 9)
            images.append({f[2], QSize(f[3].toInt(), f[4].toInt()), f[5], f[7].toInt(), f[8]});
    }
    return images;
}

// The grey of each image in the PDF as pdfimages extracts it: its one level
// when every pixel has it, -1 when not (or when it is not grey).
std::multiset<int> flatImageLevels(const QString& pdf)
{
    QTemporaryDir dir;
    QProcess extract;
    extract.start("pdfimages", {"-png", pdf, dir.path() + "/image"});
    extract.waitForFinished(60000);
    std::multiset<int> levels;
    QDirIterator files(dir.path(), {"*.png"});
    while (files.hasNext()) {
        const QImage image(files.next());
        int level = image.format() == QImage::Format_Grayscale8 ? qGray(image.pixel(0, 0)) : -1;
        for (int y = 0; y < image.height() && level >= 0; ++y)
            for (int x = 0; x < image.width() && level >= 0; ++x)
                if (qGray(image.pixel(x, y)) != level)
                    level = -1;
        levels.insert(level);
    }
    return levels;
}

TEST(DirectPrint, StandardTwoByTwoFilmOnACupsPdfQueue)
{
    const char* queue = environmentValue("VANTOREL_CUPS_QUEUE");
    const char* folder = environmentValue("VANTOREL_CUPS_PDF_DIR");
    if (!queue || !folder)
        GTEST_SKIP() << "CUPS not started (run through scripts/test)";
    if (QPrinterInfo::printerInfo(queue).defaultPageSize().id() != QPageSize::A4)
        GTEST_SKIP() << "the queue's paper is not A4";
    TempHome home;
    home.writeFile("PrtLst/PrtLst.ini", gbk(QString("[PrtLst0]\r\n0=%1\r\n").arg(queue)));
    PrintServer server(home, plainFilms);
    ASSERT_TRUE(server.start());

    const int levels[4] = {50, 100, 150, 200};
    const auto before = pdfFilesIn(folder);
    const ProgramResult result = printFlatTwoByTwo(server, home, levels, "14INX17IN");
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;

    const QStringList files = waitForNewPdfs(folder, before, 1, queue);
    ASSERT_GE(files.size(), 1);
    const QPointF corner = printableCorner(queue);
    const QString film = findFilm(files, corner, levels);
    ASSERT_FALSE(film.isEmpty()) << twoByTwoFilmDifferences(files.front(), corner, levels);
    // The queue got grey pictures, and their greys came through unchanged.
    EXPECT_EQ(flatImageLevels(film), std::multiset<int>(std::begin(levels), std::end(levels)));
    const auto log = runLogMessages(home);
    EXPECT_EQ(countOf(log, "打印第【1】张胶片。"), 1);
    EXPECT_EQ(countStartingWith(log, "打印完毕。打印机："), 1);
}

TEST(DirectPrint, FilmSessionWithTwoFilmBoxesGivesTwoFilms)
{
    TempHome home;
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    PrintServer server(home, plainFilms);
    ASSERT_TRUE(server.start());

    const int levels[4] = {40, 90, 160, 220};
    QStringList args{"--format", "STANDARD\\2,2", "--films", "2", "--action", "session"};
    for (int level : levels)
        args << "--image" << writeFlatImage(home.path(), level);
    const ProgramResult result = server.print(args);
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;

    // The N-ACTION is answered once both films are on the printer.
    const QStringList files = newPdfFiles(home.path() + "/FilmFile", {});
    ASSERT_EQ(files.size(), 2);
    // The four images are used in turn, so both films carry them in order.
    EXPECT_EQ(twoByTwoFilmDifferences(files[0], {0, 0}, levels), "");
    EXPECT_EQ(twoByTwoFilmDifferences(files[1], {0, 0}, levels), "");
    const auto log = runLogMessages(home);
    EXPECT_EQ(countOf(log, "打印第【1】张胶片。"), 1);
    EXPECT_EQ(countOf(log, "打印第【2】张胶片。"), 1);
    EXPECT_EQ(countStartingWith(log, "打印完毕。打印机："), 2);
}

TEST(DirectPrint, RoutingByDeviceSendsTheFilmToItsRoutesQueue)
{
    const char* queue1 = environmentValue("VANTOREL_CUPS_QUEUE");
    const char* queue2 = environmentValue("VANTOREL_CUPS_QUEUE2");
    const char* folder2 = environmentValue("VANTOREL_CUPS_PDF_DIR2");
    if (!queue1 || !queue2 || !folder2)
        GTEST_SKIP() << "CUPS not started (run through scripts/test)";
    if (QPrinterInfo::printerInfo(queue2).defaultPageSize().id() != QPageSize::A4)
        GTEST_SKIP() << "the queue's paper is not A4";
    TempHome home;
    // By film size the film would go to route 0; by device 127.0.0.1 is route 2.
    home.writeFile("PrtLst/PrtLst.ini",
                   gbk(QString("[PrtLst0]\r\n0=%1\r\n[PrtLst2]\r\n0=%2\r\n").arg(queue1, queue2)));
    home.writeFile("IP/IP.ini", gbk("[IP]\r\n1=10.0.0.9\r\n3=127.0.0.1\r\n"));
    PrintServer server(home, plainFilms + "设备源=1\r\n");
    ASSERT_TRUE(server.start());

    const int levels[4] = {70, 120, 170, 210};
    const auto before = pdfFilesIn(folder2);
    const ProgramResult result = printFlatTwoByTwo(server, home, levels, "14INX17IN");
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const QStringList files = waitForNewPdfs(folder2, before, 1, queue2);
    ASSERT_GE(files.size(), 1);
    EXPECT_FALSE(findFilm(files, printableCorner(queue2), levels).isEmpty());
}

// A grey film on FilmFile keeps each picture once, as an 8-bit grey image at
// its own size: Flate by default, grey JPEG when FilmImageCompression asks,
// and both print the same greys.
TEST(DirectPrint, FilmFilePicturesAreGreyImagesAtTheirOwnSize)
{
    struct Case {
        const char* setting;  // FilmImageCompression, empty: none
        const char* encoding;
    };
    const Case cases[] = {{"", "image"}, {"lossless", "image"}, {"jpeg", "jpeg"}, {"JPEG ", "jpeg"}};
    std::vector<int> losslessGreys;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        TempHome home;
        home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
        const QString setting = *c.setting ? QString("FilmImageCompression=%1\r\n").arg(c.setting) : "";
        PrintServer server(home, plainFilms + setting);
        ASSERT_TRUE(server.start());
        // Four 512 x 512 12-bit ramps, each starting at its own grey.
        QStringList args{"--format", "STANDARD\\2,2"};
        for (int k = 0; k < 4; ++k) {
            const QString path = home.path() + QString("/ramp%1.dcm").arg(k);
            ASSERT_TRUE(writeGreyImageFile(
                path, {512, 512, 12}, [k](int x, int y) { return Uint16((k * 700 + x * 4 + y) % 4096); }));
            args << "--image" << path;
        }
        const ProgramResult result = server.print(args);
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        const QStringList files = newPdfFiles(home.path() + "/FilmFile", {});
        ASSERT_EQ(files.size(), 1);

        const QList<ListedImage> images = listedImages(files.front());
        ASSERT_EQ(images.size(), 4);
        for (const ListedImage& image : images)
            EXPECT_EQ(image.text(), ListedImage({"image", {512, 512}, "gray", 8, c.encoding}).text());

        const QImage page = renderPdfPage(files.front(), 72);
        ASSERT_FALSE(page.isNull());
        std::vector<int> greys;
        for (int k = 0; k < 4; ++k)
            for (int step = 1; step < 8; ++step)
                greys.push_back(meanGrey(page, (k % 2) * 297 + step * 37, 62 + (k / 2) * 297 + step * 37, 1));
        if (losslessGreys.empty()) {
            losslessGreys = greys;
            continue;
        }
        for (std::size_t i = 0; i < greys.size(); ++i)
            EXPECT_NEAR(greys[i], losslessGreys[i], 3) << "sample " << i;
    }
}

TEST(DirectPrint, PrintCountSurvivesARestart)
{
    TempHome home;
    {
        // The per-user settings as an earlier run left them: 41 films.
        QSettings stored(home.configDir() + "/Zelquora.conf", QSettings::IniFormat);
        stored.beginGroup("胶片");
        stored.setValue("打印计数", "41");
        stored.endGroup();
    }
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    const QString settings = plainFilms;
    for (const char* expected : {"打印第【42】张胶片。", "打印第【43】张胶片。"}) {
        PrintServer server(home, settings);
        ASSERT_TRUE(server.start());
        const ProgramResult result = server.print({"--format", "STANDARD\\1,1"});
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        server.stop();
        EXPECT_EQ(countOf(runLogMessages(home), expected), 1) << expected;
    }
}

TEST(DirectPrint, WithoutAnyCupsPrinterTheFilmLandsInFilmFile)
{
    TempHome home;
    QProcessEnvironment environment = home.environment();
    environment.insert("CUPS_SERVER", home.path() + "/no-cups-here.sock");
    PrintServer server(home, plainFilms, environment);
    ASSERT_TRUE(server.start());

    const int levels[4] = {60, 110, 170, 230};
    const ProgramResult result = printFlatTwoByTwo(server, home, levels, "8INX10IN");
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const QStringList files = newPdfFiles(home.path() + "/FilmFile", {});
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(twoByTwoFilmDifferences(files.front(), {0, 0}, levels), "");
}

}  // namespace
}  // namespace vantorel::testing
