#pragma once

#include <QAbstractItemModel>
#include <QDate>
#include <QString>

#include <optional>

namespace vantorel::archive {

// The archive's films between two dates, as rows for the result grid (Qt
// Core only; the database adapter implements it).
class FilmListing {
public:
    virtual ~FilmListing() = default;
    // Replaces the rows of `model()` with the films recorded from `from` to
    // `to`, in `id` order. On failure the rows are empty and the reason is
    // returned.
    [[nodiscard]] virtual std::optional<QString> list(const QDate& from, const QDate& to) = 0;
    // The rows of the last listing: all columns of the table, fetched as the
    // grid scrolls to them.
    virtual QAbstractItemModel& model() = 0;
};

}  // namespace vantorel::archive
