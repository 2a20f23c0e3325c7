// The console window of the real program under a private X server: title,
// mapped or not, navigation, status bar, skin, the start-up messages, and
// closing the window. Screenshots are kept in the build folder's screenshots/.

#include "window_e2e.h"

#include "support/echo_probe.h"

#include <QColor>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace vantorel::testing {
namespace {

class ConsoleWindowE2e : public WindowE2e {
protected:
    std::unique_ptr<RunningProgram> start() { return std::make_unique<RunningProgram>(home_, x_->display()); }

    bool startUpFinished() const { return QFileInfo::exists(home_.reportPath()); }

    QImage screenshot(const char* name) const { return x_->screenshot(screenshotDir + "/" + name + ".png"); }

    // Waits for the message box with `title`, keeps a screenshot of it and
    // closes it as the operator would.
    void closeMessageBox(const QString& title, const char* screenshotName)
    {
        ASSERT_TRUE(waitFor([&] { return x_->viewableWindowWithTitle(title); }))
            << title.toStdString() << "\n"
            << x_->windowTree().toStdString();
        EXPECT_FALSE(startUpFinished()) << "start-up went on behind the modal message";
        screenshot(screenshotName);
        ASSERT_TRUE(x_->closeWindow(*x_->windowWithTitle(title)));
    }
};

// Share of the screenshot's pixels close to `colour`.
double shareOfColour(const QImage& image, QColor colour, int tolerance = 24)
{
    if (image.isNull())
        return 0;
    int near = 0, all = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4, ++all) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance &&
                std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance)
                ++near;
        }
    }
    return all ? double(near) / all : 0;
}

TEST_F(ConsoleWindowE2e, DefaultHomeShowsTheSkinnedWindowAndClosingItEndsTheProgram)
{
    home_.copyRuntime();
    auto program = start();
    ASSERT_TRUE(waitFor([&] { return startUpFinished(); })) << program->errorOutput().toStdString();
    ASSERT_TRUE(waitFor([&] { return x_->viewableWindowWithTitle("Vantorel V4.1"); }))
        << x_->windowTree().toStdString();

    const auto report = home_.report();
    EXPECT_EQ(report["entries"], "胶片预览|DICOM设置|打印设置|界面设置|运行设置|运行日志|关于");
    EXPECT_EQ(report["page"], "胶片预览");
    const QStringList panels{"已打印胶片数", "0", "监听端口", QString::number(port_), "正常", "IP地址"};
    for (int i = 0; i < panels.size(); ++i)
        EXPECT_EQ(report[QString("panel%1").arg(i + 1)], panels[i]) << i + 1;
    EXPECT_FALSE(report["panel7"].isEmpty());
    EXPECT_TRUE(report["panel8"].contains('/'));
    EXPECT_TRUE(report["panel9"].contains(':'));
    const QString log = home_.runLog();
    EXPECT_TRUE(log.contains("监听端口=" + QString::number(port_))) << log.toStdString();
    EXPECT_TRUE(log.contains("监听端口状态=True")) << log.toStdString();

    // Skin 1 paints the navigation side in deep blue; without it the window is grey.
    const QImage shot = screenshot("console_default");
    EXPECT_GT(shareOfColour(shot, QColor(0x1b, 0x44, 0x78), 30), 0.05);

    // A film printed on "FilmFile" (every row of the runtime printer list)
    // shows on the preview page, and the count in the status bar.
    ASSERT_EQ(sendFilm(port_, {"--format", "STANDARD\\2,2"}), 0);
    ASSERT_TRUE(waitFor([&] { return home_.report()["panel2"] == "1"; }));
    EXPECT_EQ(filmFiles(home_).size(), 1);
    // The preview is drawn once the N-ACTION has been answered.
    EXPECT_TRUE(waitFor([&] { return home_.report()["film"] == "1000x1415"; }))
        << home_.report()["film"].toStdString();
    const QImage withFilm = screenshot("console_film_preview");
    // The white sheet of the preview now covers part of the page area.
    EXPECT_GT(shareOfColour(withFilm, QColor(255, 255, 255), 4),
              shareOfColour(shot, QColor(255, 255, 255), 4) + 0.05);

    ASSERT_TRUE(x_->closeWindow(*x_->windowWithTitle("Vantorel V4.1")));
    EXPECT_EQ(program->waitForEnd(), 0);
}

TEST_F(ConsoleWindowE2e, TitleFromAboutIniAndEightEntriesWhenFilmSavingWasOn)
{
    home_.copyRuntime();
    home_.setting(settings::files::about, "About", "程序窗口_文字", "胶片服务器 二号");
    home_.setting(settings::files::about, "About", "1", "第一人民医院放射科");
    home_.setting(settings::files::prtIni, "PrtIni", "SaveFilm", "1");
    home_.setting(settings::files::prtIni, "PrtIni", "Skin", "2.she");
    QImage logo(200, 80, QImage::Format_RGB32);
    logo.fill(QColor(200, 40, 40));
    logo.save(home_.path() + "/logo.jpg", "JPG");

    auto program = start();
    ASSERT_TRUE(waitFor([&] { return startUpFinished(); }));
    ASSERT_TRUE(waitFor([&] { return x_->viewableWindowWithTitle("胶片服务器 二号"); }))
        << x_->windowTree().toStdString();
    const auto report = home_.report();
    EXPECT_EQ(report["entries"], "胶片预览|DICOM设置|打印设置|界面设置|运行设置|胶片管理|运行日志|关于");
    EXPECT_EQ(report["logo"], "1");
    const QImage shot = screenshot("console_about_title_skin2");
    // Skin 2 is dark graphite.
    EXPECT_GT(shareOfColour(shot, QColor(0x2b, 0x30, 0x38), 12), 0.2);
}

