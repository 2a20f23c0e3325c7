// The DICOM settings page over the real print service: saving a new port makes
// the service listen there, which a DICOM peer (DCMTK's echoscu) confirms.

#include "base/run_log.h"
#include "console/port_control.h"
#include "console/ui/listen_retry.h"
#include "console/ui/pages/dicom_page.h"
#include "console/ui/status_panels.h"
#include "pages_fixture.h"
#include "print_service/dcmtk/print_service_runtime.h"
#include "print_service/film_parameters.h"
#include "print_service/listening_port.h"
#include "print_service/print_object_store.h"
#include "support/free_port.h"
#include "support/logging_print_job.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpServer>

namespace vantorel::testing {
namespace {

// The page's port change carried out by the service's listening port.
class ServicePortControl final : public console::PortControl {
public:
    explicit ServicePortControl(print_service::ListeningPort& listeningPort) : listeningPort_(listeningPort)
    {}

    bool changePort(const std::string& typedPort,
                    const std::function<void(const std::string&)>& storePort) override
    {
        return listeningPort_.changePort(typedPort, storePort);
    }
    bool listening() const override { return listeningPort_.listening(); }
    bool retrying() const override { return listeningPort_.retrying(); }
    bool retryListening() override { return listeningPort_.retryListening(); }

private:
    print_service::ListeningPort& listeningPort_;
};

class DicomPageListenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = settings::loadSettings(store, installedPrinters, messages);
        messages.shown.clear();  // no printer list in this home
        settings.listenPort = std::to_string(freePort());
        runtime.listeningPort().startListening();
        ASSERT_TRUE(runtime.listeningPort().listening());
        console::ui::PageContext context{home.path(), store, settings, installedPrinters, messages};
        console::ui::ConsoleSettingsPages::Services services{portControl, headerEditor, purgeTimer,
                                                             skins,       reportPage,   desktop,
                                                             designer,    QString(),    QString()};
        pages = std::make_unique<console::ui::ConsoleSettingsPages>(context, services);
        pages->showServiceSettings(settings);
        pages->followListenStatus(panels);
        QTest::keyClicks(pages->dicom().passwordEdit(), QStringLiteral("qarvo517"));
    }
    void TearDown() override { runtime.stop(); }

    void saveWithPort(const QString& port)
    {
        pages->dicom().portEdit()->setText(port);
        QTest::mouseClick(pages->dicom().saveButton(), Qt::LeftButton);
    }

    // echoscu's exit code against `port`, with the main thread serving the
    // service's events meanwhile (the association request is handled there).
    static int echo(int port)
    {
        QProcess client;
        client.start("echoscu", {"-aec", "ZQ", "-to", "10", "127.0.0.1", QString::number(port)});
        if (!client.waitForStarted(10000))
            return -2;
        QDeadlineTimer deadline(30000);
        while (client.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            client.waitForFinished(20);
        }
        if (client.state() != QProcess::NotRunning) {
            client.kill();
            client.waitForFinished();
            return -1;
        }
        return client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
    }

