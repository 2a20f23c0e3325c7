#pragma once

#include "archive/film_listing.h"
#include "settings/fwd.h"

#include <memory>

class QIdentityProxyModel;
class QSqlQueryModel;

namespace vantorel::archive {

// Lists films over ODBC with the stored `connectString`. Each listing opens
// its own connection and keeps it, with the result, until the next listing;
// the model fetches rows lazily. Connecting and every network read give up
// after a few seconds, so a server that does not answer cannot hold the
// window for long.
class OdbcFilmListing final : public FilmListing {
public:
    explicit OdbcFilmListing(const settings::ArchiveSettings& settings);
    ~OdbcFilmListing() override;

    [[nodiscard]] std::optional<QString> list(const QDate& from, const QDate& to) override;
    QAbstractItemModel& model() override;

    static constexpr int timeoutSeconds = 5;

private:
    void closeConnection();

    const settings::ArchiveSettings& settings_;
    std::unique_ptr<QIdentityProxyModel> rows_;
    std::unique_ptr<QSqlQueryModel> source_;
    QString connection_;
    int serial_ = 0;
};

}  // namespace vantorel::archive
