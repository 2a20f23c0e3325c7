#pragma once

#include <QString>

#include <string>

namespace vantorel::archive {

// The stored connection string as the archive's connections open it: without
// the trailing ";" and blanks (see driverConnectString), and with the MariaDB
// connector's time-outs for connecting and for each read and write, unless
// the stored string sets them itself (other drivers ignore these keywords).
// A hung server then holds the service for seconds, never for hours.
QString odbcConnectionString(const std::string& stored, int connectSeconds, int ioSeconds);

}  // namespace vantorel::archive
