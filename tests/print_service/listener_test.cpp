#include "print_service/listener.h"

#include "base/operator_messages.h"
#include "settings/settings_model.h"
#include "support/memory_run_log.h"

#include <gtest/gtest.h>

#include <set>

namespace vantorel::print_service {
namespace {

struct FakeNetwork final : NetworkListener {
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

struct ListenerFixture : ::testing::Test {
    FakeNetwork network;
    settings::Settings settings;
    testing::MemoryRunLog log;
    RecordingMessages messages;
    Listener listener{network, settings, log, messages};
    std::vector<std::string> stored;
    std::function<void(const std::string&)> storePort = [this](const std::string& p) { stored.push_back(p); };
};

TEST_F(ListenerFixture, StartUpListensAndReportsTheState)
{
    settings.listenPort = " 10000 ";
    listener.startListening();
    EXPECT_EQ(network.ports, std::vector<std::int32_t>{10000});
    EXPECT_EQ(log.lines, (std::vector<std::string>{"监听端口=10000", "监听端口状态=True"}));
    EXPECT_TRUE(listener.listening());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ListenerFixture, StartUpWithATakenPortTellsTheOperatorAndGoesOn)
{
    network.taken = {10000};
    listener.startListening();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"监听端口=10000", "监听端口状态=False"}));
    EXPECT_FALSE(listener.listening());
    EXPECT_EQ(messages.shown, std::vector<std::string>{"注意|监听端口失败：端口被占用，请更换端口号,否则不能正常打印。|0"});

    // Tried again until the other program lets go of it.
    EXPECT_TRUE(listener.retrying());
    EXPECT_FALSE(listener.retryListening());
    network.taken.clear();
    EXPECT_TRUE(listener.retryListening());
    EXPECT_TRUE(listener.listening());
    EXPECT_FALSE(listener.retrying());
    EXPECT_EQ(network.ports, (std::vector<std::int32_t>{10000, 10000, 10000}));
    EXPECT_EQ(log.lines.back(), "监听端口状态=True");
}

TEST_F(ListenerFixture, StartUpPortThatIsNoTcpPortIsSaidSoAndNotTried)
{
    for (const char* port : {"abc", "0", "65536", ""}) {
        messages.shown.clear();
        settings.listenPort = port;
        listener.startListening();
        EXPECT_FALSE(listener.listening()) << port;
        EXPECT_FALSE(listener.retrying()) << port;
        ASSERT_EQ(messages.shown.size(), 1u) << port;
        EXPECT_EQ(messages.shown[0], std::string("注意|监听端口无效：“") + port +
                                         "”不是1到65535之间的端口号，无法接收打印请求，请在DICOM设置中更改。|1");
    }
    EXPECT_TRUE(network.ports.empty());
}

TEST_F(ListenerFixture, ChangingThePortEndsTheRetryOfStartUpsPort)
{
    network.taken = {10000};
    listener.startListening();
    ASSERT_TRUE(listener.retrying());
    // What each call did is read from the ports listened on.
    (void)listener.changePort("10001", storePort);
    EXPECT_FALSE(listener.retrying());
    network.taken.clear();
    (void)listener.retryListening();
    EXPECT_EQ(network.ports, (std::vector<std::int32_t>{10000, 10001}));
}

TEST_F(ListenerFixture, PortChangeListensOnlyWhenThePortDiffers)
{
    listener.startListening();
    log.lines.clear();

    EXPECT_FALSE(listener.changePort(" 10000", storePort));
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(network.ports.size(), 1u);

    EXPECT_TRUE(listener.changePort("10001 ", storePort));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"监听端口改变为： 10001 ", "监听端口状态=True"}));
    EXPECT_EQ(stored, std::vector<std::string>{"10001"});
    EXPECT_EQ(settings.listenPort, "10001");
    EXPECT_TRUE(listener.listening());
    EXPECT_EQ(listener.portPanel(), "10001");
}

TEST_F(ListenerFixture, FailedPortChangeKeepsTheNewValueAndIsNotRetriedBySavingAgain)
{
    listener.startListening();
    network.taken = {10002};
    log.lines.clear();

    EXPECT_TRUE(listener.changePort("10002", storePort));
    EXPECT_EQ(log.lines, std::vector<std::string>{"监听端口改变为： 10002"});
    EXPECT_EQ(messages.shown, std::vector<std::string>{"设置失败|端口打开失败，无法接收打印请求，请核对。|1"});
    EXPECT_FALSE(listener.listening());
    EXPECT_EQ(settings.listenPort, "10002");
    EXPECT_FALSE(listener.changePort("10002", storePort));
}

TEST(ListenerPortNumber, ReadsTheLeadingNumber)
{
    struct Case {
        const char* text;
        std::int32_t port;
    };
    const Case cases[] = {{"10000", 10000}, {" 104", 104}, {"104abc", 104}, {"abc", 0},
                          {"", 0}, {"2.5", 2}, {"3.5", 4}, {"99999999999", 0}, {"-5", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(Listener::portNumber(c.text), c.port) << c.text;
}

}  // namespace
}  // namespace vantorel::print_service
