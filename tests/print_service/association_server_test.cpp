#include "print_service/dcmtk/association_server.h"

#include "print_service/associations.h"
#include "print_service/dcmtk/main_thread_dispatcher.h"

#include <QCoreApplication>
#include <QProcess>
#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace vantorel::print_service {
namespace {

struct NoEvents final : ServiceEvents {
    void associationRequested(const AssociationInfo&) override {}
    NormalisedResponse normalisedRequest(const AssociationInfo&, NormalisedRequest&) override { return {}; }
    void associationClosed(std::uint64_t) override {}
    void diagnostic(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::Any, 0);
    return probe.serverPort();
}

bool accepts(int port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    const bool connected = socket.waitForConnected(5000);
    socket.abort();
    return connected;
}

template <typename Predicate>
bool spinUntil(Predicate done)
{
    QDeadlineTimer deadline(30000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(AssociationServer, ANewPortReplacesTheOldOneOnlyOnceItIsOpen)
{
    MainThreadDispatcher dispatcher;
    NoEvents events;
    AssociationServer server(dispatcher, events);

    const int first = freePort();
    ASSERT_TRUE(server.Listen(first));
    EXPECT_TRUE(accepts(first));

    // A port that is taken: Listen fails and the old port keeps listening.
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any, 0));
    EXPECT_FALSE(server.Listen(taken.serverPort()));
    EXPECT_TRUE(accepts(first));
    EXPECT_FALSE(server.Listen(0));
    EXPECT_FALSE(server.Listen(70000));

    const int second = freePort();
    ASSERT_TRUE(server.Listen(second));
    EXPECT_TRUE(accepts(second));
    EXPECT_TRUE(spinUntil([&] { return !accepts(first); }));
    // The thread of the port left is joined once it lets go, not at the end.
    EXPECT_TRUE(spinUntil([&] { return server.listeningThreads() == 1; }));

    // Going straight back to a port just left opens it again.
    const int third = freePort();
    ASSERT_TRUE(server.Listen(third));
    ASSERT_TRUE(server.Listen(second));
    EXPECT_TRUE(accepts(second));
    EXPECT_TRUE(spinUntil([&] { return !accepts(third); }));

    dispatcher.close();
    server.stop();
    EXPECT_FALSE(accepts(second));
}

struct ThrowingEvents final : ServiceEvents {
    void associationRequested(const AssociationInfo&) override {}
    NormalisedResponse normalisedRequest(const AssociationInfo&, NormalisedRequest&) override
    {
        throw std::runtime_error("store exhausted");
    }
    void associationClosed(std::uint64_t) override {}
    void diagnostic(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

TEST(AssociationServer, AnExceptionWhileHandlingARequestIsLoggedWithItsMessageAndTheAssociationAborted)
{
    MainThreadDispatcher dispatcher;
    ThrowingEvents events;
    AssociationServer server(dispatcher, events);
    const int port = freePort();
    ASSERT_TRUE(server.Listen(port));

    QProcess client;
    client.start(QString(VANTOREL_BIN_DIR) + "/vantorel-printscu", {"127.0.0.1", QString::number(port)});
    ASSERT_TRUE(spinUntil([&] { return client.state() == QProcess::NotRunning; }));
    EXPECT_NE(client.exitCode(), 0);
    const QByteArray out = client.readAllStandardOutput();
    EXPECT_TRUE(out.contains("N-GET Printer: association aborted by the server")) << out.toStdString();
    const auto logged = [&] {
        return std::any_of(events.lines.begin(), events.lines.end(), [](const std::string& line) {
            return line.find("(PRINTSCU 127.0.0.1): 0x0110 1.2.840.10008.5.1.1.17 failed: store exhausted, "
                             "association aborted") != std::string::npos;
        });
    };
    EXPECT_TRUE(spinUntil(logged));

    dispatcher.close();
    server.stop();
}

}  // namespace
}  // namespace vantorel::print_service
