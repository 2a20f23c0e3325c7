// Template films printed by the real program: a shipped template, a cups-pdf
// queue or the FilmFile printer, the TIFF export and the DBPRT archive in the
// real MariaDB over ODBC. Rows are found by their unique film paths (each
// test has its own home folder); other tests' rows are left alone.

#include "print_server.h"
#include "support/dicom_image_files.h"

#include <QDateTime>
#include <QDirIterator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <QProcess>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace vantorel::testing {
namespace {

// Template films saved as images, the first route on paper "1417" (index 4).
QString templateFilms(const QString& home, const QString& connectString)
{
    return "启用胶片格式文件=1\r\nSaveFilm=1\r\nFilmSize_1=4\r\n胶片导出路径=" + home +
        "/images\r\nConnectString=" + connectString + "\r\n";
}

void installShippedTemplate(const TempHome& home, const QString& name)
{
    QDir().mkpath(home.path() + "/ReportMode");
    QFile::copy(QString(VANTOREL_SHIPPED_TEMPLATES) + "/" + name, home.path() + "/ReportMode/" + name);
}

QStringList filmImages(const TempHome& home)
{
    QStringList files;
    QDirIterator it(home.path() + "/images", {"*.tiff"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

struct ArchiveRow {
    long long id = 0;
    QDateTime prtdate;
};

// The DBPRT rows of these film paths, in the order of the paths; the rows
// are removed after reading (they are this test's own: the table is shared).
// The archive writer records films on its own thread, so this waits up to
// `waitMs` for one row per path first.
std::vector<ArchiveRow> archiveRows(const QStringList& paths, int waitMs = 20000)
{
    std::vector<ArchiveRow> rows;
    {
        QString connect = environmentValue("VANTOREL_DB_CONNECT");
        while (connect.endsWith(';'))
            connect.chop(1);
        QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "template-e2e");
        db.setDatabaseName(connect);
        if (!db.open())
            ADD_FAILURE() << db.lastError().text().toStdString();
        const auto recorded = [&] {
            for (const QString& path : paths) {
                QString quoted = path;
                quoted.replace("'", "''");
                QSqlQuery query(db);
                if (!query.exec("select count(*) from DBPRT where FilmPath = '" + quoted + "'") ||
                    !query.next() || query.value(0).toInt() == 0)
                    return false;
            }
            return true;
        };
        waitFor(recorded, waitMs);
        for (const QString& path : paths) {
            QSqlQuery query(db);
            // A literal: bound text reaches the ANSI driver with a stray NUL.
            QString quoted = path;
            quoted.replace("'", "''");
            query.exec("select id, prtdate from DBPRT where FilmPath = '" + quoted + "'");
            while (query.next())
                rows.push_back({query.value(0).toLongLong(), query.value(1).toDateTime()});
            query.finish();
            query.exec("delete from DBPRT where FilmPath = '" + quoted + "'");
        }
    }
    QSqlDatabase::removeDatabase("template-e2e");
    return rows;
}

// The time a film image's name carries: .../yyyy/MM/dd/HHmmss[-n].tiff.
QDateTime filmImageTime(const QString& path)
{
    const QStringList parts = path.split('/');
    const QString date = parts[parts.size() - 4] + parts[parts.size() - 3] + parts[parts.size() - 2];
    return QDateTime::fromString(date + parts.last().left(6), "yyyyMMddHHmmss");
}

ProgramResult printFlatFilms(const PrintServer& server, const TempHome& home, const QString& format,
                             const std::vector<int>& levels, const QStringList& more = {})
{
    QStringList args{"--format", format, "--film-size", "14INX17IN", "--orientation", "PORTRAIT"};
    for (int level : levels)
        args << "--image" << writeFlatImage(home.path(), level);
    return server.print(args + more);
}

// Slot centres of the shipped 1417-22.rpx in twips on the 20160 x 24480 sheet
// (360-twip margins, 9690 x 11850 slots, 60-twip gaps).
const double slotCentres[4][2] = {{5205, 6285}, {14955, 6285}, {5205, 18195}, {14955, 18195}};

TEST(TemplatePrint, StandardTwoByTwoThroughAShippedTemplateToCupsTiffAndArchive)
{
    const char* queue = environmentValue("VANTOREL_CUPS_QUEUE");
    const char* folder = environmentValue("VANTOREL_CUPS_PDF_DIR");
    const char* database = environmentValue("VANTOREL_DB_CONNECT");
    if (!queue || !folder || !database)
        GTEST_SKIP() << "CUPS and MariaDB not started (run through scripts/test)";
    TempHome home;
    installShippedTemplate(home, "1417-22.rpx");
    home.writeFile("PrtLst/PrtLst.ini", gbk(QString("[PrtLst0]\r\n0=%1\r\n").arg(queue)));
    PrintServer server(home, templateFilms(home.path(), database));
    ASSERT_TRUE(server.start());

    const std::vector<int> levels{50, 100, 150, 200};
    const auto before = pdfFilesIn(folder);
    const ProgramResult result = printFlatFilms(server, home, "STANDARD\\2,2", levels);
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;

    // The PDF: one 14 x 17 inch page, the four images in the template's slots.
    const QStringList files = waitForNewPdfs(folder, before, 1, queue);
    ASSERT_GE(files.size(), 1);
    bool found = false;
    std::string differences;
    for (const QString& pdf : files) {
        const QImage page = renderPdfPage(pdf, 72);
        if (page.isNull())
            continue;
        differences.clear();
        for (int k = 0; k < 4; ++k) {
            const int grey = meanGrey(page, int(slotCentres[k][0] / 20160 * page.width()),
                                      int(slotCentres[k][1] / 24480 * page.height()), 3);
            if (std::abs(grey - levels[k]) > 6)
                differences += "image " + std::to_string(k + 1) + ": " + std::to_string(grey) + "; ";
        }
        if (meanGrey(page, int(360.0 / 20160 * page.width()) + 3, page.height() / 2, 1) > 10)
            differences += "no black base; ";
        if (differences.empty()) {
            found = true;
            // The job is titled "HH点MM分SS秒打印。"; cups-pdf names the file
            // after it, non-ASCII bytes in octal ("点" is _347_202_271).
            EXPECT_TRUE(QFileInfo(pdf).fileName().contains("_347_202_271")) << pdf.toStdString();
        }
    }
    EXPECT_TRUE(found) << differences;

    // The TIFF: the same four images, the sheet inside its margins scaled
    // alike into 2400 x 3200 (2400 x 2933, centred).
    const QStringList images = filmImages(home);
    ASSERT_EQ(images.size(), 1);
    const QImage tiff(images[0]);
    ASSERT_EQ(tiff.size(), QSize(2400, 3200));
    EXPECT_EQ(tiff.format(), QImage::Format_Grayscale8);
    const double scale = 2400.0 / 19440, top = (3200 - 23760 * scale) / 2;
    for (int k = 0; k < 4; ++k) {
        const int x = int((slotCentres[k][0] - 360) * scale),
                  y = int(top + (slotCentres[k][1] - 360) * scale);
        EXPECT_NEAR(meanGrey(tiff, x, y, 3), levels[k], 2) << "image " << k + 1;
    }

    // The page and the TIFF are one drawing: the printed page carries the
    // film's image as one picture, the part of the TIFF that shows the sheet.
    bool oneImage = false;
    for (const QString& pdf : files)
        oneImage = oneImage || pdfImageSizes(pdf) == QList<QSize>{QSize(2400, 2933)};
    EXPECT_TRUE(oneImage);

    // One archive row with that path, recorded within a second of the film.
    const auto rows = archiveRows(images);
    ASSERT_EQ(rows.size(), 1u) << joined(runLogMessages(home));
    EXPECT_GT(rows[0].id, 0);
    EXPECT_LE(std::abs(rows[0].prtdate.secsTo(filmImageTime(images[0]))), 1);
    EXPECT_EQ(countOf(runLogMessages(home), "打印第【1】张胶片。"), 1);
}

TEST(TemplatePrint, TwoFilmsOfOneSessionGiveTwoImagesAndTwoRows)
{
    const char* database = environmentValue("VANTOREL_DB_CONNECT");
    if (!database)
        GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
    TempHome home;
    installShippedTemplate(home, "1417-22.rpx");
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    QProcessEnvironment environment = home.environment();
    const QString report = home.path() + "/console-report.txt";
    environment.insert("VANTOREL_CONSOLE_REPORT", report);
    PrintServer server(home, templateFilms(home.path(), database), environment);
    ASSERT_TRUE(server.start());

    const ProgramResult result = printFlatFilms(server, home, "STANDARD\\2,2", {30, 60, 90, 120},
                                                {"--films", "2", "--action", "session"});
    // The console's preview shows the template's 14 x 17 inch sheet; it is
    // drawn once the N-ACTION has been answered.
    EXPECT_TRUE(waitFor([&] { return home.readFile("console-report.txt").contains("film=1000x1214"); }))
        << home.readFile("console-report.txt").toStdString();
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(newPdfFiles(home.path() + "/FilmFile", {}).size(), 2);
    // Films of the same second are numbered, never overwritten.
    const QStringList images = filmImages(home);
    ASSERT_EQ(images.size(), 2);
    if (filmImageTime(images[0]) == filmImageTime(images[1])) {
        EXPECT_TRUE(images[0].endsWith("-1.tiff") || images[1].endsWith("-1.tiff"))
            << images.join(' ').toStdString();
    }
    const auto rows = archiveRows(images);
    ASSERT_EQ(rows.size(), 2u) << joined(runLogMessages(home));
    EXPECT_NE(rows[0].id, rows[1].id);
}

TEST(TemplatePrint, AnUnreachableDatabaseStillPrintsAndItsRowsArriveWhenItAnswers)
{
    if (!environmentValue("VANTOREL_DB_CONNECT"))
        GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
    TempHome home;
    installShippedTemplate(home, "1417-22.rpx");
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    const int closedPort = freePort();
    PrintServer server(home,
                       templateFilms(home.path(),
                                     QString("DRIVER={MySQL ODBC 5.2 ANSI Driver};SERVER=127.0.0.1;"
                                             "PORT=%1;DATABASE=dbprt;UID=root;PWD=;")
                                         .arg(closedPort)));
    ASSERT_TRUE(server.start());

    const ProgramResult result = printFlatFilms(server, home, "STANDARD\\2,2", {30, 60, 90, 120});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(newPdfFiles(home.path() + "/FilmFile", {}).size(), 1);
    const QStringList images = filmImages(home);
    ASSERT_EQ(images.size(), 1);
    const auto log = runLogMessages(home);
    EXPECT_EQ(countOf(log, "打印第【1】张胶片。"), 1);
    // The row waits in the spool, and the log says why.
    const std::string prefix = "film " + images[0].toStdString() + " not yet recorded in the archive: ";
    const auto said = [&] {
        const auto lines = runLogMessages(home);
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind(prefix, 0) == 0 && line.find("; the row waits in ") != std::string::npos;
        });
    };
    EXPECT_TRUE(waitFor(said, 20000)) << joined(runLogMessages(home));
    EXPECT_TRUE(home.readFile("LOG/archive-spool").contains(images[0].toUtf8()));

    // The database answers again (through a forwarder on the port the
    // connection names): the waiting row is written and the spool is gone.
    QProcess forwarder;
    forwarder.start(
        "socat",
        {QString("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr,fork").arg(closedPort), "TCP:127.0.0.1:3306"});
    ASSERT_TRUE(forwarder.waitForStarted(10000));
    const auto rows = archiveRows(images, 90000);
    forwarder.kill();
    forwarder.waitForFinished(5000);
    ASSERT_EQ(rows.size(), 1u) << joined(runLogMessages(home));
    EXPECT_LE(std::abs(rows[0].prtdate.secsTo(filmImageTime(images[0]))), 1);
    EXPECT_TRUE(waitFor([&] { return !QFile::exists(home.path() + "/LOG/archive-spool"); }, 10000));
}

// The grey of the TIFF of a film through the shipped 1417-22.rpx at the
// centre of slot k (the sheet inside its margins scaled alike into 2400 x 3200).
int tiffSlotGrey(const QImage& tiff, int k)
{
    const double scale = 2400.0 / 19440, top = (3200 - 23760 * scale) / 2;
    return meanGrey(tiff, int((slotCentres[k][0] - 360) * scale),
                    int(top + (slotCentres[k][1] - 360) * scale), 3);
}

// A film whose template is missing never shows another film's pictures: it is
// not printed, saved or recorded, and the modality is told which template.
TEST(TemplatePrint, AFilmWithoutItsTemplateIsRefusedAndTheNextPrintsOnlyItsOwnImages)
{
    const char* database = environmentValue("VANTOREL_DB_CONNECT");
    if (!database)
        GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
    TempHome home;
    installShippedTemplate(home, "1417-34.rpx");
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    PrintServer server(home, templateFilms(home.path(), database));
    ASSERT_TRUE(server.start());
    const QString films = home.path() + "/FilmFile";

    // Patient A: a 3x4 film of twelve bright images.
    ASSERT_EQ(printFlatFilms(server, home, "STANDARD\\3,4", std::vector<int>(12, 230)).exitCode, 0);
    ASSERT_EQ(newPdfFiles(films, {}).size(), 1);
    const QStringList firstImages = filmImages(home);
    ASSERT_EQ(firstImages.size(), 1);
    const QSet<QString> before = pdfFilesIn(films);

    // Patient B: a 2x2 film whose template is not there.
    const ProgramResult refused = printFlatFilms(server, home, "STANDARD\\2,2", {50, 100, 150, 200});
    EXPECT_NE(refused.out.find("N-ACTION Film Box: status 0x0110, error comment: Film not printed: template "
                               "1417-22.rpx: file not found"),
              std::string::npos)
        << refused.out;
    EXPECT_TRUE(newPdfFiles(films, before).isEmpty());
    EXPECT_EQ(filmImages(home).size(), 1);
    const auto log = runLogMessages(home);
    EXPECT_EQ(countOf(log,
                      "film template " + home.path().toStdString() +
                          "/ReportMode/1417-22.rpx not loaded: file not found"),
              1);
    EXPECT_EQ(countStartingWith(log, "打印失败：template 1417-22.rpx: file not found"), 1) << joined(log);

    // With its template, B's film shows its own four images and nothing else.
    installShippedTemplate(home, "1417-22.rpx");
    ASSERT_EQ(printFlatFilms(server, home, "STANDARD\\2,2", {50, 100, 150, 200}).exitCode, 0);
    const QStringList pdfs = newPdfFiles(films, before);
    ASSERT_EQ(pdfs.size(), 1);
    const QImage page = renderPdfPage(pdfs[0], 36);
    const QStringList images = filmImages(home);
    ASSERT_EQ(images.size(), 2);
    const QImage tiff(images[0] == firstImages[0] ? images[1] : images[0]);
    const int levels[] = {50, 100, 150, 200};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(tiffSlotGrey(tiff, k), levels[k], 2) << "TIFF image " << k + 1;
        EXPECT_NEAR(meanGrey(page, int(slotCentres[k][0] / 20160 * page.width()),
                             int(slotCentres[k][1] / 24480 * page.height()), 2),
                    levels[k], 8)
            << "page image " << k + 1;
    }
    EXPECT_EQ(archiveRows(images).size(), 2u);
}

