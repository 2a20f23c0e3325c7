#include "direct_composition/picture_scaling.h"
#include "direct_composition/rendered_film_image.h"
#include "direct_composition/standard_layout.h"
#include "direct_composition/uneven_layout.h"

#include "composition_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantorel::direct_composition::testing {
namespace {

bool isFill(const DrawOp& op)
{
    return op.kind == DrawOp::Kind::Picture && op.picture.width == 1 && op.picture.height == 1;
}

std::uint8_t fillGrey(const DrawOp& op)
{
    return op.picture.pixels->front();
}

// The operations of the only finished page that are fills (`fills` true) or
// pictures, in drawing order.
std::vector<DrawOp> opsOf(const CompositionFixture& f, bool fills)
{
    std::vector<DrawOp> found;
    const auto ended = f.surface.endedDocuments();
    if (ended.size() == 1)
        for (const auto& op : ended.front().ops)
            if (op.kind == DrawOp::Kind::Picture && isFill(op) == fills)
                found.push_back(op);
    return found;
}

// A film whose second cell is empty, in each layout family.
struct Film {
    const char* what;
    const char* rc;  // empty: STANDARD
    std::int16_t cols, rows;
    RectF emptyCell;  // where the second cell's picture would go, area 9000 x 14000
};
const Film films[] = {
    {"packed 2x1", "", 2, 1, {4500, 0, 4500, 14000}},
    {"square cells 3x3", "", 3, 3, {3000, float((14000.0 / 3 - 3000) / 2), 3000, 3000}},
    {"uneven ROW\\1,2", "ROW", 1, 2, {0, 7000, 4500, 7000}},
};

void compose(CompositionFixture& f, const Film& film, FilmImages images)
{
    const RectF area{0, 0, 9000, 14000};
    if (film.rc[0])
        PrintImgtoPrinter_rc(f.context(), f.surface, images, area, {film.cols, film.rows}, film.rc);
    else
        PrintImgtoPrinter(f.context(), f.surface, images, area, {film.cols, film.rows});
}

// One 64 x 64 image in the first cell, the others empty.
FilmImages firstOnly(const Film& film, Magnification magnification = Magnification::Bilinear)
{
    FilmImages images;
    images.push_back(std::make_unique<RenderedFilmImage>(taggedPicture(64, 64, 7), 64, 64, 0, magnification));
    const int cells = film.rc[0] ? film.cols + film.rows : film.cols * film.rows;
    while (static_cast<int>(images.size()) < cells)
        images.push_back(nullptr);
    return images;
}

// The base takes the Border Density's grey and an empty cell the Empty Image
// Density's, while the black base is on; with it off nothing is filled at
// all, and a film box that asks for neither draws exactly what it always did.
TEST(FilmAppearance, BaseAndEmptyCellsTakeTheirDensitiesOnlyOnABlackBase)
{
    struct Case {
        const char* what;
        int blackBase;
        FilmAppearance appearance;
        int baseGrey;   // -1: no base drawn
        int emptyGrey;  // -1: the empty cells are not filled
    };
    const Case cases[] = {
        {"nothing asked", 1, {}, 0, -1},
        {"border WHITE", 1, {255, std::nullopt, false}, 255, -1},
        {"border grey, empty WHITE", 1, {128, 255, false}, 128, 255},
        {"empty BLACK on a white border", 1, {255, 0, false}, 255, 0},
        {"black base off", 0, {255, 0, false}, -1, -1},
    };
    for (const auto& film : films)
        for (const auto& c : cases) {
            const std::string what = std::string(film.what) + ", " + c.what;
            CompositionFixture f;
            f.settings.blackBase = c.blackBase;
            f.appearance = c.appearance;
            compose(f, film, firstOnly(film));
            const auto found = opsOf(f, true);
            std::size_t next = 0;
            if (c.baseGrey >= 0) {
                ASSERT_GT(found.size(), next) << what;
                EXPECT_EQ(fillGrey(found[next]), c.baseGrey) << what;
                EXPECT_TRUE(rectNear(found[next].rect, {0, 0, 9000, 14000})) << what;
                ++next;
            }
            if (c.emptyGrey >= 0) {
                // Every empty cell is filled; the first of them is the second cell.
                ASSERT_GT(found.size(), next) << what;
                EXPECT_EQ(fillGrey(found[next]), c.emptyGrey) << what;
                EXPECT_TRUE(rectNear(found[next].rect, film.emptyCell, 0.5)) << what;
                const int cells = film.rc[0] ? film.cols + film.rows : film.cols * film.rows;
                next += static_cast<std::size_t>(cells - 1);
            }
            EXPECT_EQ(found.size(), next) << what;
            EXPECT_EQ(opsOf(f, false).size(), 1u) << what;
        }
}

// Trim draws four bars a quarter millimetre wide just inside every picture's
// rectangle, at the base's opposite tone.
TEST(FilmAppearance, TrimOutlinesEveryPictureInTheBasesOppositeTone)
{
    struct Case {
        const char* what;
        int blackBase;
        std::uint8_t baseGrey;
        std::uint8_t lineGrey;
    };
    const Case cases[] = {
        {"black base", 1, 0, 255},
        {"dark grey base", 1, 100, 255},
        {"white border", 1, 255, 0},
        {"paper", 0, 0, 0},
    };
    for (const auto& film : films)
        for (const auto& c : cases) {
            const std::string what = std::string(film.what) + ", " + c.what;
            CompositionFixture f;
            f.settings.blackBase = c.blackBase;
            f.appearance.baseGrey = c.baseGrey;
            f.appearance.trim = true;
            compose(f, film, firstOnly(film));
            const auto pictures = opsOf(f, false);
            ASSERT_EQ(pictures.size(), 1u) << what;
            const RectF r = pictures.front().rect;
            auto found = opsOf(f, true);
            if (c.blackBase)
                found.erase(found.begin());  // the base
            ASSERT_EQ(found.size(), 4u) << what;
            const float t = film_frame::trimWidth;
            EXPECT_NEAR(t, 14.17, 0.01);
            const RectF bars[4] = {{r.x, r.y, r.width, t},
                                   {r.x, r.y + r.height - t, r.width, t},
                                   {r.x, r.y + t, t, r.height - 2 * t},
                                   {r.x + r.width - t, r.y + t, t, r.height - 2 * t}};
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(fillGrey(found[i]), c.lineGrey) << what << " bar " << i;
                EXPECT_TRUE(rectNear(found[i].rect, bars[i], 0.01)) << what << " bar " << i;
            }
        }
}

