// The template road over the real engine: template files from a home folder,
// the built-in FilmFile printer, the TIFF export; the archive is a fake.

#include "archive/film_record_store.h"
#include "base/clock.h"
#include "settings/settings_model.h"
#include "support/memory_run_log.h"
#include "template_composition/qt/report_template_composition.h"
#include "template_composition/report_page.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <QDirIterator>

#include <gtest/gtest.h>

namespace vantorel::template_composition {
namespace {

namespace dc = direct_composition;

class RecordingFilmRecords final : public archive::FilmRecordStore {
public:
    base::Result<void> SaveFilmDB(const std::string& pathstr, const std::string& fil) override
    {
        rows.push_back(pathstr + "/" + fil);
        if (!failWith.empty())
            return base::Failure{failWith};
        return {};
    }
    std::vector<std::string> rows;
    std::string failWith;
};

dc::Picture flat(std::uint8_t level)
{
    dc::Picture picture;
    picture.width = picture.height = 64;
    picture.pixels = std::make_shared<const std::vector<std::uint8_t>>(64 * 64, level);
    return picture;
}

struct RoadFixture {
    RoadFixture()
        : clock({2024, 3, 5, 7, 8, 9}),
          road({settings, settings, installedPrinters, home.path().toStdString(), clock, log, records,
                [this](const dc::FilmPage& page) { previews.push_back(page); }})
    {
        QDir(home.path()).mkpath("ReportMode");
        QFile::copy(QString(VANTOREL_TEMPLATE_FIXTURES) + "/handmade-22.rpx",
                    home.filePath("ReportMode/A4-22.rpx"));
        settings.routePaperIndex[0] = 1;  // "A4"
        settings.routePrinters[0] = {"FilmFile"};
        settings.saveFilms = true;
        settings.exportFolder = home.filePath("images").toStdString();
    }

    print_job::FilmResult printTwoByTwo(bool firstCopy = true)
    {
        print_job::TemplateFilm film;
        film.firstCopy = firstCopy;
        film.FilmOrientation = "PORTRAIT";
        film.FilmSize = "14INX17IN";
        film.FormatCols = film.FormatRows = 2;
        film.cells = {flat(40), flat(100), std::nullopt, flat(200)};
        road.composeFilm(film);
        return road.PrintReport();
    }

