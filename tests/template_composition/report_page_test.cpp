#include "template_fakes.h"

#include "template_composition/report_page.h"

#include <gtest/gtest.h>

namespace vantorel::template_composition::testing {
namespace {

struct Rect { float x, y, width, height; };

// An image slot at `rect` (twips) holding `picture`.
ReportControl slotAt(SizeMode mode, PictureAlignment alignment, Rect rect, direct_composition::Picture picture)
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
    struct Case { SizeMode mode; PictureAlignment alignment; Rect expected; int pixelsWide, pixelsHigh; };
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
        const auto page = pageOf(slotAt(c.mode, c.alignment, {600, 300, 3000, 3000}, grayPicture(100, 50, 7)));
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
        ReportControl slot = slotAt(mode, PictureAlignment::TopLeft, {600, 300, 3000, 3000}, grayPicture(100, 50, 7));
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
    const auto page = pageOf(slotAt(SizeMode::Clip, PictureAlignment::Center, {0, 0, 3000, 1500}, grayPicture(1000, 1000, 1)));
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
    line.x1 = 0; line.y1 = 100; line.x2 = 5000; line.y2 = 100; line.lineWeight = 20;
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

}  // namespace
}  // namespace vantorel::template_composition::testing
