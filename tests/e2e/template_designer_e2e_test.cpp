// The film template designer in the real program under a private X server:
// opened from the print page's "胶片格式设计" (no designer program beside the
// program), a 2x2 A4 template laid out, one slot dragged and nudged with the
// arrow keys, saved under the name the template chooser looks for, and a
// film printed through it on "FilmFile" with the window still open. The
// moved slot is sampled on the PDF page. The screenshot is kept in the build
// folder's screenshots/.

#include "support/dicom_image_files.h"
#include "support/pdf_pages.h"
#include "window_e2e.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

namespace vantorel::testing {
namespace {

const QString designerTitle = QStringLiteral("胶片格式设计");
constexpr double twipsPerMm = 1440.0 / 25.4;
// A4 in twips, as the designer lays it out.
constexpr double sheetWidth = 210 * twipsPerMm;
constexpr double sheetHeight = 297 * twipsPerMm;
constexpr double margin = 360;

class TemplateDesignerE2e : public WindowE2e {
protected:
    void SetUp() override
    {
        WindowE2e::SetUp();
        if (IsSkipped())
            return;
        home_.copyRuntime();
        // The first route's paper is A4 (index 1 of the paper codes).
        home_.setting(settings::files::prtIni, "PrtIni", "FilmSize_1", "1");
        program_ = std::make_unique<RunningProgram>(home_, x_->display());
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(home_.reportPath()); }))
            << program_->errorOutput().toStdString();
    }

    QString command(const QString& line) { return program_->command(line); }
    void expectOk(const QString& line) { ASSERT_EQ(command(line), "ok") << line.toStdString(); }

    // Waits for the dialog with this title to wait for an answer, and gives it.
    void answer(const QString& title, const QString& how)
    {
        ASSERT_TRUE(waitFor([&] { return command("modal") == "modal=" + title; }))
            << title.toStdString() << ": " << command("modal").toStdString();
        ASSERT_EQ(command("answer " + how), "ok") << how.toStdString();
    }

    // A control's attribute in the saved template.
    static double attribute(const QByteArray& rpx, const QString& control, const QString& name)
    {
        const QRegularExpression element("<Control [^>]*Name=\"" + control + "\"[^>]*>");
        const QString tag = element.match(QString::fromUtf8(rpx)).captured(0);
        const QRegularExpression value(name + "=\"([-0-9.e]+)\"");
        const auto match = value.match(tag);
        return match.hasMatch() ? match.captured(1).toDouble() : -1;
    }

    std::unique_ptr<RunningProgram> program_;
};

TEST_F(TemplateDesignerE2e, MovedSlotOfASavedTemplateIsWhereTheFilmPrintsIt)
{
    const QString d = QStringLiteral("FilmTemplateDesigner/");
    ASSERT_EQ(command("page 打印设置"), "ok");
    expectOk("type printPage/password qarvo517");
    expectOk("click printPage/templateMode");
    ASSERT_TRUE(waitFor([&] { return command("state printPage/designer").startsWith("enabled=1"); }));
    expectOk("click printPage/designer");
    ASSERT_TRUE(waitFor([&] { return x_->viewableWindowWithTitle(designerTitle); }))
        << x_->windowTree().toStdString();
    // Not modal: the main window goes on taking the operator's clicks.
    EXPECT_EQ(command("modal"), "modal=");

    // 2x2 on A4 portrait, with a 40 mm gap between the slots.
    expectOk("choose " + d + "paper A4");
    expectOk("type " + d + "cols 2");
    expectOk("type " + d + "rows 2");
    expectOk("type " + d + "gap 40");
    expectOk("click " + d + "layOut");
    const QString target = home_.path() + "/ReportMode/A4-22.rpx";
    ASSERT_TRUE(waitFor([&] {
        return command("state " + d + "fileName").endsWith("text=保存为：" + target);
    })) << command("state " + d + "fileName").toStdString();

    // Image1 (left 0 .. 78.65 mm) is dragged 20 mm right, then two more
    // millimetres with the arrow key, and set to stretch its picture.
    const double fromX = (margin + 40 * twipsPerMm) / sheetWidth,
                 y = (margin + 60 * twipsPerMm) / sheetHeight;
    const double toX = fromX + 20 * twipsPerMm / sheetWidth;
    expectOk(QStringLiteral("drag %1canvas %2 %3 %4 %3").arg(d).arg(fromX).arg(y).arg(toX));
    EXPECT_TRUE(command("state " + d + "selection").contains("Image1"))
        << command("state " + d + "selection").toStdString();
    expectOk("key " + d + "canvas Right");
    expectOk("key " + d + "canvas Right");
    expectOk("choose " + d + "sizeMode 1 拉伸");

    expectOk("click " + d + "save");
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(target); }));
    const QByteArray saved = home_.readFile("ReportMode/A4-22.rpx");
    const double left = attribute(saved, "Image1", "Left"), width = attribute(saved, "Image1", "Width");
    EXPECT_NEAR(left / twipsPerMm, 22, 1.01) << saved.toStdString();
    EXPECT_NEAR(std::fmod(left / twipsPerMm + 0.5, 1.0), 0.5, 0.01) << "on the millimetre grid";
    EXPECT_EQ(attribute(saved, "Image1", "SizeMode"), 1);
    EXPECT_EQ(attribute(saved, "Image2", "Left"), attribute(saved, "Image4", "Left")) << "the others stay";

    // Saving again asks first; "否" leaves the file as it was.
    expectOk("click " + d + "save");
    answer("请确认", "no");
    EXPECT_EQ(home_.readFile("ReportMode/A4-22.rpx"), saved);

    const QImage shot = x_->screenshot(screenshotDir + "/film_template_designer.png");
    EXPECT_FALSE(shot.isNull());

    // A film through the template while the designer stays open.
    QStringList film{"--format", "STANDARD\\2,2"};
    for (int level : {50, 100, 150, 200})
        film << "--image" << writeFlatImage(home_.path(), level);
    ASSERT_EQ(sendFilm(port_, film), 0);
    ASSERT_TRUE(waitFor([&] { return filmFiles(home_).size() == 1; }));
    const QImage page = renderPdfPage(home_.path() + "/FilmFile/" + filmFiles(home_).front(), 50);
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(double(page.width()) / page.height(), 210.0 / 297, 0.01) << "an A4 sheet";
    const auto grey = [&page](double xTwips, double yTwips) {
        return meanGrey(page, int((margin + xTwips) / sheetWidth * page.width()),
                        int((margin + yTwips) / sheetHeight * page.height()), 2);
    };
    const double row = 60 * twipsPerMm;
    // The moved slot's right part lies in what was the gap: image 1 is there now.
    EXPECT_NEAR(grey(left + width - 5 * twipsPerMm, row), 50, 8);
    // Where it was, the black base shows.
    EXPECT_LT(grey(5 * twipsPerMm, row), 12);
    // Image 2 where the grid put it.
    EXPECT_NEAR(grey(attribute(saved, "Image2", "Left") + 30 * twipsPerMm, row), 100, 8);
    EXPECT_TRUE(x_->viewableWindowWithTitle(designerTitle));
}

}  // namespace
}  // namespace vantorel::testing
