#pragma once

// Rows of the shared archive table for tests: inserted with a marker that is
// unique to this run, found again by it, and only those rows deleted
// afterwards (other tests use the same table).

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTcpServer>
#include <QUuid>

#include <cstdlib>
#include <string>

namespace vantorel::testing {

// The connection string of the test database, empty when it is not running.
inline std::string archiveConnectString()
{
    const char* connect = std::getenv("VANTOREL_DB_CONNECT");
    return connect ? connect : "";
}

// The same server and driver on a loopback port where nobody listens.
inline std::string unreachableConnectString()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return "DRIVER={MySQL ODBC 5.2 ANSI Driver};SERVER=127.0.0.1;PORT=" + std::to_string(port) +
        ";DATABASE=dbprt;UID=root;PWD=;";
}

class ArchiveRows {
public:
    ArchiveRows()
        : marker_("/tmp/archive-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces)),
          connection_("archive-rows-" + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QString connect = QString::fromStdString(archiveConnectString());
        while (connect.endsWith(';'))
            connect.chop(1);
        QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", connection_);
        db.setDatabaseName(connect);
        ok_ = !connect.isEmpty() && db.open();
    }
    ~ArchiveRows()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(connection_, false);
            if (ok_) {
                QSqlQuery query(db);
                query.exec("delete from DBPRT where FilmPath like " + literal("%" + marker_ + "%"));
                if (!ids_.isEmpty())
                    query.exec("delete from DBPRT where id in (" + ids_.join(',') + ")");
                for (QString folder : folders_) {
                    folder.replace("\\", "\\\\").replace("%", "\\%").replace("_", "\\_");
                    query.exec("delete from DBPRT where FilmPath like " + literal(folder + "/%"));
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(connection_);
    }
    ArchiveRows(const ArchiveRows&) = delete;
    ArchiveRows& operator=(const ArchiveRows&) = delete;

    bool ok() const { return ok_; }
    // Every path of this run's rows starts with the marker.
    const QString& marker() const { return marker_; }

    // Inserts one row; `filmPath` is taken as it is. Rows without the
    // marker in their path are deleted by their id.
    bool insert(const QString& prtdate, const QString& filmPath)
    {
        // Literal values: text bound through Qt's ODBC driver reaches this
        // ANSI connector with a trailing NUL.
        QSqlQuery query(QSqlDatabase::database(connection_, false));
        if (!query.exec(QString("insert into DBPRT (prtdate, FilmPath) values (%1, %2)")
                            .arg(literal(prtdate), literal(filmPath))))
            return false;
        if (!filmPath.contains(marker_) && query.exec("select LAST_INSERT_ID()") && query.next())
            ids_ << query.value(0).toString();
        return true;
    }

    // Rows the program under test records for films below `folder` are
    // this run's too (the folder must be unique to it).
    void ownFilmsBelow(const QString& folder) { folders_ << folder; }

    // Many rows in one statement, for large listings.
    bool insertMany(const QString& prtdate, int count)
    {
        QSqlQuery query(QSqlDatabase::database(connection_, false));
        for (int first = 0; first < count; first += 1000) {
            QString sql = "insert into DBPRT (prtdate, FilmPath) values ";
            for (int i = first; i < std::min(count, first + 1000); ++i) {
                if (i > first)
                    sql += ',';
                sql += QString("('%1','%2/%3.tiff')").arg(prtdate, marker_).arg(i, 6, 10, QChar('0'));
            }
            if (!query.exec(sql))
                return false;
        }
        return true;
    }

private:
    static QString literal(QString text)
    {
        text.replace("\\", "\\\\").replace("'", "''");
        return "'" + text + "'";
    }

    QString marker_;
    QString connection_;
    QStringList ids_;
    QStringList folders_;
    bool ok_ = false;
};

}  // namespace vantorel::testing
