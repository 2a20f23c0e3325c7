// Print service benchmark: K print sessions of STANDARD\4,5 with 512x512
// 12-bit images against the real program, one association at a time and two
// at a time. Each session is one association of vantorel-printscu (N-GET
// Printer, N-CREATE session and film box, 20 N-SETs, N-ACTION, 2 N-DELETEs);
// a last round runs all sessions on a single association, without the cost
// of starting a client and negotiating per film.
// Reports per-request round trips (median, p95), films/s, images/s and the
// server's peak resident memory.
//
// Before those rounds, N associations (default 100) each leave an orphan film
// box behind: a film box STANDARD\2,2 naming a film session that does not
// exist, its four image boxes set with 512x512 12-bit images, no N-ACTION,
// no N-DELETE, release. The server's resident memory after them is compared
// with the resident memory before.
//
//   print_service_bench [--sessions K] [--orphans N] [--only-orphans] [--bin DIR]

#include "../bench_figures.h"
#include "support/echo_probe.h"
#include "support/free_port.h"
#include "support/wait_for.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <vector>

using namespace vantorel::bench;
using namespace vantorel::testing;

namespace {

struct Round {
    std::map<std::string, std::vector<double>> latencyMs;  // by request kind
    int films = 0;
    int failures = 0;
    double seconds = 0;
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t index = static_cast<std::size_t>(p * (values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// The resident memory once it has stopped moving (the last association's
// objects are removed on the main thread just after its release).
long settledRssKb(qint64 pid)
{
    long previous = -1;
    long current = statusKb(pid, "VmRSS");
    for (int i = 0; i < 20 && current != previous; ++i) {
        QThread::msleep(100);
        previous = current;
        current = statusKb(pid, "VmRSS");
    }
    return current;
}

// `count` associations, one after the other, each leaving an orphan film box
// of four 512x512 12-bit images.
void runOrphans(const QString& bin, int port, qint64 server, int count)
{
    const long before = settledRssKb(server);
    QElapsedTimer clock;
    clock.start();
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        QProcess client;
        client.start(bin + "/vantorel-printscu",
                     {"--no-printer", "--orphan", "--format", "STANDARD\\2,2", "--size", "512", "--bits",
                      "12", "--action", "none", "--no-delete", "127.0.0.1", QString::number(port)});
        const bool ok = client.waitForFinished(60000) && client.exitStatus() == QProcess::NormalExit &&
            client.exitCode() == 0;
        failures += ok ? 0 : 1;
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    const long after = settledRssKb(server);
    std::printf("\norphan film boxes: %d associations in %.2f s, %d failed\n", count, seconds, failures);
    std::printf("  server RSS before %ld kB, after %ld kB (%+.1f %%)\n", before, after,
                before > 0 ? 100.0 * (after - before) / before : 0.0);
}

QProcess* startSession(const QString& bin, int port, int sessions = 1)
{
    auto* process = new QProcess;
    process->start(bin + "/vantorel-printscu",
                   {"--format", "STANDARD\\4,5", "--size", "512", "--bits", "12", "--latency", "--sessions",
                    QString::number(sessions), "127.0.0.1", QString::number(port)});
    return process;
}

void collect(QProcess* process, Round& round)
{
    process->waitForFinished(600000);
    const bool ok = process->exitCode() == 0 && process->exitStatus() == QProcess::NormalExit;
    for (const QByteArray& line : process->readAllStandardOutput().split('\n')) {
        if (line.startsWith("N-ACTION Film Box: status 0x0000"))
            ok ? ++round.films : ++round.failures;
        if (!line.startsWith("latency "))
            continue;
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3)
            round.latencyMs[parts[1].toStdString()].push_back(parts[2].toDouble() / 1000.0);
    }
    delete process;
}

// `sessions` sessions, `parallel` associations open at a time.
Round runRound(const QString& bin, int port, int sessions, int parallel)
{
    Round round;
    QElapsedTimer clock;
    clock.start();
    int started = 0;
    while (started < sessions) {
        std::vector<QProcess*> running;
        for (int i = 0; i < parallel && started < sessions; ++i, ++started)
            running.push_back(startSession(bin, port));
        for (QProcess* process : running)
            collect(process, round);
    }
    round.seconds = clock.nsecsElapsed() / 1e9;
    return round;
}

// All sessions one after the other on a single association.
Round runOneAssociation(const QString& bin, int port, int sessions)
{
    Round round;
    QElapsedTimer clock;
    clock.start();
    collect(startSession(bin, port, sessions), round);
    round.seconds = clock.nsecsElapsed() / 1e9;
    return round;
}

void report(const char* title, const Round& round)
{
    std::printf("\n%s: %d films in %.2f s, %d failed\n", title, round.films, round.seconds, round.failures);
    std::printf("  films/s %.2f   images/s %.1f\n", round.films / round.seconds,
                round.films * 20 / round.seconds);
    std::printf("  %-9s %8s %10s %10s\n", "request", "count", "median ms", "p95 ms");
    for (const auto& [kind, values] : round.latencyMs)
        std::printf("  %-9s %8zu %10.2f %10.2f\n", kind.c_str(), values.size(), percentile(values, 0.5),
                    percentile(values, 0.95));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    int sessions = 20;
    int orphans = 100;
    bool onlyOrphans = false;
    QString bin = QCoreApplication::applicationDirPath();
    const QStringList args = application.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--sessions")
            sessions = args[i + 1].toInt();
        if (args[i] == "--bin")
            bin = args[i + 1];
        if (args[i] == "--orphans")
            orphans = args[i + 1].toInt();
    }
    onlyOrphans = args.contains("--only-orphans");

    QTemporaryDir home;
    const int port = freePort();
    QFile ini(home.path() + "/PrtIni.ini");
    ini.open(QIODevice::WriteOnly);
    ini.write("[PrtIni]\r\nPort=" + QByteArray::number(port) + "\r\n");
    ini.close();

    QProcess server;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", home.path() + "/.config");
    server.setProcessEnvironment(env);
    server.start(bin + "/vantorel", {"--home", home.path(), "--headless"});
    if (!server.waitForStarted())
        return 1;
    if (!waitFor([&] { return answersEcho(port); }, 30000)) {
        std::cerr << "the server did not answer C-ECHO\n";
        return 1;
    }

    std::printf("print service benchmark: %d sessions of STANDARD\\4,5, 512x512 12-bit, per round\n",
                sessions);
    runRound(bin, port, 2, 1);  // warm-up
    runOrphans(bin, port, server.processId(), orphans);
    if (onlyOrphans) {
        server.terminate();
        server.waitForFinished(30000);
        return 0;
    }
    report("one association at a time", runRound(bin, port, sessions, 1));
    report("two associations at a time", runRound(bin, port, sessions, 2));
    report("all sessions on one association", runOneAssociation(bin, port, sessions));
    std::printf("\nserver peak RSS: %ld kB\n", peakRssKb(server.processId()));

    server.terminate();
    server.waitForFinished(30000);
    return 0;
}
