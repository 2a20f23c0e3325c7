#include "direct_composition/uneven_layout.h"

#include "composition_fixture.h"

#include <gtest/gtest.h>

namespace vantorel::direct_composition::testing {
namespace {

void compose(CompositionFixture& f, const FilmImages& images, float width, float height, std::int16_t a,
             std::int16_t b, const std::string& rc, const std::vector<int>& lines = {})
{
    PrintImgtoPrinter_rc(f.context(), f.surface, images, {0, 0, width, height}, {a, b, lines}, rc);
}

TEST(UnevenLayout, WorkedCellsOnANineByFourteenThousandArea)
{
    struct Case {
        const char* what;
        const char* rc;
        std::int16_t a, b;
        std::vector<std::pair<int, int>> images;
        std::vector<RectF> rects;     // without the header shift
        std::vector<int> lines = {};  // every count, when more than two
    };
    const Case cases[] = {
        {"ROW\\2,3 squares",
         "ROW",
         2,
         3,
         std::vector<std::pair<int, int>>(5, {100, 100}),
         {{0, 1250, 4500, 4500},
          {4500, 1250, 4500, 4500},
          {0, 9000, 3000, 3000},
          {3000, 9000, 3000, 3000},
          {6000, 9000, 3000, 3000}}},
        {"ROW\\1,2 wide image takes the cell width",
         "ROW",
         1,
         2,
         {{400, 100}, {100, 100}, {100, 200}},
         {{0, 2375, 9000, 2250}, {0, 8250, 4500, 4500}, {5000, 7000, 3500, 7000}}},
        {"ROW\\3,2 half-even cell widths",
         "ROW",
         3,
         2,
         std::vector<std::pair<int, int>>(5, {300, 100}),
         {{0, 3000, 3000, 1000},
          {3000, 3000, 3000, 1000},
          {6000, 3000, 3000, 1000},
          {0, 9750, 4500, 1500},
          {4500, 9750, 4500, 1500}}},
        {"COL\\2,3 squares, half-even rounding",
         "COL",
         2,
         3,
         std::vector<std::pair<int, int>>(5, {100, 100}),
         {{0, 1250, 4500, 4500},
          {0, 8250, 4500, 4500},
          {4500, 84, 4500, 4500},
          {4500, 4750, 4500, 4500},
          {4500, 9418, 4500, 4500}}},
        {"COL\\1,2 tall image takes the cell height",
         "COL",
         1,
         2,
         {{100, 400}, {100, 200}, {200, 100}},
         {{500, 0, 3500, 14000}, {5000, 0, 3500, 7000}, {4500, 9375, 4500, 2250}}},
        {"COL\\2,1",
         "COL",
         2,
         1,
         {{100, 100}, {100, 100}, {100, 100}},
         {{0, 1250, 4500, 4500}, {0, 8250, 4500, 4500}, {4500, 4750, 4500, 4500}}},
        // Three rows of equal height (4667 twips), 1, 2 and 3 cells wide.
        {"ROW\\1,2,3 squares",
         "ROW",
         1,
         2,
         std::vector<std::pair<int, int>>(6, {100, 100}),
         {{2166, 0, 4667, 4667},
          {0, 4750, 4500, 4500},
          {4500, 4750, 4500, 4500},
          {0, 10168, 3000, 3000},
          {3000, 10168, 3000, 3000},
          {6000, 10168, 3000, 3000}},
         {1, 2, 3}},
        // Three columns 3000 wide, holding 3, 1 and 2 cells.
        {"COL\\3,1,2 squares",
         "COL",
         3,
         1,
         std::vector<std::pair<int, int>>(6, {100, 100}),
         {{0, 834, 3000, 3000},
          {0, 5500, 3000, 3000},
          {0, 10168, 3000, 3000},
          {3000, 5500, 3000, 3000},
          {6000, 2000, 3000, 3000},
          {6000, 9000, 3000, 3000}},
         {3, 1, 2}},
    };
    for (const auto& c : cases) {
        for (const bool header : {false, true}) {
            CompositionFixture f;
            if (header)
                f.headerOn(1000);
            compose(f, CompositionFixture::images(c.images), 9000, 14000, c.a, c.b, c.rc, c.lines);
            const auto ops = f.imageOps();
            ASSERT_EQ(ops.size(), c.rects.size()) << c.what;
            for (std::size_t i = 0; i < ops.size(); ++i) {
                RectF expected = c.rects[i];
                expected.y += header ? 1000 : 0;
                EXPECT_TRUE(rectNear(ops[i].rect, expected, 0))
                    << c.what << " image " << i + 1 << " header " << header;
            }
        }
    }
}

TEST(UnevenLayout, RowCellWidthsRoundHalfToEven)
{
    // W = 9001: W2 = round(4500.5) = 4500, so the second cell starts at 4500.
    CompositionFixture f;
    compose(f, CompositionFixture::images({{100, 700}, {100, 700}, {100, 100}}), 9001, 14000, 2, 1, "ROW");
    const auto ops = f.imageOps();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_TRUE(rectNear(ops[0].rect, {1750, 0, 1000, 7000}, 0));
    EXPECT_TRUE(rectNear(ops[1].rect, {6250, 0, 1000, 7000}, 0));
    EXPECT_TRUE(rectNear(ops[2].rect, {1000, 7000, 7000, 7000}, 0));  // W1 = 9001, centred: 1000.5 -> 1000
}

TEST(UnevenLayout, CountChecksAndUnsupportedPairs)
{
    struct Case {
        const char* rc;
        std::int16_t a, b;
        int images;
        std::vector<std::string> lines;
        bool blackBaseDrawn;
    };
    const Case cases[] = {
        {"ROW",
         1,
         2,
         4,
         {"不均衡排版 cols=1", "rows=2", "本次发送图像数目：4",
          "片盒内图像数目=3，实际接收到4幅,终止本次打印任务。"},
         false},
        {"COL",
         2,
         3,
         0,
         {"不均衡排版 cols=2", "rows=3", "本次发送图像数目：0", "片盒内图像数=0，终止本次打印任务。"},
         false},
        // Passes the count check, then is dropped with a line saying why.
        {"ROW",
         3,
         0,
         3,
         {"不均衡排版 cols=3", "rows=0", "本次发送图像数目：3", "开始打印黑色底纹。",
          "display format ROW\\3,0 is not supported, film not printed"},
         true},
        {"",
         1,
         2,
         3,
         {"不均衡排版 cols=1", "rows=2", "本次发送图像数目：3", "开始打印黑色底纹。",
          "display format \\1,2 is not supported, film not printed"},
         true},
    };
    for (const auto& c : cases) {
        CompositionFixture f;
        f.settings.blackBase = 1;
        std::vector<std::pair<int, int>> sizes(c.images, {64, 64});
        compose(f, CompositionFixture::images(sizes), 9000, 14000, c.a, c.b, c.rc);
        const std::string what = std::string(c.rc) + std::to_string(c.a) + "," + std::to_string(c.b);
        EXPECT_EQ(f.log.lines, c.lines) << what;
        ASSERT_EQ(f.surface.documents().size(), 1u) << what;
        EXPECT_EQ(f.surface.documents().front().ending, FilmPage::Ending::Aborted) << what;
        EXPECT_EQ(f.surface.documents().front().ops.size(), c.blackBaseDrawn ? 1u : 0u) << what;
    }
}

TEST(UnevenLayout, EmptyCellsStayEmptyAndTheOthersKeepTheirCells)
{
    // ROW\2,3 without image 2: images 1, 3, 4, 5 in their own cells.
    CompositionFixture f;
    FilmImages images = CompositionFixture::images(std::vector<std::pair<int, int>>(5, {100, 100}));
    images[1].reset();
    compose(f, images, 9000, 14000, 2, 3, "ROW");
    EXPECT_EQ(f.log.lines[2], "本次发送图像数目：4");
    const auto ops = f.imageOps();
    ASSERT_EQ(ops.size(), 4u);
    const RectF expected[] = {
        {0, 1250, 4500, 4500}, {0, 9000, 3000, 3000}, {3000, 9000, 3000, 3000}, {6000, 9000, 3000, 3000}};
    const int tags[] = {1, 3, 4, 5};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(tagOf(ops[i].picture), tags[i]);
        EXPECT_TRUE(rectNear(ops[i].rect, expected[i], 0)) << "image " << tags[i];
    }
}

}  // namespace
}  // namespace vantorel::direct_composition::testing
