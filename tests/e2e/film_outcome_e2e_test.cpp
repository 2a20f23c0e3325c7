// Films that do not print are not reported as printed, seen through the real
// program and the modality simulator: a full FilmFile folder, a server killed
// while writing films, partial films and copies.

#include "print_server.h"
#include "support/dicom_image_files.h"

#include <QDirIterator>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/mount.h>
#include <unistd.h>

namespace vantorel::testing {
namespace {

const QString plainFilms =
    "打印黑底胶片=1\r\n打印医院名称=0\r\n打印下边距=0\r\n打印左边距=0\r\n打印上边距=0\r\n";

// An 8-bit image as a DICOM file: `columns` x `rows`, values from `value`.
QString writeImage(const TempHome& home, const QString& name, int columns, int rows, const char* photometric,
                   const std::function<Uint16(int, int)>& value)
{
    const QString path = home.path() + "/" + name + ".dcm";
    writeGreyImageFile(path, {columns, rows, 8, photometric}, value);
    return path;
}

int count(const std::vector<std::string>& lines, const std::string& part)
{
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(part) != std::string::npos;
    }));
}

// Every file in the folder, hidden ones too.
QStringList allFiles(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A small tmpfs mounted on a folder for the test's life (needs root).
class SmallFileSystem {
public:
    SmallFileSystem(const QString& folder, const char* size) : folder_(folder.toStdString())
    {
        QDir().mkpath(folder);
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) == 0;
        if (!mounted_)
            error_ = std::strerror(errno);
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }

private:
    std::string folder_;
    bool mounted_ = false;
    std::string error_;
};

// Fills the folder's file system to the last block with one file.
void fill(const QString& path)
{
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly))
        return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
}

TEST(FilmOutcome, FullFilmFileFolderAnswersFailureUntilSpaceIsFreed)
{
    TempHome home;
    const QString folder = home.path() + "/FilmFile";
    SmallFileSystem disk(folder, "128k");
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << disk.error()
                     << "); the failure path is covered by QtPrinterSurface's unit tests";
    fill(folder + "/filler");
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    PrintServer server(home, plainFilms);
    ASSERT_TRUE(server.start());

    // A flat image: its film's PDF is a few KiB, so it fits once the filler goes.
    const QStringList film{"--image", writeFlatImage(home.path(), 120)};
    const ProgramResult full = server.print(film);
    EXPECT_EQ(full.exitCode, 1) << full.out;
    EXPECT_NE(full.out.find("N-ACTION Film Box: status 0x0110, error comment: Film not printed: "
                            "No space left on device"),
              std::string::npos)
        << full.out;
    EXPECT_EQ(allFiles(folder), QStringList{"filler"});  // no partial PDF, no temporary file
    const auto log = runLogMessages(home);
    EXPECT_GE(count(log, "No space left on device"), 1);
    EXPECT_EQ(count(log, "打印第【1】张胶片。"), 1);

    // The modality asking the Printer sees the failure until a film prints.
    const ProgramResult asked = server.print({"--sessions", "0"});
    EXPECT_NE(asked.out.find("Printer Status: FAILURE"), std::string::npos) << asked.out;

    QFile::remove(folder + "/filler");
    const ProgramResult freed = server.print(film);
    EXPECT_EQ(freed.exitCode, 0) << freed.out;
    EXPECT_NE(freed.out.find("N-ACTION Film Box: status 0x0000"), std::string::npos) << freed.out;
    const QStringList files = newPdfFiles(folder, {});
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(pdfPageCount(files.front()), 1);
    const ProgramResult again = server.print({"--sessions", "0"});
    EXPECT_NE(again.out.find("Printer Status: NORMAL"), std::string::npos) << again.out;
}

TEST(FilmOutcome, KillingTheServerWhileFilmsAreWrittenLeavesNoTruncatedFilm)
{
    TempHome home;
    const QString folder = home.path() + "/FilmFile";
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    auto server = std::make_unique<PrintServer>(home, plainFilms);
    ASSERT_TRUE(server->start());

    std::vector<std::unique_ptr<QProcess>> clients;
    for (int i = 0; i < 4; ++i) {
        auto client = std::make_unique<QProcess>();
        client->setProcessEnvironment(home.environment());
        client->start(programPath("vantorel-printscu"),
                      {"--format", "STANDARD\\2,2", "--size", "2048", "--sessions", "5", "127.0.0.1",
                       QString::number(server->port())});
        clients.push_back(std::move(client));
    }
    // Kill it while a film is being written, or at the latest after a few films.
    const bool caughtWriting = waitFor(
        [&] {
            const QStringList files = allFiles(folder);
            return files.filter(QRegularExpression("\\.part$")).size() > 0 ||
                files.filter(QRegularExpression("\\.pdf$")).size() >= 6;
        },
        120000);
    ::kill(static_cast<pid_t>(server->pid()), SIGKILL);
    for (auto& client : clients)
        client->waitForFinished(60000);
    ASSERT_TRUE(caughtWriting) << "no film was written";

    for (const QString& file : newPdfFiles(folder, {}))
        EXPECT_EQ(pdfPageCount(file), 1) << file.toStdString() << " is not a whole PDF";

    // The next start removes what the killed run left half written.
    server = std::make_unique<PrintServer>(home, plainFilms);
    ASSERT_TRUE(server->start());
    EXPECT_TRUE(allFiles(folder).filter(QRegularExpression("\\.part$")).isEmpty());
}

