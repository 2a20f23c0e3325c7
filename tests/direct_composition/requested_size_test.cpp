#include "direct_composition/requested_size.h"
#include "direct_composition/standard_layout.h"
#include "direct_composition/uneven_layout.h"

#include "composition_fixture.h"

#include <gtest/gtest.h>

namespace vantorel::direct_composition::testing {
namespace {

// A picture with a Requested Image Size is printed at that width, centred in
// its cell, in every layout; one too large for its cell is fitted as before
// and said once per film.
TEST(RequestedImageSize, PrintedAtItsWidthCentredInItsCellOrFittedWhenTooLarge)
{
    const double mm = 1440.0 / 25.4;
    struct Case {
        const char* what;
        const char* rc;  // empty: STANDARD
        std::int16_t cols, rows;
        double requestedMm;
        RectF first;  // the first image's rectangle
        int tooLargeLines;
    };
    // Area 9000 x 14000 twips; images 200 x 100 pixels.
    const float w100 = float(100 * mm), h100 = float(50 * mm);
    const Case cases[] = {
        {"packed 1x1", "", 1, 1, 100, {(9000 - w100) / 2, (14000 - h100) / 2, w100, h100}, 0},
        {"square cells 3x3",
         "",
         3,
         3,
         40,
         {float((3000 - 40 * mm) / 2), float((14000.0 / 3 - 20 * mm) / 2), float(40 * mm), float(20 * mm)},
         0},
        // The two cells of the second row are 4500 wide: fitted, said once.
        {"uneven ROW\\1,2", "ROW", 1, 2, 100, {(9000 - w100) / 2, (7000 - h100) / 2, w100, h100}, 1},
        {"too wide for the packed cell", "", 1, 1, 200, {0, 4750, 9000, 4500}, 1},
        {"too wide for a square cell", "", 3, 3, 60, {0, float(14000.0 / 3 - 3000) / 2, 3000, 3000}, 1},
    };
    for (const auto& c : cases) {
        CompositionFixture f;
        FilmImages images;
        const int n = c.rc[0] ? c.cols + c.rows : c.cols * c.rows;
        for (int i = 0; i < n; ++i)
            images.push_back(std::make_unique<FakeImage>(200, 100, std::uint8_t(i + 1), c.requestedMm));
        const RectF area{0, 0, 9000, 14000};
        const FilmGrid grid{c.cols, c.rows};
        if (c.rc[0])
            PrintImgtoPrinter_rc(f.context(), f.surface, images, area, grid, c.rc);
        else
            PrintImgtoPrinter(f.context(), f.surface, images, area, grid);
        const auto ops = f.imageOps();
        ASSERT_EQ(ops.size(), static_cast<std::size_t>(n)) << c.what;
        EXPECT_TRUE(rectNear(ops.front().rect, c.first, 0.5)) << c.what;
        int tooLarge = 0;
        for (const auto& line : f.log.lines)
            tooLarge += line.find("does not fit its cell") != std::string::npos;
        EXPECT_EQ(tooLarge, c.tooLargeLines) << c.what;
    }
}

}  // namespace
}  // namespace vantorel::direct_composition::testing
