#include "print_service/listening_port.h"

#include "base/operator_messages.h"
#include "print_service/port_opener.h"
#include "settings/settings_model.h"
#include "support/memory_run_log.h"

#include <gtest/gtest.h>

#include <set>

namespace vantorel::print_service {
namespace {

struct FakePortOpener final : PortOpener {
    bool Listen(std::int32_t port) override
    {
        ports.push_back(port);
        return taken.count(port) == 0;
    }
    std::set<std::int32_t> taken;
    std::vector<std::int32_t> ports;
};

struct RecordingMessages final : base::OperatorMessages {
    void show(const std::string& text, const std::string& title, base::MessageIcon icon) override
    {
        shown.push_back(title + "|" + text + "|" + std::to_string(static_cast<int>(icon)));
    }
    std::vector<std::string> shown;
};

struct ListeningPortFixture : ::testing::Test {
    FakePortOpener opener;
    settings::Settings settings;
    testing::MemoryRunLog log;
    RecordingMessages messages;
    ListeningPort listeningPort{opener, settings.listenPort, log, messages};
    std::vector<std::string> stored;
    std::function<void(const std::string&)> storePort = [this](const std::string& p) { stored.push_back(p); };
};

TEST_F(ListeningPortFixture, StartUpListensAndReportsTheState)
{
    settings.listenPort = " 10000 ";
    listeningPort.startListening();
    EXPECT_EQ(opener.ports, std::vector<std::int32_t>{10000});
    EXPECT_EQ(log.lines, (std::vector<std::string>{"监听端口=10000", "监听端口状态=True"}));
    EXPECT_TRUE(listeningPort.listening());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ListeningPortFixture, StartUpWithATakenPortTellsTheOperatorAndGoesOn)
{
    opener.taken = {10000};
    listeningPort.startListening();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"监听端口=10000", "监听端口状态=False"}));
    EXPECT_FALSE(listeningPort.listening());
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{"注意|监听端口失败：端口被占用，请更换端口号,否则不能正常打印。|0"});

    // Tried again until the other program lets go of it.
    EXPECT_TRUE(listeningPort.retrying());
    EXPECT_FALSE(listeningPort.retryListening());
    opener.taken.clear();
    EXPECT_TRUE(listeningPort.retryListening());
    EXPECT_TRUE(listeningPort.listening());
    EXPECT_FALSE(listeningPort.retrying());
    EXPECT_EQ(opener.ports, (std::vector<std::int32_t>{10000, 10000, 10000}));
    EXPECT_EQ(log.lines.back(), "监听端口状态=True");
}

TEST_F(ListeningPortFixture, StartUpPortThatIsNoTcpPortIsSaidSoAndNotTried)
{
    for (const char* port : {"abc", "0", "65536", ""}) {
        messages.shown.clear();
        settings.listenPort = port;
        listeningPort.startListening();
        EXPECT_FALSE(listeningPort.listening()) << port;
        EXPECT_FALSE(listeningPort.retrying()) << port;
        ASSERT_EQ(messages.shown.size(), 1u) << port;
        EXPECT_EQ(messages.shown[0],
                  std::string("注意|监听端口无效：“") + port +
                      "”不是1到65535之间的端口号，无法接收打印请求，请在DICOM设置中更改。|1");
    }
    EXPECT_TRUE(opener.ports.empty());
}

TEST_F(ListeningPortFixture, ChangingThePortEndsTheRetryOfStartUpsPort)
{
    opener.taken = {10000};
    listeningPort.startListening();
    ASSERT_TRUE(listeningPort.retrying());
    // What each call did is read from the ports listened on.
    (void)listeningPort.changePort("10001", storePort);
    EXPECT_FALSE(listeningPort.retrying());
    opener.taken.clear();
    (void)listeningPort.retryListening();
    EXPECT_EQ(opener.ports, (std::vector<std::int32_t>{10000, 10001}));
}

TEST_F(ListeningPortFixture, PortChangeListensOnlyWhenThePortDiffers)
{
    listeningPort.startListening();
    log.lines.clear();

    EXPECT_FALSE(listeningPort.changePort(" 10000", storePort));
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(opener.ports.size(), 1u);

    EXPECT_TRUE(listeningPort.changePort("10001 ", storePort));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"监听端口改变为： 10001 ", "监听端口状态=True"}));
    EXPECT_EQ(stored, std::vector<std::string>{"10001"});
    EXPECT_EQ(settings.listenPort, "10001");
    EXPECT_TRUE(listeningPort.listening());
    EXPECT_EQ(listeningPort.portPanel(), "10001");
}

TEST_F(ListeningPortFixture, FailedPortChangeKeepsTheNewValueAndIsNotRetriedBySavingAgain)
{
    listeningPort.startListening();
    opener.taken = {10002};
    log.lines.clear();

    EXPECT_TRUE(listeningPort.changePort("10002", storePort));
    EXPECT_EQ(log.lines, std::vector<std::string>{"监听端口改变为： 10002"});
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{"设置失败|端口打开失败，无法接收打印请求，请核对。|1"});
    EXPECT_FALSE(listeningPort.listening());
    EXPECT_EQ(settings.listenPort, "10002");
    EXPECT_FALSE(listeningPort.changePort("10002", storePort));
}

TEST(ListeningPortNumber, ReadsTheLeadingNumber)
{
    struct Case {
        const char* text;
        std::int32_t port;
    };
    const Case cases[] = {{"10000", 10000}, {" 104", 104}, {"104abc", 104},    {"abc", 0}, {"", 0},
                          {"2.5", 2},       {"3.5", 4},    {"99999999999", 0}, {"-5", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(ListeningPort::portNumber(c.text), c.port) << c.text;
}

}  // namespace
}  // namespace vantorel::print_service
