// vantorel-template as a user runs it: `new` keeps a template already there
// unless told to replace it, and `preview` draws the worked example of
// docs/templates.md as a film through it prints.

#include "support/program_runner.h"

#include <QImage>

#include <gtest/gtest.h>

namespace vantorel::testing {
namespace {

ProgramResult templateTool(const TempHome& home, const QStringList& args)
{
    return runProgram(programPath("vantorel-template"), args, home.environment());
}

TEST(TemplateToolE2e, NewKeepsAnExistingTemplateUnlessForced)
{
    TempHome home;
    const QString folder = home.path() + "/ReportMode";
    const QString file = "ReportMode/A4-22.rpx";
    const QStringList make{"new", "--format", "STANDARD\\2,2", "--paper", "A4"};

    const ProgramResult first = templateTool(home, make + QStringList{folder});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, (folder + "/A4-22.rpx\n").toStdString());
    const QByteArray made = home.readFile(file);
    ASSERT_TRUE(made.contains("ActiveReportsLayout"));
    home.writeFile(file, made + "<!-- edited by hand -->\n");

    struct Case {
        const char* what;
        QStringList extra;
        int exitCode;
        bool edited;  // the hand-edited file is still there
    };
    const Case cases[] = {
        {"again", {}, 1, true},
        {"--force", {"--force"}, 0, false},
    };
    for (const Case& c : cases) {
        const ProgramResult result = templateTool(home, make + c.extra + QStringList{folder});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.what << ": " << result.err;
        EXPECT_EQ(home.readFile(file).contains("edited by hand"), c.edited) << c.what;
        if (c.edited) {
            EXPECT_NE(result.err.find("--force"), std::string::npos) << c.what << ": " << result.err;
        }
    }
    EXPECT_EQ(home.readFile(file), made);
}

// The worked example: Image1 zooms and centres its picture, and a standard
// film's other slots take that from it; the square placeholders therefore
// print 5183 twips square, 1008 twips below the top of their 7200-twip slots.
const char* const workedExample = R"(<?xml version="1.0" encoding="UTF-8"?>
<ActiveReportsLayout Version="2.0">
  <PageSettings Orientation="1" PaperWidth="11906" PaperHeight="16838"
                LeftMargin="720" RightMargin="720" TopMargin="720" BottomMargin="720"/>
  <Sections>
    <Section Type="Detail" Name="Detail">
      <Control Type="AR.Label" Name="Title" Left="0" Top="0" Width="10466" Height="600"
               Caption="CT 2x2" Style="font-family: Arial; font-size: 18pt; font-weight: bold"/>
      <Control Type="AR.Line" Name="Rule" X1="0" Y1="700" X2="10466" Y2="700" LineWeight="30"/>
      <Control Type="AR.Image" Name="Image1" Left="0" Top="800" Width="5183" Height="7200"
               SizeMode="2" PictureAlignment="2"/>
      <Control Type="AR.Image" Name="Image2" Left="5283" Top="800" Width="5183" Height="7200"/>
      <Control Type="AR.Image" Name="Image3" Left="0" Top="8100" Width="5183" Height="7200"/>
      <Control Type="AR.Image" Name="Image4" Left="5283" Top="8100" Width="5183" Height="7200"/>
    </Section>
  </Sections>
</ActiveReportsLayout>
)";

TEST(TemplateToolE2e, PreviewFillsSlotsAsAFilmDoes)
{
    TempHome home;
    home.writeFile("A4-22.rpx", workedExample);
    const QString png = home.path() + "/preview.png";
    // 11906 twips to 11906 / 10 pixels: one pixel is 10 twips.
    const ProgramResult result =
        templateTool(home, {"preview", home.path() + "/A4-22.rpx", png, "--width", "1191"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const QImage preview(png);
    ASSERT_EQ(preview.width(), 1191);

    const auto white = [&](double xTwips, double yTwips) {
        return preview.pixel(qRound(xTwips / 10), qRound(yTwips / 10)) == qRgb(255, 255, 255);
    };
    // Each slot from the sheet's corner: margin plus its place on the page.
    struct Slot {
        const char* name;
        double left, top;
    };
    const Slot places[] = {
        {"Image1", 720, 720 + 800},
        {"Image2", 720 + 5283, 720 + 800},
        {"Image3", 720, 720 + 8100},
        {"Image4", 720 + 5283, 720 + 8100},
    };
    for (const Slot& s : places) {
        const double middle = s.left + 5183 / 2.0;
        EXPECT_TRUE(white(middle, s.top + 500)) << s.name << ": paper above the centred picture";
        EXPECT_FALSE(white(middle, s.top + 1008 + 300)) << s.name << ": the picture";
        EXPECT_FALSE(white(middle, s.top + 1008 + 5183 - 300)) << s.name << ": the picture";
        EXPECT_TRUE(white(middle, s.top + 7200 - 500)) << s.name << ": paper below the centred picture";
    }
}

TEST(TemplateToolE2e, PreviewRefusesATemplateTheServerWouldNotUse)
{
    TempHome home;
    // Image2 missing: a film of its images would not print.
    QByteArray gap(workedExample);
    gap.replace("Name=\"Image2\"", "Name=\"Picture2\"");
    home.writeFile("A4-22.rpx", gap);
    const ProgramResult result =
        templateTool(home, {"preview", home.path() + "/A4-22.rpx", home.path() + "/preview.png"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("would not use it"), std::string::npos) << result.err;
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/preview.png"));
}

}  // namespace
}  // namespace vantorel::testing
