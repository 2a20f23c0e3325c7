// The film-management page in the real program under a private X server,
// over the real archive database, driven through the console automation:
// the day's films listed, a film opened with the desktop's opener (xdg-open,
// here a script that notes what it was asked to open), a missing one
// reported, an archive that cannot be reached while films go on, and a
// film the program itself printed through a template, listed and opened.

#include "archive/archive_rows.h"
#include "support/pdf_pages.h"
#include "window_e2e.h"

#include <QDate>
#include <QDirIterator>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace vantorel::testing {
namespace {

// A grid's rows as the automation's "rows" answers them.
QStringList gridRows(const QString& answer)
{
    return answer.split('\t').mid(1);
}

class FilmArchiveE2e : public WindowE2e {
protected:
    static void SetUpTestSuite()
    {
        WindowE2e::SetUpTestSuite();
        // The desktop's opener, first on the PATH the program inherits.
        opener_ = std::make_unique<QTemporaryDir>();
        QFile script(opener_->path() + "/xdg-open");
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/opened.txt\"\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", opener_->path().toLocal8Bit() + ":" + savedPath_);
    }
    static void TearDownTestSuite()
    {
        qputenv("PATH", savedPath_);
        opener_.reset();
        WindowE2e::TearDownTestSuite();
    }

    void SetUp() override
    {
        WindowE2e::SetUp();
        if (IsSkipped())
            return;
        if (archiveConnectString().empty())
            GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
        ASSERT_TRUE(rows_.ok());
        home_.copyRuntime();
        home_.setting(settings::files::prtIni, "PrtIni", "SaveFilm", "1");
        home_.setting(settings::files::prtIni, "PrtIni", "胶片导出路径",
                      (home_.path() + "/images").toStdString());
    }

    void start(const std::string& connectString)
    {
        home_.setting(settings::files::prtIni, "PrtIni", "ConnectString", connectString);
        program_ = std::make_unique<RunningProgram>(home_, x_->display());
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(home_.reportPath()); }))
            << program_->errorOutput().toStdString();
        ASSERT_EQ(command("page 胶片管理"), "ok");
    }

    QString command(const QString& line) { return program_->command(line); }

    // Template mode, paper 1417 on the first route (the FilmFile printer) and
    // the shipped 2x2 template; films saved below `films` and recorded in
    // DBPRT. Before start().
    bool useTemplateFilms(const QString& films)
    {
        rows_.ownFilmsBelow(films);
        home_.setting(settings::files::prtIni, "PrtIni", "启用胶片格式文件", "1");
        home_.setting(settings::files::prtIni, "PrtIni", "FilmSize_1", "4");
        QDir().mkpath(home_.path() + "/ReportMode");
        return QFile::copy(QStringLiteral(VANTOREL_SHIPPED_TEMPLATES) + "/1417-22.rpx",
                           home_.path() + "/ReportMode/1417-22.rpx");
    }

    // Sends a 2x2 film and waits for its TIFF below `films`; empty when none came.
    QString sendTemplateFilm(const QString& films)
    {
        if (sendFilm(port_, {"--format", "STANDARD\\2,2", "--film-size", "14INX17IN"}) != 0)
            return {};
        QString tiff;
        waitFor([&] {
            QDirIterator it(films, {"*.tiff"}, QDir::Files, QDirIterator::Subdirectories);
            tiff = it.hasNext() ? it.next() : QString();
            return !tiff.isEmpty();
        });
        return tiff;
    }

    // Lists from..to with "查询" and returns the grid's answer.
    QString query(const QString& from, const QString& to)
    {
        EXPECT_EQ(command("date filmManagementPage/filmDateFrom " + from), "ok");
        EXPECT_EQ(command("date filmManagementPage/filmDateTo " + to), "ok");
        EXPECT_EQ(command("click filmManagementPage/filmQuery"), "ok");
        // The click runs from the event loop; the next answer comes after it.
        command("modal");
        return command("rows filmManagementPage/filmGrid");
    }

    static QString openedFiles()
    {
        QFile file(opener_->path() + "/opened.txt");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    static std::unique_ptr<QTemporaryDir> opener_;
    static QByteArray savedPath_;
    ArchiveRows rows_;
    std::unique_ptr<RunningProgram> program_;
};

