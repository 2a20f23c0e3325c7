#pragma once

#include <array>
#include <string>

namespace vantorel::archive {

struct CalendarDate {
    int year = 1970;
    int month = 1;
    int day = 1;
};

// The statement that lists the films recorded from the first second of
// `from` to the last second of `to`, in `id` order. The dates are formatted
// here, so nothing typed by the operator reaches the SQL text.
std::string filmQueryStatement(const CalendarDate& from, const CalendarDate& to);

// The stored connection string as the ODBC driver manager is handed it:
// trailing ";" and blanks removed (Qt's ODBC driver passes the string's
// length one too long, and the MariaDB connector then rejects a final ";").
std::string driverConnectString(const std::string& stored);

// The result grid's columns: the heading (empty: keep the column name) and
// the width in twips.
struct GridColumn {
    const char* heading;
    int twips;
};
const std::array<GridColumn, 3>& filmGridColumns();

int twipsToPixels(int twips, int dotsPerInch);

}  // namespace vantorel::archive
