// The DICOM, appearance and run settings pages, driven through their widgets.

#include "console/ui/pages/appearance_page.h"
#include "console/ui/pages/dicom_page.h"
#include "console/ui/pages/run_page.h"
#include "console/ui/status_panels.h"
#include "pages_fixture.h"
#include "settings/platform/autostart_entry.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>

namespace vantorel::testing {
namespace {

using SettingsPagesTest = PagesTest;

TEST_F(SettingsPagesTest, DicomSaveWritesConversionAndTitleThenHandsOverThePort)
{
    writeIni("PrtIni.ini", "[PrtIni]\r\nAE=ZQ\r\n");
    start();
    unlock();
    console::ui::DicomPage& page = pages->dicom();
    showPage(page);
    EXPECT_EQ(page.portEdit()->text(), QStringLiteral("10000"));
    EXPECT_TRUE(page.asReceived()->isChecked());
    QSignalSpy status(&page, &console::ui::DicomPage::listenStatusChanged);

    click(page.convert());
    EXPECT_TRUE(settings.forceConvert);  // acts before saving
    page.aeTitleEdit()->setText(QStringLiteral("  胶片AE "));
    page.portEdit()->setText(QStringLiteral(" 10001"));
    click(page.saveButton());
    EXPECT_EQ(fileBytes("PrtIni.ini"), gbk("[PrtIni]\r\nAE=胶片AE\r\nPrtBC=1\r\nPort=10001\r\n"));
    EXPECT_EQ(portControl.calls, std::vector<std::string>{" 10001"});
    EXPECT_EQ(settings.aeTitle, "ZQ");  // the Printer object keeps the title it was built with
    ASSERT_EQ(status.count(), 1);
    EXPECT_EQ(status[0][0].toString(), QStringLiteral("10001"));
    EXPECT_TRUE(status[0][1].toBool());  // listened anew
    EXPECT_TRUE(status[0][2].toBool());  // and listening

    click(page.asReceived());
    click(page.saveButton());
    EXPECT_FALSE(settings.forceConvert);
    EXPECT_EQ(fileBytes("PrtIni.ini"), gbk("[PrtIni]\r\nAE=胶片AE\r\nPrtBC=0\r\nPort=10001\r\n"));
    ASSERT_EQ(status.count(), 2);
    EXPECT_FALSE(status[1][1].toBool());
}

TEST_F(SettingsPagesTest, DicomSaveRefusesATitleOrPortTheServiceCannotUseAndWritesNothing)
{
    writeIni("PrtIni.ini", "[PrtIni]\r\nAE=ZQ\r\n");
    start();
    unlock();
    console::ui::DicomPage& page = pages->dicom();
    showPage(page);
    struct Case {
        const char* title;
        const char* port;
        const char* message;
    };
    const Case cases[] = {
        {"  ", "10001", "相机AE Title须为1到16个字符，设置未保存。"},
        {"ABCDEFGHIJKLMNOPQ", "10001", "相机AE Title须为1到16个字符，设置未保存。"},
        {"ZQ", "abc", "相机监听端口须为1到65535之间的整数，设置未保存。"},
        {"ZQ", "0", "相机监听端口须为1到65535之间的整数，设置未保存。"},
        {"ZQ", "65536", "相机监听端口须为1到65535之间的整数，设置未保存。"},
        {"ZQ", "104abc", "相机监听端口须为1到65535之间的整数，设置未保存。"},
        {"ZQ", "", "相机监听端口须为1到65535之间的整数，设置未保存。"},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        page.aeTitleEdit()->setText(QString::fromUtf8(c.title));
        page.portEdit()->setText(QString::fromUtf8(c.port));
        click(page.saveButton());
        ASSERT_EQ(messages.shown.size(), 1u) << c.title << " " << c.port;
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_EQ(fileBytes("PrtIni.ini"), gbk("[PrtIni]\r\nAE=ZQ\r\n")) << c.title << " " << c.port;
        EXPECT_EQ(page.portEdit()->text(), QString::fromUtf8(c.port));  // the input stays
    }
    EXPECT_TRUE(portControl.calls.empty());

    page.aeTitleEdit()->setText(QStringLiteral("ABCDEFGHIJKLMNOP"));  // 16: the most a title has
    page.portEdit()->setText(QStringLiteral("65535"));
    click(page.saveButton());
    EXPECT_EQ(portControl.calls, std::vector<std::string>{"65535"});
}

// A settings file that cannot be written is said once per save, with the
// file and the system's reason, and the page keeps what was typed.
TEST_F(SettingsPagesTest, ASaveThatCannotBeWrittenSaysSoOnceAndKeepsTheInput)
{
    start();
    unlock();
    QDir(home.path()).mkpath("PrtIni.ini");  // a folder where the file should be
    console::ui::DicomPage& page = pages->dicom();
    showPage(page);
    page.aeTitleEdit()->setText(QStringLiteral("CT1"));
    messages.shown.clear();
    click(page.saveButton());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "设置未能保存：" + home.pathText() + "/PrtIni.ini：Is a directory");
    EXPECT_EQ(messages.shown[0].title, "设置失败");
    EXPECT_EQ(page.aeTitleEdit()->text(), QStringLiteral("CT1"));

