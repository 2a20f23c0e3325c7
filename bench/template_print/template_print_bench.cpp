// Template printing of the real program, driven by the modality simulator:
// STANDARD\4,5 films of twenty 512x512 12-bit images through the shipped
// 1417-45.rpx template to the FilmFile printer, with and without film saving
// (TIFF export and DBPRT row over ODBC, VANTOREL_DB_CONNECT). Reports the
// N-ACTION median and maximum, films per second and the TIFF size. Not a
// test: it prints figures.
//
//   vantorel-bench-template-print [--films N]   (films per round, default 20)

#include "../bench_figures.h"
#include "e2e/print_server.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vantorel::testing;

namespace {

struct Figures {
    double medianActionMs = 0;
    double maxActionMs = 0;
    double filmsPerSecond = 0;
    double cpuPerFilm = 0;  // the server's user and system seconds
    qint64 largestTiffBytes = 0;
    int tiffs = 0;
    bool ok = false;
};

QByteArray printFilms(const PrintServer& server, const TempHome& home, int films)
{
    QProcess client;
    client.setProcessEnvironment(home.environment());
    client.start(programPath("vantorel-printscu"),
                 {"--format", "STANDARD\\4,5", "--size", "512", "--bits", "12", "--film-size", "14INX17IN",
                  "--orientation", "PORTRAIT", "--sessions", QString::number(films), "--latency", "127.0.0.1",
                  QString::number(server.port())});
    if (!client.waitForFinished(600000) || client.exitCode() != 0) {
        std::fprintf(stderr, "simulator failed: %s\n", client.readAllStandardError().constData());
        return {};
    }
    return client.readAllStandardOutput();
}

// The archive rows of the round's home folder: the table is shared.
void removeArchiveRows(const QString& home)
{
    QString connect = qEnvironmentVariable("VANTOREL_DB_CONNECT");
    while (connect.endsWith(';'))
        connect.chop(1);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "bench-cleanup");
        db.setDatabaseName(connect);
        if (db.open())
            QSqlQuery(db).exec("delete from DBPRT where FilmPath like '" + home + "/images/%'");
    }
    QSqlDatabase::removeDatabase("bench-cleanup");
}

// A database server that takes connections and never answers: a forwarder
// to a command that reads nothing and says nothing.
struct SilentDatabase {
    SilentDatabase()
    {
        port = freePort();
        process.start(
            "socat", {QString("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr,fork").arg(port), "SYSTEM:sleep 3600"});
        process.waitForStarted(10000);
    }
    ~SilentDatabase()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    QString connectString() const
    {
        return QString("DRIVER={MySQL ODBC 5.2 ANSI "
                       "Driver};SERVER=127.0.0.1;PORT=%1;DATABASE=dbprt;UID=root;PWD=;")
            .arg(port);
    }
    QProcess process;
    int port = 0;
};

Figures measure(bool saveFilms, int films, const QString& connectString)
{
    Figures figures;
    TempHome home;
    QDir().mkpath(home.path() + "/ReportMode");
    QFile::copy(QString(VANTOREL_SHIPPED_TEMPLATES) + "/1417-45.rpx",
                home.path() + "/ReportMode/1417-45.rpx");
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    QString settings = "启用胶片格式文件=1\r\nFilmSize_1=4\r\n打印医院名称=0\r\n";
    if (saveFilms)
        settings += "SaveFilm=1\r\nConnectString=" + connectString + "\r\n";
    PrintServer server(home, settings);
    if (!server.start())
        return figures;
    if (printFilms(server, home, 1).isEmpty())  // warm-up, start-up costs stay out
        return figures;

    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = vantorel::bench::cpuSeconds(server.pid());
    const QByteArray output = printFilms(server, home, films);
    figures.cpuPerFilm = (vantorel::bench::cpuSeconds(server.pid()) - cpuBefore) / films;
    const double seconds = clock.elapsed() / 1000.0;
    if (output.isEmpty())
        return figures;
    const auto latencies = vantorel::bench::actionLatenciesMs(output);
    if (!latencies.empty()) {
        figures.medianActionMs = latencies[latencies.size() / 2];
        figures.maxActionMs = latencies.back();
    }
    figures.filmsPerSecond = films / seconds;
    QDirIterator it(home.path() + "/images", {"*.tiff"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        figures.largestTiffBytes = std::max(figures.largestTiffBytes, QFileInfo(it.next()).size());
        ++figures.tiffs;
    }
    const auto log = runLogMessages(home);
    const auto archiveFailures = std::count_if(log.begin(), log.end(), [](const std::string& line) {
        return line.find("recorded in the archive") != std::string::npos ||
            line.find("not saved") != std::string::npos;
    });
    if (archiveFailures > 0)
        std::fprintf(stderr, "%ld films not saved or recorded (see the run log)\n", long(archiveFailures));
    if (saveFilms)
        removeArchiveRows(home.path());
    figures.ok = true;
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    int films = 20;
    for (int i = 1; i + 1 < argc; ++i) {
        if (QString(argv[i]) == "--films")
            films = std::max(1, std::atoi(argv[i + 1]));
    }
    const bool haveDatabase = !qEnvironmentVariable("VANTOREL_DB_CONNECT").isEmpty();
    if (!haveDatabase)
        std::printf("(VANTOREL_DB_CONNECT unset: film saving uses the default connection string)\n");
    std::printf("| film saving | films | N-ACTION median ms | max ms | films/s | server CPU s per film | "
                "TIFF files | "
                "largest TIFF MB |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    SilentDatabase silent;
    struct Round {
        const char* name;
        bool saveFilms;
        QString connectString;
    };
    const Round rounds[] = {
        {"off", false, {}},
        {"on", true, qEnvironmentVariable("VANTOREL_DB_CONNECT")},
        {"on, database never answers", true, silent.connectString()},
    };
    for (const Round& round : rounds) {
        const Figures f = measure(round.saveFilms, films, round.connectString);
        if (!f.ok) {
            std::printf("| %s | failed |\n", round.name);
            continue;
        }
        std::printf("| %s | %d | %.0f | %.0f | %.2f | %.3f | %d | %.2f |\n", round.name, films,
                    f.medianActionMs, f.maxActionMs, f.filmsPerSecond, f.cpuPerFilm, f.tiffs,
                    f.largestTiffBytes / (1024.0 * 1024.0));
    }
    return 0;
}
