#pragma once

// The real programs for end-to-end tests and benchmarks: a fresh temporary
// home folder per test (per-user settings kept inside it, no window system),
// the vantorel program started there and stopped by its PID, its run log read
// back, and the other programs run to their end.

#include "support/echo_probe.h"
#include "support/wait_for.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace vantorel::testing {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline QByteArray gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

// A variable of the test environment, nullptr when unset or empty.
inline const char* environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

class TempHome {
public:
    TempHome() { QDir().mkpath(configDir()); }

    QString path() const { return dir_.path(); }
    QString configDir() const { return dir_.path() + "/.config-for-test"; }

    // Writes raw bytes (INI files are GBK on disk) to a path below the home.
    void writeFile(const QString& relativePath, const QByteArray& bytes) const
    {
        const QString full = dir_.path() + "/" + relativePath;
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QByteArray readFile(const QString& relativePath) const
    {
        QFile file(dir_.path() + "/" + relativePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", configDir());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TZ", "Asia/Shanghai");
        return env;
    }

    // Every run log file of the home (oldest day first), GBK on disk, as text.
    QString runLog() const
    {
        QString text;
        const QDir folder(path() + "/LOG");
        for (const QString& name : folder.entryList({"*.log"}, QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                text += QStringDecoder("GBK").decode(file.readAll());
        }
        return text;
    }

private:
    QTemporaryDir dir_;
};

// The messages of the run log (all days), without their time stamps.
inline std::vector<std::string> runLogMessages(const TempHome& home)
{
    std::vector<std::string> messages;
    for (const QString& line : home.runLog().split("\r\n", Qt::SkipEmptyParts)) {
        const int at = line.indexOf("]    ");
        messages.push_back((at < 0 ? line : line.mid(at + 5)).toStdString());
    }
    return messages;
}

inline int countOf(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// Lines as one text, one line each, for failure messages.
inline std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

inline int countStartingWith(const std::vector<std::string>& lines, const std::string& start)
{
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; }));
}

inline QString programPath(const char* name)
{
    return QString(VANTOREL_BIN_DIR) + "/" + name;
}

// Runs a program to its end (at most `timeoutMs`) and collects its output.
inline ProgramResult runProgram(const QString& program, const QStringList& args,
                                const QProcessEnvironment& env, int timeoutMs = 60000)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    ProgramResult result;
    if (!process.waitForStarted(timeoutMs))
        return result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

// Writes "[PrtIni]", the lines of `prtIni` and "Port=" into PrtIni.ini (GBK).
inline void writePortIni(const TempHome& home, int port, const QString& prtIni = {})
{
    home.writeFile("PrtIni.ini", gbk("[PrtIni]\r\n" + prtIni + "Port=" + QString::number(port) + "\r\n"));
}

// The vantorel program on a home folder, stopped by its PID (SIGTERM, then
// SIGKILL) at the latest when this object goes.
class VantorelProcess {
public:
    explicit VantorelProcess(const TempHome& home) : home_(home) {}
    ~VantorelProcess() { stop(); }
    VantorelProcess(const VantorelProcess&) = delete;
    VantorelProcess& operator=(const VantorelProcess&) = delete;

    // Starts `vantorel --home <home> <args>` in `env`; its standard error is
    // kept for errorOutput(), or passed on to the test's with `forwardErrors`.
    bool start(const QStringList& args, const QProcessEnvironment& env, bool forwardErrors = false)
    {
        process_.setProcessEnvironment(env);
        if (forwardErrors)
            process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(programPath("vantorel"), QStringList{"--home", home_.path()} + args);
        return process_.waitForStarted(30000);
    }

    // Waits until it answers a C-ECHO on `port`; false when it ended first.
    bool waitUntilAnswering(int port, int timeoutMs = 60000)
    {
        return waitFor([&] { return !running() || answersEcho(port); }, timeoutMs) && running();
    }

    // Waits for the program to end by itself; its exit code, -1 when it
    // crashed or did not end.
    int waitForEnd(int timeoutMs = 20000)
    {
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(timeoutMs))
            return -1;
        return exitCode();
    }

    // Ends the program with SIGTERM (SIGKILL after 30 s); its exit code.
    int stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return exitCode();
        process_.terminate();
        if (!process_.waitForFinished(30000)) {
            process_.kill();
            process_.waitForFinished(10000);
            return -1;
        }
        return exitCode();
    }

    bool running() const { return process_.state() == QProcess::Running; }
    qint64 pid() const { return process_.processId(); }
    QProcess& process() { return process_; }

    // What it wrote to standard error so far.
    QString errorOutput()
    {
        errors_ += QString::fromUtf8(process_.readAllStandardError());
        return errors_;
    }

    QString log() const { return home_.runLog(); }
    bool waitForLog(const QString& text, int timeoutMs = 30000) const
    {
        return waitFor([&] { return log().contains(text); }, timeoutMs);
    }

private:
    int exitCode() const { return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1; }

    const TempHome& home_;
    QProcess process_;
    QString errors_;
};

}  // namespace vantorel::testing