// Templates that would drop images are not used: the film is refused with
// the reason, quickly, whatever the file holds.
TEST(TemplatePrint, ATemplateThatWouldDropImagesIsRefusedWithItsReason)
{
    TempHome home;
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    PrintServer server(home, "启用胶片格式文件=1\r\nFilmSize_1=4\r\n");
    ASSERT_TRUE(server.start());
    const auto rpx = [](const QString& controls) {
        return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ActiveReportsLayout Version=\"2.0\">"
                          "<PageSettings Orientation=\"1\" PaperWidth=\"20160\" PaperHeight=\"24480\" "
                          "LeftMargin=\"360\" RightMargin=\"360\" TopMargin=\"360\" BottomMargin=\"360\"/>"
                          "<Sections><Section Type=\"Detail\" Name=\"Detail\">") +
            controls.toUtf8() + "</Section></Sections></ActiveReportsLayout>\n";
    };
    const auto slot = [](int k, int left, int top, int width, int height) {
        return QString("<Control Type=\"AR.Image\" Name=\"Image%1\" Left=\"%2\" Top=\"%3\" Width=\"%4\" "
                       "Height=\"%5\" Visible=\"1\" SizeMode=\"2\"/>")
            .arg(k)
            .arg(left)
            .arg(top)
            .arg(width)
            .arg(height);
    };
    const QString three =
        slot(1, 0, 0, 9690, 11850) + slot(2, 9750, 0, 9690, 11850) + slot(3, 0, 11910, 9690, 11850);
    QString labels;
    for (int i = 0; i < 18000; ++i)
        labels += QString("<Control Type=\"AR.Label\" Name=\"L%1\" Left=\"0\" Top=\"0\" Width=\"900\" "
                          "Height=\"300\" Visible=\"1\" Text=\"x\"/>")
                      .arg(i);
    struct Case {
        const char* what;
        QByteArray file;
        const char* reason;
    };
    const Case cases[] = {
        {"no slots", rpx(""), "0 image slots, no visible slot Image1"},
        {"too few slots", rpx(three), "3 image slots, no visible slot Image4"},
        {"a slot off the page", rpx(three + slot(4, 19000, 11910, 9690, 11850)),
         "slot Image4 lies outside the page"},
        {"a negative size", rpx(three + slot(4, 9750, 11910, -9690, 11850)),
         "slot Image4 has no positive size"},
        {"18,000 labels", rpx(three + slot(4, 9750, 11910, 9690, 11850) + labels),
         "18004 controls, more than 2000"},
    };
    for (const Case& c : cases) {
        home.writeFile("ReportMode/1417-22.rpx", c.file);
        const ProgramResult result = printFlatFilms(server, home, "STANDARD\\2,2", {50, 100, 150, 200});
        EXPECT_NE(result.out.find("status 0x0110, error comment: Film not printed: template 1417-22.rpx:"),
                  std::string::npos)
            << c.what << "\n"
            << result.out;
        const auto log = runLogMessages(home);
        EXPECT_EQ(countStartingWith(log,
                                    "film template " + home.path().toStdString() +
                                        "/ReportMode/1417-22.rpx not used: " + c.reason),
                  1)
            << c.what << "\n"
            << joined(log);
    }
    EXPECT_TRUE(newPdfFiles(home.path() + "/FilmFile", {}).isEmpty());
}

