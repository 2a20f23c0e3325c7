// Whose film is it: print objects belong to the association that made them,
// the Printer to the server, and a film box is laid out only from its own
// display format. The real program, headless, printing on the built-in
// FilmFile printer, driven by the modality simulator.

#include "print_server.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <fstream>

namespace vantorel::testing {
namespace {

class ObjectScopeE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
        ASSERT_TRUE(server_.start());
    }

    QString filmFolder() const { return home_.path() + "/FilmFile"; }

    // A modality that makes its film and waits before the N-ACTION until
    // `go` exists; what it made so far is in its output.
    std::unique_ptr<QProcess> startPausedModality(const QStringList& options, const QString& go)
    {
        auto modality = std::make_unique<QProcess>();
        modality->setProcessEnvironment(home_.environment());
        QStringList args = options;
        args << "--pause-before-action" << go << "127.0.0.1" << QString::number(server_.port());
        modality->start(programPath("vantorel-printscu"), args);
        return modality;
    }

    static bool waitForOutput(QProcess& process, QByteArray& output, const QRegularExpression& until)
    {
        return waitFor(
            [&] {
                process.waitForReadyRead(50);
                output += process.readAllStandardOutput();
                return QString::fromUtf8(output).contains(until);
            },
            30000);
    }

    static void touch(const QString& path) { std::ofstream(path.toStdString()) << "go"; }

    TempHome home_;
    PrintServer server_{home_, ""};
};

TEST_F(ObjectScopeE2e, AnotherAssociationCannotSeeChangePrintOrRemoveAFilm)
{
    const QString go = home_.path() + "/go";
    auto first = startPausedModality({"--format", "STANDARD\\1,2", "--orientation", "PORTRAIT"}, go);
    QByteArray made;
    ASSERT_TRUE(waitForOutput(*first, made, QRegularExpression("N-SET[^\n]*\n[^\n]*N-SET[^\n]*status")))
        << made.constData();
    const QString text = QString::fromUtf8(made);
    const QString box = QRegularExpression("film box: (\\S+)").match(text).captured(1);
    QStringList uids{box};
    auto images = QRegularExpression("image box: (\\S+)").globalMatch(text);
    while (images.hasNext())
        uids << images.next().captured(1);
    ASSERT_EQ(uids.size(), 3) << text.toStdString();
    EXPECT_TRUE(box.startsWith("2.25.")) << box.toStdString();

    QStringList tries{"--no-printer", "--sessions", "0"};
    for (const QString& uid : uids)
        tries << "--try" << uid;
    const ProgramResult second = server_.print(tries);
    for (const QString& uid : uids) {
        for (const char* request : {"N-GET ", "N-SET ", "N-ACTION ", "N-DELETE "})
            EXPECT_NE(second.out.find(request + uid.toStdString() + ": status 0x0112"), std::string::npos)
                << request << uid.toStdString() << "\n"
                << second.out;
    }
    EXPECT_TRUE(newPdfFiles(filmFolder(), {}).isEmpty());

    // The first modality's film prints as it made it: its own two images,
    // still portrait.
    touch(go);
    ASSERT_TRUE(first->waitForFinished(60000));
    made += first->readAllStandardOutput();
    EXPECT_EQ(first->exitCode(), 0) << made.constData();
    EXPECT_TRUE(made.contains("N-ACTION Film Box: status 0x0000")) << made.constData();
    const QStringList films = newPdfFiles(filmFolder(), {});
    ASSERT_EQ(films.size(), 1);
    const QImage page = renderPdfPage(films[0], 20);
    EXPECT_GT(page.height(), page.width());
    EXPECT_EQ(pdfImageSizes(films[0], 200).size(), 2);
}

