#include "template_composition/qt/rpx_file.h"
#include "template_composition/ui/design_canvas.h"
#include "template_composition/ui/film_template_designer.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vantorel::template_composition::ui {
namespace {

const QString handmade = QStringLiteral(VANTOREL_TEMPLATE_FIXTURES "/handmade-22.rpx");

TEST(FilmTemplateDesigner, OpensATemplateMovesASlotWithTheKeysAndSavesItWhole)
{
    QTemporaryDir home;
    FilmTemplateDesigner designer(nullptr, home.path());
    ASSERT_TRUE(designer.openFile(handmade));
    EXPECT_EQ(designer.targetPath(), home.path() + "/ReportMode/handmade-22.rpx");
    EXPECT_EQ(designer.findChild<QLabel*>("fileName")->text(), "保存为：" + designer.targetPath());

    // Image1 is picked with the mouse and moved 2 mm right and 1 mm down.
    auto* canvas = designer.findChild<DesignCanvas*>("canvas");
    const ReportControl& image1 = designer.design().control(2);
    ASSERT_EQ(image1.name, "Image1");
    const float left = image1.left, top = image1.top;
    const double s = canvas->scale();
    const auto page = designer.design().page();
    QTest::mouseClick(canvas, Qt::LeftButton, {},
                      QPoint(int((page.marginLeft + left + 500) * s), int((page.marginTop + top + 500) * s)));
    ASSERT_EQ(canvas->selected(), std::optional<std::size_t>(2));
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
        QTest::keyClick(canvas, key);

    ASSERT_TRUE(designer.save());
    const auto saved = RpxTemplateLoader().load(designer.targetPath().toStdString());
    ASSERT_TRUE(saved) << saved.reason();
    // From 0 / 800 twips: snapped to the millimetre grid, then moved.
    EXPECT_NEAR(saved->controls[2].left, 2 * twipsPerMm, 0.01);
    EXPECT_NEAR(saved->controls[2].top, std::round(800 / twipsPerMm + 1) * twipsPerMm, 0.01);
    QFile file(designer.targetPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    for (const char* kept :
         {"Sub ActiveReport_ReportStart", "AR.TextBox", "PageHeader", "text-align: center"})
        EXPECT_TRUE(bytes.contains(kept)) << kept;
}

TEST(FilmTemplateDesigner, SaysWhyAGridCannotBeLaidOut)
{
    QTemporaryDir home;
    FilmTemplateDesigner designer(nullptr, home.path());
    EXPECT_EQ(designer.design().fileName(), "1417-11.rpx") << "a first grid";
    designer.findChild<QSpinBox*>("cols")->setValue(7);
    designer.findChild<QSpinBox*>("rows")->setValue(7);
    EXPECT_FALSE(designer.layOut());
    EXPECT_TRUE(designer.findChild<QLabel*>("status")->text().startsWith("无法生成："));
    EXPECT_EQ(designer.design().fileName(), "1417-11.rpx") << "the page as it was";
}

}  // namespace
}  // namespace vantorel::template_composition::ui