TEST_F(ConsoleWindowE2e, HiddenWindowMapsNothingWhileTheServicePrints)
{
    home_.copyRuntime();
    home_.setting(settings::files::prtIni, "PrtIni", "FrmVisiable", "0");
    auto program = start();
    ASSERT_TRUE(waitFor([&] { return startUpFinished(); }));
    EXPECT_EQ(home_.report()["visible"], "0");
    EXPECT_TRUE(home_.runLog().contains("监听端口状态=True"));
    ASSERT_EQ(sendFilm(port_), 0);
    EXPECT_EQ(filmFiles(home_).size(), 1);
    EXPECT_TRUE(home_.runLog().contains("打印第【1】张胶片。"));
    EXPECT_FALSE(x_->viewableWindowWithTitle("Vantorel V4.1")) << x_->windowTree().toStdString();
    EXPECT_TRUE(program->running());
    EXPECT_EQ(program->stop(), 0);
}

TEST_F(ConsoleWindowE2e, TakenPortGivesTheMessageFailedStatusAndBothLogLines)
{
    home_.copyRuntime();
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any, port_));

    auto program = start();
    closeMessageBox("注意", "console_port_taken");
    ASSERT_TRUE(waitFor([&] { return startUpFinished(); }));
    const auto report = home_.report();
    EXPECT_EQ(report["panel5"], "失败");
    const QString log = home_.runLog();
    EXPECT_TRUE(log.contains("监听端口=" + QString::number(port_))) << log.toStdString();
    EXPECT_TRUE(log.contains("监听端口状态=False")) << log.toStdString();
    // The window stays up and usable.
    EXPECT_TRUE(x_->viewableWindowWithTitle("Vantorel V4.1"));
    EXPECT_TRUE(program->running());
    EXPECT_EQ(report["listenProblem"], QString("监听端口%1无法打开，每10秒重试一次").arg(port_));
    screenshot("console_port_taken_after");

    // Once the other program lets go, the port is taken at the next try.
    taken.close();
    EXPECT_TRUE(waitFor([&] { return answersEcho(port_); }, 15000)) << home_.runLog().toStdString();
}

TEST_F(ConsoleWindowE2e, MissingPrinterListIsReportedOnceAndStartUpFinishes)
{
    home_.copyRuntime();
    QFile::remove(home_.path() + "/PrtLst/PrtLst.ini");

    auto program = start();
    closeMessageBox("打印机设置无效", "console_missing_printer_list");
    ASSERT_TRUE(waitFor([&] { return startUpFinished(); }));
    EXPECT_FALSE(x_->windowWithTitle("打印机设置无效")) << x_->windowTree().toStdString();
    EXPECT_EQ(home_.report()["panel5"], "正常");
    EXPECT_TRUE(x_->viewableWindowWithTitle("Vantorel V4.1"));
}

TEST_F(ConsoleWindowE2e, ModalitiesAreServedWhileAStartUpMessageWaits)
{
    home_.copyRuntime();
    QFile::remove(home_.path() + "/PrtLst/PrtLst.ini");
    home_.setting(settings::files::prtIni, "PrtIni", "FrmVisiable", "0");  // nobody sees the box

    auto program = start();
    ASSERT_TRUE(waitFor([&] { return x_->viewableWindowWithTitle("打印机设置无效"); }))
        << x_->windowTree().toStdString();
    EXPECT_TRUE(answersEcho(port_)) << "the port waited for the operator's click";
    EXPECT_TRUE(x_->viewableWindowWithTitle("打印机设置无效"));
    EXPECT_TRUE(waitFor([&] { return home_.runLog().contains("监听端口状态=True"); }))
        << home_.runLog().toStdString();
    closeMessageBox("打印机设置无效", "console_message_while_listening");
    ASSERT_TRUE(waitFor([&] { return startUpFinished(); }));
}

TEST_F(ConsoleWindowE2e, TermWhileAStartUpMessageWaitsEndsTheProgram)
{
    // No printer list: start-up waits in its message box when the signal comes.
    auto program = start();
    ASSERT_TRUE(waitFor([&] { return x_->viewableWindowWithTitle("打印机设置无效"); }))
        << x_->windowTree().toStdString();
    ::kill(static_cast<pid_t>(program->pid()), SIGTERM);
    EXPECT_EQ(program->waitForEnd(), 0);
}

TEST(ConsoleDisplayE2e, DisplayThatCannotBeOpenedRunsHeadless)
{
    ConsoleHome home;
    home.setting(settings::files::prtIni, "PrtIni", "Port", std::to_string(freePort()));
    // A display number no X server serves.
    RunningProgram program(home, ":4999");
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(home.reportPath()); }))
        << program.errorOutput().toStdString();
    EXPECT_EQ(home.report()["visible"], "0");
    // Its message did not wait for anybody: it went to the run log.
    EXPECT_TRUE(home.runLog().contains("配置文件未找到，打印机设置无效：")) << home.runLog().toStdString();
    EXPECT_TRUE(home.runLog().contains("监听端口状态=True"));
    EXPECT_EQ(program.stop(), 0);
}

}  // namespace
}  // namespace vantorel::testing
