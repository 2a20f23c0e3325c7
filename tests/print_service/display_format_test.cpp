#include "print_service/display_format.h"

#include "support/memory_run_log.h"

#include <gtest/gtest.h>

namespace vantorel::print_service {
namespace {

TEST(DecodeFormat, CutsTheTwoCountsAndTheUnevenLayout)
{
    struct Case {
        const char* format;
        bool ok;
        std::int16_t x, y;
        const char* rc;
    };
    // X and Y start at 7,9 (the previous film box): a failed cut leaves them.
    const Case cases[] = {
        {"STANDARD\\3,4", true, 3, 4, ""},
        {"STANDARD\\1,1", true, 1, 1, ""},
        {"ROW\\1,2", true, 1, 2, "ROW"},
        {"row\\1,2", true, 1, 2, "ROW"},
        {"COL\\2,1,3", true, 2, 1, "COL"},
        {"Col\\1,2", true, 1, 2, "COL"},
        {"2,3", true, 2, 3, ""},
        {"STANDARD\\ 3, 4", true, 3, 4, ""},
        {"STANDARD\\2.5,3.5", true, 2, 4, ""},  // halves to even
        {"STANDARD\\2.51,0.4", true, 3, 0, ""},
        {"STANDARD\\x,y", true, 0, 0, ""},   // no digits give 0
        {"STANDARD\\3", false, 7, 9, ""},    // no comma after the backslash
        {"STANDARD,3\\4", false, 7, 9, ""},  // the only comma is before it
        {"", false, 7, 9, ""},
        {"garbage", false, 7, 9, ""},
        {"ROWCOL\\1,1", true, 1, 1, "COL"},      // COL wins
        {"STANDARD\\40000,2", false, 7, 9, ""},  // X beyond 16 bits
        {"STANDARD\\2,40000", false, 2, 9, ""},  // X already written stays
        {"STANDARD\\32767,1", true, 32767, 1, ""},
        {"STANDARD\\0000000000000000003,1", true, 3, 1, ""},
        {"STANDARD\\99999999999999999999999,1", false, 7, 9, ""},
    };
    for (const Case& c : cases) {
        testing::MemoryRunLog log;
        const DecodedFormat decoded = DecodeFormat(c.format, log);
        EXPECT_EQ(decoded.decoded(), c.ok) << c.format;
        EXPECT_EQ(decoded.X.value_or(7), c.x) << c.format;
        EXPECT_EQ(decoded.Y.value_or(9), c.y) << c.format;
        EXPECT_EQ(decoded.r_c, c.rc) << c.format;
    }
}

TEST(DecodeFormat, LogsTheFormatAndEachUnevenLayoutFound)
{
    struct Case {
        const char* format;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"STANDARD\\3,4", {"Format:STANDARD\\3,4"}},
        {"", {"Format:"}},
        {"row\\1,2", {"Format:row\\1,2", "行自定义:row\\1,2"}},
        {"COL\\2,1", {"Format:COL\\2,1", "列自定义:COL\\2,1"}},
        {"ROW-COL\\1", {"Format:ROW-COL\\1", "行自定义:ROW-COL\\1", "列自定义:ROW-COL\\1"}},
    };
    for (const Case& c : cases) {
        testing::MemoryRunLog log;
        DecodeFormat(c.format, log);
        EXPECT_EQ(log.lines, c.lines) << c.format;
    }
}

TEST(ImageBoxCount, ProductForGridsSumForUnevenLayoutsAndNothingOutOfRange)
{
    struct Case {
        std::int16_t x, y;
        const char* rc;
        std::optional<int> count;
    };
    const Case cases[] = {
        {3, 4, "", 12},
        {2, 3, "ROW", 5},
        {1, 2, "COL", 3},
        {1, 1, "", 1},
        {200, 200, "", std::nullopt},  // 40000 does not fit 16 bits
        {181, 181, "", 32761},
        {0, 4, "", std::nullopt},
        {0, 0, "ROW", std::nullopt},
        {32767, 1, "ROW", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(imageBoxCount(c.x, c.y, c.rc), c.count) << c.x << "," << c.y << " " << c.rc;
    // Every count of a ROW or COL format, when given.
    EXPECT_EQ(imageBoxCount(1, 2, "ROW", {1, 2, 3}), 6);
    EXPECT_EQ(imageBoxCount(1, 2, "ROW", {1, 2, 0}), std::nullopt);
}

TEST(DecodeFormat, KeepsEveryCountOfRowAndColumnFormats)
{
    struct Case {
        const char* format;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"ROW\\1,2", {1, 2}},     {"COL\\3,1,2", {3, 1, 2}}, {"ROW\\ 1, 2 ,3,4", {1, 2, 3, 4}},
        {"ROW\\1,2,", {1, 2, 0}},  // an empty count reads 0 and is refused
        {"ROW\\1,2,99999", {}},    // beyond 16 bits: no counts
        {"STANDARD\\3,4", {}},
    };
    for (const Case& c : cases) {
        testing::MemoryRunLog log;
        EXPECT_EQ(DecodeFormat(c.format, log).lines, c.lines) << c.format;
    }
}

}  // namespace
}  // namespace vantorel::print_service
