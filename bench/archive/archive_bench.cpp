// The film archive's two costs: "查询" over a month of a busy department
// (20,000 rows, real MariaDB over QODBC, the page on the offscreen platform)
// and the purge of a month folder holding 6,000 films.
//
//   source the test services' env; QT_QPA_PLATFORM=offscreen build/bin/archive_bench

#include "archive/archive_rows.h"
#include "archive/monthly_purge.h"
#include "archive/sql/odbc_film_listing.h"
#include "archive/ui/film_archive_page.h"
#include "base/clock.h"
#include "base/operator_messages.h"
#include "console/ui/pages/page_services.h"
#include "settings/settings_model.h"
#include "support/memory_run_log.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using namespace vantorel;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void benchQuery(int rowCount, int rounds)
{
    testing::ArchiveRows rows;
    if (!rows.ok()) {
        std::cout << "archive database not reachable: set VANTOREL_DB_CONNECT\n";
        return;
    }
    // A day nobody else uses.
    QElapsedTimer timer;
    timer.start();
    if (!rows.insertMany("2013-07-21 10:00:00", rowCount)) {
        std::cout << "insert failed\n";
        return;
    }
    std::printf("inserted %d rows in %.0f ms\n", rowCount, double(timer.elapsed()));

    settings::Settings settings;
    settings.connectString = testing::archiveConnectString();
    archive::OdbcFilmListing listing(settings);
    std::ostringstream sink;
    testing::MemoryRunLog log;
    base::LoggedOperatorMessages messages(log, sink);
    console::ui::SystemDesktopLauncher desktop;
    archive::FilmArchivePage page({listing, messages, desktop, log});
    page.resize(1000, 600);
    page.show();
    page.fromDate()->setDate(QDate(2013, 7, 21));
    page.toDate()->setDate(QDate(2013, 7, 21));

    std::vector<double> listed, scrolled;
    for (int round = 0; round < rounds; ++round) {
        timer.restart();
        page.query();
        page.grid()->repaint();  // the first screen of rows drawn
        QCoreApplication::processEvents();
        listed.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        page.grid()->scrollToBottom();  // every row fetched, the last screen drawn
        while (page.grid()->model()->canFetchMore({})) {
            page.grid()->model()->fetchMore({});
            page.grid()->scrollToBottom();
        }
        page.grid()->repaint();
        scrolled.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("查询 %d rows: first screen %.0f ms (median of %d, min %.0f, max %.0f); "
                "then scrolling to the last row %.0f ms; rows %d; log lines %zu\n",
                rowCount, median(listed), rounds, *std::min_element(listed.begin(), listed.end()),
                *std::max_element(listed.begin(), listed.end()), median(scrolled),
                page.grid()->model()->rowCount(), log.lines.size());
}

void benchPurge(int fileCount, int rounds, int filmBytes)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir root;
        const int days = 30;
        for (int i = 0; i < fileCount; ++i) {
            const QString day = root.path() + QString("/2026/02/%1").arg(i % days + 1, 2, 10, QChar('0'));
            if (i < days)
                QDir().mkpath(day);
            QFile film(day + QString("/%1.tiff").arg(i, 6, 10, QChar('0')));
            film.open(QIODevice::WriteOnly);
            film.write(QByteArray(filmBytes, 'x'));
        }
        QDir().mkpath(root.path() + "/2026/03/01");
        base::FixedClock clock({2026, 3, 15, 10, 0, 0});
        archive::MonthlyPurge purge(clock);
        QElapsedTimer timer;
        timer.start();
        purge.run(root.path().toStdString());
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (QFileInfo::exists(root.path() + "/2026/02"))
            std::cout << "month folder still there\n";
    }
    std::printf("purge of a month folder with %d films (%d bytes each, 30 day folders): %.0f ms "
                "(median of %d)\n",
                fileCount, filmBytes, median(times), rounds);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // archive_bench --purge-films N: the purge alone, of N empty films.
    if (argc == 3 && std::string(argv[1]) == "--purge-films") {
        benchPurge(std::atoi(argv[2]), 1, 0);
        return 0;
    }
    benchQuery(20000, 5);
    benchPurge(6000, 3, 4096);
    return 0;
}
