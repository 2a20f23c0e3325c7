// The film-management page over the real archive database (QODBC to the
// MariaDB test server), driven through its widgets on the offscreen platform.

#include "archive/film_query.h"
#include "archive/film_reprint.h"
#include "archive/monthly_purge.h"
#include "archive/sql/odbc_film_listing.h"
#include "archive/ui/film_archive_page.h"
#include "archive_rows.h"
#include "base/clock.h"
#include "console/page_fakes.h"
#include "console/ui_fakes.h"
#include "settings/settings_model.h"
#include "support/memory_run_log.h"

#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vantorel::testing {
namespace {

struct Row {
    QString time;
    QString path;
    bool operator==(const Row& other) const { return time == other.time && path == other.path; }
};

std::ostream& operator<<(std::ostream& out, const Row& row)
{
    return out << row.time.toStdString() << " " << row.path.toStdString();
}

// Notes what it is asked to print again and answers as told.
struct RecordingReprint final : archive::FilmReprint {
    archive::ReprintOutcome reprint(const std::string& imagePath) override
    {
        asked.push_back(imagePath);
        return answer;
    }
    std::vector<std::string> asked;
    archive::ReprintOutcome answer{true, "FilmFile", ""};
};

class FilmArchivePageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (archiveConnectString().empty())
            GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
        ASSERT_TRUE(rows.ok());
        settings.connectString = archiveConnectString();
        page.resize(900, 600);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    void query(QDate from, QDate to)
    {
        page.fromDate()->setDate(from);
        page.toDate()->setDate(to);
        QTest::mouseClick(page.queryButton(), Qt::LeftButton);
    }

    QAbstractItemModel& model() { return listing.model(); }

    // This run's rows in the grid, in grid order, every row fetched.
    std::vector<Row> ourRows()
    {
        while (model().canFetchMore({}))
            model().fetchMore({});
        std::vector<Row> found;
        for (int row = 0; row < model().rowCount(); ++row) {
            const QString path = model().index(row, 2).data().toString();
            if (path.contains(rows.marker()))
                found.push_back({model().index(row, 1).data().toString(), path});
        }
        return found;
    }

    // Double-clicks the path cell of the row whose path is `path`.
    void doubleClickRow(const QString& path)
    {
        while (model().canFetchMore({}))
            model().fetchMore({});
        for (int row = 0; row < model().rowCount(); ++row) {
            const QModelIndex cell = model().index(row, 2);
            if (cell.data().toString() != path)
                continue;
            page.grid()->scrollTo(cell);
            const QPoint at = page.grid()->visualRect(cell).center();
            QTest::mouseClick(page.grid()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(page.grid()->viewport(), Qt::LeftButton, {}, at);
            return;
        }
        ADD_FAILURE() << "no row " << path.toStdString();
    }

    ArchiveRows rows;
    settings::Settings settings;
    archive::OdbcFilmListing listing{settings};
    RecordingMessages messages;
    RecordingDesktop desktop;
    MemoryRunLog log;
    RecordingReprint reprint;
    archive::FilmArchivePage page{{listing, messages, desktop, log, &reprint}};
};

TEST_F(FilmArchivePageTest, ListsBothWholeDaysInIdOrderWithHeadingsAndWidths)
{
    const QString m = rows.marker();
    // Inserted out of time order: the grid follows the id.
    ASSERT_TRUE(rows.insert("2014-04-12 00:00:01", m + "/a.tiff"));
    ASSERT_TRUE(rows.insert("2014-04-12 23:59:59", m + "/b.tiff"));
    ASSERT_TRUE(rows.insert("2014-04-12 00:00:00", m + "/c.tiff"));
    ASSERT_TRUE(rows.insert("2014-04-12 12:00:00", m + "/d.tiff"));
    ASSERT_TRUE(rows.insert("2014-04-13 00:00:00", m + "/e.tiff"));
    ASSERT_TRUE(rows.insert("2014-04-11 23:59:59", m + "/f.tiff"));

    query(QDate(2014, 4, 12), QDate(2014, 4, 12));
    const std::vector<Row> expected{{"2014-04-12 00:00:01", m + "/a.tiff"},
                                    {"2014-04-12 23:59:59", m + "/b.tiff"},
                                    {"2014-04-12 00:00:00", m + "/c.tiff"},
                                    {"2014-04-12 12:00:00", m + "/d.tiff"}};
    EXPECT_EQ(ourRows(), expected);
    EXPECT_TRUE(page.statusLine()->text().isEmpty());

    const QHeaderView* header = page.grid()->horizontalHeader();
    const int dpi = page.grid()->logicalDpiX();
    const QStringList headings{"id", "打印时间", "胶片路径"};
    const int twips[] = {1500, 3000, 7600};
    ASSERT_EQ(model().columnCount(), 3);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(model().headerData(column, Qt::Horizontal).toString(), headings[column]);
        EXPECT_EQ(header->sectionSize(column), archive::twipsToPixels(twips[column], dpi)) << column;
    }
    EXPECT_EQ(page.grid()->editTriggers(), QAbstractItemView::NoEditTriggers);

