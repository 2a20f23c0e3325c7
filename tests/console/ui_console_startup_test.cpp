#include "console/ui/console_startup.h"

#include "console/ui/main_window.h"
#include "console/ui/pages/about_page.h"
#include "console/ui/pages/settings_pages.h"
#include "console/ui/status_panels.h"
#include "framed_settings_pages.h"
#include "settings/print_count.h"
#include "settings/settings_store.h"
#include "support/memory_run_log.h"
#include "ui_fakes.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace vantorel::console::ui {
namespace {

using testing::Events;
using testing::FixedPrintCount;
using testing::MemoryRunLog;
using testing::RecordingMessages;
using testing::RecordingServices;
using testing::TestHome;

class UiConsoleStartup : public ::testing::Test {
protected:
    ~UiConsoleStartup() override { qApp->setStyleSheet(QString()); }

    void write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value)
    {
        EXPECT_TRUE(store.writeSetting(section, key, value, file)) << key;
    }
    void givePrinterList() { write(settings::files::prtLst, "PrtLst0", "0", "FilmFile"); }

    StartupOutcome start(bool windowSystem = true)
    {
        StartupContext context{home.path(),       store,    count,
                               installedPrinters, clock,    log,
                               messages,          services, *static_cast<QApplication*>(qApp),
                               windowSystem};
        return ConsoleStartup(context, settings, window).run();
    }

    TestHome home;
    settings::SettingsStore store{home.pathText()};
    FixedPrintCount printCount;              // the stored count
    settings::PrintCount count{printCount};  // the run's count, read by start-up
    const settings::InstalledPrinters installedPrinters{"FilmFile"};
    base::FixedClock clock{base::LocalDateTime{2014, 3, 5, 7, 8, 9}};
    MemoryRunLog log;
    Events events;
    RecordingMessages messages{&events};
    RecordingServices services{events};
    settings::Settings settings;
    MainWindow window{home.path(), clock, messages, framedPages()};
};

TEST_F(UiConsoleStartup, EmptyHomeRunsEveryStepInOrderWithTheDefaults)
{
    bool windowShownBeforeMessage = false;
    messages.onShow = [&] { windowShownBeforeMessage = window.isVisible(); };

    const StartupOutcome outcome = start();

    EXPECT_TRUE(outcome.skipped.empty());
    EXPECT_EQ(outcome.ran.size(), 21u);
    // The missing printer list is reported once, after the window is shown
    // and after the service listens with its Printer object built.
    const Events expected{"viewer tools",          "report page",    "listen",
                          "print objects",         "printer object", "film lut",
                          "message:打印机设置无效"};
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(windowShownBeforeMessage);
    EXPECT_EQ(messages.shown[0].text,
              "配置文件未找到，打印机设置无效：" + home.pathText() + "/PrtLst/PrtLst.ini");

    EXPECT_EQ(window.navigationEntries(),
              (QStringList{"胶片预览", "DICOM设置", "打印设置", "界面设置", "运行设置", "运行日志", "关于"}));
    EXPECT_EQ(window.currentPage(), PageKey::FilmPreview);
    EXPECT_EQ(window.windowTitle(), "Vantorel V4.1");
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.hasLogo());
    StatusPanels& panels = window.statusPanels();
    EXPECT_EQ(panels.text(2), "0");
    EXPECT_EQ(panels.text(4), "10000");
    EXPECT_EQ(panels.text(5), "正常");
    EXPECT_FALSE(panels.text(7).isEmpty());
    EXPECT_EQ(services.printerAeTitle, "ZQ");
    EXPECT_FLOAT_EQ(services.reportPage.paperWidth, 20125.0f);
    EXPECT_FLOAT_EQ(services.reportPage.paperHeight, 24478.7f);
    EXPECT_FLOAT_EQ(services.reportPage.marginLeft + services.reportPage.marginTop +
                        services.reportPage.marginRight + services.reportPage.marginBottom,
                    0.0f);
    auto& pages = static_cast<FramedSettingsPages&>(window.settingsPages());
    EXPECT_EQ(pages.filmDateFrom(), QDate(2014, 3, 5));
    EXPECT_EQ(pages.filmDateTo(), QDate(2014, 3, 5));
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(UiConsoleStartup, HandWrittenFilesSetTitleAboutLinesEntriesAndCount)
{
    givePrinterList();
    write(settings::files::prtIni, "PrtIni", "SaveFilm", "1");
    write(settings::files::prtIni, "PrtIni", "Port", " 11112 ");
    write(settings::files::about, "About", "程序窗口_文字", "胶片服务器");
    write(settings::files::about, "About", "1", "第一人民医院");
    write(settings::files::about, "About", "8", "电话 123");
    printCount.write(42);

    start();

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(window.navigationEntries().size(), 8);
    EXPECT_TRUE(window.navigationEntries().contains("胶片管理"));
    EXPECT_EQ(window.windowTitle(), "胶片服务器");
    EXPECT_EQ(window.aboutPage().line(0), "第一人民医院");
    EXPECT_EQ(window.aboutPage().line(7), "电话 123");
    EXPECT_EQ(window.statusPanels().text(2), "42");
    EXPECT_EQ(window.statusPanels().text(4), "11112");
}