    messages.shown.clear();
    click(pages->run().saveButton());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "设置未能保存：" + home.pathText() + "/PrtIni.ini：Is a directory");
}

TEST_F(SettingsPagesTest, StatusPanelsFollowTheDicomPage)
{
    start();
    unlock();
    QStatusBar bar;
    console::ui::StatusPanels panels(bar);
    pages->followListenStatus(panels);
    pages->dicom().portEdit()->setText(QStringLiteral("10002 "));
    pages->dicom().save();
    EXPECT_EQ(panels.text(4), QStringLiteral("10002"));
    EXPECT_EQ(panels.text(5), QStringLiteral("True"));
}

TEST_F(SettingsPagesTest, AppearanceSelectionAppliesAtOnceAndSaveStoresIt)
{
    home.writeBytes("Skin/1.she", "QWidget {}");
    home.writeBytes("Skin/2.she", "QWidget {}");
    home.writeBytes("Skin/notes.txt", "");
    writeIni("PrtIni.ini", "[PrtIni]\r\nChk_Skin=0\r\nSkin=gone.she\r\n");
    start();
    console::ui::AppearancePage& page = pages->appearance();
    showPage(page);
    QListWidget* list = page.skinList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_FALSE(page.skinEnabledBox()->isChecked());

    click(page.saveButton());
    EXPECT_EQ(fileBytes("PrtIni.ini"), gbk("[PrtIni]\r\nChk_Skin=0\r\nSkin=\r\n"));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(skins.applied, QStringList{home.path() + "/Skin/2.she"});  // skins off, applied all the same
    click(page.skinEnabledBox());
    click(page.saveButton());
    EXPECT_EQ(fileBytes("PrtIni.ini"), gbk("[PrtIni]\r\nChk_Skin=1\r\nSkin=2.she\r\n"));
    EXPECT_EQ(settings.skinFile, "gone.she");  // acts at the next start
}

TEST_F(SettingsPagesTest, AppearanceShowsTheStoredSkinSelectedWithoutApplyingIt)
{
    home.writeBytes("Skin/1.she", "QWidget {}");
    home.writeBytes("Skin/3.she", "QWidget {}");
    writeIni("PrtIni.ini", "[PrtIni]\r\nSkin=3.she\r\n");
    start();
    const auto selected = pages->appearance().skinList()->selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0]->text(), QStringLiteral("3.she"));
    EXPECT_TRUE(skins.applied.isEmpty());
}

class RunPageTest : public PagesTest {
protected:
    void SetUp() override
    {
        previous_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previous_); }

private:
    QTemporaryDir config_;
    QByteArray previous_;
};

TEST_F(RunPageTest, FilmSavingSwitchesThePurgeTimerAndSaveWritesAutostartThenKeys)
{
    writeIni("PrtIni.ini", "[PrtIni]\r\nSaveFilm=0\r\nChk_AutoRun=0\r\n");
    start();
    unlock();
    console::ui::RunPage& page = pages->run();
    showPage(page);
    EXPECT_FALSE(page.saveFilmsBox()->isChecked());
    EXPECT_FALSE(page.autoRunBox()->isChecked());
    EXPECT_FALSE(settings.saveFilms);
    EXPECT_FALSE(purgeTimer.on);

    click(page.saveFilmsBox());
    EXPECT_TRUE(purgeTimer.on);
    EXPECT_TRUE(settings.saveFilms);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "选择【保存当前月份的胶片】并点击【保存设置】按钮后，重新运行软件，可以显示【胶片管理】功能。");
    EXPECT_EQ(messages.shown[0].title, "Vantorel");
    EXPECT_EQ(messages.shown[0].icon, base::MessageIcon::None);

    click(page.autoRunBox());
    click(page.saveButton());
    EXPECT_TRUE(settings::AutostartEntry::exists());
    EXPECT_EQ(fileBytes("PrtIni.ini"), gbk("[PrtIni]\r\nSaveFilm=1\r\nChk_AutoRun=1\r\n"));

    click(page.saveFilmsBox());
    EXPECT_FALSE(settings.saveFilms);
    EXPECT_FALSE(purgeTimer.on);
    EXPECT_EQ(messages.shown.size(), 1u);  // unchecking says nothing
    click(page.autoRunBox());
    click(page.saveButton());
    EXPECT_FALSE(settings::AutostartEntry::exists());
    EXPECT_EQ(fileBytes("PrtIni.ini"), gbk("[PrtIni]\r\nSaveFilm=0\r\nChk_AutoRun=0\r\n"));
}

TEST_F(RunPageTest, SavedFilmSavingStartsCheckedWithThePurgeTimerAndNoMessage)
{
    writeIni("PrtIni.ini", "[PrtIni]\r\nSaveFilm=1\r\n");
    start();
    console::ui::RunPage& page = pages->run();
    EXPECT_TRUE(page.saveFilmsBox()->isChecked());
    EXPECT_TRUE(settings.saveFilms);  // what the template road reads
    EXPECT_TRUE(purgeTimer.on);

    unlock();
    showPage(page);
    click(page.saveFilmsBox());
    EXPECT_FALSE(settings.saveFilms);
    EXPECT_FALSE(purgeTimer.on);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace vantorel::testing
