// The film writer against its floor, in one run: the real program prints
// direct STANDARD\4,5 films of twenty 512x512 12-bit images on FilmFile, sent
// by the modality simulator on one association, and the floor program
// (vantorel-bench-floor: Qt's PDF engine placing twenty 512x512 pictures) is
// run beside it. Prints the N-ACTION median, the server's CPU time per film
// and the PDF size against the floor's time, CPU and size per film. Not a
// test: it prints figures.
//
//   vantorel-bench-film-writer [--films N]

#include "../bench_figures.h"
#include "e2e/print_server.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace vantorel::testing;

namespace {

struct Figures {
    double medianActionMs = 0;
    double cpuPerFilm = 0;
    double kilobytesPerFilm = 0;
    bool ok = false;
};

Figures measureServer(const QString& settings, int films)
{
    Figures figures;
    TempHome home;
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=FilmFile\r\n"));
    PrintServer server(home, settings);
    if (!server.start())
        return figures;
    const QStringList film{"--format", "STANDARD\\4,5", "--size",      "512",      "--bits",
                           "12",       "--latency",     "--film-size", "14INX17IN"};
    // One film first, so that start-up costs stay out of the figures.
    if (server.print(film).exitCode != 0)
        return figures;
    const auto before = pdfFilesIn(home.path() + "/FilmFile");
    const double cpuBefore = vantorel::bench::cpuSeconds(server.pid());
    const ProgramResult result = server.print(QStringList(film) << "--sessions" << QString::number(films));
    const double cpuAfter = vantorel::bench::cpuSeconds(server.pid());
    if (result.exitCode != 0)
        return figures;
    const QStringList written = newPdfFiles(home.path() + "/FilmFile", before);
    qint64 bytes = 0;
    for (const QString& file : written)
        bytes += QFileInfo(file).size();
    const auto latencies = vantorel::bench::actionLatenciesMs(QByteArray::fromStdString(result.out));
    if (latencies.empty() || written.size() != static_cast<qsizetype>(films))
        return figures;
    figures.medianActionMs = latencies[latencies.size() / 2];
    figures.cpuPerFilm = (cpuAfter - cpuBefore) / films;
    figures.kilobytesPerFilm = bytes / 1024.0 / films;
    figures.ok = true;
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    int films = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (QString(argv[i]) == "--films")
            films = std::max(1, std::atoi(argv[i + 1]));

    TempHome floorFolder;
    QProcess floor;
    floor.start(programPath("vantorel-bench-floor"),
                {"--films", QString::number(films), "--folder", floorFolder.path()});
    if (!floor.waitForFinished(600000) || floor.exitCode() != 0) {
        std::fprintf(stderr, "the floor program failed: %s\n", floor.readAllStandardError().constData());
        return 1;
    }
    // "floor films N median-ms X cpu-s-per-film Y bytes Z"
    const QList<QByteArray> f = floor.readAllStandardOutput().simplified().split(' ');
    if (f.size() < 9) {
        std::fprintf(stderr, "the floor program printed no figures\n");
        return 1;
    }
    const double floorMs = f[4].toDouble();
    std::printf("| writer | films | N-ACTION median ms | x floor | server CPU s per film | KiB per film |\n");
    std::printf("|---|---|---|---|---|---|\n");
    std::printf(
        "| floor: Qt's PDF engine, 20 pictures only | %d | %.1f (time per film) | 1.00 | %.4f | %.0f |\n",
        films, floorMs, f[6].toDouble(), f[8].toDouble() / 1024);
    std::fflush(stdout);

    struct Run {
        const char* name;
        QString settings;
    };
    const QString plain = "打印医院名称=0\r\n";
    const Run runs[] = {
        {"film writer, lossless", plain},
        {"film writer, jpeg", plain + "FilmImageCompression=jpeg\r\n"},
        {"film writer, lossless, header text", "打印医院名称=1\r\n"},
    };
    for (const Run& run : runs) {
        const Figures figures = measureServer(run.settings, films);
        if (!figures.ok) {
            std::printf("| %s | failed |\n", run.name);
            continue;
        }
        std::printf("| %s | %d | %.1f | %.2f | %.4f | %.0f |\n", run.name, films, figures.medianActionMs,
                    figures.medianActionMs / floorMs, figures.cpuPerFilm, figures.kilobytesPerFilm);
        std::fflush(stdout);
    }
    return 0;
}
