#include "archive/sql/odbc_film_listing.h"

#include "archive/film_query.h"
#include "console/settings_model.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace vantorel::archive {

namespace {

CalendarDate calendarDate(const QDate& date) { return {date.year(), date.month(), date.day()}; }

QString reason(const QSqlError& error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

// The time-outs as connection string keywords of the MariaDB connector,
// unless the stored string sets them itself; other drivers ignore them.
QString withTimeouts(QString connect)
{
    const QString seconds = QString::number(OdbcFilmListing::timeoutSeconds);
    for (const char* keyword : {"CONN_TIMEOUT", "READ_TIMEOUT", "WRITE_TIMEOUT"}) {
        if (!connect.contains(QLatin1String(keyword), Qt::CaseInsensitive))
            connect += QStringLiteral(";%1=%2").arg(QLatin1String(keyword), seconds);
    }
    return connect;
}

}  // namespace

OdbcFilmListing::OdbcFilmListing(const console::Settings& settings)
    : settings_(settings), model_(std::make_unique<QSqlQueryModel>())
{
}

OdbcFilmListing::~OdbcFilmListing() { closeConnection(); }

QAbstractItemModel& OdbcFilmListing::model() { return *model_; }

void OdbcFilmListing::closeConnection()
{
    model_->clear();
    if (connection_.isEmpty())
        return;
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
}

std::optional<QString> OdbcFilmListing::list(const QDate& from, const QDate& to)
{
    closeConnection();
    connection_ = QStringLiteral("film-archive-%1").arg(++serial_);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connection_);
    db.setDatabaseName(withTimeouts(QString::fromStdString(driverConnectString(settings_.connectString))));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(timeoutSeconds));
    if (!db.open()) {
        const QString why = reason(db.lastError());
        db = QSqlDatabase();
        closeConnection();
        return why;
    }
    QSqlQuery query(db);
    if (!query.exec(QString::fromStdString(filmQueryStatement(calendarDate(from), calendarDate(to))))) {
        const QString why = reason(query.lastError());
        query = QSqlQuery();
        db = QSqlDatabase();
        closeConnection();
        return why;
    }
    model_->setQuery(std::move(query));
    if (model_->lastError().isValid()) {
        const QString why = reason(model_->lastError());
        db = QSqlDatabase();
        closeConnection();
        return why;
    }
    return std::nullopt;
}

}  // namespace vantorel::archive
