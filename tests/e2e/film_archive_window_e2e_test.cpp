// The film-management page as a real window on a private X server, over the
// real archive database, opening films with the desktop's opener (xdg-open,
// here a script that notes what it was asked to open). Screenshots are kept
// in the build folder's screenshots/.

#include "archive/sql/odbc_film_listing.h"
#include "archive/ui/film_archive_page.h"
#include "archive/archive_rows.h"
#include "console/operator_messages.h"
#include "console/settings_model.h"
#include "console/ui/pages/page_services.h"
#include "support/memory_run_log.h"
#include "x_session.h"

#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace vantorel::testing {
namespace {

const QString screenshotDir = QStringLiteral(VANTOREL_SCREENSHOT_DIR);

// Set up by main() before the application starts.
XSession* x = nullptr;
QTemporaryDir* opener = nullptr;

QString openedFiles()
{
    QFile file(opener->path() + "/opened.txt");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class FilmArchiveWindowE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!x || !x->ok())
            GTEST_SKIP() << "Xvfb could not be started";
        if (archiveConnectString().empty())
            GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
        ASSERT_TRUE(rows.ok());
        QDir().mkpath(screenshotDir);
        settings.connectString = archiveConnectString();
        page.setWindowTitle("胶片管理");
        page.resize(1000, 520);
        page.move(0, 0);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    void query(QDate from, QDate to)
    {
        page.fromDate()->setDate(from);
        page.toDate()->setDate(to);
        QTest::mouseClick(page.queryButton(), Qt::LeftButton);
        QTest::qWait(100);  // let the window repaint before a screenshot
    }

    ArchiveRows rows;
    console::Settings settings;
    archive::OdbcFilmListing listing{settings};
    std::ostringstream messageStream;
    MemoryRunLog log;
    console::LoggedOperatorMessages messages{log, messageStream};
    console::ui::SystemDesktopLauncher desktop;
    archive::FilmArchivePage page{{listing, messages, desktop, log}};
};

TEST_F(FilmArchiveWindowE2e, ListsTheDayOpensAFilmAndReportsAnUnreachableArchive)
{
    QTemporaryDir films;
    const QString film = films.path() + "/2014/04/12/120000.tiff";
    QDir().mkpath(QFileInfo(film).path());
    QFile(film).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(films.path(), rows.marker()));  // the marker leads to the films
    const QString m = rows.marker();
    ASSERT_TRUE(rows.insert("2014-04-12 00:00:00", m + "/2014/04/12/000000.tiff"));
    ASSERT_TRUE(rows.insert("2014-04-12 00:00:01", m + "/2014/04/12/000001.tiff"));
    ASSERT_TRUE(rows.insert("2014-04-12 12:00:00", m + "/2014/04/12/120000.tiff"));
    ASSERT_TRUE(rows.insert("2014-04-12 23:59:59", m + "/2014/04/12/235959.tiff"));
    ASSERT_TRUE(rows.insert("2014-04-13 00:00:00", m + "/2014/04/13/000000.tiff"));

    query(QDate(2014, 4, 12), QDate(2014, 4, 12));
    QAbstractItemModel* model = page.grid()->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    QStringList times;
    int filmRow = -1;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (!model->index(row, 2).data().toString().startsWith(m))
            continue;
        times << model->index(row, 1).data().toString();
        if (model->index(row, 2).data().toString().endsWith("120000.tiff"))
            filmRow = row;
    }
    EXPECT_EQ(times, QStringList({"2014-04-12 00:00:00", "2014-04-12 00:00:01", "2014-04-12 12:00:00",
                                  "2014-04-12 23:59:59"}));
    const QImage shot = x->screenshot(screenshotDir + "/film_archive_rows.png");
    EXPECT_FALSE(shot.isNull());

    // A double-click on the film hands it to the desktop's opener.
    ASSERT_GE(filmRow, 0);
    const QModelIndex cell = model->index(filmRow, 2);
    page.grid()->scrollTo(cell);
    const QPoint at = page.grid()->visualRect(cell).center();
    QTest::mouseClick(page.grid()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(page.grid()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(waitFor([] { return !openedFiles().isEmpty(); }, 10000));
    EXPECT_TRUE(openedFiles().contains(QUrl::fromLocalFile(m + "/2014/04/12/120000.tiff").toString()))
        << openedFiles().toStdString();

    // The film at midnight was never written: the operator is told so
    // (logged, as this window has no message boxes).
    const QModelIndex missing = model->index(filmRow - 2, 2);
    page.grid()->setCurrentIndex(missing);
    page.openFilm();
    const std::string expected = "胶片【" + (m + "/2014/04/12/000000.tiff").toStdString() + "】不存在。";
    EXPECT_NE(messageStream.str().find(expected), std::string::npos) << messageStream.str();
    QFile::remove(m);

    // A server nobody answers on: the status line says so, the window goes on.
    settings.connectString = unreachableConnectString();
    query(QDate(2014, 4, 12), QDate(2014, 4, 12));
    EXPECT_EQ(page.grid()->model()->rowCount(), 0);
    EXPECT_TRUE(page.statusLine()->text().startsWith("无法访问胶片档案："));
    EXPECT_TRUE(page.statusLine()->isVisible());
    x->screenshot(screenshotDir + "/film_archive_unreachable.png");
    settings.connectString = archiveConnectString();
    query(QDate(2014, 4, 12), QDate(2014, 4, 12));
    EXPECT_TRUE(page.statusLine()->text().isEmpty());
}

}  // namespace
}  // namespace vantorel::testing

// The X server and the opener script come before the application, which
// connects to the one and finds the other on the PATH.
int main(int argc, char** argv)
{
    QTemporaryDir openerDir;
    vantorel::testing::opener = &openerDir;
    {
        QFile script(openerDir.path() + "/xdg-open");
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/opened.txt\"\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("PATH", openerDir.path().toLocal8Bit() + ":" + qgetenv("PATH"));
    // No desktop session: Qt's generic opener is xdg-open.
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("DESKTOP_SESSION");

    // Listing the tests needs no X server.
    const bool listing = argc > 1 && QByteArray(argv[argc - 1]).startsWith("--gtest_list_tests");
    std::unique_ptr<vantorel::testing::XSession> x;
    if (!listing)
        x = std::make_unique<vantorel::testing::XSession>();
    vantorel::testing::x = x.get();
    if (x && x->ok()) {
        const vantorel::testing::XSession& session = *x;
        qputenv("DISPLAY", session.display().toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
