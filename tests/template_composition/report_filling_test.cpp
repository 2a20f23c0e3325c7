#include "template_fakes.h"

#include "support/other_thread.h"
#include "template_composition/report_filling.h"

#include <gtest/gtest.h>

namespace vantorel::template_composition::testing {
namespace {

// Slots 1 ... 8 with Image4 hidden and no Image7; Image1 zooms to the bottom
// right, the others stretch from the top left.
AcReport reportWithSlots()
{
    ReportLayout layout;
    layout.controls.push_back(imageSlot(1, true, SizeMode::Zoom, PictureAlignment::BottomRight));
    for (int n : {2, 3, 4, 5, 6, 8})
        layout.controls.push_back(imageSlot(n, n != 4));
    AcReport report;
    report.loadLayout(layout);
    return report;
}

std::vector<int> filledSlots(AcReport& report)
{
    std::vector<int> filled;
    for (int n = 1; n <= 50; ++n) {
        const ReportControl* slot = report.slot("Image" + std::to_string(n));
        if (slot && !slot->picture.isNull())
            filled.push_back(n);
    }
    return filled;
}

TEST(FillReport, FillsVisibleSlotsWithPicturesOnly)
{
    AcReport report = reportWithSlots();
    for (int num : {0, 1, 2, 3, 4, 5, 7, 8, 43, -1})
        FillReport(report, grayPicture(4, 4, static_cast<std::uint8_t>(num)), num);
    FillReport(report, direct_composition::Picture{}, 6);  // an empty picture
    EXPECT_EQ(filledSlots(report), (std::vector<int>{1, 2, 3, 5, 8}));
    EXPECT_EQ((*report.slot("Image5")->picture.pixels)[0], 5);  // the fifth image in Image5
}

TEST(FillReport, FilledSlotsTakeTheFitOfImage1AndOthersKeepTheirs)
{
    AcReport report = reportWithSlots();
    for (int num : {2, 3})
        FillReport(report, grayPicture(4, 4, 9), num);
    for (int n : {2, 3}) {
        EXPECT_EQ(report.slot("Image" + std::to_string(n))->sizeMode, SizeMode::Zoom) << n;
        EXPECT_EQ(report.slot("Image" + std::to_string(n))->pictureAlignment, PictureAlignment::BottomRight)
            << n;
    }
    EXPECT_EQ(report.slot("Image5")->sizeMode, SizeMode::Stretch);
    EXPECT_EQ(report.slot("Image4")->sizeMode, SizeMode::Stretch);  // hidden: not filled
}

TEST(FillReport_RC, PlacesAtMostFiveAndKeepsTheTemplatesFit)
{
    AcReport report = reportWithSlots();
    // ROW\3,3: six images handed over.
    for (int num = 1; num <= 6; ++num)
        FillReport_RC(report, grayPicture(4, 4, 1), num);
    EXPECT_EQ(filledSlots(report), (std::vector<int>{1, 2, 3, 5}));  // 4 hidden, 6 beyond five
    EXPECT_EQ(report.slot("Image2")->sizeMode, SizeMode::Stretch);
}

TEST(FillReport, TheBuiltInLayoutShowsOneImage)
{
    AcReport report;
    for (int num = 1; num <= 42; ++num)
        FillReport(report, grayPicture(4, 4, 1), num);
    EXPECT_EQ(filledSlots(report), (std::vector<int>{1}));
    ASSERT_NE(report.slot("Imgyy"), nullptr);
}

TEST(AcReportDeathTest, FillingFromAnotherThreadStopsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    AcReport report = reportWithSlots();
    EXPECT_DEATH(vantorel::testing::onAnotherThread([&report] { report.slot("Image1"); }),
                 std::string("AcReport ") + vantorel::testing::offOwnerThread);
}

}  // namespace
}  // namespace vantorel::template_composition::testing