// A template rewritten byte by byte while films print: each film is whole
// (its four images) or refused, never printed with images missing.
TEST(TemplatePrint, ATemplateReplacedWhileFilmsPrintGivesWholeFilmsOrRefusals)
{
    TempHome home;
    installShippedTemplate(home, "1417-22.rpx");
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    PrintServer server(home, "启用胶片格式文件=1\r\nFilmSize_1=4\r\n");
    ASSERT_TRUE(server.start());
    const QString path = home.path() + "/ReportMode/1417-22.rpx";
    QFile original(path);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();

    std::atomic<bool> printing{true};
    std::thread editor([&] {
        // An editor that writes the file in place, one byte at a time.
        while (printing) {
            std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
            if (file == nullptr)
                continue;
            for (char byte : bytes) {
                std::fputc(byte, file);
                std::fflush(file);
            }
            std::fclose(file);
        }
    });
    const std::vector<int> levels{50, 100, 150, 200};
    int printed = 0, refused = 0;
    for (int film = 0; film < 20; ++film) {
        const QSet<QString> before = pdfFilesIn(home.path() + "/FilmFile");
        const ProgramResult result = printFlatFilms(server, home, "STANDARD\\2,2", levels);
        if (result.exitCode != 0) {
            EXPECT_NE(result.out.find("Film not printed: template 1417-22.rpx:"), std::string::npos)
                << result.out;
            ++refused;
            continue;
        }
        const QStringList pdfs = newPdfFiles(home.path() + "/FilmFile", before);
        ASSERT_EQ(pdfs.size(), 1);
        const QImage page = renderPdfPage(pdfs[0], 36);
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(meanGrey(page, int(slotCentres[k][0] / 20160 * page.width()),
                                 int(slotCentres[k][1] / 24480 * page.height()), 2),
                        levels[k], 8)
                << "film " << film << " image " << k + 1;
        ++printed;
    }
    printing = false;
    editor.join();
    EXPECT_EQ(printed + refused, 20);
    RecordProperty("printed", printed);
    RecordProperty("refused", refused);
}

}  // namespace
}  // namespace vantorel::testing
