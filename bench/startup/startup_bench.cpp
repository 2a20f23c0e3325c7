// Measures the time from starting vantorel to its first accepted DICOM
// association (a C-ECHO association, tried every 2 ms), on a fresh home with
// the runtime files, headless and, when Xvfb is installed, with the window.
//   startup_bench [runs]

#include "support/echo_probe.h"
#include "support/free_port.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

using namespace vantorel::testing;

namespace {

void prepareHome(const QString& home, int port)
{
    const QString from = QStringLiteral(VANTOREL_RUNTIME_DIR);
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = home + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
    QFile ini(home + "/PrtIni.ini");
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[PrtIni]\r\nPort=" + QByteArray::number(port) + "\r\n");
}

// Milliseconds from start to the first accepted association; nullopt when
// none came within 30 s.
std::optional<double> measureOnce(const QString& display)
{
    QTemporaryDir home;
    const int port = freePort();
    prepareHome(home.path(), port);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", home.path() + "/.config");
    env.remove("QT_QPA_PLATFORM");
    QStringList args{"--home", home.path()};
    if (display.isEmpty()) {
        env.remove("DISPLAY");
        args << "--headless";
    } else {
        env.insert("DISPLAY", display);
    }
    QProcess program;
    program.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(VANTOREL_BIN_DIR) + "/vantorel", args);
    std::optional<double> result;
    while (clock.elapsed() < 30000 && program.state() != QProcess::NotRunning) {
        if (answersEcho(port)) {
            result = clock.nsecsElapsed() / 1e6;
            break;
        }
        QThread::msleep(2);
    }
    program.terminate();
    if (!program.waitForFinished(10000))
        program.kill();
    program.waitForFinished();
    return result;
}

void report(const char* mode, std::vector<double> times)
{
    if (times.empty()) {
        std::printf("%-9s no association accepted\n", mode);
        return;
    }
    std::sort(times.begin(), times.end());
    std::printf("%-9s runs %zu  min %.0f ms  median %.0f ms  max %.0f ms\n", mode, times.size(),
                times.front(), times[times.size() / 2], times.back());
}

std::vector<double> measure(int runs, const QString& display)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (auto ms = measureOnce(display))
            times.push_back(*ms);
    }
    return times;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    report("headless", measure(runs, QString()));

    QProcess xvfb;
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    QByteArray number;
    if (xvfb.waitForStarted(5000)) {
        while (!number.contains('\n') && xvfb.waitForReadyRead(10000))
            number += xvfb.readAllStandardOutput();
    }
    if (number.trimmed().isEmpty()) {
        std::printf("window    Xvfb not available\n");
        return 0;
    }
    report("window", measure(runs, ":" + QString::fromLatin1(number.trimmed())));
    xvfb.terminate();
    xvfb.waitForFinished();
    return 0;
}
