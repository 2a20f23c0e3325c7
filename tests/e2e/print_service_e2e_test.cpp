// The print service end to end: the real program, headless, on a loopback
// port, driven by the real modality simulator.

#include "print_service_runner.h"
#include "raw_association.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTcpSocket>

namespace vantorel::testing {
namespace {

std::vector<std::string> linesStartingWith(const std::string& out, const std::string& prefix)
{
    std::vector<std::string> found;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line.substr(prefix.size()));
    return found;
}

class PrintServiceE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        QProcessEnvironment limits;
        limits.insert("VANTOREL_MAX_ASSOCIATIONS", "2");
        limits.insert("VANTOREL_MAX_DATASET_BYTES", "300000");
        service_ = std::make_unique<RunningService>(home_, limits);
        ASSERT_TRUE(service_->startOnFreePort()) << service_->log().toStdString();
    }
    void TearDown() override { EXPECT_EQ(service_->stop(), 0) << service_->errorOutput(); }
    ProgramResult scu(const QStringList& args) { return printscu(service_->port(), args); }

    TempHome home_;
    std::unique_ptr<RunningService> service_;
};

TEST_F(PrintServiceE2e, PrintsWholeSessionsOnGrayscaleAndColourAssociations)
{
    struct Case {
        QStringList args;
        int imageBoxes;
        const char* meta;
        const char* boxType;
    };
    const Case cases[] = {
        {{"--echo", "--format", "STANDARD\\2,3", "--bits", "8"},
         6,
         "1.2.840.10008.5.1.1.9",
         "1.2.840.10008.5.1.1.4"},
        {{"--format", "ROW\\2,3", "--bits", "12", "--films", "2"},
         5,
         "1.2.840.10008.5.1.1.9",
         "1.2.840.10008.5.1.1.4"},
        {{"--color", "--format", "COL\\1,2", "--action", "session"},
         3,
         "1.2.840.10008.5.1.1.18",
         "1.2.840.10008.5.1.1.18"},
        {{"--syntax", "big", "--format", "STANDARD\\1,2", "--get-created"},
         2,
         "1.2.840.10008.5.1.1.9",
         "1.2.840.10008.5.1.1.4"},
        {{"--syntax", "implicit", "--color", "--format", "STANDARD\\2,1", "--get-created"},
         2,
         "1.2.840.10008.5.1.1.18",
         "1.2.840.10008.5.1.1.18"},
    };
    for (const Case& c : cases) {
        const std::string row = c.args.join(' ').toStdString();
        ProgramResult result = scu(c.args);
        EXPECT_EQ(result.exitCode, 0) << row << "\n" << result.out;
        for (const std::string& count : linesStartingWith(result.out, "image boxes: "))
            EXPECT_EQ(count, std::to_string(c.imageBoxes)) << row;
        for (const std::string& box : linesStartingWith(result.out, "image box: "))
            EXPECT_EQ(box.substr(box.find(' ') + 1), c.boxType) << row;
        const QString log = service_->log();
        EXPECT_TRUE(log.contains(QString("MetaSOPClass=") + c.meta)) << row;
        EXPECT_TRUE(log.contains(QString("ImageBoxType=") + c.boxType)) << row;
    }
    EXPECT_NE(scu({"--echo"}).out.find("C-ECHO: status 0x0000"), std::string::npos);
    EXPECT_EQ(service_->log().count("Action{"), 7);
}

