#include "archive/film_query.h"

#include <cmath>
#include <cstdio>

namespace vantorel::archive {

namespace {

std::string isoDate(const CalendarDate& date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

}  // namespace

std::string filmQueryStatement(const CalendarDate& from, const CalendarDate& to)
{
    // The from day starts at midnight: a film recorded at 00:00:00 belongs
    // to that day as much as one recorded a second later.
    return "select * from  DBPRT where prtDate>='" + isoDate(from) + " 00:00:00'  and  prtDate <='" +
        isoDate(to) + " 23:59:59' order by id";
}

std::string driverConnectString(const std::string& stored)
{
    std::string text = stored;
    while (!text.empty() && (text.back() == ';' || text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

const std::array<GridColumn, 3>& filmGridColumns()
{
    static const std::array<GridColumn, 3> columns{{
        {"", 1500},
        {"打印时间", 3000},
        {"胶片路径", 7600},
    }};
    return columns;
}

int twipsToPixels(int twips, int dotsPerInch)
{
    return static_cast<int>(std::lround(twips * static_cast<double>(dotsPerInch) / 1440.0));
}

}  // namespace vantorel::archive
