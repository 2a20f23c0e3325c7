#include "template_fakes.h"

#include "print_job/template_road.h"
#include "template_composition/report_filling.h"
#include "template_composition/report_page.h"

#include <gtest/gtest.h>

namespace vantorel::template_composition::testing {
namespace {

struct Rect {
    float x, y, width, height;
};

// An image slot at `rect` (twips) holding `picture`.
ReportControl slotAt(SizeMode mode, PictureAlignment alignment, Rect rect,
                     direct_composition::Picture picture)
{
    ReportControl slot = imageSlot(1, true, mode, alignment);
    slot.left = rect.x;
    slot.top = rect.y;
    slot.width = rect.width;
    slot.height = rect.height;
    slot.picture = std::move(picture);
    return slot;
}

// The page of a report whose layout is this one slot.
direct_composition::FilmPage pageOf(const ReportControl& slot)
{
    ReportLayout layout;
    layout.controls = {slot};
    AcReport report;
    report.loadLayout(layout);
    return layoutReportPage(report);
}

// A 100 x 50 pixel picture in a 3000 x 3000 twip slot at (600, 300).
TEST(ReportPage, FitsPicturesBySizeModeAndAlignment)
{
    struct Case {
        SizeMode mode;
        PictureAlignment alignment;
        Rect expected;
        int pixelsWide, pixelsHigh;
    };
    const Case cases[] = {
        {SizeMode::Stretch, PictureAlignment::Center, {600, 300, 3000, 3000}, 100, 50},
        {SizeMode::Zoom, PictureAlignment::Center, {600, 1050, 3000, 1500}, 100, 50},
        {SizeMode::Zoom, PictureAlignment::TopLeft, {600, 300, 3000, 1500}, 100, 50},
        {SizeMode::Zoom, PictureAlignment::BottomRight, {600, 1800, 3000, 1500}, 100, 50},
        // Own size, 15 twips a pixel: 1500 x 750, cut to nothing.
        {SizeMode::Clip, PictureAlignment::TopLeft, {600, 300, 1500, 750}, 100, 50},
        {SizeMode::Clip, PictureAlignment::Center, {1350, 1425, 1500, 750}, 100, 50},
        // 3000 x 1500 pixels at own size is 45000 twips wide: the middle 200 pixels show.
    };
    for (const Case& c : cases) {
        const auto page =
            pageOf(slotAt(c.mode, c.alignment, {600, 300, 3000, 3000}, grayPicture(100, 50, 7)));
        ASSERT_EQ(page.ops.size(), 1u);
        const auto& r = page.ops[0].rect;
        const std::string row = std::to_string(int(c.mode)) + "/" + std::to_string(int(c.alignment));
        EXPECT_FLOAT_EQ(r.x, c.expected.x) << row;
        EXPECT_FLOAT_EQ(r.y, c.expected.y) << row;
        EXPECT_FLOAT_EQ(r.width, c.expected.width) << row;
        EXPECT_FLOAT_EQ(r.height, c.expected.height) << row;
        EXPECT_EQ(page.ops[0].picture.width, c.pixelsWide) << row;
        EXPECT_EQ(page.ops[0].picture.height, c.pixelsHigh) << row;
    }
}

// A requested width wins over the slot's fit: that wide, centred.
TEST(ReportPage, RequestedWidthIsDrawnCentredInTheSlot)
{
    for (SizeMode mode : {SizeMode::Zoom, SizeMode::Stretch, SizeMode::Clip}) {
        ReportControl slot =
            slotAt(mode, PictureAlignment::TopLeft, {600, 300, 3000, 3000}, grayPicture(100, 50, 7));
        slot.requestedWidth = 1200;
        const auto page = pageOf(slot);
        ASSERT_EQ(page.ops.size(), 1u);
        const auto& r = page.ops[0].rect;
        EXPECT_FLOAT_EQ(r.x, 1500) << int(mode);
        EXPECT_FLOAT_EQ(r.y, 1500) << int(mode);
        EXPECT_FLOAT_EQ(r.width, 1200) << int(mode);
        EXPECT_FLOAT_EQ(r.height, 600) << int(mode);
    }
}

TEST(ReportPage, ClipCutsALargePictureToItsSlot)
{
    // 3000 x 1500 twips: 200 x 100 pixels.
    const auto page = pageOf(
        slotAt(SizeMode::Clip, PictureAlignment::Center, {0, 0, 3000, 1500}, grayPicture(1000, 1000, 1)));
    ASSERT_EQ(page.ops.size(), 1u);
    EXPECT_EQ(page.ops[0].picture.width, 200);
    EXPECT_EQ(page.ops[0].picture.height, 100);
    EXPECT_FLOAT_EQ(page.ops[0].rect.x, 0);
    EXPECT_FLOAT_EQ(page.ops[0].rect.width, 3000);
}

TEST(ReportPage, SheetFollowsOrientationAndHiddenControlsAreNotDrawn)
{
    ReportLayout layout;
    layout.page.orientation = 2;
    layout.page.paperWidth = 11000;
    layout.page.paperHeight = 15000;
    layout.page.marginLeft = 200;
    layout.page.marginTop = 300;
    ReportControl hidden = imageSlot(1, false);
    hidden.picture = grayPicture(2, 2, 1);
    ReportControl line;
    line.kind = ReportControl::Kind::Line;
    line.x1 = 0;
    line.y1 = 100;
    line.x2 = 5000;
    line.y2 = 100;
    line.lineWeight = 20;
    layout.controls = {hidden, line};
    AcReport report;
    report.loadLayout(layout);
    const auto page = layoutReportPage(report);
    EXPECT_FLOAT_EQ(page.pageWidth, 15000);
    EXPECT_FLOAT_EQ(page.pageHeight, 11000);
    EXPECT_FLOAT_EQ(page.originX, 200);
    EXPECT_FLOAT_EQ(page.originY, 300);
    ASSERT_EQ(page.ops.size(), 1u);  // the rule only
    EXPECT_FLOAT_EQ(page.ops[0].rect.y, 90);
    EXPECT_FLOAT_EQ(page.ops[0].rect.width, 5000);
    EXPECT_TRUE(isGrayPage(page));
}

// What the film box asks of a template film: a base recoloured by Border
// Density, an empty cell's slot filled by Empty Image Density, the trim at the
// base's opposite tone and each picture's magnification.
TEST(ReportPage, TheFilmBoxsDensitiesTrimAndMagnificationReachTheTemplatePage)
{
    namespace dc = direct_composition;
    ReportLayout layout;
    ReportControl base;
    base.kind = ReportControl::Kind::Shape;
    base.name = "Base";
    base.width = 10000;
    base.height = 10000;
    base.backFilled = true;
    base.backColor = 0;
    layout.controls.push_back(base);
    for (int n : {1, 2, 3}) {
        ReportControl slot = imageSlot(n, true, SizeMode::Stretch);
        slot.left = 3000.0f * (n - 1);
        slot.width = slot.height = 2880;
        layout.controls.push_back(slot);
    }
    const dc::Picture picture = grayPicture(100, 100, 77);

    struct Case {
        const char* what;
        dc::FilmAppearance look;
        dc::Magnification magnification;
        std::uint32_t base, trim;
        std::optional<std::uint32_t> empty;
        dc::RectF firstPicture;
    };
    dc::FilmAppearance plain, white, emptyGrey, trimmed;
    white.baseGrey = 255;
    white.baseGreySent = true;
    white.trim = true;
    emptyGrey.emptyCellGrey = 128;
    trimmed.trim = true;
    const Case cases[] = {
        {"plain", plain, dc::Magnification::Bilinear, 0, 0, std::nullopt, {0, 0, 2880, 2880}},
        {"white base, black trim",
         white,
         dc::Magnification::Replicate,
         0xFFFFFF,
         0,
         std::nullopt,
         {0, 0, 2880, 2880}},
        {"grey empty cell", emptyGrey, dc::Magnification::Cubic, 0, 0, 0x808080, {0, 0, 2880, 2880}},
        // 100 pixels at 300 dpi are 480 twips, centred in the slot.
        {"one pixel per dot, white trim",
         trimmed,
         dc::Magnification::None,
         0,
         0xFFFFFF,
         std::nullopt,
         {1200, 1200, 480, 480}},
    };
    for (const Case& c : cases) {
        AcReport report;
        report.loadLayout(layout);
        print_job::TemplateFilm film;
        film.cells = {picture, std::nullopt, picture};
        film.magnifications = {c.magnification, c.magnification, c.magnification};
        film.appearance = c.look;
        for (int k : {1, 3})
            FillReport(report, picture, k);
        applyFilmAppearance(report, film);
        const dc::FilmPage page = layoutReportPage(report);

        ASSERT_FALSE(page.ops.empty()) << c.what;
        EXPECT_EQ((*page.ops[0].picture.pixels)[0], c.base & 0xFF) << c.what;
        std::vector<dc::DrawOp> pictures, fills;
        for (std::size_t i = 1; i < page.ops.size(); ++i)
            (page.ops[i].picture.width == 1 ? fills : pictures).push_back(page.ops[i]);
        ASSERT_EQ(pictures.size(), 2u) << c.what;
        EXPECT_EQ(pictures[0].magnification, c.magnification) << c.what;
        EXPECT_FLOAT_EQ(pictures[0].rect.x, c.firstPicture.x) << c.what;
        EXPECT_FLOAT_EQ(pictures[0].rect.y, c.firstPicture.y) << c.what;
        EXPECT_FLOAT_EQ(pictures[0].rect.width, c.firstPicture.width) << c.what;
        const std::size_t trimBars = c.look.trim ? 8 : 0;
        ASSERT_EQ(fills.size(), trimBars + (c.empty ? 1 : 0)) << c.what;
        for (const dc::DrawOp& fill : fills) {
            const bool emptyCell = fill.rect.x == 3000 && fill.rect.width == 2880;
            EXPECT_EQ((*fill.picture.pixels)[0], (emptyCell ? *c.empty : c.trim) & 0xFF) << c.what;
        }
    }
}

}  // namespace
}  // namespace vantorel::template_composition::testing