TEST_F(PrintServiceE2e, PrinterGetReturnsAllEightAttributesWhenOnlyStatusIsAsked)
{
    ProgramResult result = scu({"--sessions", "0"});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_NE(result.out.find("N-GET Printer: status 0x0000, 8 attributes"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Printer Status: NORMAL"), std::string::npos) << result.out;
}

TEST_F(PrintServiceE2e, ReleaseWithoutDeleteLeavesNoneOfTheAssociationsObjects)
{
    struct Case {
        QStringList args;
        int objects;
    };
    const Case cases[] = {
        {{"--format", "STANDARD\\1,2", "--no-delete", "--get-created"}, 4},
        // A film box naming a film session that does not exist belongs to none.
        {{"--format", "STANDARD\\1,2", "--no-delete", "--get-created", "--orphan", "--action", "none"}, 3},
    };
    for (const Case& c : cases) {
        const std::string row = c.args.join(' ').toStdString();
        ProgramResult first = scu(c.args);
        ASSERT_EQ(first.exitCode, 0) << row << "\n" << first.out;
        QStringList uids;
        for (const std::string& uid : linesStartingWith(first.out, "film session: "))
            uids << QString::fromStdString(uid);
        for (const std::string& uid : linesStartingWith(first.out, "film box: "))
            uids << QString::fromStdString(uid);
        for (const std::string& box : linesStartingWith(first.out, "image box: "))
            uids << QString::fromStdString(box.substr(0, box.find(' ')));
        ASSERT_EQ(uids.size(), c.objects) << row;
        for (const QString& uid : uids)  // present while the association was open
            EXPECT_NE(first.out.find("N-GET " + uid.toStdString() + ": status 0x0000, "), std::string::npos)
                << row << "\n"
                << first.out;

        // Another association never finds them (gone, and not its own
        // either); the simulator stops at the first refusal, so one each.
        for (const QString& uid : uids) {
            ProgramResult second = scu({"--no-printer", "--sessions", "0", "--get", uid});
            EXPECT_NE(second.out.find("N-GET " + uid.toStdString() + ": status 0x0112"), std::string::npos)
                << row << " " << uid.toStdString() << "\n"
                << second.out;
        }
    }
}

TEST_F(PrintServiceE2e, AnAssociationRequestItCannotServeIsRejected)
{
    std::vector<std::string> manySyntaxes{explicitLittleEndian};
    for (int i = 0; i < 199; ++i)
        manySyntaxes.push_back("1.2.3." + std::to_string(i));
    struct Case {
        const char* name;
        std::vector<ProposedContext> contexts;
    };
    const Case cases[] = {
        {"no presentation context", {}},
        {"an abstract syntax not served", {{"1.2.3.999", {explicitLittleEndian}}}},
        {"no transfer syntax served", {{grayscalePrintMeta, {"1.2.3.888"}}}},
        {"200 transfer syntaxes in one context", {{grayscalePrintMeta, manySyntaxes}}},
    };
    for (const Case& c : cases) {
        auto socket = connectTo(service_->port());
        ASSERT_TRUE(socket) << c.name;
        QByteArray reply;
        EXPECT_EQ(sendAndAwaitReply(*socket, associateRequest(c.contexts), 30000, &reply), 0x03) << c.name;
        // Rejected permanently by the service user, no reason given.
        EXPECT_EQ(rejectionValues(reply), "1/1/1") << c.name;
    }
    EXPECT_TRUE(waitFor([&] { return service_->log().count("association rejected") == 4; }))
        << service_->log().toStdString();
    EXPECT_EQ(scu({"--format", "STANDARD\\1,2"}).exitCode, 0);
}

TEST_F(PrintServiceE2e, ABlankAeTitleIsRejectedNamingIt)
{
    struct Case {
        const char* name;
        QByteArray called;
        QByteArray calling;
        const char* values;  // result/source/reason of the A-ASSOCIATE-RJ
    };
    const Case cases[] = {
        {"spaces as calling title", "ZQ", "", "1/1/3"},
        {"NULs as calling title", "ZQ", QByteArray(16, '\0'), "1/1/3"},
        {"spaces and a NUL as calling title", "ZQ", QByteArray("  \0 ", 4), "1/1/3"},
        {"spaces as called title", "", "PROBE", "1/1/7"},
    };
    for (const Case& c : cases) {
        auto socket = connectTo(service_->port());
        ASSERT_TRUE(socket) << c.name;
        QByteArray reply;
        EXPECT_EQ(sendAndAwaitReply(
                      *socket,
                      associateRequest({{grayscalePrintMeta, {explicitLittleEndian}}}, c.called, c.calling),
                      30000, &reply),
                  0x03)
            << c.name;
        EXPECT_EQ(rejectionValues(reply), c.values) << c.name;
    }
    EXPECT_TRUE(waitFor([&] { return service_->log().count("association rejected: blank") == 4; }))
        << service_->log().toStdString();
    EXPECT_EQ(scu({"--format", "STANDARD\\1,2"}).exitCode, 0);
}

// What a peer sends reaches the run log as one escaped line, never as a
// forged line or a terminal sequence; a value longer than its VR allows is
// refused.
TEST_F(PrintServiceE2e, PeerTextIsLoggedEscapedAndOverlongValuesAreRefused)
{
    scu({"--format", "STANDARD\\1,1", "--film-size",
         "A\n[1] F\x1b[2J"});  // 12 characters: a CS may hold them
    EXPECT_TRUE(service_->waitForLog("FilmSize=A\\n[1] F\\x1b[2J")) << service_->log().toStdString();
    EXPECT_FALSE(service_->log().contains("\n[1] F"));
    EXPECT_FALSE(service_->log().contains(QChar(0x1b)));

    const ProgramResult overlong = scu({"--format", "STANDARD\\1,1", "--film-size", QString(5000, 'X')});
    EXPECT_NE(
        overlong.out.find("N-CREATE Film Box: status 0x0106, error comment: Attribute (2010,0050) longer "
                          "than its VR allows"),
        std::string::npos)
        << overlong.out;
    EXPECT_FALSE(service_->log().contains(QString(300, 'X')));
}

TEST_F(PrintServiceE2e, AnIdleAssociationDoesNotHoldBackAnotherAndTheLimitRefusesAThird)
{
    const QString go = home_.path() + "/go";
    QProcess idle;
    idle.start(programPath("vantorel-printscu"),
               {"--wait-for", go, "127.0.0.1", QString::number(service_->port())});
    ASSERT_TRUE(waitFor([&] {
        idle.waitForReadyRead(100);
        return service_->log().count("收到请求：AssociationRequest2") >= 2;
    }));
    QProcess second;
    second.start(programPath("vantorel-printscu"),
                 {"--wait-for", go, "127.0.0.1", QString::number(service_->port())});
    ASSERT_TRUE(waitFor([&] { return service_->log().count("收到请求：AssociationRequest2") >= 3; }));

    ProgramResult third = scu({"--no-printer", "--sessions", "0"});
    EXPECT_NE(third.exitCode, 0) << third.out;
    EXPECT_TRUE(service_->waitForLog("refused: 2 associations open"));
    // Rejected for now by the service provider: local limit exceeded.
    auto socket = connectTo(service_->port());
    ASSERT_TRUE(socket);
    QByteArray reply;
    EXPECT_EQ(sendAndAwaitReply(*socket, printAssociateRequest(), 30000, &reply), 0x03);
    EXPECT_EQ(rejectionValues(reply), "2/3/2");

    home_.writeFile("go", "");
    ASSERT_TRUE(idle.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(idle.exitCode(), 0) << idle.readAllStandardOutput().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardOutput().toStdString();
}

TEST_F(PrintServiceE2e, BadInputIsLoggedAndTheNextAssociationIsServed)
{
    struct Case {
        QStringList args;
        const char* logged;
    };
    const Case cases[] = {
        {{"--format", "STANDARD\\200,200"}, "Image Display Format \"STANDARD\\200,200\" cannot be printed"},
        {{"--format", "garbage"}, "Format:garbage"},
        {{"--cut-nset", "20000", "--size", "300"}, "data set of 0x0120 not received"},
        {{"--stop-after", "filmbox", "--abort"}, "aborted by the peer"},
        {{"--claim", "20000x20000"},
         "image 20000x20000 is larger than 67108864 pixels: image sequence dropped"},
        {{"--size", "512"}, "data set of 0x0120 larger than 300000 bytes, association aborted"},
        {{"--command", "0100"}, "0x0100"},
        {{"--command", "0020"}, "command 0x0020 is not served, association aborted"},
    };
    for (const Case& c : cases) {
        const std::string row = c.args.join(' ').toStdString();
        ProgramResult bad = scu(c.args);
        EXPECT_TRUE(service_->waitForLog(QString::fromUtf8(c.logged))) << row << "\n" << bad.out;
        ProgramResult next = scu({"--format", "STANDARD\\1,2"});
        EXPECT_EQ(next.exitCode, 0) << "after " << row << "\n" << next.out;
    }
    EXPECT_TRUE(
        service_->log().contains(QRegularExpression("0x0100 \\S+ was not answered, association aborted")));
    EXPECT_TRUE(service_->running());
}

TEST(PrintServiceLimits, SilentPeersAreCutOffAndOthersAreServed)
{
    TempHome home;
    QProcessEnvironment limits;
    limits.insert("VANTOREL_IDLE_TIMEOUT", "1");
    limits.insert("VANTOREL_ACSE_TIMEOUT", "1");
    RunningService service(home, limits);
    ASSERT_TRUE(service.startOnFreePort());

    // A connection that never sends its association request.
    QTcpSocket mute;
    mute.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(service.port()));
    ASSERT_TRUE(mute.waitForConnected(5000));
    EXPECT_TRUE(
        service.waitForLog("Association request on port " + QString::number(service.port()) + " failed"));
    EXPECT_EQ(printscu(service.port(), {}).exitCode, 0);

    // An association that goes quiet.
    const QString go = home.path() + "/go";
    QProcess silent;
    silent.start(programPath("vantorel-printscu"),
                 {"--wait-for", go, "127.0.0.1", QString::number(service.port())});
    EXPECT_TRUE(service.waitForLog("nothing received for 1 s, association aborted"));
    home.writeFile("go", "");
    ASSERT_TRUE(silent.waitForFinished(60000));
    EXPECT_NE(silent.exitCode(), 0);
    EXPECT_EQ(printscu(service.port(), {}).exitCode, 0);
    EXPECT_EQ(service.stop(), 0);
}

// Starts the service with `limits` in its environment.
std::unique_ptr<RunningService> startWith(const TempHome& home,
                                          std::initializer_list<std::pair<const char*, const char*>> limits)
{
    QProcessEnvironment environment;
    for (const auto& [name, value] : limits)
        environment.insert(name, value);
    auto service = std::make_unique<RunningService>(home, environment);
    if (!service->startOnFreePort())
        return nullptr;
    return service;
}

// Half of an association request, or only part of its header.
std::vector<std::unique_ptr<QTcpSocket>> partialRequests(int port, int count)
{
    const QByteArray request = printAssociateRequest();
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    for (int i = 0; i < count; ++i) {
        auto socket = connectTo(port);
        if (!socket)
            break;
        socket->write(i % 2 == 0 ? request.left(request.size() / 2) : request.left(3));
        socket->waitForBytesWritten(5000);
        sockets.push_back(std::move(socket));
    }
    return sockets;
}

TEST(PrintServiceHardening, ConnectionsStillSendingTheirRequestHoldUpNobody)
{
    TempHome home;
    auto service = startWith(home, {});
    ASSERT_TRUE(service);
    const auto slow = partialRequests(service->port(), 30);
    ASSERT_EQ(slow.size(), 30u);
    // A modality that gives up when not answered within 5 s is served at once.
    ProgramResult film = printscu(service->port(), {"--timeout", "5", "--format", "STANDARD\\1,2"});
    EXPECT_EQ(film.exitCode, 0) << film.out;
    EXPECT_EQ(service->stop(), 0);
}

TEST(PrintServiceHardening, TheOldestWaitingConnectionGoesAndSlowOnesAreCutAfterTheAcseTimeout)
{
    TempHome home;
    auto service = startWith(home, {{"VANTOREL_MAX_PENDING", "4"}, {"VANTOREL_ACSE_TIMEOUT", "3"}});
    ASSERT_TRUE(service);
    const auto slow = partialRequests(service->port(), 6);
    ASSERT_EQ(slow.size(), 6u);
    ProgramResult film = printscu(service->port(), {"--timeout", "5"});
    EXPECT_EQ(film.exitCode, 0) << film.out;
    for (const auto& socket : slow)
        EXPECT_TRUE(closedByPeer(*socket, 30000));
    // Three go to make room for the fifth, the sixth and the film; of the
    // other three, the one in the middle of its request's body is cut by the
    // service (the two still in their header time out in the toolkit).
    EXPECT_TRUE(service->waitForLog(
        "failed: dropped as the oldest of 4 connections still sending their association request"));
    EXPECT_TRUE(service->waitForLog("failed: no complete association request within 3 s"))
        << service->log().toStdString();
    EXPECT_EQ(service->stop(), 0);
}

TEST(PrintServiceHardening, ACommandThatNeverCompletesIsCutOffAfterTheDimseTimeout)
{
    TempHome home;
    auto service = startWith(home, {{"VANTOREL_DIMSE_TIMEOUT", "2"}});
    ASSERT_TRUE(service);
    struct Case {
        const char* name;
        QByteArray fragment;
    };
    const Case cases[] = {
        {"first of several command fragments", commandFragment()},
        {"a PDU shorter than its length says", commandFragment(100)},
    };
    for (const Case& c : cases) {
        auto socket = connectTo(service->port());
        ASSERT_TRUE(socket) << c.name;
        ASSERT_EQ(sendAndAwaitReply(*socket, printAssociateRequest(), 30000), 0x02) << c.name;
        // Nothing more comes: the association is aborted long before the
        // 600 s allowed for silence between messages.
        EXPECT_NE(sendAndAwaitReply(*socket, c.fragment, 30000), 0) << c.name;
    }
    EXPECT_TRUE(service->waitForLog("command not complete within 2 s, association aborted"))
        << service->log().toStdString();
    EXPECT_EQ(printscu(service->port(), {}).exitCode, 0);
    EXPECT_EQ(service->stop(), 0);
}

TEST(PrintServiceHardening, PixelDataPastTheBudgetIsRefusedAndFreedWhenItsAssociationCloses)
{
    TempHome home;
    auto service = startWith(home, {{"VANTOREL_MAX_PIXEL_BYTES", "300000"}});
    ASSERT_TRUE(service);
    // 256x256 12-bit images: 131072 bytes each, the third is one too many.
    ProgramResult full = printscu(service->port(), {"--format", "STANDARD\\2,2", "--size", "256"});
    EXPECT_NE(full.exitCode, 0);
    EXPECT_NE(full.out.find(": status 0xC605"), std::string::npos) << full.out;
    EXPECT_TRUE(service->log().contains(QRegularExpression(
        "N-SET \\S+ refused: 131072 bytes of pixel data would take the 262144 held past the "
        "limit of 300000")))
        << service->log().toStdString();
    ProgramResult next = printscu(service->port(), {"--format", "STANDARD\\1,2", "--size", "256"});
    EXPECT_EQ(next.exitCode, 0) << next.out;
    EXPECT_EQ(service->stop(), 0);
}

TEST(PrintServiceStartUp, ATakenPortIsReportedAndEndsTheService)
{
    TempHome home;
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any, 0));
    RunningService service(home);
    service.start(taken.serverPort());
    const QString port = QString::number(taken.serverPort());
    EXPECT_TRUE(service.log().contains("监听端口=" + port + "\r\n")) << service.log().toStdString();
    EXPECT_TRUE(service.waitForLog("监听端口状态=False"));
    EXPECT_TRUE(service.log().contains("监听端口失败：端口被占用，请更换端口号,否则不能正常打印。"));
    // Its service manager starts it again later.
    EXPECT_EQ(service.waitForEnd(), 1);
    EXPECT_NE(service.errorOutput().find("监听端口失败：端口被占用"), std::string::npos)
        << service.errorOutput();
}

}  // namespace
}  // namespace vantorel::testing
