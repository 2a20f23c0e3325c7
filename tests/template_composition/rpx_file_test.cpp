#include "direct_composition/qt/film_page_painter.h"
#include "support/memory_run_log.h"
#include "template_composition/qt/rpx_file.h"
#include "template_composition/qt/template_preview.h"
#include "template_composition/template_design.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantorel::template_composition {
namespace {

const std::string handmade = std::string(VANTOREL_TEMPLATE_FIXTURES) + "/handmade-22.rpx";

TEST(RpxFile, ReadsAHandWrittenLayoutAndIgnoresWhatItDoesNotUse)
{
    RpxTemplateLoader loader;
    const auto layout = loader.load(handmade);
    ASSERT_TRUE(layout) << layout.reason();
    EXPECT_EQ(layout->page.orientation, 1);
    EXPECT_FLOAT_EQ(*layout->page.paperWidth, 11906);
    EXPECT_FLOAT_EQ(*layout->page.paperHeight, 16838);
    EXPECT_FLOAT_EQ(*layout->page.marginLeft, 720);
    EXPECT_FLOAT_EQ(*layout->page.marginBottom, 720);

    std::vector<std::string> names;
    for (const auto& control : layout->controls)
        names.push_back(control.name);
    // Only the detail section, only the control types a film uses.
    EXPECT_EQ(names, (std::vector<std::string>{"Title", "Rule", "Image1", "Image2", "Image3", "Image4"}));
    const auto& title = layout->controls[0];
    EXPECT_EQ(title.text, "CT 2x2");
    EXPECT_TRUE(title.bold);
    EXPECT_DOUBLE_EQ(title.fontSize, 18);
    const auto& image1 = layout->controls[2];
    EXPECT_FLOAT_EQ(image1.top, 800);
    EXPECT_FLOAT_EQ(image1.width, 5183);
    EXPECT_EQ(image1.sizeMode, SizeMode::Zoom);
    EXPECT_EQ(image1.pictureAlignment, PictureAlignment::Center);
    EXPECT_TRUE(layout->controls[3].visible);
    EXPECT_EQ(layout->controls[3].sizeMode, SizeMode::Stretch);
    EXPECT_EQ(layout->controls[4].sizeMode, SizeMode::Clip);
    EXPECT_FLOAT_EQ(layout->controls[1].y1, 700);
}

TEST(RpxFile, IgnoresValuesThatAreNoLengths)
{
    const auto layout = parseRpx(
        "<ActiveReportsLayout><PageSettings PaperWidth=\"nan\" PaperHeight=\"-5\" LeftMargin=\"1e30\"/>"
        "<Sections><Section Type=\"Detail\"><Control Type=\"AR.Image\" Name=\"Image1\" Left=\"inf\" "
        "Width=\"x\" Height=\"900\" SizeMode=\"7\"/></Section></Sections></ActiveReportsLayout>");
    ASSERT_TRUE(layout) << layout.reason();
    EXPECT_FALSE(layout->page.paperWidth);
    EXPECT_FALSE(layout->page.paperHeight);
    EXPECT_FALSE(layout->page.marginLeft);
    ASSERT_EQ(layout->controls.size(), 1u);
    EXPECT_FLOAT_EQ(layout->controls[0].left, 0);
    EXPECT_FLOAT_EQ(layout->controls[0].width, 0);
    EXPECT_FLOAT_EQ(layout->controls[0].height, 900);
    EXPECT_EQ(layout->controls[0].sizeMode, SizeMode::Clip);
}

TEST(RpxFile, WritesWhatItReads)
{
    auto layout = RpxTemplateLoader().load(handmade);
    ASSERT_TRUE(layout);
    const auto again = parseRpx(writeRpx(*layout));
    ASSERT_TRUE(again) << again.reason();
    ASSERT_EQ(again->controls.size(), layout->controls.size());
    for (std::size_t i = 0; i < again->controls.size(); ++i) {
        const auto& a = again->controls[i];
        const auto& b = layout->controls[i];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_FLOAT_EQ(a.left, b.left);
        EXPECT_FLOAT_EQ(a.height, b.height);
        EXPECT_EQ(a.visible, b.visible);
        EXPECT_EQ(a.sizeMode, b.sizeMode);
        EXPECT_EQ(a.pictureAlignment, b.pictureAlignment);
    }
    EXPECT_EQ(again->page.orientation, layout->page.orientation);
}

TEST(RpxFile, KeepsWhatItDoesNotReadThroughALoadAndSave)
{
    auto layout = RpxTemplateLoader().load(handmade);
    ASSERT_TRUE(layout) << layout.reason();
    // A designer moves a slot and saves.
    TemplateDesign design = TemplateDesign::fromLayout(*layout, "handmade-22.rpx");
    design.nudge(2, 3, 0);
    const QByteArray saved = writeRpx(design.layout());
    // Everything the server does not read is still there, in its place.
    const char* const kept[] = {
        "PrintWidth=\"10800\"",
        "ScriptLang=\"VBScript\"",
        "<Style Name=\"Normal\"",
        "Sub ActiveReport_ReportStart",
        "PaperKind=\"9\"",
        "<Parameters/>",
        "<Section Type=\"PageHeader\" Name=\"PageHeader\" Height=\"0\">",
        "Name=\"Image9\"",
        "KeepTogether=\"1\"",
        "LineStyle=\"0\"",
        "text-align: center",
        "<Control Type=\"AR.TextBox\" Name=\"Unused\"",
        "<Section Type=\"PageFooter\"",
    };
    for (const char* text : kept)
        EXPECT_TRUE(saved.contains(text)) << text << "\n" << saved.toStdString();
    const auto order = [&saved](const char* a, const char* b) { return saved.indexOf(a) < saved.indexOf(b); };
    EXPECT_TRUE(order("<StyleSheet>", "<PageSettings") && order("<PageSettings", "<Parameters/>") &&
                order("PageHeader", "Detail") && order("Name=\"Image4\"", "AR.TextBox") &&
                order("AR.TextBox", "PageFooter"));

    const auto again = parseRpx(saved);
    ASSERT_TRUE(again) << again.reason();
    EXPECT_FLOAT_EQ(again->controls[2].left, layout->controls[2].left + 3 * twipsPerMm) << "the move";
    EXPECT_EQ(again->controls.size(), layout->controls.size()) << "and no more controls read";
    // A second round trip writes the same file.
    EXPECT_EQ(writeRpx(*again), saved);
}

TEST(RpxFile, CarriesAPictureOfItsOwnAndPrintsIt)
{
    QImage logo(40, 20, QImage::Format_RGB888);
    logo.fill(QColor(200, 30, 40));
    ReportLayout layout;
    layout.page.paperWidth = 11906;
    layout.page.paperHeight = 16838;
    TemplateDesign design = TemplateDesign::fromLayout(layout, "A4-11.rpx");
    const std::size_t picture = design.addPicture(direct_composition::fromQImage(logo));
    design.moveTo(picture, 10 * twipsPerMm, 20 * twipsPerMm);
    const auto read = parseRpx(writeRpx(design.layout()));
    ASSERT_TRUE(read) << read.reason();
    ASSERT_EQ(read->controls.size(), 1u);
    const ReportControl& c = read->controls[0];
    EXPECT_EQ(c.name, "Picture1");
    EXPECT_EQ(c.picture.width, 40);
    ASSERT_TRUE(c.picture.pixels);
    EXPECT_EQ(*c.picture.pixels, *design.control(picture).picture.pixels);
    EXPECT_TRUE(c.keptChildren.empty());
    // On the page it is drawn, zoomed into its 30 x 15 mm box.
    const auto page = templatePreviewPage(*read);
    ASSERT_EQ(page.ops.size(), 1u);
    EXPECT_NEAR(page.ops[0].rect.x, 10 * twipsPerMm, 1);
    EXPECT_NEAR(page.ops[0].rect.width, 30 * twipsPerMm, 1);
}

TEST(RpxFile, RefusesFilesThatAreNoTemplate)
{
    QTemporaryDir folder;
    const auto write = [&folder](const char* name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return folder.filePath(name).toStdString();
    };
    QByteArray random(4096, 0);
    for (char& byte : random)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    QByteArray large(50 * 1024 * 1024, ' ');
    large.prepend("<ActiveReportsLayout>");
    struct Case {
        std::string path;
        const char* reason;
    };
    const Case cases[] = {
        {write("random.rpx", random), ""},
        {write("empty.rpx", {}), "empty file"},
        {write("large.rpx", large), "larger than a template can be"},
        {write("html.rpx", "<html><body/></html>"), "not a report layout"},
        {write("cut.rpx", "<ActiveReportsLayout><Sections><Section Type=\"Detail\">"), "malformed layout"},
        {folder.filePath("missing.rpx").toStdString(), "file not found"},
    };
    RpxTemplateLoader loader;
    for (const Case& c : cases) {
        const auto layout = loader.load(c.path);
        const std::string& error = layout.reason();
        EXPECT_FALSE(layout) << c.path;
        EXPECT_FALSE(error.empty()) << c.path;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.path << ": " << error;
    }
}

}  // namespace
}  // namespace vantorel::template_composition