// A 4x5 film box with 17 images (the end of a series) prints 17 images, in
// cells 1 to 17; cells 18 to 20 keep the black base.
TEST(FilmOutcome, FilmWithEmptyImageBoxesPrintsTheImagesItHas)
{
    TempHome home;
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    PrintServer server(home, plainFilms);
    ASSERT_TRUE(server.start());
    const ProgramResult result = server.print(
        {"--format", "STANDARD\\4,5", "--images", "17", "--image", writeFlatImage(home.path(), 200)});
    ASSERT_EQ(result.exitCode, 0) << result.out;
    const QStringList files = newPdfFiles(home.path() + "/FilmFile", {});
    ASSERT_EQ(files.size(), 1);
    const QImage page = renderPdfPage(files.front(), 72);
    ASSERT_FALSE(page.isNull());
    // A4 portrait, cells 2975 x 3368 twips: squares of 2975, 196.5 down in each.
    for (int cell = 1; cell <= 20; ++cell) {
        const double x = ((cell - 1) % 4) * 2975.0 + 1487.5;
        const double y = ((cell - 1) / 4) * 3368.0 + 196.5 + 1487.5;
        const int grey = meanGrey(page, int(x / 20), int(y / 20), 2);
        if (cell <= 17)
            EXPECT_NEAR(grey, 200, 8) << "cell " << cell;
        else
            EXPECT_LT(grey, 10) << "cell " << cell;
    }
    EXPECT_EQ(countOf(runLogMessages(home), "本次发送图像数目：17"), 1);
}

TEST(FilmOutcome, NumberOfCopiesGivesThatManySheets)
{
    struct Case {
        const char* copies;
        int sheets;
    };
    for (const Case c : {Case{"2", 2}, Case{"100", 1}}) {
        TempHome home;
        home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
        PrintServer server(home, plainFilms);
        ASSERT_TRUE(server.start());
        const ProgramResult result = server.print({"--copies", c.copies, "--size", "64"});
        ASSERT_EQ(result.exitCode, 0) << result.out;
        EXPECT_EQ(newPdfFiles(home.path() + "/FilmFile", {}).size(), c.sheets) << c.copies;
        const auto log = runLogMessages(home);
        EXPECT_EQ(countOf(log, "打印第【" + std::to_string(c.sheets) + "】张胶片。"), 1) << c.copies;
        EXPECT_EQ(count(log, "is not 1 to 99: one sheet printed"), c.sheets == 1 ? 1 : 0) << c.copies;
    }
}

// The same non-square picture sent as MONOCHROME2 and as MONOCHROME1 (stored
// values inverted) prints the same film: black padding bands in both.
TEST(FilmOutcome, MonochromeOneAndTwoPrintIdentically)
{
    TempHome home;
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    PrintServer server(home, plainFilms);
    ASSERT_TRUE(server.start());
    const auto level = [](int x, int) { return static_cast<Uint16>(40 + x); };
    const QString mono2 = writeImage(home, "mono2", 160, 80, "MONOCHROME2", level);
    const QString mono1 = writeImage(home, "mono1", 160, 80, "MONOCHROME1",
                                     [&](int x, int y) { return static_cast<Uint16>(255 - level(x, y)); });
    const QString folder = home.path() + "/FilmFile";
    QStringList films;
    for (const QString& image : {mono2, mono1}) {
        const auto before = pdfFilesIn(folder);
        const ProgramResult result = server.print({"--format", "STANDARD\\3,3", "--image", image});
        ASSERT_EQ(result.exitCode, 0) << result.out;
        const QStringList files = newPdfFiles(folder, before);
        ASSERT_EQ(files.size(), 1);
        films << files.front();
    }
    const QImage two = renderPdfPage(films[0], 36), one = renderPdfPage(films[1], 36);
    ASSERT_EQ(two.size(), one.size());
    int differing = 0;
    for (int y = 0; y < two.height(); ++y)
        for (int x = 0; x < two.width(); ++x)
            differing += std::abs(qGray(two.pixel(x, y)) - qGray(one.pixel(x, y))) > 12;
    EXPECT_EQ(differing, 0);
    // Cell 1 (3967 x 5613 twips, square of 3967 at 823): the band above the
    // picture is black, not white.
    EXPECT_LT(meanGrey(one, int(1983 / 40), int((823 + 400) / 40), 1), 10);
}

// The console hears of every film, not only of the first: after a portrait
// film and a landscape one, the preview shows the landscape page.
TEST(FilmOutcome, ConsolePreviewFollowsEveryFilm)
{
    TempHome home;
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    const QString report = home.path() + "/console-report.txt";
    QProcessEnvironment environment = home.environment();
    environment.insert("VANTOREL_CONSOLE_REPORT", report);
    PrintServer server(home, plainFilms, environment);
    ASSERT_TRUE(server.start());
    auto reported = [&] {
        QFile file(report);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    for (const char* orientation : {"PORTRAIT", "LANDSCAPE"}) {
        const ProgramResult result = server.print({"--orientation", orientation, "--size", "64"});
        ASSERT_EQ(result.exitCode, 0) << result.out;
    }
    // The preview is drawn once the N-ACTION has been answered.
    EXPECT_TRUE(waitFor([&] {
        return reported().contains("panel2=2\n") && reported().contains("film=1000x707\n");
    })) << reported().toStdString();
}

}  // namespace
}  // namespace vantorel::testing
