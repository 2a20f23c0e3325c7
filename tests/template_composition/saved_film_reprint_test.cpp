// A saved film printed again on the built-in FilmFile printer: the page is
// the film, fitted to the sheet; failures say why and count nothing.

#include "settings/settings_model.h"
#include "support/memory_run_log.h"
#include "support/pdf_pages.h"
#include "template_composition/qt/saved_film_reprint.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantorel::template_composition {
namespace {

struct ReprintFixture {
    ReprintFixture()
    {
        settings.otherPrinterIndex = 1;
        settings.otherPaper = "A4";
    }

    // A portrait film of 300 x 400 pixels: its top-left quarter light, the rest dark.
    QString writeFilm(const QString& name)
    {
        QImage film(300, 400, QImage::Format_Grayscale8);
        film.fill(40);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 150; ++x)
                film.setPixel(x, y, qRgb(220, 220, 220));
        const QString path = home.filePath(name);
        return film.save(path, "TIFF") ? path : QString();
    }

    QTemporaryDir home;
    settings::Settings settings;
    settings::InstalledPrinters installedPrinters{"queue1", "FilmFile"};
    testing::MemoryRunLog log;
    int counted = 0;
    SavedFilmReprint reprint{settings, installedPrinters, home.path().toStdString(), log,
                             [this] { ++counted; }};
};

TEST(SavedFilmReprint, PrintsTheFilmFittedToTheSheetAndCountsIt)
{
    ReprintFixture f;
    const QString film = f.writeFilm("101010.tiff");
    ASSERT_FALSE(film.isEmpty());
    const archive::ReprintOutcome outcome = f.reprint.reprint(film.toStdString());
    ASSERT_TRUE(outcome.printed) << outcome.failure;
    EXPECT_EQ(outcome.printer, "FilmFile");
    EXPECT_EQ(f.counted, 1);
    EXPECT_TRUE(f.log.contains("重新打印：" + film.toStdString() + " -> FilmFile"));
    EXPECT_TRUE(f.log.contains("重新打印完毕。打印机：FilmFile"));

    const QStringList pdfs = testing::newPdfFiles(f.home.filePath("FilmFile"), {});
    ASSERT_EQ(pdfs.size(), 1);
    const QImage page = testing::renderPdfPage(pdfs.front(), 72);
    ASSERT_FALSE(page.isNull());
    // A4 is 595 x 842 points; the 3:4 film is as wide as the sheet.
    EXPECT_NEAR(page.width(), 595, 1);
    const int top = (842 - 595 * 4 / 3) / 2;
    EXPECT_GT(testing::meanGrey(page, 595 / 4, top + 793 / 4, 3), 200);
    EXPECT_LT(testing::meanGrey(page, 595 * 3 / 4, top + 793 * 3 / 4, 3), 60);
}

TEST(SavedFilmReprint, AFilmThatCannotBePrintedSaysWhyAndIsNotCounted)
{
    struct Case {
        const char* what;
        int printerIndex;
        bool fileExists;
        std::string failure;
    };
    const Case cases[] = {
        {"no printer for other sizes", -1, true, "其他尺寸胶片没有选定打印机"},
        {"not an image", 1, false, "胶片图像无法读取"},
    };
    for (const Case& c : cases) {
        ReprintFixture f;
        f.settings.otherPrinterIndex = c.printerIndex;
        QString film = f.writeFilm("101010.tiff");
        if (!c.fileExists) {
            QFile file(film);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("II*");
        }
        const archive::ReprintOutcome outcome = f.reprint.reprint(film.toStdString());
        EXPECT_FALSE(outcome.printed) << c.what;
        EXPECT_EQ(outcome.failure, c.failure) << c.what;
        EXPECT_EQ(f.counted, 0) << c.what;
        EXPECT_TRUE(f.log.contains("重新打印失败：" + c.failure)) << c.what;
    }
}

}  // namespace
}  // namespace vantorel::template_composition
