// Qt's own texts in Chinese: the standard buttons and dialogs the operator
// meets read as the rest of the console does.

#include "console/ui/qt_translations.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QMessageBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantorel::console::ui {
namespace {

// The button texts of a message box, as shown: Qt's "&" only marks the
// keyboard letter.
QStringList shownButtons(QMessageBox::StandardButtons which)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("请确认"), QStringLiteral("确认保存？"), which);
    QStringList texts;
    for (QAbstractButton* button : box.buttons())
        texts << button->text().remove('&');
    return texts;
}

TEST(QtChineseTranslation, StandardButtonsAndDialogsReadChinese)
{
    const QtChineseTranslation translation;
    ASSERT_TRUE(translation.installed()) << translation.fileName().toStdString();

    struct Case {
        QMessageBox::StandardButtons buttons;
        QStringList shown;
    };
    const Case cases[] = {
        {QMessageBox::Yes | QMessageBox::No, {"是(Y)", "否(N)"}},
        {QMessageBox::Ok | QMessageBox::Cancel, {"确定", "取消"}},
        {QMessageBox::Ok, {"确定"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shownButtons(c.buttons), c.shown) << c.shown.join('|').toStdString();

    // The header editor's text style goes through these two.
    EXPECT_EQ(QFontDialog().windowTitle(), QStringLiteral("选择字体"));
    EXPECT_EQ(QColorDialog().windowTitle(), QStringLiteral("选择颜色"));
}

// The font dialog starts on the style of the font it is given, in Chinese as
// in English: bold stays bold when the operator only changes the size.
TEST(QtChineseTranslation, FontDialogStartsOnTheFontsOwnStyle)
{
    const QtChineseTranslation translation;
    ASSERT_TRUE(translation.installed());
    const QString family = QStringLiteral("Noto Sans CJK SC");
    if (!QFontDatabase::hasFamily(family))
        GTEST_SKIP() << "fonts-noto-cjk is not installed";
    for (const bool bold : {true, false}) {
        QFont font(family);
        font.setPointSizeF(20);
        font.setBold(bold);
        QFontDialog dialog;
        dialog.setCurrentFont(withFontStyleName(font));
        EXPECT_EQ(dialog.currentFont().bold(), bold) << "bold " << bold;
        EXPECT_EQ(dialog.currentFont().pointSizeF(), 20.0);
        EXPECT_EQ(dialog.currentFont().family(), family);
    }
}

TEST(QtChineseTranslation, MissingFileLeavesQtTextsAsTheyAre)
{
    QTemporaryDir empty;
    {
        const QtChineseTranslation translation(empty.path());
        EXPECT_FALSE(translation.installed());
        EXPECT_EQ(translation.fileName(), empty.path() + "/qtbase_zh_CN.qm");
        EXPECT_EQ(shownButtons(QMessageBox::Yes | QMessageBox::No), QStringList({"Yes", "No"}));
    }
    // Once the translation object is gone, so are its texts.
    {
        const QtChineseTranslation translation;
        ASSERT_TRUE(translation.installed());
    }
    EXPECT_EQ(shownButtons(QMessageBox::Ok), QStringList({"OK"}));
}

}  // namespace
}  // namespace vantorel::console::ui