// Every magnification reaches the page with its picture; NONE instead draws
// the image's own pixels at 4.8 twips each (300 dpi), centred in the cell
// and cropped to it.
TEST(FilmAppearance, MagnificationTravelsWithThePictureAndNoneIsOnePixelPerDot)
{
    for (const auto m : {Magnification::Replicate, Magnification::Bilinear, Magnification::Cubic}) {
        CompositionFixture f;
        compose(f, films[0], firstOnly(films[0], m));
        const auto ops = opsOf(f, false);
        ASSERT_EQ(ops.size(), 1u);
        EXPECT_EQ(ops.front().magnification, m);
        EXPECT_TRUE(rectNear(ops.front().rect, {0, (14000 - 4500) / 2.0f, 4500, 4500}));
    }
    struct Case {
        const char* what;
        Film film;
        int width, height;  // the image, pixels
        RectF rect;         // drawn
        int shownWidth, shownHeight;
    };
    const Case cases[] = {
        {"fits the packed cell", films[0], 64, 32, {2250 - 153.6f, 7000 - 76.8f, 307.2f, 153.6f}, 64, 32},
        // 4500 twips hold 937 pixels; the cell height holds all 1000 rows.
        {"wider than the packed cell",
         films[0],
         1000,
         1000,
         {2250 - 937 * 2.4f, 7000 - 2400, 937 * 4.8f, 4800},
         937,
         1000},
        // A square cell 3000 twips wide holds 625 pixels both ways; an
        // unscaled picture is never padded to a square.
        {"square cell",
         films[1],
         800,
         200,
         {0, float((14000.0 / 3 - 3000) / 2 + 1500 - 480), 3000, 960},
         625,
         200},
        {"uneven cell", films[2], 64, 64, {4500 - 153.6f, 3500 - 153.6f, 307.2f, 307.2f}, 64, 64},
    };
    for (const auto& c : cases) {
        CompositionFixture f;
        FilmImages images = firstOnly(c.film, Magnification::None);
        // Columns numbered, so the crop shows which ones were kept.
        Picture picture = taggedPicture(c.width, c.height, 7);
        auto pixels = std::make_shared<std::vector<std::uint8_t>>(*picture.pixels);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                (*pixels)[static_cast<std::size_t>(y) * c.width + x] = static_cast<std::uint8_t>(1 + x % 150);
        picture.pixels = pixels;
        images[0] = std::make_unique<RenderedFilmImage>(picture, c.width, c.height, 0, Magnification::None);
        compose(f, c.film, std::move(images));
        const auto ops = opsOf(f, false);
        ASSERT_EQ(ops.size(), 1u) << c.what;
        EXPECT_EQ(ops.front().magnification, Magnification::None) << c.what;
        EXPECT_TRUE(rectNear(ops.front().rect, c.rect, 0.05)) << c.what;
        EXPECT_EQ(ops.front().picture.width, c.shownWidth) << c.what;
        EXPECT_EQ(ops.front().picture.height, c.shownHeight) << c.what;
        const int firstColumn = (c.width - c.shownWidth) / 2;
        EXPECT_EQ(tagOf(ops.front().picture), 1 + firstColumn % 150) << c.what;
    }
}

