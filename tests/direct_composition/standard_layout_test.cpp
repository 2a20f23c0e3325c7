#include "direct_composition/standard_layout.h"

#include "composition_fixture.h"

#include <gtest/gtest.h>

namespace vantorel::direct_composition::testing {
namespace {

struct Film {
    float width;
    float height;
    std::int16_t cols;
    std::int16_t rows;
};

void compose(CompositionFixture& f, const FilmImages& images, Film film)
{
    PrintImgtoPrinter(f.context(), f.surface, images, {0, 0, film.width, film.height},
                      {film.cols, film.rows});
}

TEST(PackedAspectLayout, SquareImageOnPortraitA4TakesTheReducedWidthCentred)
{
    CompositionFixture f;
    f.settings.blackBase = 1;
    f.settings.marginBottom = 250;
    f.headerOn(1000);
    const auto images = CompositionFixture::images({{512, 512}});
    const ComposedFilm film =
        PrintImgtoPrinter(f.context(), f.surface, images, {0, 0, 11900, 16840 - 1000}, {1, 1});

    const double reducedHeight = 15840 - 2500.0 * 11900 / 15840;  // 13961.84
    EXPECT_FLOAT_EQ(film.area.width, 9400);
    EXPECT_NEAR(film.area.height, reducedHeight, 0.001);

    const auto ended = f.surface.endedDocuments();
    ASSERT_EQ(ended.size(), 1u);
    const auto& ops = ended.front().ops;
    ASSERT_EQ(ops.size(), 4u);  // black base, icon, hospital name, image
    EXPECT_EQ(tagOf(ops[0].picture), 0);
    EXPECT_TRUE(rectNear(ops[0].rect, {0, 1000, 9400, float(reducedHeight)}));
    EXPECT_TRUE(rectNear(ops[3].rect, {0, float((reducedHeight - 9400) / 2 + 1000), 9400, 9400}));
    EXPECT_EQ(f.log.lines,
              (std::vector<std::string>{"cols=1", "rows=1", "本次发送图像数目：1", "开始打印黑色底纹。"}));
}

TEST(PackedAspectLayout, FitsWiderTallerAndSameRatioImages)
{
    // Area 9000 x 14000, one cell: the cell is 9000 wide and 14000 high.
    struct Case {
        const char* what;
        int pw;
        int ph;
        RectF rect;
    };
    const Case cases[] = {
        {"wider: fitted to the cell width", 400, 200, {0, 4750, 9000, 4500}},
        {"taller: fitted to the cell height", 200, 400, {1000, 0, 7000, 14000}},
        {"same ratio: fills the cell", 900, 1400, {0, 0, 9000, 14000}},
    };
    for (const auto& c : cases) {
        CompositionFixture f;
        compose(f, CompositionFixture::images({{c.pw, c.ph}}), {9000, 14000, 1, 1});
        const auto ops = f.imageOps();
        ASSERT_EQ(ops.size(), 1u) << c.what;
        EXPECT_TRUE(rectNear(ops[0].rect, c.rect)) << c.what;
    }
}

TEST(PackedAspectLayout, ImagesStepByTheirDrawnSizeNotByTheCell)
{
    struct Case {
        const char* what;
        Film film;
        int pw;
        int ph;
        std::vector<RectF> rects;
    };
    const Case cases[] = {
        {"2x1 squares touch, block starts half a cell's slack down",
         {9000, 14000, 2, 1},
         100,
         100,
         {{0, 4750, 4500, 4500}, {4500, 4750, 4500, 4500}}},
        {"1x2 wide images touch, not at the second cell",
         {9000, 14000, 1, 2},
         200,
         100,
         {{0, 1250, 9000, 4500}, {0, 5750, 9000, 4500}}},
        {"2x2 tall images",
         {9000, 14000, 2, 2},
         100,
         200,
         {{500, 0, 3500, 7000}, {4000, 0, 3500, 7000}, {500, 7000, 3500, 7000}, {4000, 7000, 3500, 7000}}},
        {"3x2 (six cells) still packed",
         {9000, 14000, 3, 2},
         100,
         100,
         {{0, 2000, 3000, 3000},
          {3000, 2000, 3000, 3000},
          {6000, 2000, 3000, 3000},
          {0, 5000, 3000, 3000},
          {3000, 5000, 3000, 3000},
          {6000, 5000, 3000, 3000}}},
    };
    for (const auto& c : cases) {
        CompositionFixture f;
        std::vector<std::pair<int, int>> sizes(c.rects.size(), {c.pw, c.ph});
        compose(f, CompositionFixture::images(sizes), c.film);
        const auto ops = f.imageOps();
        ASSERT_EQ(ops.size(), c.rects.size()) << c.what;
        for (std::size_t i = 0; i < ops.size(); ++i) {
            EXPECT_EQ(tagOf(ops[i].picture), i + 1) << c.what << " image " << i + 1;
            EXPECT_TRUE(rectNear(ops[i].rect, c.rects[i])) << c.what << " image " << i + 1;
        }
    }
}

TEST(SquareCellLayout, FourByFourCentresSquaresAndPadsNonSquareImages)
{
    for (const bool header : {false, true}) {
        CompositionFixture f;
        if (header)
            f.headerOn(1000);
        std::vector<std::pair<int, int>> sizes(16, {512, 512});
        sizes[5] = {512, 400};  // image 6: padded to a square first
        compose(f, CompositionFixture::images(sizes), {9000, 14000, 4, 4});

        // Cells 2250 x 3500: squares of side 2250, 625 down in each cell.
        const auto ops = f.imageOps();
        ASSERT_EQ(ops.size(), 16u) << "header " << header;
        const float shift = header ? 1000.0f : 0.0f;
        for (int i = 0; i < 16; ++i) {
            const RectF expected{2250.0f * (i % 4), 3500.0f * (i / 4) + 625 + shift, 2250, 2250};
            EXPECT_TRUE(rectNear(ops[i].rect, expected)) << "image " << i + 1 << " header " << header;
        }
        EXPECT_EQ(tagOf(ops[5].picture), 106);  // the Rsize copy
        EXPECT_EQ(ops[5].picture.width, 512);
        EXPECT_EQ(ops[5].picture.height, 512);
        EXPECT_EQ(tagOf(ops[4].picture), 5);  // square images are drawn as they are
    }
}

TEST(SquareCellLayout, WideCellsCentreHorizontally)
{
    CompositionFixture f;
    std::vector<std::pair<int, int>> sizes(8, {256, 256});
    compose(f, CompositionFixture::images(sizes), {16000, 6000, 4, 2});  // cells 4000 x 3000
    const auto ops = f.imageOps();
    ASSERT_EQ(ops.size(), 8u);
    EXPECT_TRUE(rectNear(ops[0].rect, {500, 0, 3000, 3000}));
    EXPECT_TRUE(rectNear(ops[7].rect, {12500, 3000, 3000, 3000}));
}

TEST(StandardCountCheck, NoImagesOrMoreImagesThanCellsAbortWithTheirLogLines)
{
    struct Case {
        Film film;
        int images;
        std::string line;
        FilmEnd end;
    };
    const Case cases[] = {
        {{9000, 14000, 2, 2},
         5,
         "片盒内图像数目=4，实际接收到5幅,终止本次打印任务。",
         FilmEnd::TooManyImages},
        {{9000, 14000, 3, 4}, 0, "片盒内图像数=0，终止本次打印任务。", FilmEnd::NoImages},
    };
    for (const auto& c : cases) {
        CompositionFixture f;
        f.settings.blackBase = 1;
        std::vector<std::pair<int, int>> sizes(c.images, {64, 64});
        EXPECT_EQ(PrintImgtoPrinter(f.context(), f.surface, CompositionFixture::images(sizes),
                                    {0, 0, c.film.width, c.film.height}, {c.film.cols, c.film.rows})
                      .end,
                  c.end)
            << c.line;
        const std::vector<std::string> expected{"cols=" + std::to_string(c.film.cols),
                                                "rows=" + std::to_string(c.film.rows),
                                                "本次发送图像数目：" + std::to_string(c.images), c.line};
        EXPECT_EQ(f.log.lines, expected) << c.line;
        ASSERT_EQ(f.surface.documents().size(), 1u) << c.line;
        EXPECT_EQ(f.surface.documents().front().ending, FilmPage::Ending::Aborted) << c.line;
        EXPECT_TRUE(f.surface.documents().front().ops.empty()) << c.line;
    }
}

// A film box with some empty image boxes (the last film of a series) prints
// the images it has, each in the cell of its own image box; the empty cells
// keep the black base. The count line says how many images came.
TEST(StandardLayout, FilmWithEmptyCellsPrintsEachImageInItsOwnCell)
{
    struct Case {
        const char* what;
        Film film;
        std::vector<int> filled;  // 1-based cells with an image
        std::vector<RectF> rects;
    };
    const Case cases[] = {
        // Packed layout, cells 4500 x 7000: cell 3 empty, image 4 at row 2, column 2.
        {"2x2 without cell 3",
         {9000, 14000, 2, 2},
         {1, 2, 4},
         {{0, 1250, 4500, 4500}, {4500, 1250, 4500, 4500}, {4500, 5750, 4500, 4500}}},
        {"2x2 without cell 1",
         {9000, 14000, 2, 2},
         {2, 3, 4},
         {{4500, 1250, 4500, 4500}, {0, 5750, 4500, 4500}, {4500, 5750, 4500, 4500}}},
        // Square cells 2250 x 2800: squares of side 2250, 275 down in each cell.
        {"4x5 with 17 images",
         {9000, 14000, 4, 5},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17},
         {}},
    };
    for (const auto& c : cases) {
        CompositionFixture f;
        f.settings.blackBase = 1;
        FilmImages images(static_cast<std::size_t>(c.film.cols * c.film.rows));
        for (const int cell : c.filled)
            images[cell - 1] = std::make_unique<FakeImage>(64, 64, static_cast<std::uint8_t>(cell));
        compose(f, images, c.film);

        EXPECT_EQ(f.log.lines[2], "本次发送图像数目：" + std::to_string(c.filled.size())) << c.what;
        const auto ops = f.imageOps();
        ASSERT_EQ(ops.size(), c.filled.size()) << c.what;
        for (std::size_t i = 0; i < ops.size(); ++i) {
            const int cell = c.filled[i];
            EXPECT_EQ(tagOf(ops[i].picture), cell) << c.what;
            const RectF expected = c.rects.empty()
                ? RectF{2250.0f * ((cell - 1) % 4), 2800.0f * ((cell - 1) / 4) + 275, 2250, 2250}
                : c.rects[i];
            EXPECT_TRUE(rectNear(ops[i].rect, expected)) << c.what << " cell " << cell;
        }
        const auto ended = f.surface.endedDocuments();
        ASSERT_EQ(ended.size(), 1u) << c.what;
        EXPECT_EQ(tagOf(ended[0].ops[0].picture), 0) << c.what;  // the black base first
        EXPECT_TRUE(rectNear(ended[0].ops[0].rect, {0, 0, 9000, 14000})) << c.what;
    }
}

TEST(StandardLayout, UnrenderableImageIsSkippedAndTheFilmStillEnds)
{
    class Broken final : public FilmImage {
    public:
        int pixelWidth() const override { return 10; }
        int pixelHeight() const override { return 20; }
        Picture picture() const override { return {}; }
        std::unique_ptr<FilmImage> Rsize() const override { return nullptr; }
    };
    for (const Film film : {Film{9000, 14000, 3, 1}, Film{9000, 14000, 4, 2}}) {
        CompositionFixture f;
        auto images =
            CompositionFixture::images(std::vector<std::pair<int, int>>(film.cols * film.rows, {64, 64}));
        images[1] = std::make_unique<Broken>();
        compose(f, images, film);
        const auto ops = f.imageOps();
        ASSERT_EQ(ops.size(), static_cast<std::size_t>(film.cols * film.rows - 1)) << film.cols;
        EXPECT_EQ(tagOf(ops[1].picture), 3);
    }
}

}  // namespace
}  // namespace vantorel::direct_composition::testing
