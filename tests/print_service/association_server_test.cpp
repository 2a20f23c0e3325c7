#include "print_service/dcmtk/association_server.h"

#include "print_service/associations.h"
#include "print_service/dcmtk/main_thread_dispatcher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vantorel::print_service
