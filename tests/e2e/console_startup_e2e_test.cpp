// Start-up of the real program without a window system: defaults of an empty
// home, messages that never wait, and the signals that end it.

#include "console_program.h"
#include "x_session.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <iostream>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vantorel::testing {
namespace {

TEST(ConsoleStartupE2e, HomeWithoutAnyIniFileListensOnTheDefaultPortAndAcceptsAnAssociation)
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::Any, 10000))
        GTEST_SKIP() << "port 10000 is in use on this machine";
    probe.close();

    ConsoleHome home;
    QElapsedTimer sinceStart;
    sinceStart.start();
    RunningProgram program(home, QString());
    ASSERT_TRUE(waitFor([] { return answersEcho(10000); }, 30000)) << program.errorOutput().toStdString();
    const qint64 firstAssociationMs = sinceStart.elapsed();
    RecordProperty("first_association_ms", static_cast<int>(firstAssociationMs));
    std::cout << "process start to first accepted association: " << firstAssociationMs << " ms\n";

    // It serves a whole print session (to whatever printer the empty
    // printer pools leave current).
    EXPECT_EQ(sendFilm(10000), 0);
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(home.reportPath()); }));
    const auto report = home.report();
    EXPECT_EQ(report["visible"], "0");
    EXPECT_EQ(report["panel2"], "1");
    EXPECT_EQ(report["panel4"], "10000");
    EXPECT_EQ(report["panel5"], "正常");
    EXPECT_EQ(report["entries"].split('|').size(), 7);
    const QString log = home.runLog();
    EXPECT_TRUE(log.contains("监听端口=10000")) << log.toStdString();
    EXPECT_TRUE(log.contains("监听端口状态=True")) << log.toStdString();
    EXPECT_TRUE(log.contains("打印第【1】张胶片。")) << log.toStdString();
    // Headless, the missing printer list goes to the log and standard error.
    EXPECT_TRUE(log.contains("配置文件未找到，打印机设置无效：")) << log.toStdString();
    EXPECT_EQ(program.stop(), 0);
    EXPECT_TRUE(program.errorOutput().contains("打印机设置无效"));
}

TEST(ConsoleStartupE2e, HeadlessServiceThatCannotListenEndsWithStatusOne)
{
    // Its service manager starts it again; a service that runs on without
    // its port serves nobody.
    const int port = freePort();
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any, port));
    struct Case {
        std::string port;
        QString said;
    };
    const Case cases[] = {
        {std::to_string(port), "监听端口失败：端口被占用，请更换端口号,否则不能正常打印。"},
        {"abc", "监听端口无效：“abc”不是1到65535之间的端口号，无法接收打印请求，请在DICOM设置中更改。"},
    };
    for (const Case& c : cases) {
        ConsoleHome home;
        home.setting(settings::files::prtIni, "PrtIni", "Port", c.port);
        RunningProgram program(home, QString());
        EXPECT_EQ(program.waitForEnd(), 1) << c.port;
        const QString log = home.runLog();
        const QStringList inOrder{"监听端口=" + QString::fromStdString(c.port), c.said, "监听端口状态=False",
                                  "监听端口" + QString::fromStdString(c.port) + "无法打开，程序退出。"};
        qsizetype at = 0;
        for (const QString& line : inOrder) {
            at = log.indexOf(line, at);
            EXPECT_GE(at, 0) << line.toStdString() << "\n" << log.toStdString();
        }
        EXPECT_TRUE(program.errorOutput().contains("无法打开，程序退出。"))
            << program.errorOutput().toStdString();
    }
}

TEST(ConsoleStartupE2e, ServiceManagerHearsReadyOnceThePortAnswers)
{
    // The service manager's notification socket, as it hands it to a
    // Type=notify service.
    QTemporaryDir folder;
    const std::string socketPath = folder.path().toStdString() + "/notify";
    const int manager = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(manager, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(manager, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const timeval wait{30, 0};
    ::setsockopt(manager, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);

    ConsoleHome home;
    const int port = freePort();
    home.setting(settings::files::prtIni, "PrtIni", "Port", std::to_string(port));
    qputenv("NOTIFY_SOCKET", QByteArray::fromStdString(socketPath));
    RunningProgram program(home, QString());
    qunsetenv("NOTIFY_SOCKET");

    char message[256] = {};
    const ssize_t received = ::recv(manager, message, sizeof message - 1, 0);
    ::close(manager);
    ASSERT_GT(received, 0) << "no notification within 30 s";
    EXPECT_NE(std::string(message).find("READY=1"), std::string::npos) << message;
    EXPECT_TRUE(answersEcho(port));  // ready means served
}

TEST(ConsoleStartupE2e, TermAndIntEndTheHeadlessProgram)
{
    for (int signal : {SIGTERM, SIGINT}) {
        ConsoleHome home;
        home.setting(settings::files::prtIni, "PrtIni", "Port", std::to_string(freePort()));
        RunningProgram program(home, QString());
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(home.reportPath()); })) << signal;
        ::kill(static_cast<pid_t>(program.pid()), signal);
        EXPECT_EQ(program.waitForEnd(), 0) << signal;
    }
}

}  // namespace
}  // namespace vantorel::testing
