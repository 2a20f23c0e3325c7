#include "archive/sql/odbc_film_listing.h"

#include "archive/film_query.h"
#include "archive/sql/odbc_connection.h"
#include "settings/settings_model.h"

#include <QDateTime>
#include <QIdentityProxyModel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace vantorel::archive {

namespace {

CalendarDate calendarDate(const QDate& date)
{
    return {date.year(), date.month(), date.day()};
}

QString reason(const QSqlError& error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

}  // namespace

// The rows as the grid shows them: date-time columns in the form the
// archive records them ("2014-04-12 17:50:03"), whatever the locale. The
// query model under it lives exactly as long as its connection.
class FilmRowsModel final : public QIdentityProxyModel {
public:
    QVariant data(const QModelIndex& index, int role) const override
    {
        QVariant value = QIdentityProxyModel::data(index, role);
        if (role == Qt::DisplayRole && value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return value;
    }
};

OdbcFilmListing::OdbcFilmListing(const settings::ArchiveSettings& settings)
    : settings_(settings), rows_(std::make_unique<FilmRowsModel>())
{}

OdbcFilmListing::~OdbcFilmListing()
{
    closeConnection();
}

QAbstractItemModel& OdbcFilmListing::model()
{
    return *rows_;
}

void OdbcFilmListing::closeConnection()
{
    // The query's result refers to the connection's driver: it goes first.
    rows_->setSourceModel(nullptr);
    source_.reset();
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
    db.setDatabaseName(odbcConnectionString(settings_.connectString, timeoutSeconds, timeoutSeconds));
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
    source_ = std::make_unique<QSqlQueryModel>();
    source_->setQuery(std::move(query));
    if (source_->lastError().isValid()) {
        const QString why = reason(source_->lastError());
        db = QSqlDatabase();
        closeConnection();
        return why;
    }
    rows_->setSourceModel(source_.get());
    return std::nullopt;
}

}  // namespace vantorel::archive
