#include "template_composition/grid_template.h"

#include <gtest/gtest.h>

namespace vantorel::template_composition {
namespace {

// Slot n's rectangle as "left,top,width,height" in whole twips.
std::vector<std::string> slots(const ReportLayout& layout)
{
    std::vector<std::string> rects;
    for (const ReportControl& c : layout.controls) {
        if (c.kind != ReportControl::Kind::Image)
            continue;
        rects.push_back(c.name + "@" + std::to_string(int(c.left)) + "," + std::to_string(int(c.top)) + "," +
                        std::to_string(int(c.width)) + "," + std::to_string(int(c.height)));
    }
    return rects;
}

TEST(GridTemplate, LaysSlotsOutInCellOrder)
{
    // A 10000 x 8000 twip area inside 500-twip margins, 100-twip gaps.
    struct Case {
        int orientation;
        const char* r_c;
        int cols, rows;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {1,
         "",
         2,
         2,
         {"Image1@0,0,4950,3950", "Image2@5050,0,4950,3950", "Image3@0,4050,4950,3950",
          "Image4@5050,4050,4950,3950"}},
        {1, "ROW", 2, 1, {"Image1@0,0,4950,3950", "Image2@5050,0,4950,3950", "Image3@0,4050,10000,3950"}},
        {1, "COL", 1, 2, {"Image1@0,0,4950,8000", "Image2@5050,0,4950,3950", "Image3@5050,4050,4950,3950"}},
        // Landscape turns the 9000 x 11000 paper.
        {2, "", 1, 1, {"Image1@0,0,10000,8000"}},
    };
    for (const Case& c : cases) {
        GridTemplateOptions options;
        options.orientation = c.orientation;
        options.r_c = c.r_c;
        options.cols = c.cols;
        options.rows = c.rows;
        options.paperWidth = c.orientation == 2 ? 9000 : 11000;
        options.paperHeight = c.orientation == 2 ? 11000 : 9000;
        options.margin = 500;
        options.gap = 100;
        const ReportLayout layout = gridTemplate(options);
        EXPECT_EQ(slots(layout), c.expected) << c.r_c << c.cols << c.rows;
        EXPECT_EQ(layout.page.orientation, c.orientation);
        ASSERT_FALSE(layout.controls.empty());
        EXPECT_EQ(layout.controls.front().kind, ReportControl::Kind::Shape);  // the black base first
    }
}

TEST(GridTemplate, KnowsThePapersOfTheRoutes)
{
    EXPECT_EQ(paperSizeOf("1417"), std::make_pair(20160.0f, 24480.0f));
    EXPECT_EQ(paperSizeOf("810"), std::make_pair(11520.0f, 14400.0f));
    EXPECT_NEAR(paperSizeOf("A4")->first, 11906, 1);
    EXPECT_NEAR(paperSizeOf("A4")->second, 16838, 1);
    EXPECT_FALSE(paperSizeOf("自定义1"));
}

}  // namespace
}  // namespace vantorel::template_composition