TEST_F(ObjectScopeE2e, TwoModalitiesWithTheSameFilmSessionUidEachPrintTheirOwnFilm)
{
    const QString go = home_.path() + "/go";
    const QString uid = "1.2.826.0.1.3680043.2.1125.1.42";
    const QRegularExpression ready("N-SET[^\n]*status");
    auto one = startPausedModality(
        {"--session-uid", uid, "--format", "STANDARD\\1,1", "--size", "256", "--action", "session"}, go);
    QByteArray oneSaid, twoSaid;
    ASSERT_TRUE(waitForOutput(*one, oneSaid, ready)) << oneSaid.constData();
    auto two = startPausedModality(
        {"--session-uid", uid, "--format", "STANDARD\\1,2", "--size", "256", "--action", "session"}, go);
    ASSERT_TRUE(waitForOutput(*two, twoSaid, QRegularExpression("N-SET[^\n]*\n[^\n]*N-SET[^\n]*status")))
        << twoSaid.constData();
    EXPECT_TRUE(oneSaid.contains("film session: " + uid.toUtf8()));
    EXPECT_TRUE(twoSaid.contains("film session: " + uid.toUtf8()));

    touch(go);
    for (auto* modality : {one.get(), two.get()}) {
        ASSERT_TRUE(modality->waitForFinished(60000));
        EXPECT_EQ(modality->exitCode(), 0) << modality->readAllStandardOutput().constData();
    }
    const QStringList films = newPdfFiles(filmFolder(), {});
    ASSERT_EQ(films.size(), 2);
    // Each its own film box: one film of one image, one of two.
    QList<int> pictures;
    for (const QString& film : films)
        pictures << pdfImageSizes(film, 150).size();
    std::sort(pictures.begin(), pictures.end());
    EXPECT_EQ(pictures, (QList<int>{1, 2}));
}

TEST_F(ObjectScopeE2e, AFormatThatCannotBePrintedIsRefusedAndNeverTakesAnotherFilmsLayout)
{
    ASSERT_EQ(server_.print({"--format", "STANDARD\\4,4"}).exitCode, 0);
    const QSet<QString> before = pdfFilesIn(filmFolder());
    ASSERT_EQ(before.size(), 1);
    const char* formats[] = {"SLIDE", "SUPERSLIDE", "CUSTOM\\1", "",           "STANDARD",
                             "FOO",   "COL\\2",     "ROW\\11,1", "COL\\3,0,2", "STANDARD\\0,3"};
    for (const char* format : formats) {
        const ProgramResult result = server_.print({"--format", format});
        EXPECT_NE(result.out.find("N-CREATE Film Box: status 0x0106, error comment: Image Display Format"),
                  std::string::npos)
            << format << "\n"
            << result.out;
        EXPECT_EQ(result.out.find("N-ACTION"), std::string::npos) << format;
    }
    EXPECT_TRUE(newPdfFiles(filmFolder(), before).isEmpty());
    EXPECT_TRUE(server_.print({"--format", "STANDARD\\2,2"}).exitCode == 0);
    EXPECT_EQ(newPdfFiles(filmFolder(), before).size(), 1);
    EXPECT_EQ(home_.runLog().count("Format=4x4"), 1);  // none of the refused ones took the 4x4 grid
}

TEST_F(ObjectScopeE2e, ThePrinterAnswersNGetOnlyAndNoPeerChangesIt)
{
    const ProgramResult tried =
        server_.print({"--no-printer", "--sessions", "0", "--try", "1.2.840.10008.5.1.1.17"});
    for (const char* request : {"N-SET Printer", "N-CREATE Printer", "N-ACTION Printer", "N-DELETE Printer"})
        EXPECT_NE(tried.out.find(std::string(request) + ": status 0x0211"), std::string::npos)
            << request << "\n"
            << tried.out;
    const ProgramResult after = server_.print({"--sessions", "0"});
    EXPECT_EQ(after.exitCode, 0) << after.out;
    EXPECT_NE(after.out.find("N-GET Printer: status 0x0000"), std::string::npos) << after.out;
    EXPECT_NE(after.out.find("Printer Status: NORMAL\n"), std::string::npos) << after.out;
}

}  // namespace
}  // namespace vantorel::testing
