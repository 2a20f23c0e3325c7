#include "template_fakes.h"

#include "settings/settings_model.h"

#include <gtest/gtest.h>

namespace vantorel::template_composition::testing {
namespace {

int paperIndex(const std::string& code)
{
    const auto& codes = settings::paperCodeList();
    return static_cast<int>(std::find(codes.begin(), codes.end(), code) - codes.begin());
}

TEST(TemplateChooser, NamesTemplatesByOrientationFormatAndPaper)
{
    struct Case {
        const char* orientation;
        const char* filmSize;
        const char* r_c;
        std::int16_t cols, rows;
        const char* routePaper;
        const char* otherPaper;
        const char* expected;
    };
    const Case cases[] = {
        {"PORTRAIT", "14INX17IN", "", 2, 3, "1417", "A4", "/home/v/ReportMode/1417-23.rpx"},
        {"LANDSCAPE", "14INX17IN", "", 1, 1, "A3", "A4", "/home/v/ReportMode/LA3-11.rpx"},
        {"PORTRAIT", "24CMX30CM", "ROW", 2, 3, "1417", "a4", "/home/v/ReportMode/ROWA4-23.rpx"},
        {"LANDSCAPE", "14INX17IN", "COL", 1, 2, "自定义1", "A4", "/home/v/ReportMode/LCOL自定义1-12.rpx"},
        {"PORTRAIT", "14inx17in", "", 10, 2, "1417", "A4", "/home/v/ReportMode/1417-102.rpx"},
        {"portrait", "14INX17IN", "", 1, 1, "1417", "A4", "/home/v/ReportMode/1417-11.rpx"},
        {"", "14INX17IN", "", 1, 1, "1417", "A4", "/home/v/ReportMode/1417-11.rpx"},
        {"PORTRAIT", "24CMX30CM", "", 1, 1, "1417", "a3", "/home/v/ReportMode/A3-11.rpx"},
    };
    for (const Case& c : cases) {
        ChooserFixture f;
        f.settings.routePaperIndex[0] = paperIndex(c.routePaper);
        f.settings.otherPaper = c.otherPaper;
        f.choose(film(c.orientation, c.filmSize, c.r_c, c.cols, c.rows));
        EXPECT_EQ(f.chooser.lastTemplatePath(), c.expected) << c.orientation << " " << c.filmSize;
        ASSERT_EQ(f.loader.asked.size(), 1u) << c.expected;
        EXPECT_EQ(f.loader.asked[0], c.expected);
    }
}

TEST(TemplateChooser, TitlesTheJobWithTheTimeOfDay)
{
    ChooserFixture f;
    f.choose(film("PORTRAIT", "14INX17IN", "", 1, 1));
    EXPECT_EQ(f.report.documentName(), "09点05分07秒打印。");
}

TEST(TemplateChooser, OnlyExactOrientationsChangeThePage)
{
    ChooserFixture f;
    f.settings.routePaperIndex[0] = paperIndex("1417");
    f.choose(film("LANDSCAPE", "14INX17IN", "", 1, 1));
    EXPECT_EQ(f.report.page().orientation, 2);
    for (const char* other : {"portrait", "", "Portrait "}) {
        f.choose(film(other, "14INX17IN", "", 1, 1));
        EXPECT_EQ(f.report.page().orientation, 2) << other;
        EXPECT_EQ(f.chooser.lastTemplatePath(), "/home/v/ReportMode/1417-11.rpx") << other;
    }
    f.choose(film("PORTRAIT", "14INX17IN", "", 1, 1));
    EXPECT_EQ(f.report.page().orientation, 1);
}

TEST(TemplateChooser, RotatesRoute0WithItsCursorAndOtherRoutesWithTheirSelection)
{
    ChooserFixture f;
    f.settings.routePrinters[0] = {"P1", "P2", "P3"};
    f.settings.routePrinters[2] = {"P1", "P2", "P3"};
    f.settings.routePrinters[4] = {"Q1"};
    std::vector<std::string> route0, route2;
    std::vector<int> selections;
    for (int i = 0; i < 4; ++i) {
        f.choose(film("PORTRAIT", "14INX17IN", "", 1, 1));
        route0.push_back(f.report.printerName());
        f.choose(film("PORTRAIT", "11INX14IN", "", 1, 1));
        route2.push_back(f.chooser.CurrentPrinterName());
        selections.push_back(f.chooser.selectedEntry(2));
        f.choose(film("PORTRAIT", "8INX10IN", "", 1, 1));
        EXPECT_EQ(f.report.printerName(), "Q1");
    }
    EXPECT_EQ(route0, (std::vector<std::string>{"P2", "P3", "P1", "P2"}));
    EXPECT_EQ(route2, (std::vector<std::string>{"P1", "P2", "P3", "P1"}));
    EXPECT_EQ(selections, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(f.chooser.selectedEntry(0), -1);  // route 0 by size leaves its selection alone
    EXPECT_EQ(f.chooser.route0TemplateCursor(), 1);
}

TEST(TemplateChooser, SingleAndEmptyRoute0Lists)
{
    ChooserFixture f;
    f.settings.routePrinters[0] = {"P1"};
    for (int i = 0; i < 3; ++i) {
        f.choose(film("PORTRAIT", "14INX17IN", "", 1, 1));
        EXPECT_EQ(f.report.printerName(), "P1");
    }
    f.settings.routePrinters[0].clear();
    f.choose(film("PORTRAIT", "14INX17IN", "", 1, 1));
    EXPECT_EQ(f.report.printerName(), "");
}

TEST(TemplateChooser, RoutesByDevice)
{
    ChooserFixture f;
    f.settings.routeByDevice = true;
    f.settings.otherPrinterIndex = 1;
    f.settings.routeDeviceIp = {"10.0.0.9", "", "", "10.0.0.1", "", "10.0.0.1", "", ""};
    f.settings.routePrinters[3] = {"R3a", "R3b"};
    f.settings.routePrinters[5] = {"R5"};
    f.settings.routePrinters[0] = {"R0a", "R0b"};
    f.settings.routePaperIndex[3] = paperIndex("810");

    // Two routes list the caller: the lower-numbered one wins.
    f.choose(film("PORTRAIT", "14INX17IN", "", 1, 1, "10.0.0.1"));
    EXPECT_EQ(f.report.printerName(), "R3a");
    EXPECT_EQ(f.chooser.lastTemplatePath(), "/home/v/ReportMode/810-11.rpx");

    // An unknown film size goes to route 8 whoever sent it.
    f.choose(film("PORTRAIT", "24CMX30CM", "", 1, 1, "10.0.0.1"));
    EXPECT_EQ(f.report.printerName(), "CupsB");
    EXPECT_EQ(f.chooser.lastTemplatePath(), "/home/v/ReportMode/A4-11.rpx");

    // Route 0 chosen by device rotates by its selection: first film, first printer.
    f.choose(film("PORTRAIT", "14INX17IN", "", 1, 1, "10.0.0.9"));
    EXPECT_EQ(f.report.printerName(), "R0a");

    // A caller no route lists: only the title and the orientation change.
    const std::size_t asked = f.loader.asked.size();
    f.clock.set({2024, 3, 5, 23, 59, 1});
    f.choose(film("LANDSCAPE", "14INX17IN", "", 1, 1, "192.168.1.1"));
    EXPECT_EQ(f.report.documentName(), "23点59分01秒打印。");
    EXPECT_EQ(f.report.page().orientation, 2);
    EXPECT_EQ(f.report.printerName(), "R0a");
    EXPECT_EQ(f.chooser.CurrentPrinterName(), "R0a");
    EXPECT_EQ(f.loader.asked.size(), asked);
    EXPECT_EQ(f.chooser.lastTemplatePath(), "");
}

TEST(TemplateChooser, OtherPaperNeitherA3NorA4FormsNoTemplateButKeepsThePrinter)
{
    ChooserFixture f;
    f.settings.otherPaper = "B5";
    f.settings.otherPrinterIndex = 0;
    f.choose(film("PORTRAIT", "24CMX30CM", "", 1, 1));
    EXPECT_EQ(f.report.printerName(), "CupsA");
    EXPECT_TRUE(f.loader.asked.empty());
}

TEST(TemplateChooser, AMissingTemplateIsLoggedWithItsPathAndLeavesTheReportEmpty)
{
    ChooserFixture f;
    f.settings.routePaperIndex[0] = paperIndex("1417");
    ReportLayout two;
    two.controls = {imageSlot(1), imageSlot(2)};
    two.page.paperWidth = 11000;
    f.loader.templates["/home/v/ReportMode/1417-21.rpx"] = two;

    EXPECT_FALSE(f.chooser.repmod(f.report, film("PORTRAIT", "14INX17IN", "", 2, 1)));
    EXPECT_EQ(f.report.controls().size(), 2u);
    EXPECT_FLOAT_EQ(f.report.page().paperWidth, 11000);
    EXPECT_TRUE(f.log.lines.empty());

    // The next film starts empty: nothing of the 2x1 film's template stays.
    f.report.startFilm();
    EXPECT_EQ(f.chooser.repmod(f.report, film("PORTRAIT", "14INX17IN", "", 3, 3)),
              std::optional<std::string>("template 1417-33.rpx: file not found"));
    EXPECT_TRUE(f.report.controls().empty());
    EXPECT_NE(f.report.page().paperWidth, 11000);
    EXPECT_EQ(f.log.lines,
              (std::vector<std::string>{
                  "film template /home/v/ReportMode/1417-33.rpx not loaded: file not found"}));
}

}  // namespace
}  // namespace vantorel::template_composition::testing