std::unique_ptr<QTemporaryDir> FilmArchiveE2e::opener_;
QByteArray FilmArchiveE2e::savedPath_;

TEST_F(FilmArchiveE2e, ListsTheDayFromMidnightOpensAFilmAndReportsAMissingOne)
{
    // Paths start with this run's marker, a link to the export folder.
    const QString films = home_.path() + "/images";
    home_.writeFile("images/2014/04/12/120000.tiff", "II*");
    ASSERT_TRUE(QFile::link(films, rows_.marker()));
    const QString m = rows_.marker();
    const QStringList times{"2014-04-12 00:00:00", "2014-04-12 00:00:01", "2014-04-12 12:00:00",
                            "2014-04-12 23:59:59"};
    for (const QString& time : times)
        ASSERT_TRUE(rows_.insert(time, m + "/2014/04/12/" + time.right(8).remove(':') + ".tiff"));
    ASSERT_TRUE(rows_.insert("2014-04-13 00:00:00", m + "/2014/04/13/000000.tiff"));
    start(archiveConnectString());

    QStringList ours;
    int filmRow = -1, missingRow = -1;
    const QStringList listed = gridRows(query("2014-04-12", "2014-04-12"));
    for (int row = 0; row < listed.size(); ++row) {
        const QStringList cells = listed[row].split('|');
        ASSERT_EQ(cells.size(), 3) << listed[row].toStdString();
        if (!cells[2].startsWith(m))
            continue;
        ours << cells[1];
        if (cells[2].endsWith("/120000.tiff"))
            filmRow = row;
        if (cells[2].endsWith("/000000.tiff"))
            missingRow = row;
    }
    EXPECT_EQ(ours, times);
    EXPECT_TRUE(command("state filmManagementPage/filmArchiveStatus").endsWith("text="));
    x_->screenshot(screenshotDir + "/film_archive_program_rows.png");

    ASSERT_GE(filmRow, 0);
    ASSERT_EQ(command(QString("dclick filmManagementPage/filmGrid %1 2").arg(filmRow)), "ok");
    const QString url = QUrl::fromLocalFile(m + "/2014/04/12/120000.tiff").toString();
    EXPECT_TRUE(waitFor([&] { return openedFiles().contains(url); }, 10000)) << openedFiles().toStdString();

    ASSERT_GE(missingRow, 0);
    ASSERT_EQ(command(QString("dclick filmManagementPage/filmGrid %1 2").arg(missingRow)), "ok");
    ASSERT_TRUE(waitFor([&] { return command("modal") == "modal=打开出错"; }))
        << command("modal").toStdString();
    EXPECT_TRUE(
        command("state qt_msgbox_label").endsWith("text=胶片【" + m + "/2014/04/12/000000.tiff】不存在。"))
        << command("state qt_msgbox_label").toStdString();
    x_->screenshot(screenshotDir + "/film_archive_program_missing.png");
    ASSERT_EQ(command("answer ok"), "ok");
    QFile::remove(m);

    EXPECT_EQ(query("2014-04-13", "2014-04-12"), "rows=0");
}

TEST_F(FilmArchiveE2e, UnreachableArchiveIsReportedUnderTheGridAndFilmsGoOn)
{
    start(unreachableConnectString());
    EXPECT_EQ(query("2014-04-12", "2014-04-12"), "rows=0");
    const QString status = command("state filmManagementPage/filmArchiveStatus");
    EXPECT_TRUE(status.contains("text=无法访问胶片档案：")) << status.toStdString();
    EXPECT_EQ(command("modal"), "modal=");
    EXPECT_TRUE(home_.runLog().contains("胶片查询失败：")) << home_.runLog().toStdString();
    x_->screenshot(screenshotDir + "/film_archive_program_unreachable.png");

    ASSERT_EQ(sendFilm(port_, {"--format", "STANDARD\\1,1"}), 0);
    EXPECT_EQ(filmFiles(home_).size(), 1);
    EXPECT_TRUE(program_->running());
}

