// Only a film that reached its printer is saved and archived, and its TIFF is
// whole: a stopped CUPS queue or a full export folder, through the real
// program on the template road with the real MariaDB.

#include "print_server.h"
#include "support/cups_test_queue.h"

#include <QDirIterator>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <gtest/gtest.h>

#include <fstream>

namespace vantorel::testing {
namespace {

QString templateFilms(const QString& exportFolder)
{
    return "启用胶片格式文件=1\r\nSaveFilm=1\r\nFilmSize_1=4\r\n胶片导出路径=" + exportFolder +
        "\r\nConnectString=" + environmentValue("VANTOREL_DB_CONNECT") + "\r\n";
}

void installTemplate(const TempHome& home)
{
    QDir().mkpath(home.path() + "/ReportMode");
    QFile::copy(QString(VANTOREL_SHIPPED_TEMPLATES) + "/1417-22.rpx",
                home.path() + "/ReportMode/1417-22.rpx");
}

QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

// Archive rows whose film path lies below `folder`.
int archiveRowsBelow(const QString& folder)
{
    int rows = -1;
    {
        QString connect = environmentValue("VANTOREL_DB_CONNECT");
        while (connect.endsWith(';'))
            connect.chop(1);
        QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "export-guard");
        db.setDatabaseName(connect);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec("select count(*) from DBPRT where FilmPath like '" + folder + "/%'") &&
                query.next())
                rows = query.value(0).toInt();
            else
                ADD_FAILURE() << query.lastError().text().toStdString();
        } else {
            ADD_FAILURE() << db.lastError().text().toStdString();
        }
    }
    QSqlDatabase::removeDatabase("export-guard");
    return rows;
}

const QStringList film{"--format",      "STANDARD\\2,2", "--film-size", "14INX17IN",
                       "--orientation", "PORTRAIT",      "--size",      "64"};

TEST(FilmExportGuard, AFilmAStoppedQueueDidNotTakeIsNeitherSavedNorArchived)
{
    if (!environmentValue("VANTOREL_DB_CONNECT"))
        GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
    CupsTestQueue queue;
    if (!queue.problem().empty())
        GTEST_SKIP() << queue.problem();
    TempHome home;
    installTemplate(home);
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=" + queue.name() + "\r\n"));
    const QString images = home.path() + "/images";
    PrintServer server(home, templateFilms(images));
    ASSERT_TRUE(server.start());

    ASSERT_TRUE(queue.disable("paper jam")) << queue.lastOutput();
    const ProgramResult refused = server.print(film);
    EXPECT_NE(refused.out.find("N-ACTION Film Box: status 0x0110"), std::string::npos) << refused.out;
    EXPECT_TRUE(filesBelow(images).isEmpty()) << filesBelow(images).join(' ').toStdString();
    const auto log = runLogMessages(home);
    EXPECT_EQ(countStartingWith(log, "打印失败："), 1) << joined(log);
    EXPECT_EQ(countStartingWith(log, "打印完毕。"), 0) << joined(log);
    EXPECT_NE(joined(log).find("打印机：" + queue.name().toStdString()), std::string::npos) << joined(log);

    ASSERT_TRUE(queue.enable()) << queue.lastOutput();
    EXPECT_EQ(server.print(film).exitCode, 0);
    EXPECT_EQ(filesBelow(images).size(), 1);
    EXPECT_TRUE(waitFor([&] { return archiveRowsBelow(images) == 1; }, 20000)) << archiveRowsBelow(images);
}

TEST(FilmExportGuard, AFullExportFolderLeavesNoTruncatedFilmAndNoRow)
{
    if (!environmentValue("VANTOREL_DB_CONNECT"))
        GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
    TempHome home;
    installTemplate(home);
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    const QString images = home.path() + "/images";
    QDir().mkpath(images);
    // A small file system of its own, filled but for a little: the 7 MB film
    // image cannot fit.
    QProcess mount;
    mount.start("mount", {"-t", "tmpfs", "-o", "size=4m", "tmpfs", images});
    if (!mount.waitForFinished(10000) || mount.exitCode() != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << mount.readAllStandardError().toStdString();
    struct Unmount {
        QString folder;
        ~Unmount() { QProcess::execute("umount", {folder}); }
    } unmount{images};
    {
        std::ofstream filler((images + "/filler").toStdString(), std::ios::binary);
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 3; ++i)
            filler.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    PrintServer server(home, templateFilms(images));
    ASSERT_TRUE(server.start());

    const ProgramResult result = server.print(film);
    EXPECT_EQ(result.exitCode, 0) << result.out;  // the film printed
    EXPECT_EQ(newPdfFiles(home.path() + "/FilmFile", {}).size(), 1);
    for (const QString& file : filesBelow(images))
        EXPECT_TRUE(file.endsWith("/filler")) << file.toStdString() << " left in the export folder";
    const auto log = runLogMessages(home);
    const std::string text = joined(log);
    EXPECT_NE(text.find("film image not saved: cannot write film image " + images.toStdString()),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("No space left on device"), std::string::npos) << text;
    EXPECT_EQ(archiveRowsBelow(images), 0);
}

// Film saving that fails is said where a modality and the operator see it:
// the Printer reports WARNING until a film is saved again; the films still
// print and answer Success.
TEST(FilmExportGuard, AnExportFolderThatCannotBeUsedIsAPrinterWarningUntilFilmsAreSavedAgain)
{
    TempHome home;
    installTemplate(home);
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    const QString images = home.path() + "/images";
    home.writeFile("images", "a file where the export folder should be");
    PrintServer server(home, templateFilms(images));
    ASSERT_TRUE(server.start());

    EXPECT_EQ(server.print(film).exitCode, 0);
    const ProgramResult warned = server.print({"--sessions", "0"});
    EXPECT_NE(warned.out.find("Printer Status: WARNING\n"), std::string::npos) << warned.out;
    EXPECT_NE(warned.out.find("Printer Status Info: FILM SAVING FAILED\n"), std::string::npos) << warned.out;
    EXPECT_NE(joined(runLogMessages(home))
                  .find("Printer Status WARNING: film not saved: cannot create folder " +
                        images.toStdString() + ": Not a directory"),
              std::string::npos)
        << joined(runLogMessages(home));

    QFile::remove(images);
    EXPECT_EQ(server.print(film).exitCode, 0);
    const ProgramResult normal = server.print({"--sessions", "0"});
    EXPECT_NE(normal.out.find("Printer Status: NORMAL\n"), std::string::npos) << normal.out;
    EXPECT_EQ(filesBelow(images).size(), 1);
}

}  // namespace
}  // namespace vantorel::testing