    QString runLog() const
    {
        QString text;
        for (const QString& name : QDir(home.path() + "/LOG").entryList({"*.log"}, QDir::Files)) {
            QFile file(home.path() + "/LOG/" + name);
            if (file.open(QIODevice::ReadOnly))
                text += QString::fromStdString(base::gbkToUtf8(file.readAll().toStdString()));
        }
        return text;
    }
    QByteArray prtIni() const
    {
        QFile file(home.path() + "/PrtIni.ini");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TestHome home;
    settings::SettingsStore store{home.pathText()};
    settings::Settings settings;
    base::SystemClock clock;
    base::FileRunLog log{home.pathText(), clock};
    RecordingMessages messages;
    const settings::InstalledPrinters installedPrinters{"FilmFile"};
    print_service::PrintObjectStore printObjects;
    print_service::FilmParameters film;
    LoggingPrintJob printJob{log};
    print_service::PrintServiceRuntime runtime{printObjects,        film,     settings, settings,
                                               settings.listenPort, printJob, log,      messages};
    ServicePortControl portControl{runtime.listeningPort()};
    RecordingHeaderEditor headerEditor;
    RecordingPurgeTimer purgeTimer;
    RecordingSkins skins;
    RecordingReportPage reportPage;
    RecordingDesktop desktop;
    RecordingDesigner designer;
    QStatusBar bar;
    console::ui::StatusPanels panels{bar};
    std::unique_ptr<console::ui::ConsoleSettingsPages> pages;
};

TEST_F(DicomPageListenTest, ANewPortIsListenedOnLoggedAndStoredAndAnUnchangedOneDoesNothing)
{
    const int newPort = freePort();
    ASSERT_NE(echo(newPort), 0);  // nobody listens there yet

    saveWithPort(QStringLiteral(" %1").arg(newPort));
    EXPECT_EQ(echo(newPort), 0);
    EXPECT_EQ(settings.listenPort, std::to_string(newPort));
    const QString logged = runLog();
    EXPECT_TRUE(logged.contains(QStringLiteral("]    监听端口改变为：  %1\r\n").arg(newPort)))
        << logged.toStdString();
    EXPECT_TRUE(logged.contains(QStringLiteral("]    监听端口状态=True\r\n"))) << logged.toStdString();
    EXPECT_TRUE(prtIni().contains(gbkBytes("Port=" + std::to_string(newPort) + "\r\n")));
    EXPECT_EQ(panels.text(4), QString::number(newPort));
    EXPECT_EQ(panels.text(5), QStringLiteral("True"));
    EXPECT_TRUE(messages.shown.empty());

    // Saved again unchanged: no listening, no log line, the port key as it was.
    const QString before = runLog();
    const QByteArray storedBefore = prtIni();
    saveWithPort(QString::number(newPort));
    EXPECT_EQ(runLog().count(QStringLiteral("监听端口")), before.count(QStringLiteral("监听端口")));
    EXPECT_EQ(prtIni(), storedBefore);
    EXPECT_EQ(echo(newPort), 0);
}

TEST_F(DicomPageListenTest, ATakenPortIsReportedAndTheServiceKeepsTheOldOne)
{
    const int oldPort = std::stoi(settings.listenPort);
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any, 0));
    const int takenPort = taken.serverPort();
    saveWithPort(QString::number(takenPort));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "端口打开失败，无法接收打印请求，请核对。");
    EXPECT_EQ(messages.shown[0].title, "设置失败");
    EXPECT_EQ(messages.shown[0].icon, base::MessageIcon::Warning);
    EXPECT_EQ(panels.text(5), QStringLiteral("False"));
    EXPECT_EQ(settings.listenPort, std::to_string(takenPort));
    // Only start-up's line; nothing is logged for the failure.
    EXPECT_EQ(runLog().count(QStringLiteral("监听端口状态=True")), 1);
    EXPECT_TRUE(runLog().contains(QStringLiteral("监听端口改变为： %1").arg(takenPort)));
    EXPECT_EQ(echo(oldPort), 0);
}

// A second service whose start-up port another program holds, retried as
// the console does every ten seconds (here: tick by tick).
TEST_F(DicomPageListenTest, AStartUpPortHeldByAnotherProgramIsTakenOnceItIsFreed)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    const int heldPort = holder.serverPort();
    settings::Settings otherSettings = settings;
    otherSettings.listenPort = std::to_string(heldPort);
    print_service::PrintObjectStore otherObjects;
    print_service::FilmParameters otherFilm;
    print_service::PrintServiceRuntime other{
        otherObjects, otherFilm, otherSettings, otherSettings, otherSettings.listenPort,
        printJob,     log,       messages};
    other.listeningPort().startListening();
    ASSERT_FALSE(other.listeningPort().listening());
    ServicePortControl control{other.listeningPort()};
    QStatusBar otherBar;
    console::ui::StatusPanels otherPanels{otherBar};
    console::ui::ListenRetry retry(control, otherPanels, log, QString::number(heldPort));

    retry.start();
    EXPECT_TRUE(retry.active());
    EXPECT_EQ(otherPanels.listenProblemText(),
              QStringLiteral("监听端口%1无法打开，每10秒重试一次").arg(heldPort));
    EXPECT_TRUE(runLog().contains(QStringLiteral("监听端口%1无法打开，每10秒重试一次。").arg(heldPort)));
    retry.tick();
    EXPECT_TRUE(retry.active());  // still held

    holder.close();
    retry.tick();
    EXPECT_FALSE(retry.active());
    EXPECT_TRUE(otherPanels.listenProblemText().isEmpty());
    EXPECT_EQ(otherPanels.text(5), QStringLiteral("正常"));
    EXPECT_EQ(echo(heldPort), 0);
    other.stop();
}

TEST_F(DicomPageListenTest, ChangingThePortStopsTheRetry)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    settings::Settings otherSettings = settings;
    otherSettings.listenPort = std::to_string(holder.serverPort());
    print_service::PrintObjectStore otherObjects;
    print_service::FilmParameters otherFilm;
    print_service::PrintServiceRuntime other{
        otherObjects, otherFilm, otherSettings, otherSettings, otherSettings.listenPort,
        printJob,     log,       messages};
    other.listeningPort().startListening();
    ServicePortControl control{other.listeningPort()};
    QStatusBar otherBar;
    console::ui::StatusPanels otherPanels{otherBar};
    console::ui::ListenRetry retry(control, otherPanels, log,
                                   QString::fromStdString(otherSettings.listenPort));
    retry.start();
    ASSERT_TRUE(retry.active());

    const int newPort = freePort();
    control.changePort(std::to_string(newPort), [](const std::string&) {});
    holder.close();
    retry.tick();
    EXPECT_FALSE(retry.active());
    EXPECT_TRUE(otherPanels.listenProblemText().isEmpty());
    EXPECT_EQ(echo(newPort), 0);
    other.stop();
}

}  // namespace
}  // namespace vantorel::testing
