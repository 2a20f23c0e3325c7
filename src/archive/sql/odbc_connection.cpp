#include "archive/sql/odbc_connection.h"

#include "archive/film_query.h"

namespace vantorel::archive {

QString odbcConnectionString(const std::string& stored, int connectSeconds, int ioSeconds)
{
    QString connect = QString::fromStdString(driverConnectString(stored));
    const struct {
        const char* keyword;
        int seconds;
    } timeouts[] = {
        {"CONN_TIMEOUT", connectSeconds}, {"READ_TIMEOUT", ioSeconds}, {"WRITE_TIMEOUT", ioSeconds}};
    for (const auto& timeout : timeouts) {
        if (!connect.contains(QLatin1String(timeout.keyword) + QLatin1Char('='), Qt::CaseInsensitive))
            connect += QStringLiteral(";%1=%2").arg(QLatin1String(timeout.keyword)).arg(timeout.seconds);
    }
    return connect;
}

}  // namespace vantorel::archive