TEST(PictureScaling, CropKeepsThePartInsideThePicture)
{
    Picture picture = taggedPicture(4, 3, 0);
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(12);
    for (int i = 0; i < 12; ++i)
        (*pixels)[i] = static_cast<std::uint8_t>(i);
    picture.pixels = pixels;
    const Picture inner = cropPicture(picture, 1, 1, 2, 2);
    ASSERT_FALSE(inner.isNull());
    EXPECT_EQ(*inner.pixels, (std::vector<std::uint8_t>{5, 6, 9, 10}));
    const Picture clipped = cropPicture(picture, 3, -1, 5, 5);
    EXPECT_EQ(*clipped.pixels, (std::vector<std::uint8_t>{3, 7, 11}));
    EXPECT_TRUE(cropPicture(picture, 4, 0, 2, 2).isNull());
}

// Bicubic convolution reproduces a quadratic exactly where it has four
// samples around each point (bilinear would bend it), passes through the
// samples, and keeps a flat picture flat.
TEST(PictureScaling, BicubicFollowsAQuadraticThroughItsSamples)
{
    const int n = 16;
    Picture row = taggedPicture(n, 1, 0);
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(n);
    for (int x = 0; x < n; ++x)
        (*pixels)[x] = static_cast<std::uint8_t>(x * x);
    row.pixels = pixels;
    const Picture scaled = scaleBicubic(row, 3 * n, 1);
    ASSERT_EQ(scaled.width, 3 * n);
    for (int i = 6; i < 3 * n - 6; ++i) {
        const double x = (i + 0.5) / 3 - 0.5;
        EXPECT_NEAR((*scaled.pixels)[i], x * x, 0.5 + 1e-9) << "output " << i;
    }
    for (int x = 2; x < n - 2; ++x)
        EXPECT_EQ((*scaled.pixels)[3 * x + 1], x * x) << "sample " << x;
    const Picture flat = scaleBicubic(taggedPicture(5, 7, 90), 23, 11);
    EXPECT_EQ(*flat.pixels, std::vector<std::uint8_t>(23 * 11, 90));
}

// Nearest and bilinear enlarging with pixel centres aligned: a black and a
// white pixel across four, and an RGB pixel's channels kept apart.
TEST(PictureScaling, NearestRepeatsAndBilinearBlendsBetweenCentres)
{
    Picture pair = taggedPicture(2, 1, 0);
    pair.pixels = std::make_shared<const std::vector<std::uint8_t>>(std::vector<std::uint8_t>{0, 255});
    EXPECT_EQ(*scaleNearest(pair, 4, 2).pixels, (std::vector<std::uint8_t>{0, 0, 255, 255, 0, 0, 255, 255}));
    // Output centres fall at -0.25, 0.25, 0.75 and 1.25 source pixels.
    EXPECT_EQ(*scaleBilinear(pair, 4, 1).pixels, (std::vector<std::uint8_t>{0, 64, 191, 255}));

    const Picture colour = Picture::solid(10, 200, 30);
    const Picture wide = scaleBilinear(colour, 3, 2);
    ASSERT_FALSE(wide.isNull());
    EXPECT_EQ(wide.format, Picture::Format::Rgb24);
    EXPECT_EQ(*wide.pixels,
              (std::vector<std::uint8_t>{10, 200, 30, 10, 200, 30, 10, 200, 30, 10, 200, 30, 10, 200, 30, 10,
                                         200, 30}));
    EXPECT_TRUE(scaleNearest(pair, 0, 1).isNull());
    EXPECT_TRUE(scaleBilinear(Picture{}, 4, 4).isNull());
}

TEST(PictureScaling, MagnificationKeywords)
{
    struct Case {
        const char* text;
        bool known;
        Magnification m;
    };
    const Case cases[] = {
        {"REPLICATE", true, Magnification::Replicate},
        {"BILINEAR", true, Magnification::Bilinear},
        {"CUBIC", true, Magnification::Cubic},
        {" NONE ", true, Magnification::None},
        {"bilinear", false, {}},
        {"", false, {}},
        {"NEAREST", false, {}},
    };
    for (const auto& c : cases) {
        Magnification m = Magnification::Bilinear;
        EXPECT_EQ(magnificationOf(c.text, m), c.known) << c.text;
        if (c.known) {
            EXPECT_EQ(m, c.m) << c.text;
        }
    }
}

}  // namespace
}  // namespace vantorel::direct_composition::testing
