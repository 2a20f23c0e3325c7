#pragma once

// The real vantorel program running with the console, for end-to-end tests:
// a prepared home folder, a free DICOM port, the run log and the console
// report read back, and the program stopped by the test.

#include "support/free_port.h"
#include "support/program_runner.h"

#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QMap>

namespace vantorel::testing {

// Home folder contents for the console tests.
class ConsoleHome : public TempHome {
public:
    // Writes one INI key in GBK, as the program's own settings store does.
    void setting(const char* file, const std::string& section, const std::string& key,
                 const std::string& value) const
    {
        EXPECT_TRUE(settings::SettingsStore(path().toStdString()).writeSetting(section, key, value, file))
            << "the test home could not take " << key;
    }

    // The skins, the printer list and the header that a new home gets from
    // runtime/.
    void copyRuntime() const { copyFolder(QStringLiteral(VANTOREL_RUNTIME_DIR)); }

    // What the build adds to a new home (shipped templates, About/about.ini),
    // as scripts/run and the package copy it after runtime/; files already
    // there are kept.
    void copyBuiltRuntime() const { copyFolder(QStringLiteral(VANTOREL_BUILT_RUNTIME_DIR)); }

    QString reportPath() const { return path() + "/console-report.txt"; }

    // The console's state written by the program after start-up.
    QMap<QString, QString> report() const
    {
        QMap<QString, QString> fields;
        QFile file(reportPath());
        if (!file.open(QIODevice::ReadOnly))
            return fields;
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
            const int equals = line.indexOf('=');
            if (equals > 0)
                fields[line.left(equals)] = line.mid(equals + 1);
        }
        return fields;
    }

private:
    void copyFolder(const QString& from) const
    {
        QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString source = files.next();
            if (files.fileName() == QLatin1String(".stamp"))  // the build's, not the home's
                continue;
            const QString target = path() + source.mid(from.size());
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(source, target);  // an existing file is kept
        }
    }
};

// Sends films with the modality simulator; its exit code (0: every step
// answered with status 0).
inline int sendFilm(int port, const QStringList& options = {})
{
    QProcess client;
    client.start(programPath("vantorel-printscu"), options + QStringList{"127.0.0.1", QString::number(port)});
    if (!client.waitForFinished(60000))
        return -1;
    return client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
}

// The PDF pages the built-in "FilmFile" printer wrote.
inline QStringList filmFiles(const TempHome& home)
{
    return QDir(home.path() + "/FilmFile").entryList({"*.pdf"}, QDir::Files);
}

class RunningProgram {
public:
    // Starts vantorel on `home`; with an empty `display` it runs headless.
    RunningProgram(const ConsoleHome& home, const QString& display, QStringList extraArgs = {})
        : process_(home)
    {
        QProcessEnvironment env = home.environment();
        env.insert("VANTOREL_CONSOLE_REPORT", home.reportPath());
        env.insert("VANTOREL_CONSOLE_COMMANDS", "1");
        if (display.isEmpty()) {
            env.remove("DISPLAY");
            extraArgs << "--headless";
        } else {
            env.remove("QT_QPA_PLATFORM");
            env.insert("DISPLAY", display);
        }
        process_.start(extraArgs, env);
    }

    bool running() const { return process_.running(); }
    qint64 pid() const { return process_.pid(); }

    // Waits for the program to end by itself; its exit code, -1 when it
    // crashed or did not end.
    int waitForEnd(int timeoutMs = 20000) { return process_.waitForEnd(timeoutMs); }

    // Ends the program with SIGTERM; its exit code.
    int stop() { return process_.stop(); }

    QString errorOutput() { return process_.errorOutput(); }

    // Sends one command to the window's automation (app/console_automation.h)
    // and returns its one-line answer, empty when none came in time.
    QString command(const QString& line, int timeoutMs = 20000)
    {
        QProcess& process = process_.process();
        process.write((line + '\n').toUtf8());
        QDeadlineTimer deadline(timeoutMs);
        while (!process.canReadLine()) {
            if (deadline.hasExpired() || process.state() != QProcess::Running)
                return {};
            process.waitForReadyRead(100);
        }
        return QString::fromUtf8(process.readLine()).trimmed();
    }

private:
    VantorelProcess process_;
};

}  // namespace vantorel::testing
