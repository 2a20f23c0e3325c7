#include "archive/sql/odbc_film_record_store.h"

#include "archive/sql/odbc_connection.h"

#include "base/clock.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <cstdio>

namespace vantorel::archive {

namespace {

std::string sqlError(const QSqlError& error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? std::string("unknown database error") : text.toStdString();
}

// A text as the inside of an SQL string literal: quotes doubled, and
// backslashes doubled because MySQL and MariaDB read them as escapes.
QString sqlText(const std::string& text)
{
    QString quoted = QString::fromStdString(text);
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return quoted;
}

std::string prtdateOf(const base::LocalDateTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

// Writes the row over an open connection: the row's id (0 when the
// connection does not tell it), or a Failure with the database's message.
base::Result<long long> insertRow(QSqlDatabase& db, const std::string& filmPath, const std::string& prtdate)
{
    QSqlQuery query(db);
    // The table's columns, no rows: the table is there and readable.
    if (!query.exec(QStringLiteral("select * from  DBPRT where 1=0")))
        return base::Failure{sqlError(query.lastError())};
    query.finish();
    // Values go into the statement as literals: QODBC hands bound text to the
    // ANSI driver one character too long, and the server refuses the date.
    const QString insert = QStringLiteral("insert into DBPRT (prtdate, FilmPath) values ('%1', '%2')")
                               .arg(QString::fromStdString(prtdate), sqlText(filmPath));
    if (!query.exec(insert))
        return base::Failure{sqlError(query.lastError())};
    query.finish();
    // QODBC has no lastInsertId(); the connection knows the row it made.
    long long id = 0;
    if (query.exec(QStringLiteral("select LAST_INSERT_ID()")) && query.next())
        id = query.value(0).toLongLong();
    return id;
}

}  // namespace

OdbcFilmRecordStore::OdbcFilmRecordStore(const std::string& connectString, const base::Clock& clock)
    : connectString_(connectString), clock_(clock)
{}

base::Result<void> OdbcFilmRecordStore::SaveFilmDB(const std::string& pathstr, const std::string& fil)
{
    return writeRow({prtdateOf(clock_.now()), pathstr + "/" + fil});
}

base::Result<void> OdbcFilmRecordStore::writeRow(const FilmRow& row)
{
    static std::atomic<int> serial{0};
    const QString name = QStringLiteral("film-record-%1").arg(++serial);
    const std::string& filmPath = row.filmPath;
    const std::string& prtdate = row.prtdate;
    base::Result<long long> inserted = base::Failure{};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(
            odbcConnectionString(connectString_, connectTimeoutSeconds, statementTimeoutSeconds));
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%2")
                                 .arg(connectTimeoutSeconds)
                                 .arg(statementTimeoutSeconds));
        if (!db.isValid())
            inserted = base::Failure{"the QODBC database driver is not available"};
        else if (!db.open(QString(), QString()))
            inserted = base::Failure{sqlError(db.lastError())};
        else
            inserted = insertRow(db, filmPath, prtdate);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!inserted)
        return base::Failure{inserted.reason()};
    lastId_ = *inserted;
    return {};
}

}  // namespace vantorel::archive
