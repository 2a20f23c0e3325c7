// The real services that the printing and archive tests rely on, as
// scripts/services sets them up: a default CUPS queue that writes PDF files,
// and the archive database reachable over ODBC with the program's default
// connection string.

#include "support/program_runner.h"

#include <QPrinterInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using vantorel::testing::environmentValue;

TEST(PlatformServices, CupsPdfQueueIsTheDefaultPrinter)
{
    const char* queue = environmentValue("VANTOREL_CUPS_QUEUE");
    if (!queue)
        GTEST_SKIP() << "CUPS not started (run through scripts/test)";
    EXPECT_TRUE(QPrinterInfo::availablePrinterNames().contains(queue));
    EXPECT_EQ(QPrinterInfo::defaultPrinterName().toStdString(), queue);
}

TEST(PlatformServices, ArchiveTableIsReachableThroughOdbc)
{
    const char* connect = environmentValue("VANTOREL_DB_CONNECT");
    if (!connect)
        GTEST_SKIP() << "MariaDB not started (run through scripts/test)";
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "services-test");
        // The connector refuses a connection string that ends in ";" as Qt
        // passes it; the program strips it the same way.
        QString connection = QString::fromUtf8(connect);
        while (connection.endsWith(';') || connection.endsWith(' '))
            connection.chop(1);
        db.setDatabaseName(connection);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec("select * from  DBPRT where 1=0")) << query.lastError().text().toStdString();
        const QSqlRecord record = query.record();
        ASSERT_EQ(record.count(), 3);
        EXPECT_EQ(record.fieldName(0).toLower(), "id");
        EXPECT_EQ(record.fieldName(1).toLower(), "prtdate");
        EXPECT_EQ(record.fieldName(2).toLower(), "filmpath");
        db.close();
    }
    QSqlDatabase::removeDatabase("services-test");
}

}  // namespace
