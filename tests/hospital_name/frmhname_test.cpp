#include "hospital_name/qt/name_picture.h"
#include "hospital_name/ui/frmhname.h"
#include "hospital_name/ui/header_editor_window.h"

#include "base/gbk.h"
#include "settings/header_settings.h"
#include "settings/settings_store.h"
#include "support/memory_run_log.h"
#include "support/sandbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace vantorel::hospital_name::ui {
namespace {

class FrmhnameTest : public ::testing::Test {
protected:
    FrmhnameTest() : store_(home_.path()), opener_(store_, header_, log_) {}

    Frmhname* openEditor()
    {
        opener_.open(&owner_);
        return opener_.window();
    }
    template <typename T> T* child(Frmhname* window, const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    std::vector<bool> editingWidgetsEnabled(Frmhname* window)
    {
        std::vector<bool> enabled;
        for (const char* name :
             {"hospitalName", "textStyle", "leftStart", "topStart", "savePicture", "undoPicture"})
            enabled.push_back(child<QWidget>(window, name)->isEnabled());
        return enabled;
    }

    testing::Sandbox home_;
    settings::SettingsStore store_;
    settings::HeaderSettings header_;
    testing::MemoryRunLog log_;
    HeaderEditorWindow opener_;
    QWidget owner_;
};

TEST_F(FrmhnameTest, OneNonModalWindowOwnedByTheMainWindow)
{
    header_.hname = "第一人民医院";
    header_.hleft = "600";
    Frmhname* window = openEditor();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("医院名称设置"));
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), &owner_);
    EXPECT_EQ(window->windowModality(), Qt::NonModal);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(child<QLineEdit>(window, "hospitalName")->text(), QStringLiteral("第一人民医院"));
    EXPECT_EQ(child<QLineEdit>(window, "leftStart")->text(), QStringLiteral("600"));
    // No base picture: a plain white preview.
    EXPECT_EQ(window->preview().size(), QSize(600, 64));
    EXPECT_EQ(window->preview().pixel(100, 30), qRgb(255, 255, 255));

    opener_.open(&owner_);
    EXPECT_EQ(opener_.window(), window) << "opening again raises the same window";

    // A closed window is gone; the next one loads afresh.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(opener_.window(), nullptr);
    header_.hname = "第二医院";
    EXPECT_EQ(child<QLineEdit>(openEditor(), "hospitalName")->text(), QStringLiteral("第二医院"));
}

TEST_F(FrmhnameTest, CustomPictureBoxSwitchesEditingAndWritesTheKey)
{
    ASSERT_TRUE(store_.writeSetting("自定义图片", "图片医院名称", "1", settings::files::hospital));
    Frmhname* window = openEditor();
    auto* box = child<QCheckBox>(window, "customPicture");
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(editingWidgetsEnabled(window), std::vector<bool>(6, false));
    EXPECT_EQ(header_.yyname, "1");

    box->click();
    EXPECT_EQ(editingWidgetsEnabled(window), std::vector<bool>(6, true));
    EXPECT_EQ(header_.yyname, "0");
    EXPECT_EQ(store_.readSetting("自定义图片", "图片医院名称", "", settings::files::hospital), "0");
}

TEST_F(FrmhnameTest, TypedFieldsReachTheEditorAndTheBasePictureIsShown)
{
    QImage base(320, 48, QImage::Format_RGB32);
    base.fill(QColor(230, 240, 250));
    ASSERT_TRUE(base.save(QString::fromStdString(home_.file("医院名称.bmp")), "BMP"));
    Frmhname* window = openEditor();
    EXPECT_EQ(window->preview().size(), QSize(320, 48));
    EXPECT_EQ(window->preview().pixel(5, 5), qRgb(230, 240, 250));

    auto* name = child<QLineEdit>(window, "hospitalName");
    name->clear();
    QTest::keyClicks(name, QStringLiteral("Central Hospital"));
    QTest::keyClicks(child<QLineEdit>(window, "topStart"), QStringLiteral("5"));  // after the "0" shown
    EXPECT_EQ(window->editor().state().name, "Central Hospital");
    EXPECT_EQ(window->editor().state().top, "05");
}

// Chinese text typed at the cursor, as an input method hands it over.
void typeText(QLineEdit* edit, const QString& text)
{
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &typed);
}

// Pixels of `image` that are not white.
int inkOf(const QImage& image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    return ink;
}

TEST_F(FrmhnameTest, PreviewDrawsTheNameAsTypedAndSaysWhenItDoesNotFit)
{
    header_.hname = "";
    header_.hzt = "Noto Sans CJK SC";
    header_.hzh = "20";
    Frmhname* window = openEditor();
    auto* note = child<QLabel>(window, "previewNote");
    EXPECT_EQ(inkOf(window->shownPreview()), 0);

    auto* name = child<QLineEdit>(window, "hospitalName");
    typeText(name, QStringLiteral("医"));
    const int oneCharacter = inkOf(window->shownPreview());
    EXPECT_GT(oneCharacter, 30);
    typeText(name, QStringLiteral("院名称"));
    EXPECT_GT(inkOf(window->shownPreview()), 2 * oneCharacter) << "redrawn at every change";
    EXPECT_EQ(window->shownPreview(),
              renderHospitalName(loadBasePicture({}), "医院名称", window->editor().state().style));
    EXPECT_EQ(inkOf(window->preview()), 0) << "typing writes nothing into the picture a save writes";
    EXPECT_TRUE(note->text().isEmpty());

    typeText(name, QStringLiteral("第一人民医院放射科影像中心胶片打印室及远程会诊中心"));
    EXPECT_EQ(note->text(), QString::fromUtf8(Frmhname::nameTooLong));
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(inkOf(window->shownPreview()), 0);
    EXPECT_TRUE(note->text().isEmpty());
}

TEST_F(FrmhnameTest, CloseButtonClosesTheWindow)
{
    Frmhname* window = openEditor();
    auto* close = child<QPushButton>(window, "closeEditor");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("关闭"));
    close->click();
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(opener_.window(), nullptr);
}

}  // namespace
}  // namespace vantorel::hospital_name::ui
