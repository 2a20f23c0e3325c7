// Direct printing throughput of the real program, driven by the modality
// simulator: N-ACTION request-to-response time and whole-session films per
// second at one and two associations, to the FilmFile printer and to a
// cups-pdf queue (VANTOREL_CUPS_QUEUE / VANTOREL_CUPS_PDF_DIR), with the
// server's peak resident memory. Not a test: it prints figures.
//
//   vantorel-bench-direct-print [--films N] [--only TEXT]
//     --films N    films per association (default 8)
//     --only TEXT  only the films whose name contains TEXT, e.g. 8192

#include "../bench_figures.h"
#include "e2e/print_server.h"
#include "support/dicom_image_files.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace vantorel::testing;

namespace {

struct Scenario {
    const char* name;
    QStringList args;    // image options of the simulator
    bool large = false;  // one association, at most one film after the warm-up
};

struct Target {
    QString name;
    QString printer;
    QString queue;      // empty for FilmFile
    QString pdfFolder;  // where the films land
};

struct Figures {
    double medianActionMs = 0;
    double maxActionMs = 0;
    double filmsPerSecond = 0;     // N-ACTION answered (films handed to the printer)
    double pdfFilmsPerSecond = 0;  // until every PDF is written (cups-pdf only)
    long peakRssKb = 0;
    int films = 0;
    bool ok = false;
};

// A 12-bit (or 16-bit) MONOCHROME2 image with a diagonal gradient, as a DICOM file.
QString writeGradientImage(const QString& folder, int columns, int rows, int bits = 12)
{
    const QString path = folder + QString("/gradient-%1x%2-%3.dcm").arg(columns).arg(rows).arg(bits);
    const double top = (1 << bits) - 1.0;
    writeGreyImageFile(path, {columns, rows, bits},
                       [&](int x, int y) { return static_cast<Uint16>(top * (x + y) / (columns + rows)); });
    return path;
}

// Runs `associations` simulators at once, each printing `films` one-film
// sessions; returns their combined output, or empty on failure.
QByteArray runAssociations(const PrintServer& server, const TempHome& home, const Scenario& scenario,
                           int associations, int films)
{
    std::vector<std::unique_ptr<QProcess>> clients;
    for (int i = 0; i < associations; ++i) {
        auto client = std::make_unique<QProcess>();
        client->setProcessEnvironment(home.environment());
        QStringList args = scenario.args;
        args << "--sessions" << QString::number(films) << "--latency"
             << "--film-size"
             << "14INX17IN"
             << "127.0.0.1" << QString::number(server.port());
        client->start(programPath("vantorel-printscu"), args);
        clients.push_back(std::move(client));
    }
    QByteArray output;
    bool ok = true;
    for (auto& client : clients) {
        ok = client->waitForFinished(600000) && client->exitCode() == 0 && ok;
        output += client->readAllStandardOutput();
        if (!ok)
            std::fprintf(stderr, "simulator failed: %s\n", client->readAllStandardError().constData());
    }
    return ok ? output : QByteArray();
}

Figures measure(const Target& target, const Scenario& scenario, int associations, int films)
{
    Figures figures;
    TempHome home;
    home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=" + target.printer + "\r\n"));
    PrintServer server(home, "打印医院名称=0\r\n");
    if (!server.start())
        return figures;
    const QString folder = target.queue.isEmpty() ? home.path() + "/FilmFile" : target.pdfFolder;

    // One film first, so that start-up costs stay out of the figures.
    if (runAssociations(server, home, scenario, 1, 1).isEmpty())
        return figures;
    if (!target.queue.isEmpty())
        waitForNewPdfs(folder, {}, 0, target.queue, 600000);
    const auto before = pdfFilesIn(folder);

    QElapsedTimer clock;
    clock.start();
    const QByteArray output = runAssociations(server, home, scenario, associations, films);
    const double answered = clock.elapsed() / 1000.0;
    if (output.isEmpty())
        return figures;
    figures.films = associations * films;
    waitForNewPdfs(folder, before, figures.films, target.queue, 600000);
    const double written = clock.elapsed() / 1000.0;

    const auto latencies = vantorel::bench::actionLatenciesMs(output);
    if (!latencies.empty()) {
        figures.medianActionMs = latencies[latencies.size() / 2];
        figures.maxActionMs = latencies.back();
    }
    figures.filmsPerSecond = figures.films / answered;
    figures.pdfFilmsPerSecond = figures.films / written;
    figures.peakRssKb = vantorel::bench::peakRssKb(server.pid());
    figures.ok = true;
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    int films = 8;
    QString only;
    for (int i = 1; i + 1 < argc; ++i) {
        if (QString(argv[i]) == "--films")
            films = std::max(1, std::atoi(argv[i + 1]));
        if (QString(argv[i]) == "--only")
            only = argv[i + 1];
    }

    TempHome images;
    std::vector<Scenario> scenarios = {
        {"STANDARD\\4,5, 20 x 512x512 12-bit",
         {"--format", "STANDARD\\4,5", "--size", "512", "--bits", "12"}},
        {"STANDARD\\1,1, 2500x3000 12-bit",
         {"--format", "STANDARD\\1,1", "--image", writeGradientImage(images.path(), 2500, 3000)}},
        {"STANDARD\\2,2, 4 x 1024x1024 RGB", {"--format", "STANDARD\\2,2", "--size", "1024", "--color"}},
    };
    // 512 MiB of pixel data in one film: the rendering's memory peak. Its
    // 128 MiB image is written only when the film is measured.
    const char* large = "STANDARD\\2,2, 4 x 8192x8192 16-bit";
    if (only.isEmpty() || QString(large).contains(only))
        scenarios.push_back(
            {large,
             {"--format", "STANDARD\\2,2", "--image", writeGradientImage(images.path(), 8192, 8192, 16)},
             true});
    std::vector<Target> targets = {{"FilmFile", "FilmFile", "", ""}};
    const QString queue = qEnvironmentVariable("VANTOREL_CUPS_QUEUE");
    const QString pdfFolder = qEnvironmentVariable("VANTOREL_CUPS_PDF_DIR");
    if (!queue.isEmpty() && !pdfFolder.isEmpty())
        targets.push_back({"cups-pdf " + queue, queue, queue, pdfFolder});
    else
        std::printf("(VANTOREL_CUPS_QUEUE unset: cups-pdf skipped)\n");

    std::printf("| printer | film | assoc. | films | N-ACTION median ms | max ms | films/s answered | "
                "films/s to PDF | peak RSS MB |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    for (const Target& target : targets) {
        for (const Scenario& scenario : scenarios) {
            if (!only.isEmpty() && !QString(scenario.name).contains(only))
                continue;
            for (int associations : {1, 2}) {
                if (scenario.large && associations > 1)
                    continue;
                const Figures f =
                    measure(target, scenario, associations, scenario.large ? std::min(films, 1) : films);
                if (!f.ok) {
                    std::printf("| %s | %s | %d | failed |\n", qPrintable(target.name), scenario.name,
                                associations);
                    continue;
                }
                std::printf("| %s | %s | %d | %d | %.0f | %.0f | %.2f | %.2f | %.0f |\n",
                            qPrintable(target.name), scenario.name, associations, f.films, f.medianActionMs,
                            f.maxActionMs, f.filmsPerSecond, f.pdfFilmsPerSecond, f.peakRssKb / 1024.0);
                std::fflush(stdout);
            }
        }
    }
    return 0;
}
