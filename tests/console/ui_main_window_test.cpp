#include "console/ui/main_window.h"

#include "console/ui/message_box_operator_messages.h"
#include "console/ui/pages/film_preview_page.h"
#include "console/ui/pages/run_log_page.h"
#include "console/ui/status_panels.h"
#include "framed_settings_pages.h"
#include "ui_fakes.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vantorel::console::ui {
namespace {

using testing::RecordingMessages;
using testing::TestHome;

class UiMainWindow : public ::testing::Test {
protected:
    TestHome home;
    base::FixedClock clock{base::LocalDateTime{2014, 3, 5, 7, 8, 9}};
    RecordingMessages messages;
    MainWindow window{home.path(), clock, messages, framedPages()};
};

TEST_F(UiMainWindow, SelectingAnEntryInTheListShowsItsPage)
{
    window.addNavigationEntries(firstNavigationEntries() + laterNavigationEntries(true));
    auto* list = window.findChild<QListWidget*>("navigation");
    ASSERT_NE(list, nullptr);
    for (int row = 0; row < list->count(); ++row) {
        const QString text = list->item(row)->text();
        list->setCurrentRow(row);
        EXPECT_EQ(window.currentPage(), pageForEntry(text)) << text.toStdString();
    }
    // The run log page loads today's log when it is selected: here there is none.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "抱歉，日志文件【" + home.pathText() + "/LOG/2014-3-5.log】未找到。");
}

TEST_F(UiMainWindow, ClickingTheCurrentEntryAgainSelectsItAgain)
{
    window.addNavigationEntries(firstNavigationEntries() + laterNavigationEntries(false));
    window.show();
    auto* list = window.findChild<QListWidget*>("navigation");
    auto click = [list](const QString& text) {
        QListWidgetItem* item = list->findItems(text, Qt::MatchExactly).first();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    };
    click("运行日志");
    EXPECT_EQ(window.currentPage(), PageKey::RunLog);
    ASSERT_EQ(messages.shown.size(), 1u);  // today's log is missing
    click("运行日志");
    EXPECT_EQ(messages.shown.size(), 2u);  // loaded (and reported) once more
    click("关于");
    EXPECT_EQ(window.currentPage(), PageKey::About);
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(UiMainWindow, UnknownEntryTextShowsTheAboutPage)
{
    window.showPage(PageKey::Print);
    window.selectEntry("什么");
    EXPECT_EQ(window.currentPage(), PageKey::About);
}

TEST_F(UiMainWindow, StatusBarHasNinePanelsInOrder)
{
    StatusPanels& panels = window.statusPanels();
    panels.setPrintCount(12);
    panels.setListenPort("10000");
    panels.setListening(false);
    panels.setLocalAddress("192.168.1.5");
    const QStringList expectedFixed{"已打印胶片数", "12",     "监听端口",   "10000",
                                    "失败",         "IP地址", "192.168.1.5"};
    for (int panel = 1; panel <= 7; ++panel)
        EXPECT_EQ(panels.text(panel), expectedFixed[panel - 1]) << panel;
    panels.setListening(true);
    EXPECT_EQ(panels.text(5), "正常");
    // Nine panels; the printer problem beside them shows only while films do
    // not reach their printer, the listening problem only while the port is
    // being retried.
    auto* problem = window.statusBar()->findChild<QLabel*>("statusPanel_printerProblem");
    ASSERT_NE(problem, nullptr);
    auto* listenProblem = window.statusBar()->findChild<QLabel*>("statusPanel_listenProblem");
    ASSERT_NE(listenProblem, nullptr);
    EXPECT_TRUE(listenProblem->isHidden());
    EXPECT_EQ(window.statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).size(), 13);
    panels.setArchiveWaiting(3);
    EXPECT_EQ(panels.archiveWaitingText(), "档案待写入：3条");
    panels.setArchiveWaiting(0);
    EXPECT_TRUE(panels.archiveWaitingText().isEmpty());
    EXPECT_TRUE(problem->isHidden());
    panels.setPrinterProblem("/srv/FilmFile: No space left on device");
    EXPECT_FALSE(problem->isHidden());
    EXPECT_EQ(panels.printerProblemText(), "胶片未能打印：/srv/FilmFile: No space left on device");
    EXPECT_EQ(panels.text(2), "12");
    panels.setPrinterProblem("");
    EXPECT_TRUE(problem->isHidden());
    EXPECT_EQ(panels.printerProblemText(), "");
}

TEST(UiStatusPanels, DateAndTimeFollowTheClockInShortDateAndLongTimeForm)
{
    QStatusBar bar;
    QDateTime now(QDate(2014, 3, 5), QTime(7, 8, 9));
    StatusPanels panels(bar, [&now] { return now; });
    EXPECT_EQ(panels.text(8), "2014/3/5");
    EXPECT_EQ(panels.text(9), "7:08:09");
    now = QDateTime(QDate(2014, 12, 31), QTime(23, 59, 59));
    panels.refreshClock();
    EXPECT_EQ(panels.text(8), "2014/12/31");
    EXPECT_EQ(panels.text(9), "23:59:59");
}

TEST_F(UiMainWindow, PreviewKeepsTheLastFilmAndPrintCountReachesTheStatusBar)
{
    QImage first(100, 140, QImage::Format_RGB32);
    first.fill(Qt::white);
    QImage second(140, 100, QImage::Format_RGB32);
    second.fill(Qt::black);
    window.showFilm(first, "first");
    window.showFilm(second, "second");
    EXPECT_EQ(window.filmPreviewPage().lastFilm(), second);
    EXPECT_EQ(window.filmPreviewPage().caption(), "second");
    window.setPrintCount(7);
    EXPECT_EQ(window.statusPanels().text(2), "7");
}

TEST_F(UiMainWindow, ClosingTheWindowAnnouncesTheEnd)
{
    int closed = 0;
    QObject::connect(&window, &MainWindow::closed, [&closed] { ++closed; });
    window.show();
    window.close();
    EXPECT_EQ(closed, 1);
}

TEST(UiMessageBoxes, ShowTextTitleAndIconModallyUntilClosed)
{
    struct Case {
        base::MessageIcon icon;
        QMessageBox::Icon expected;
    };
    const Case cases[] = {{base::MessageIcon::Information, QMessageBox::Information},
                          {base::MessageIcon::Warning, QMessageBox::Warning},
                          {base::MessageIcon::Critical, QMessageBox::Critical}};
    for (const Case& c : cases) {
        MessageBoxOperatorMessages messages;
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool modal = false;
        messages.onShown = [&](QMessageBox& box) {
            text = box.text();
            title = box.windowTitle();
            icon = box.icon();
            QTimer::singleShot(0, &box, [&box, &modal] {
                modal = QApplication::activeModalWidget() == &box;
                box.accept();
            });
        };
        messages.show("监听端口失败：端口被占用，请更换端口号,否则不能正常打印。", "注意", c.icon);
        EXPECT_EQ(text, "监听端口失败：端口被占用，请更换端口号,否则不能正常打印。");
        EXPECT_EQ(title, "注意");
        EXPECT_EQ(icon, c.expected) << static_cast<int>(c.icon);
        EXPECT_TRUE(modal);
    }
}

}  // namespace
}  // namespace vantorel::console::ui