TEST_F(UiConsoleStartup, WindowStaysHiddenUnlessVisibleAndAWindowSystemIsThere)
{
    struct Case {
        const char* frmVisiable;
        bool windowSystem;
        bool visible;
    };
    const Case cases[] = {{"1", true, true}, {"0", true, false}, {"yes", true, false}, {"1", false, false}};
    for (const Case& c : cases) {
        MainWindow fresh(home.path(), clock, messages, framedPages());
        write(settings::files::prtIni, "PrtIni", "FrmVisiable", c.frmVisiable);
        givePrinterList();
        StartupContext context{home.path(),       store,    count,
                               installedPrinters, clock,    log,
                               messages,          services, *static_cast<QApplication*>(qApp),
                               c.windowSystem};
        ConsoleStartup(context, settings, fresh).run();
        EXPECT_EQ(fresh.isVisible(), c.visible) << c.frmVisiable << " " << c.windowSystem;
    }
}

TEST_F(UiConsoleStartup, ListeningFailureShowsFailedInTheStatusBar)
{
    givePrinterList();
    services.listenSucceeds = false;
    start();
    EXPECT_EQ(window.statusPanels().text(5), "失败");
}

TEST_F(UiConsoleStartup, FailingStepIsSkippedAndTheNextOnesRun)
{
    givePrinterList();
    home.writeBytes("logo.jpg", QByteArray());
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(home.path() + "/logo.jpg", "JPG"));
    services.failingStep = "print objects";

    const StartupOutcome outcome = start();

    EXPECT_EQ(outcome.skipped, std::vector<std::string>{"print objects"});
    EXPECT_EQ(outcome.ran.size(), 20u);
    EXPECT_EQ(events.back(), "film lut");
    EXPECT_TRUE(window.hasLogo());
    EXPECT_TRUE(log.contains("start-up step skipped: print objects: broken print objects"));
}

TEST_F(UiConsoleStartup, SkinIsAppliedOnlyWhenSwitchedOnAndPresent)
{
    const QByteArray sheet = "#navigation { background: #123456; }";
    home.writeBytes("Skin/1.she", sheet);
    home.writeBytes("Skin/2.she", "QWidget { color: red; }");
    home.writeBytes("Skin/readme.txt", "not a skin");
    givePrinterList();
    struct Case {
        const char* chkSkin;
        const char* skin;
        QString applied;
    };
    const Case cases[] = {{"1", " 1.she ", QString::fromUtf8(sheet)},
                          {"0", "1.she", QString()},
                          {"1", "missing.she", QString()},
                          {"1", "", QString()}};
    for (const Case& c : cases) {
        qApp->setStyleSheet(QString());
        write(settings::files::prtIni, "PrtIni", "Chk_Skin", c.chkSkin);
        write(settings::files::prtIni, "PrtIni", "Skin", c.skin);
        MainWindow fresh(home.path(), clock, messages, framedPages());
        StartupContext context{home.path(),
                               store,
                               count,
                               installedPrinters,
                               clock,
                               log,
                               messages,
                               services,
                               *static_cast<QApplication*>(qApp),
                               false};
        const StartupOutcome outcome = ConsoleStartup(context, settings, fresh).run();
        EXPECT_TRUE(outcome.skipped.empty()) << c.chkSkin << c.skin;
        EXPECT_EQ(qApp->styleSheet(), c.applied) << c.chkSkin << " " << c.skin;
        EXPECT_EQ(static_cast<FramedSettingsPages&>(fresh.settingsPages()).skinFiles(),
                  (QStringList{"1.she", "2.she"}));
    }
}

TEST_F(UiConsoleStartup, HeaderPrintingOffClearsTheHeaderBand)
{
    givePrinterList();
    write(settings::files::prtIni, "PrtIni", "打印医院名称", "0");

    start();

    EXPECT_EQ(settings.header.htjcs, 0);
    EXPECT_EQ(settings.printHeader, 0);
}

}  // namespace
}  // namespace vantorel::console::ui
