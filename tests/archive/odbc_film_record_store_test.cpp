// The film record store against the real MariaDB over ODBC (VANTOREL_DB_CONNECT,
// started by scripts/test): rows are found by their unique film paths.

#include "archive/sql/odbc_connection.h"
#include "archive/sql/odbc_film_record_store.h"
#include "base/clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QUuid>
#include <QVariant>

#include <gtest/gtest.h>

#include <cstdlib>

namespace vantorel::archive {
namespace {

TEST(OdbcConnectionString, DropsTheTrailingSeparatorAndBoundsTheWaits)
{
    struct Case {
        const char* stored;
        const char* expected;
    };
    const Case cases[] = {
        {"DRIVER={X};SERVER=h;PWD=;",
         "DRIVER={X};SERVER=h;PWD=;CONN_TIMEOUT=5;READ_TIMEOUT=10;WRITE_TIMEOUT=10"},
        {"DRIVER={X};SERVER=h ; ", "DRIVER={X};SERVER=h;CONN_TIMEOUT=5;READ_TIMEOUT=10;WRITE_TIMEOUT=10"},
        {"DRIVER={X};conn_timeout=2;Read_Timeout=3;WRITE_TIMEOUT=4",
         "DRIVER={X};conn_timeout=2;Read_Timeout=3;WRITE_TIMEOUT=4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(odbcConnectionString(c.stored, 5, 10).toStdString(), c.expected) << c.stored;
}

std::string databaseConnectString()
{
    const char* value = std::getenv("VANTOREL_DB_CONNECT");
    return value ? value : "";
}

std::string withServer(const std::string& port)
{
    return "DRIVER={MySQL ODBC 5.2 ANSI Driver};SERVER=127.0.0.1;PORT=" + port +
        ";DATABASE=dbprt;UID=root;PWD=;";
}

TEST(OdbcFilmRecordStore, RecordsTheFilmWithItsPathAndTime)
{
    const std::string connect = databaseConnectString();
    if (connect.empty())
        GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
    const base::FixedClock clock({2024, 3, 5, 0, 0, 0});
    OdbcFilmRecordStore store(connect, clock);
    const std::string folder =
        "/tmp/record-test-" + QUuid::createUuid().toString(QUuid::Id128).toStdString() + "/it's";
    const base::Result<void> saved = store.SaveFilmDB(folder, "000000.tiff");
    ASSERT_TRUE(saved) << saved.reason();
    const long long first = store.lastId();
    const base::Result<void> savedAgain = store.SaveFilmDB(folder, "000000.tiff");
    ASSERT_TRUE(savedAgain) << savedAgain.reason();
    EXPECT_GT(store.lastId(), first);

    QString text = QString::fromStdString(connect);
    while (text.endsWith(';'))
        text.chop(1);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "record-test");
        db.setDatabaseName(text);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        QString path = QString::fromStdString(folder + "/000000.tiff");
        path.replace("'", "''");
        ASSERT_TRUE(query.exec("select id, prtdate from DBPRT where FilmPath = '" + path + "' order by id"));
        int rows = 0;
        while (query.next()) {
            ++rows;
            EXPECT_EQ(query.value(1).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0)));
        }
        EXPECT_EQ(rows, 2);
        // The test's own rows, by their unique path: the table is shared.
        query.exec("delete from DBPRT where FilmPath = '" + path + "'");
    }
    QSqlDatabase::removeDatabase("record-test");
}

TEST(OdbcFilmRecordStore, AClosedPortFailsWithTheDatabasesMessage)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const std::string port = std::to_string(probe.serverPort());
    probe.close();
    const base::FixedClock clock({2024, 3, 5, 7, 8, 9});
    const std::string connect = withServer(port);
    OdbcFilmRecordStore store(connect, clock);
    const base::Result<void> saved = store.SaveFilmDB("/tmp/x", "070809.tiff");
    const std::string& error = saved.reason();
    EXPECT_FALSE(saved);
    EXPECT_NE(error.find("127.0.0.1"), std::string::npos) << error;
}

// A server that takes the connection and never answers holds a film for the
// connect time-out, not for hours.
TEST(OdbcFilmRecordStore, ASilentServerIsGivenUpAfterTheConnectTimeout)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    const base::FixedClock clock({2024, 3, 5, 7, 8, 9});
    const std::string connect = withServer(std::to_string(silent.serverPort()));
    OdbcFilmRecordStore store(connect, clock);
    QElapsedTimer elapsed;
    elapsed.start();
    const base::Result<void> saved = store.SaveFilmDB("/tmp/x", "070809.tiff");
    const std::string& error = saved.reason();
    EXPECT_FALSE(saved);
    EXPECT_LT(elapsed.elapsed(), 3 * 1000 * (connectTimeoutSeconds + statementTimeoutSeconds)) << error;
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vantorel::archive
