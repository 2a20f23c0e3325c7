#include "console/ui/run_log_viewer.h"

#include "base/run_log.h"
#include "console/ui/main_window.h"
#include "console/ui/pages/run_log_page.h"
#include "framed_settings_pages.h"
#include "ui_fakes.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace vantorel::console::ui {
namespace {

using testing::RecordingMessages;
using testing::TestHome;

const base::LocalDateTime evening{2014, 3, 5, 23, 59, 58};
const base::LocalDateTime afterMidnight{2014, 3, 6, 0, 0, 5};

class UiRunLogViewer : public ::testing::Test {
protected:
    UiRunLogViewer()
    {
        base::FileRunLog log(home.pathText(), clock);
        log.write("监听端口=10000");
        log.write("监听端口状态=True");
    }

    std::string missing(const QString& path) const
    {
        return "抱歉，日志文件【" + path.toStdString() + "】未找到。";
    }

    QString logPath(const char* name) const { return home.path() + "/LOG/" + name; }

    TestHome home;
    base::FixedClock clock{evening};
    RecordingMessages messages;
    std::optional<QString> answer;  // what the save dialog returns
    RunLogViewer viewer{home.path(), clock, messages, [this] { return answer; }};
};

TEST_F(UiRunLogViewer, ShowsTodaysFileDecodedFromGbk)
{
    viewer.showLog();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(viewer.shownPath(), logPath("2014-3-5.log"));
    EXPECT_EQ(viewer.text(),
              "[2014/3/5 23:59:58]    监听端口=10000\r\n[2014/3/5 23:59:58]    监听端口状态=True\r\n");
}

TEST_F(UiRunLogViewer, RefreshAfterMidnightKeepsTheOldTextAndReportsTheNewFileMissing)
{
    viewer.showLog();
    const QString before = viewer.text();
    clock.set(afterMidnight);
    viewer.showLog();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, missing(logPath("2014-3-6.log")));
    EXPECT_EQ(messages.shown[0].title, "提示");
    EXPECT_EQ(messages.shown[0].icon, base::MessageIcon::Information);
    EXPECT_EQ(viewer.text(), before);
    EXPECT_EQ(viewer.shownPath(), logPath("2014-3-5.log"));

    // "另存" still copies the file that is shown.
    answer = home.path() + "/kept";
    viewer.saveLog();
    EXPECT_TRUE(QFileInfo::exists(home.path() + "/kept.log"));
}

TEST_F(UiRunLogViewer, SaveAppendsLogToTheChosenNameAndReplacesAnExistingFile)
{
    viewer.showLog();
    QFile original(viewer.shownPath());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();

    home.writeBytes("backup.log", "older content that must go");
    struct Case {
        QString chosen;
        const char* created;
    };
    const Case cases[] = {
        {home.path() + "/backup", "backup.log"},
        {home.path() + "/backup.log", "backup.log.log"},
        {"  " + home.path() + "/trimmed  ", "trimmed.log"},
    };
    for (const Case& c : cases) {
        answer = c.chosen;
        viewer.saveLog();
        QFile copy(home.path() + "/" + c.created);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << c.created;
        EXPECT_EQ(copy.readAll(), bytes) << c.created;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UiRunLogViewer, SaveReportsWhatCannotBeSaved)
{
    // Nothing shown yet: the empty path is reported like a missing file.
    answer = home.path() + "/never";
    viewer.saveLog();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "抱歉，日志文件【】未找到。");
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/never.log"));

    viewer.showLog();
    answer = "   ";
    viewer.saveLog();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "请输入文件名后再另存。");
    EXPECT_EQ(messages.shown[1].title, "提示");

    // A cancelled dialog and a copy into a missing folder end silently.
    answer.reset();
    viewer.saveLog();
    answer = home.path() + "/no/such/folder/copy";
    viewer.saveLog();
    EXPECT_EQ(messages.shown.size(), 2u);

    // The shown file deleted meanwhile: reported with its path.
    QFile::remove(viewer.shownPath());
    answer = home.path() + "/gone";
    viewer.saveLog();
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[2].text, missing(logPath("2014-3-5.log")));
}

TEST_F(UiRunLogViewer, ABlankNameInAFolderIsNoNameEither)
{
    // The dialog answers with a whole path; a blank name typed in a folder
    // must not save the log beside the folder as "<folder>.log".
    viewer.showLog();
    QDir(home.path()).mkdir("chosen");
    for (const QString& blankInFolder : {home.path() + "/chosen/   ", home.path() + "/chosen/"}) {
        answer = blankInFolder;
        const std::size_t before = messages.shown.size();
        viewer.saveLog();
        ASSERT_EQ(messages.shown.size(), before + 1) << blankInFolder.toStdString();
        EXPECT_EQ(messages.shown.back().text, "请输入文件名后再另存。");
        EXPECT_FALSE(QFileInfo::exists(home.path() + "/chosen.log")) << blankInFolder.toStdString();
    }
}

TEST_F(UiRunLogViewer, SavingTheLogOntoItselfKeepsIt)
{
    viewer.showLog();
    const qint64 size = QFileInfo(viewer.shownPath()).size();
    answer = home.path() + "/LOG/2014-3-5";
    viewer.saveLog();
    EXPECT_EQ(QFileInfo(viewer.shownPath()).size(), size);
}

TEST_F(UiRunLogViewer, PageShowsTheLogWhenSelectedAndOnRefresh)
{
    MainWindow window(home.path(), clock, messages, framedPages());
    window.addNavigationEntries({"运行日志"});
    window.selectEntry("运行日志");
    RunLogPage& page = window.runLogPage();
    EXPECT_TRUE(page.shownText().contains("监听端口状态=True"));

    base::FileRunLog(home.pathText(), clock).write("胶片打印完成");
    EXPECT_FALSE(page.shownText().contains("胶片打印完成"));
    page.findChild<QPushButton*>("refreshLog")->click();
    EXPECT_TRUE(page.shownText().contains("胶片打印完成"));

    page.setFileNameQuestion([this] { return std::optional<QString>(home.path() + "/backup"); });
    page.findChild<QPushButton*>("saveLog")->click();
    EXPECT_TRUE(QFileInfo::exists(home.path() + "/backup.log"));
    EXPECT_TRUE(messages.shown.empty());
}

// The file chosen in the dialog is not the file written ("<name>.log"), so
// the dialog must not ask whether to overwrite the chosen one.
TEST_F(UiRunLogViewer, SaveDialogDoesNotAskAboutOverwritingTheChosenName)
{
    MainWindow window(home.path(), clock, messages, framedPages());
    window.addNavigationEntries({"运行日志"});
    window.selectEntry("运行日志");
    RunLogPage& page = window.runLogPage();
    std::optional<bool> confirms;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            dialog->reject();
        }
    });
    page.findChild<QPushButton*>("saveLog")->click();
    ASSERT_TRUE(confirms.has_value()) << "no save dialog was shown";
    EXPECT_FALSE(*confirms);
}

}  // namespace
}  // namespace vantorel::console::ui
