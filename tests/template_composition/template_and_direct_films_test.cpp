// The print job driver with the real template road beside the direct road:
// films of both kinds alternate in one run, each counted once and shown by
// the console's preview, neither road disturbing the other's state.

#include "archive/film_record_store.h"
#include "base/clock.h"
#include "print_job/print_job_fixture.h"
#include "template_composition/qt/report_template_composition.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantorel::template_composition {
namespace {

using print_job::testing::PrintJobFixture;

class NoFilmRecords final : public archive::FilmRecordStore {
public:
    base::Result<void> SaveFilmDB(const std::string&, const std::string&) override { return {}; }
};

TEST(TemplateAndDirectFilms, AlternateInOneRun)
{
    QTemporaryDir home;
    QDir(home.path()).mkpath("ReportMode");
    QFile::copy(QString(VANTOREL_TEMPLATE_FIXTURES) + "/handmade-22.rpx",
                home.filePath("ReportMode/A4-22.rpx"));
    PrintJobFixture f;
    f.settings.routePrinters[0] = {"FilmFile"};
    f.settings.routePaperIndex[0] = 1;  // A4
    base::FixedClock clock({2024, 3, 5, 7, 8, 9});
    NoFilmRecords records;
    const settings::InstalledPrinters installedPrinters;  // none: the films take route 0
    ReportTemplateComposition road(
        {f.settings, f.settings, installedPrinters, home.path().toStdString(), clock, f.log, records,
         [&f](const direct_composition::FilmPage& page) { f.observer.filmComposed(page); }});
    print_job::PrintJobDriver driver({f.store, f.settings, f.settings, f.count, f.surface, f.pictures, road,
                                      f.log, f.messages, home.path().toStdString(), f.observer});

    print_job::testing::FilmBoxFields fields;
    fields.cols = fields.rows = 2;
    fields.images = PrintJobFixture::images(4);
    for (bool templateMode : {true, false, true, false}) {
        f.settings.templateMode = templateMode;
        driver.DoPrint(f.addFilmBox(fields), "127.0.0.1");
    }

    EXPECT_EQ(f.printCount.writes, (std::vector<std::int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(QDir(home.filePath("FilmFile")).entryList({"*.pdf"}, QDir::Files).size(), 2);
    EXPECT_EQ(f.surface.documents().size(), 2u);  // the direct films only
    ASSERT_EQ(f.observer.pages.size(), 4u);
    // A template film's page is the template's sheet: A4, 11906 twips wide.
    EXPECT_FLOAT_EQ(f.observer.pages[0].pageWidth, 11906);
    EXPECT_FLOAT_EQ(f.observer.pages[2].pageWidth, 11906);
    EXPECT_EQ(f.observer.pages[1].ops.size(), f.observer.pages[3].ops.size());
    EXPECT_EQ(road.chooser().route0TemplateCursor(), 0);  // one printer: always the first
    for (const std::string& line : f.log.lines)
        EXPECT_EQ(line.find("Err"), std::string::npos) << line;
}

}  // namespace
}  // namespace vantorel::template_composition
