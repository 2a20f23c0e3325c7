// The monthly purge in the real program: with film saving saved as on, the
// timer runs from start-up and its first tick (a minute later) removes last
// month's film folder; with it saved as off nothing is ever removed.

#include "console_program.h"
#include "x_session.h"

#include <QDate>

#include <gtest/gtest.h>

namespace vantorel::testing {
namespace {

struct FilmHome {
    explicit FilmHome(const char* saveFilm)
    {
        home.setting(settings::files::prtIni, "PrtIni", "Port", std::to_string(freePort()));
        home.setting(settings::files::prtIni, "PrtIni", "SaveFilm", saveFilm);
        home.setting(settings::files::prtIni, "PrtIni", "胶片导出路径", exportFolder().toStdString());
        const QDate today = QDate::currentDate();
        const QDate last = today.addMonths(-1);
        lastMonth = exportFolder() + last.toString("/yyyy/MM");
        thisMonth = exportFolder() + today.toString("/yyyy/MM");
        // January's purge reaches back only once this year has a folder.
        for (const QString& film : {lastMonth + "/03/101010.tiff", thisMonth + "/01/090909.tiff"})
            home.writeFile(film.mid(home.path().size() + 1), "II*");
    }
    QString exportFolder() const { return home.path() + "/images"; }

    ConsoleHome home;
    QString lastMonth;
    QString thisMonth;
};

TEST(FilmPurgeE2e, SavedFilmSavingPurgesLastMonthAMinuteAfterStartUp)
{
    FilmHome off("0");
    FilmHome on("1");
    RunningProgram withoutSaving(off.home, QString());
    RunningProgram withSaving(on.home, QString());
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(on.home.reportPath()); }))
        << withSaving.errorOutput().toStdString();
    EXPECT_TRUE(on.home.report()["entries"].contains("胶片管理"));

    ASSERT_TRUE(waitFor([&] { return !QFileInfo::exists(on.lastMonth); }, 90000))
        << "last month's folder still there";
    EXPECT_TRUE(QFileInfo::exists(on.thisMonth + "/01/090909.tiff"));
    // The purge runs on its own thread; its line reaches the run log from the
    // main thread a moment after the folder is gone.
    EXPECT_TRUE(
        waitFor([&] { return on.home.runLog().contains("清除上月胶片文件夹" + on.lastMonth); }, 10000))
        << on.home.runLog().toStdString();

    // The program without film saving started first and had the same minute.
    EXPECT_TRUE(QFileInfo::exists(off.lastMonth + "/03/101010.tiff"));
    EXPECT_FALSE(off.home.runLog().contains("清除上月胶片文件夹"));
    EXPECT_TRUE(withSaving.running());
    EXPECT_EQ(withSaving.stop(), 0);
    EXPECT_EQ(withoutSaving.stop(), 0);
}

}  // namespace
}  // namespace vantorel::testing