TEST_F(FilmArchiveE2e, AFilmPrintedThroughATemplateIsListedWithItsPathAndOpens)
{
    const QString films = home_.path() + "/images";
    ASSERT_TRUE(useTemplateFilms(films));
    start(archiveConnectString());

    const QString tiff = sendTemplateFilm(films);
    ASSERT_FALSE(tiff.isEmpty()) << home_.runLog().toStdString();
    EXPECT_EQ(filmFiles(home_).size(), 1);
    EXPECT_FALSE(home_.runLog().contains("not loaded")) << home_.runLog().toStdString();

    // The film's day (its folders yyyy/MM/dd) to today: a film saved just
    // before midnight is still found.
    const QString day = QDate::fromString(tiff.mid(films.size() + 1, 10), "yyyy/MM/dd").toString(Qt::ISODate);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    int filmRow = -1;
    ASSERT_TRUE(waitFor(
        [&] {
            const QStringList listed = gridRows(query(day, today));
            for (int row = 0; row < listed.size(); ++row)
                if (listed[row].section('|', 2) == tiff)
                    filmRow = row;
            return filmRow >= 0;
        },
        20000))
        << tiff.toStdString() << "\n"
        << home_.runLog().toStdString();
    x_->screenshot(screenshotDir + "/film_archive_program_template_film.png");

    ASSERT_EQ(command(QString("dclick filmManagementPage/filmGrid %1 2").arg(filmRow)), "ok");
    const QString url = QUrl::fromLocalFile(tiff).toString();
    EXPECT_TRUE(waitFor([&] { return openedFiles().split('\n').contains(url); }, 10000))
        << openedFiles().toStdString();
    EXPECT_EQ(command("modal"), "modal=");
}

// The installed printers as the program sees them (the index the setting of
// the route for other sizes holds), from --show-settings.
QStringList installedPrinters(const ConsoleHome& home)
{
    const ProgramResult result =
        runProgram(programPath("vantorel"), {"--home", home.path(), "--show-settings"}, home.environment());
    for (const QString& line : QString::fromStdString(result.out).split('\n'))
        if (line.startsWith("installedPrinters="))
            return line.mid(18).split(',');
    return {};
}