    query(QDate(2014, 4, 12), QDate(2014, 4, 13));
    EXPECT_EQ(ourRows().size(), 5u);

    // A from date after the to date lists nothing at all.
    query(QDate(2014, 4, 13), QDate(2014, 4, 12));
    EXPECT_EQ(model().rowCount(), 0);
    EXPECT_TRUE(page.statusLine()->text().isEmpty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FilmArchivePageTest, DoubleClickOpensTheFilmOrSaysAPurgedOneIsGone)
{
    // Films below an export folder; March's are purged in April.
    QTemporaryDir exportFolder;
    const QString kept = exportFolder.path() + "/2014/04/12/101010.tiff";
    const QString purged = exportFolder.path() + "/2014/03/12/090909.tiff";
    for (const QString& film : {kept, purged}) {
        QDir().mkpath(QFileInfo(film).path());
        QFile file(film);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    base::FixedClock clock({2014, 4, 12, 10, 0, 0});
    for (const std::string& line : archive::MonthlyPurge(clock).run(exportFolder.path().toStdString()))
        log.write(line);
    ASSERT_FALSE(QFileInfo::exists(purged));

    // The archive path is the marker plus the real path, so only this run
    // finds these rows: a symbolic link named by the marker leads to "/".
    const QString m = rows.marker();
    ASSERT_TRUE(QFile::link("/", m));
    ASSERT_TRUE(rows.insert("2014-04-12 10:10:10", "  " + m + kept + " "));
    ASSERT_TRUE(rows.insert("2014-04-12 10:10:11", m + purged));
    ASSERT_TRUE(rows.insert("2014-04-12 10:10:12", "   "));
    query(QDate(2014, 4, 12), QDate(2014, 4, 12));

    doubleClickRow("  " + m + kept + " ");
    EXPECT_EQ(desktop.documents, QStringList{m + kept});  // trimmed
    doubleClickRow(m + purged);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, ("胶片【" + m + purged + "】不存在。").toStdString());
    EXPECT_EQ(messages.shown[0].title, "打开出错");
    EXPECT_EQ(messages.shown[0].icon, base::MessageIcon::Information);
    QFile::remove(m);

    // Neither a blank path nor an empty grid does anything.
    doubleClickRow("   ");
    query(QDate(2014, 4, 13), QDate(2014, 4, 12));
    page.openFilm();
    EXPECT_EQ(desktop.documents.size(), 1);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(FilmArchivePageTest, FailedQuerySaysWhyUnderTheEmptiedGridAndLogsOnce)
{
    ASSERT_TRUE(rows.insert("2014-04-12 08:00:00", rows.marker() + "/a.tiff"));
    struct Case {
        const char* what;
        std::string connect;
    };
    std::string noTable = archiveConnectString();
    noTable.replace(noTable.find("DATABASE=dbprt"), 14, "DATABASE=mysql");
    const Case cases[] = {
        {"closed port", unreachableConnectString()},
        {"unknown driver", "DRIVER={No Such Driver};SERVER=127.0.0.1;"},
        {"missing table", noTable},
    };
    for (const Case& c : cases) {
        settings.connectString = archiveConnectString();
        query(QDate(2014, 4, 12), QDate(2014, 4, 12));
        ASSERT_EQ(ourRows().size(), 1u) << c.what;
        log.lines.clear();

        settings.connectString = c.connect;
        query(QDate(2014, 4, 12), QDate(2014, 4, 12));
        EXPECT_EQ(model().rowCount(), 0) << c.what;
        const QString status = page.statusLine()->text();
        EXPECT_TRUE(status.startsWith("无法访问胶片档案：")) << c.what << ": " << status.toStdString();
        EXPECT_GT(status.size(), 12) << c.what;  // and why
        ASSERT_EQ(log.lines.size(), 1u) << c.what;
        EXPECT_EQ(log.lines[0].rfind("胶片查询失败：", 0), 0u) << log.lines[0];
    }
    EXPECT_TRUE(messages.shown.empty());

    // The next good query clears the status line.
    settings.connectString = archiveConnectString();
    query(QDate(2014, 4, 12), QDate(2014, 4, 12));
    EXPECT_EQ(ourRows().size(), 1u);
    EXPECT_TRUE(page.statusLine()->text().isEmpty());
}

// Choosing a row shows its film beside the grid; a film that is still on disk
// can be printed again and its folder opened; a purged one says it is gone.
TEST_F(FilmArchivePageTest, TheSelectedFilmIsPreviewedAndCanBePrintedAgain)
{
    QTemporaryDir exportFolder;
    const QString kept = exportFolder.path() + "/2014/04/12/101010.tiff";
    QDir().mkpath(QFileInfo(kept).path());
    QImage film(300, 400, QImage::Format_Grayscale8);
    film.fill(40);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 150; ++x)
            film.setPixel(x, y, qRgb(220, 220, 220));  // the first image, top left
    ASSERT_TRUE(film.save(kept, "TIFF"));
    const QString gone = exportFolder.path() + "/2014/03/12/090909.tiff";
    const QString m = rows.marker();
    ASSERT_TRUE(QFile::link("/", m));
    ASSERT_TRUE(rows.insert("2014-04-12 10:10:10", m + kept));
    ASSERT_TRUE(rows.insert("2014-04-12 10:10:11", m + gone));
    query(QDate(2014, 4, 12), QDate(2014, 4, 12));
    const auto rowOf = [&](const QString& path) {
        for (int row = 0; row < model().rowCount(); ++row)
            if (model().index(row, 2).data().toString() == path)
                return row;
        return -1;
    };
    EXPECT_FALSE(page.reprintButton()->isEnabled());

    page.grid()->setCurrentIndex(model().index(rowOf(m + kept), 0));
    QTRY_VERIFY_WITH_TIMEOUT(!page.preview()->pixmap().isNull(), 10000);
    const QImage shown = page.preview()->pixmap().toImage();
    EXPECT_NEAR(double(shown.width()) / shown.height(), 0.75, 0.02);
    EXPECT_GT(qGray(shown.pixel(shown.width() / 4, shown.height() / 4)), 200);
    EXPECT_LT(qGray(shown.pixel(shown.width() * 3 / 4, shown.height() * 3 / 4)), 60);
    ASSERT_TRUE(page.reprintButton()->isEnabled());
    QTest::mouseClick(page.reprintButton(), Qt::LeftButton);
    EXPECT_EQ(reprint.asked, std::vector<std::string>{(m + kept).toStdString()});
    EXPECT_EQ(page.statusLine()->text(), "已重新打印。打印机：FilmFile");
    reprint.answer = {false, "queue1", "printer stopped"};
    QTest::mouseClick(page.reprintButton(), Qt::LeftButton);
    EXPECT_EQ(page.statusLine()->text(), "重新打印失败：printer stopped");
    QTest::mouseClick(page.folderButton(), Qt::LeftButton);
    EXPECT_EQ(desktop.documents, QStringList{QFileInfo(m + kept).absolutePath()});

    page.grid()->setCurrentIndex(model().index(rowOf(m + gone), 0));
    EXPECT_EQ(page.preview()->text(), "胶片【" + m + gone + "】不存在。");
    EXPECT_TRUE(page.preview()->pixmap().isNull());
    EXPECT_FALSE(page.reprintButton()->isEnabled());
    EXPECT_EQ(reprint.asked.size(), 2u);
    QFile::remove(m);
}

}  // namespace
}  // namespace vantorel::testing
