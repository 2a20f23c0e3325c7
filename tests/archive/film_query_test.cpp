// The archive query's text, the driver's connection string and the grid's
// column widths.

#include "archive/film_query.h"

#include <gtest/gtest.h>

namespace vantorel::testing {
namespace {

using archive::CalendarDate;

TEST(FilmQuery, StatementCoversBothWholeDaysWithTheFixedSpacing)
{
    EXPECT_EQ(archive::filmQueryStatement(CalendarDate{2014, 4, 12}, CalendarDate{2014, 4, 12}),
              "select * from  DBPRT where prtDate>='2014-04-12 00:00:00'  and  "
              "prtDate <='2014-04-12 23:59:59' order by id");
    EXPECT_EQ(archive::filmQueryStatement(CalendarDate{987, 12, 31}, CalendarDate{2024, 1, 5}),
              "select * from  DBPRT where prtDate>='0987-12-31 00:00:00'  and  "
              "prtDate <='2024-01-05 23:59:59' order by id");
}

TEST(FilmQuery, DriverStringLosesTrailingSemicolonsAndBlanksOnly)
{
    struct Case {
        const char* stored;
        const char* driver;
    };
    const Case cases[] = {
        {"DRIVER={X};SERVER=127.0.0.1;PWD=;", "DRIVER={X};SERVER=127.0.0.1;PWD="},
        {"DSN=films; ;  ", "DSN=films"},
        {"DSN=films", "DSN=films"},
        {" ; ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(archive::driverConnectString(c.stored), c.driver) << c.stored;
}

TEST(FilmQuery, GridWidthsInPixelsAtTheScreensResolution)
{
    const auto& columns = archive::filmGridColumns();
    EXPECT_STREQ(columns[0].heading, "");
    EXPECT_STREQ(columns[1].heading, "打印时间");
    EXPECT_STREQ(columns[2].heading, "胶片路径");
    EXPECT_EQ(archive::twipsToPixels(columns[0].twips, 96), 100);
    EXPECT_EQ(archive::twipsToPixels(columns[1].twips, 96), 200);
    EXPECT_EQ(archive::twipsToPixels(columns[2].twips, 96), 507);
    EXPECT_EQ(archive::twipsToPixels(columns[2].twips, 144), 760);
}

}  // namespace
}  // namespace vantorel::testing