// A template film of the program's own, selected in the grid: the preview
// beside it shows the film (sampled on the screen where the film's first
// image is), and "重新打印" prints it once more, as one page, on the route
// for other sizes (a cups-pdf queue), with the same pixels; the archive gets
// no second row.
TEST_F(FilmArchiveE2e, TheSelectedFilmIsPreviewedAndPrintedAgainOnTheQueueForOtherSizes)
{
    const char* queue = std::getenv("VANTOREL_CUPS_QUEUE");
    const char* queueFolder = std::getenv("VANTOREL_CUPS_PDF_DIR");
    if (!queue || !queueFolder)
        GTEST_SKIP() << "CUPS not started (run through scripts/test)";
    const QString films = home_.path() + "/images";
    ASSERT_TRUE(useTemplateFilms(films));
    const int queueIndex = installedPrinters(home_).indexOf(queue);
    ASSERT_GE(queueIndex, 0) << queue;
    home_.setting(settings::files::prtIni, "PrtIni", "Printer_9", std::to_string(queueIndex));
    start(archiveConnectString());

    const QString tiff = sendTemplateFilm(films);
    ASSERT_FALSE(tiff.isEmpty()) << home_.runLog().toStdString();
    const QImage film(tiff);
    ASSERT_FALSE(film.isNull());
    const QString day = QDate::fromString(tiff.mid(films.size() + 1, 10), "yyyy/MM/dd").toString(Qt::ISODate);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    int filmRow = -1, listedRows = 0;
    ASSERT_TRUE(waitFor(
        [&] {
            const QStringList listed = gridRows(query(day, today));
            listedRows = 0;
            for (int row = 0; row < listed.size(); ++row)
                if (listed[row].section('|', 2) == tiff) {
                    filmRow = row;
                    ++listedRows;
                }
            return filmRow >= 0;
        },
        20000))
        << home_.runLog().toStdString();

    ASSERT_EQ(command(QString("select filmManagementPage/filmGrid %1").arg(filmRow)), "ok");
    QString shown;
    ASSERT_TRUE(waitFor(
        [&] {
            shown = command("pixmap filmManagementPage/filmPreview");
            return shown.startsWith("pixmap=") && shown != "pixmap=none";
        },
        10000))
        << shown.toStdString();
    const QRegularExpression where("pixmap=(\\d+)x(\\d+) at=(-?\\d+),(-?\\d+)");
    const QRegularExpressionMatch at = where.match(shown);
    ASSERT_TRUE(at.hasMatch()) << shown.toStdString();
    const int w = at.captured(1).toInt(), h = at.captured(2).toInt();
    const int x0 = at.captured(3).toInt(), y0 = at.captured(4).toInt();
    EXPECT_NEAR(double(w) / h, double(film.width()) / film.height(), 0.02);
    const QImage screen = x_->screenshot(screenshotDir + "/film_archive_preview.png");
    ASSERT_FALSE(screen.isNull());
    // The middle of the first image (top-left quarter) and of the base
    // between the images, on the film and on the screen.
    for (const QPointF& p : {QPointF(0.25, 0.25), QPointF(0.75, 0.75)}) {
        const int filmGrey = meanGrey(film, int(p.x() * film.width()), int(p.y() * film.height()), 8);
        const int screenGrey = meanGrey(screen, x0 + int(p.x() * w), y0 + int(p.y() * h), 1);
        EXPECT_NEAR(screenGrey, filmGrey, 25) << p.x() << "," << p.y();
    }

    const QSet<QString> before = pdfFilesIn(queueFolder);
    ASSERT_EQ(command("state filmManagementPage/filmReprint").left(9), "enabled=1");
    ASSERT_EQ(command("click filmManagementPage/filmReprint"), "ok");
    const QStringList pdfs = waitForNewPdfs(queueFolder, before, 1, queue);
    ASSERT_EQ(pdfs.size(), 1) << home_.runLog().toStdString();
    EXPECT_TRUE(home_.runLog().contains("重新打印：" + tiff + " -> " + queue))
        << home_.runLog().toStdString();
    EXPECT_TRUE(command("state filmManagementPage/filmArchiveStatus")
                    .endsWith(QString("已重新打印。打印机：") + queue));
    const QImage page = renderPdfPage(pdfs.front(), 72);
    ASSERT_FALSE(page.isNull());
    // Fitted to the sheet and centred: the film's picture fills the page's
    // width (3:4 on A4 leaves bands above and below).
    const double scale = double(page.width()) / film.width();
    const double top = (page.height() - film.height() * scale) / 2;
    for (const QPointF& p : {QPointF(0.25, 0.25), QPointF(0.75, 0.75)}) {
        const int filmGrey = meanGrey(film, int(p.x() * film.width()), int(p.y() * film.height()), 8);
        const int pageGrey =
            meanGrey(page, int(p.x() * page.width()), int(top + p.y() * film.height() * scale), 2);
        EXPECT_NEAR(pageGrey, filmGrey, 25) << p.x() << "," << p.y();
    }
    // Still one row for the film.
    const QStringList listed = gridRows(query(day, today));
    int rowsNow = 0;
    for (const QString& row : listed)
        rowsNow += row.section('|', 2) == tiff;
    EXPECT_EQ(rowsNow, listedRows);
}

}  // namespace
}  // namespace vantorel::testing