    QTemporaryDir home;
    settings::Settings settings;
    settings::InstalledPrinters installedPrinters;  // none: films take route 0
    base::FixedClock clock;
    vantorel::testing::MemoryRunLog log;
    RecordingFilmRecords records;
    std::vector<dc::FilmPage> previews;
    ReportTemplateComposition road;
};

TEST(ReportTemplateComposition, PrintsAHandWrittenTemplateExportsAndRecordsTheFilm)
{
    RoadFixture f;
    const print_job::FilmResult result = f.printTwoByTwo();
    EXPECT_TRUE(result.printed) << result.reason;
    EXPECT_TRUE(f.log.lines.empty()) << f.log.lines.front();
    EXPECT_EQ(f.road.report().documentName(), "07点08分09秒打印。");
    const QString pdf = QString::fromStdString(f.road.printer().lastFilmFile());
    EXPECT_TRUE(pdf.startsWith(f.home.filePath("FilmFile/")));
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    ASSERT_EQ(f.previews.size(), 1u);

    const std::string tiff = f.settings.exportFolder + "/2024/03/05/070809.tiff";
    EXPECT_EQ(f.records.rows, std::vector<std::string>{tiff});
    const QImage image(QString::fromStdString(tiff));
    ASSERT_EQ(image.size(), QSize(2400, 3200));
    // A4 inside 720-twip margins: 10466 x 15398 twips, 0.2078 pixels a twip,
    // 2175 pixels wide, 112 pixels of paper left and right.
    const double scale = 3200.0 / 15398, left = (2400 - 10466 * scale) / 2;
    const auto at = [&](double x, double y) {
        return qGray(image.pixel(int(left + x * scale), int(y * scale)));
    };
    EXPECT_EQ(at(2591, 4400), 40);    // Image1
    EXPECT_EQ(at(7874, 4400), 100);   // Image2
    EXPECT_EQ(at(2591, 11700), 255);  // Image3: no image, white paper
    EXPECT_EQ(at(7874, 11700), 200);  // Image4
    EXPECT_EQ(at(5000, 700), 0);      // the rule
}

TEST(ReportTemplateComposition, AFilmThePrinterDidNotTakeIsNeitherSavedNorRecorded)
{
    RoadFixture f;
    f.settings.routePrinters[0] = {"NoSuchPrinter"};
    const print_job::FilmResult result = f.printTwoByTwo();
    EXPECT_FALSE(result.printed);
    EXPECT_TRUE(result.atPrinter);
    EXPECT_EQ(result.printer, "NoSuchPrinter");
    EXPECT_NE(result.reason.find("NoSuchPrinter"), std::string::npos) << result.reason;
    ASSERT_EQ(f.log.lines.size(), 1u);
    EXPECT_EQ(f.log.lines[0].rfind("打印Err.Number:1", 0), 0u) << f.log.lines[0];
    EXPECT_NE(f.log.lines[0].find("打印机状态:0"), std::string::npos) << f.log.lines[0];
    // Its image, written meanwhile, is gone again: no film file, no row.
    EXPECT_TRUE(f.records.rows.empty());
    QDirIterator files(QString::fromStdString(f.settings.exportFolder), QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    EXPECT_FALSE(files.hasNext()) << files.next().toStdString();
}

// Every film starts from an empty report: a film whose template is missing
// prints nothing of the film before it, and is not printed, saved or
// recorded at all.
TEST(ReportTemplateComposition, AFilmWithoutAUsableTemplateIsNotPrintedAndShowsNoEarlierFilm)
{
    RoadFixture f;
    ASSERT_TRUE(f.printTwoByTwo().printed);
    const std::size_t previews = f.previews.size();
    const std::size_t rows = f.records.rows.size();

    print_job::TemplateFilm film;
    film.FilmOrientation = "PORTRAIT";
    film.FilmSize = "14INX17IN";
    film.FormatCols = 3;
    film.FormatRows = 4;
    film.cells = std::vector<std::optional<dc::Picture>>(12, flat(90));
    f.road.composeFilm(film);
    EXPECT_TRUE(f.road.report().controls().empty());
    const print_job::FilmResult result = f.road.PrintReport();
    EXPECT_FALSE(result.printed);
    EXPECT_FALSE(result.atPrinter);
    EXPECT_EQ(result.reason, "template A4-34.rpx: file not found");
    EXPECT_EQ(f.previews.size(), previews);
    EXPECT_EQ(f.records.rows.size(), rows);
    EXPECT_EQ(f.log.lines.back(),
              "film template " + f.home.filePath("ReportMode/A4-34.rpx").toStdString() +
                  " not loaded: file not found");

    // The same 2x2 template with a slot missing: not used either.
    QFile file(f.home.filePath("ReportMode/A4-22.rpx"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray xml = file.readAll();
    file.close();
    xml.replace("Name=\"Image4\"", "Name=\"Other4\"");
    QFile::remove(file.fileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml);
    file.close();
    const print_job::FilmResult dropped = f.printTwoByTwo();
    EXPECT_FALSE(dropped.printed);
    EXPECT_EQ(dropped.reason, "template A4-22.rpx: 3 image slots, no visible slot Image4 for image 4");
    EXPECT_EQ(f.records.rows.size(), rows);
}

TEST(ReportTemplateComposition, WithoutFilmSavingNothingIsExported)
{
    RoadFixture f;
    f.settings.saveFilms = false;
    EXPECT_TRUE(f.printTwoByTwo().printed);
    EXPECT_TRUE(f.records.rows.empty());
    EXPECT_FALSE(QDir(f.home.filePath("images")).exists());
}

TEST(ReportTemplateComposition, LaterCopiesOfAFilmArePrintedButSavedOnce)
{
    RoadFixture f;
    EXPECT_TRUE(f.printTwoByTwo(true).printed);
    EXPECT_TRUE(f.printTwoByTwo(false).printed);
    EXPECT_EQ(f.previews.size(), 2u);
    EXPECT_EQ(f.records.rows.size(), 1u);
    EXPECT_EQ(QDir(f.home.filePath("images/2024/03/05")).entryList(QDir::Files).size(), 1);
}

TEST(ReportTemplateComposition, AnExportThatFailsIsLoggedAndTheFilmStillPrints)
{
    RoadFixture f;
    f.settings.exportFolder = f.home.filePath("no/such/images").toStdString();
    EXPECT_TRUE(f.printTwoByTwo().printed);
    ASSERT_EQ(f.log.lines.size(), 1u);
    EXPECT_EQ(f.log.lines[0],
              "film image not saved: cannot create folder " + f.settings.exportFolder +
                  ": No such file or directory");
    EXPECT_TRUE(f.records.rows.empty());
}

// Requested Image Size: a picture whose slot can hold it at that width is
// drawn that wide, centred; one too wide is fitted as the template says, and
// the run log says so once for the film.
TEST(ReportTemplateComposition, RequestedWidthIsPrintedWhereItFitsAndFittedWhereNot)
{
    RoadFixture f;
    print_job::TemplateFilm film;
    film.FilmOrientation = "PORTRAIT";
    film.FilmSize = "14INX17IN";
    film.FormatCols = film.FormatRows = 2;
    film.cells = {flat(40), flat(100), flat(150), flat(200)};
    film.requestedWidthsMm = {30, 0, 900, 900};
    f.road.composeFilm(film);
    ASSERT_TRUE(f.road.PrintReport().printed);
    ASSERT_EQ(f.previews.size(), 1u);
    const double width = 30 * 1440 / 25.4;
    int drawn30mm = 0, pictures = 0;
    // The film's page as laid out, before it is drawn as one picture.
    for (const auto& op : layoutReportPage(f.road.report()).ops) {
        if (op.picture.width != 64)
            continue;
        ++pictures;
        drawn30mm += std::abs(op.rect.width - width) < 0.5 && std::abs(op.rect.height - width) < 0.5;
    }
    EXPECT_EQ(pictures, 4);
    EXPECT_EQ(drawn30mm, 1);
    int tooWide = 0;
    for (const auto& line : f.log.lines)
        tooWide += line.find("Requested Image Size 900 mm does not fit its slot") != std::string::npos;
    EXPECT_EQ(tooWide, 1);
}

}  // namespace
}  // namespace vantorel::template_composition
