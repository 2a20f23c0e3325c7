#include "template_composition/template_design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vantorel::template_composition {
namespace {

constexpr float mm = twipsPerMm;

// Image1 ... of the layout as "name@left,top,width,height" in whole twips.
std::vector<std::string> rects(const ReportLayout& layout)
{
    std::vector<std::string> out;
    for (const ReportControl& c : layout.controls)
        if (c.kind == ReportControl::Kind::Image)
            out.push_back(c.name + "@" + std::to_string(std::lround(c.left)) + "," +
                          std::to_string(std::lround(c.top)) + "," + std::to_string(std::lround(c.width)) +
                          "," + std::to_string(std::lround(c.height)));
    return out;
}

DesignRequest request(const char* paper, int orientation, const char* format)
{
    DesignRequest r;
    r.paperCode = paper;
    r.grid.orientation = orientation;
    EXPECT_TRUE(parseDisplayFormat(format, r.grid)) << format;
    return r;
}

TemplateDesign a4TwoByTwo()
{
    auto design = TemplateDesign::newGrid(request("A4", 1, "STANDARD\\2,2"));
    EXPECT_TRUE(design) << design.reason();
    return *design;
}

TEST(TemplateDesign, NewGridIsTheToolsGridUnderTheChoosersName)
{
    struct Case {
        const char* paper;
        int orientation;
        const char* format;
        float widthMm, heightMm;
        const char* name;
    };
    const Case cases[] = {
        {"A4", 1, "STANDARD\\2,2", 0, 0, "A4-22.rpx"},
        {"1417", 2, "STANDARD\\3,2", 0, 0, "L1417-32.rpx"},
        {"810", 1, "ROW\\1,2", 0, 0, "ROW810-12.rpx"},
        {"A3", 2, "COL\\2,1", 0, 0, "LCOLA3-21.rpx"},
        {"自定义2", 1, "STANDARD\\1,1", 200, 300, "自定义2-11.rpx"},
    };
    for (const Case& c : cases) {
        DesignRequest r = request(c.paper, c.orientation, c.format);
        r.customWidthMm = c.widthMm;
        r.customHeightMm = c.heightMm;
        const auto design = TemplateDesign::newGrid(r);
        ASSERT_TRUE(design) << c.name << ": " << design.reason();
        EXPECT_EQ(design->fileName(), c.name);
        // The same slots as the grid of `vantorel-template new` on that paper.
        GridTemplateOptions grid = r.grid;
        if (c.widthMm > 0) {
            grid.paperWidth = c.widthMm * mm;
            grid.paperHeight = c.heightMm * mm;
        } else {
            std::tie(grid.paperWidth, grid.paperHeight) = *paperSizeOf(c.paper);
        }
        EXPECT_EQ(rects(design->layout()), rects(gridTemplate(grid))) << c.name;
        EXPECT_EQ(design->page().orientation, c.orientation) << c.name;
        EXPECT_FLOAT_EQ(design->page().paperWidth, grid.paperWidth) << c.name;
    }
}

TEST(TemplateDesign, RefusesGridsThatCannotBeTemplates)
{
    struct Case {
        const char* paper;
        const char* format;
        float widthMm;
        float margin;
        const char* why;
    };
    const Case cases[] = {
        {"B4", "STANDARD\\1,1", 0, 360, "unknown paper"},
        {"自定义1", "STANDARD\\1,1", 0, 360, "custom paper"},
        {"1417", "STANDARD\\6,8", 0, 360, "42 slots"},
        {"1417", "ROW\\3,3", 0, 360, "5 for ROW"},
        {"810", "STANDARD\\1,1", 0, 6000, "no room"},
    };
    for (const Case& c : cases) {
        DesignRequest r = request(c.paper, 1, c.format);
        r.customWidthMm = r.customHeightMm = c.widthMm;
        r.grid.margin = c.margin;
        const auto design = TemplateDesign::newGrid(r);
        EXPECT_FALSE(design) << c.paper << " " << c.format;
        EXPECT_NE(design.reason().find(c.why), std::string::npos) << design.reason();
    }
}

TEST(TemplateDesign, MovesSnapToWholeMillimetresAndStayOnTheSheet)
{
    // A4 portrait, 360-twip margins: the sheet spans -360 ... 11546 across.
    struct Case {
        float left, top;
        float expectLeft, expectTop;
        bool farEdge;
    };
    const Case cases[] = {
        {20.4f * mm, 10.6f * mm, 20 * mm, 11 * mm, false},
        {-0.4f * mm, 0.2f * mm, 0, 0, false},
        {-50 * mm, -50 * mm, -360, -360, false},  // held at the sheet's edge
        {500 * mm, 500 * mm, 0, 0, true},         // the far edge less the size
    };
    for (const Case& c : cases) {
        TemplateDesign design = a4TwoByTwo();
        const std::size_t image1 = 1;  // after the base
        ASSERT_EQ(design.control(image1).name, "Image1");
        const float width = design.control(image1).width, height = design.control(image1).height;
        const ReportPageSettings page = design.page();
        design.moveTo(image1, c.left, c.top);
        const float expectLeft = c.farEdge ? page.sheetWidth() - page.marginLeft - width : c.expectLeft;
        const float expectTop = c.farEdge ? page.sheetHeight() - page.marginTop - height : c.expectTop;
        EXPECT_NEAR(design.control(image1).left, expectLeft, 0.01) << c.left;
        EXPECT_NEAR(design.control(image1).top, expectTop, 0.01) << c.top;
        EXPECT_FLOAT_EQ(design.control(image1).width, width) << "a move keeps the size";
    }
}

TEST(TemplateDesign, ArrowKeysNudgeByOneMillimetre)
{
    TemplateDesign design = a4TwoByTwo();
    const std::size_t image4 = 4;
    design.moveTo(image4, 50 * mm, 100 * mm);
    design.nudge(image4, 1, 0);
    design.nudge(image4, 1, 0);
    design.nudge(image4, 0, -1);
    EXPECT_NEAR(design.control(image4).left, 52 * mm, 0.01);
    EXPECT_NEAR(design.control(image4).top, 99 * mm, 0.01);
}

TEST(TemplateDesign, ResizesSnapTheFarEdgesAndKeepAMinimum)
{
    TemplateDesign design = a4TwoByTwo();
    const std::size_t image1 = 1;
    design.moveTo(image1, 10 * mm, 10 * mm);
    design.resizeTo(image1, 40.3f * mm, 0.1f * mm);
    EXPECT_NEAR(design.control(image1).width, 40 * mm, 0.01);
    EXPECT_NEAR(design.control(image1).height, 2 * mm, 0.01);
    design.resizeTo(image1, 1000 * mm, 30 * mm);  // not past the sheet
    EXPECT_NEAR(design.control(image1).left + design.control(image1).width,
                design.page().sheetWidth() - design.page().marginLeft, 0.01);
}

TEST(TemplateDesign, LinesMoveBothEndsAndResizeAlongTheirLength)
{
    TemplateDesign design = a4TwoByTwo();
    const std::size_t line = design.addLine(true);
    EXPECT_EQ(design.control(line).name, "Line1");
    design.moveTo(line, 5 * mm, 7 * mm);
    design.resizeTo(line, 80 * mm, 0);
    const ReportControl& c = design.control(line);
    EXPECT_NEAR(c.x1, 5 * mm, 0.01);
    EXPECT_NEAR(c.y1, 7 * mm, 0.01);
    EXPECT_NEAR(c.x2, 85 * mm, 0.01);
    EXPECT_NEAR(c.y2, 7 * mm, 0.01);
    EXPECT_NEAR(c.width, 80 * mm, 0.01);
}

TEST(TemplateDesign, FindsTheTopmostVisibleControlAtAPoint)
{
    TemplateDesign design = a4TwoByTwo();
    const std::size_t label = design.addLabel("CT", "Arial", 12, true);
    design.moveTo(label, 0, 0);
    const std::size_t line = design.addLine(false);
    design.moveTo(line, 150 * mm, 0);
    EXPECT_EQ(design.controlAt(1 * mm, 1 * mm), label);          // over Image1
    EXPECT_EQ(design.controlAt(150.5f * mm, 20 * mm), line);     // within the line's band
    EXPECT_EQ(design.controlAt(1 * mm, 200 * mm), 3u);           // Image3
    EXPECT_EQ(design.controlAt(-5 * mm, 1 * mm), std::nullopt);  // in the margin
    const float gapX = design.control(2).left - 0.5f;            // between Image1 and Image2
    EXPECT_EQ(design.controlAt(gapX, 100 * mm), std::nullopt) << "the base is not picked";
    EXPECT_EQ(design.control(0).name, "Base");
}

TEST(TemplateDesign, NewControlsTakeFreeNamesAndRemovalsKeepKeptElementsInPlace)
{
    ReportLayout layout;
    for (const char* name : {"Image1", "Label1", "Image2"}) {
        ReportControl c;
        c.name = name;
        c.kind = name[0] == 'L' ? ReportControl::Kind::Label : ReportControl::Kind::Image;
        layout.controls.push_back(c);
    }
    KeptElement textBox;
    textBox.name = "Control";
    layout.kept.detailElements.emplace_back(3, textBox);  // after Image2
    TemplateDesign design = TemplateDesign::fromLayout(layout, "A4-12.rpx");
    EXPECT_NEAR(design.page().paperWidth, 11906, 1) << "the paper of the name's code";
    EXPECT_EQ(design.control(design.addLabel("x", "Arial", 10, false)).name, "Label2");
    EXPECT_TRUE(design.isSlot(0));
    EXPECT_FALSE(design.isSlot(1));
    design.remove(1);
    ASSERT_EQ(design.layout().kept.detailElements.size(), 1u);
    EXPECT_EQ(design.layout().kept.detailElements[0].first, 2u);
    EXPECT_EQ(design.control(1).name, "Image2");
}

TEST(TemplateDesign, WritesFilesWholeThroughATemporaryFile)
{
    std::string folder = (std::filesystem::temp_directory_path() / "vantorel-design-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(folder.data()));
    const auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    const std::string path = folder + "/A4-22.rpx";
    for (const char* bytes : {"first", "second"}) {
        const base::Result<void> written = writeTemplateFile(path, bytes);
        ASSERT_TRUE(written) << written.reason();
    }
    EXPECT_EQ(read(path), "second");
    const base::Result<void> refused = writeTemplateFile(folder + "/missing/A4-22.rpx", "x");
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.reason().find("No such file"), std::string::npos) << refused.reason();
    // Nothing but the template is left in the folder.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vantorel::template_composition
