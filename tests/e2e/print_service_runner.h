#pragma once

// Starts the real vantorel program headless on a free loopback port with a
// temporary home, and drives it with the real vantorel-printscu.

#include "program_runner.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QHostAddress>
#include <QStringDecoder>
#include <QTcpServer>
#include <QThread>

#include <functional>

namespace vantorel::testing {

// Polls `predicate` until it holds or `timeoutMs` has passed.
inline bool waitFor(const std::function<bool()>& predicate, int timeoutMs = 30000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!predicate()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// A port nobody listens on right now (the kernel's choice of a free one).
inline int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::Any, 0);
    return probe.serverPort();
}

inline ProgramResult printscu(int port, QStringList args, int timeoutMs = 120000)
{
    args << "127.0.0.1" << QString::number(port);
    return runProgram(programPath("vantorel-printscu"), args, QProcessEnvironment::systemEnvironment(),
                      timeoutMs);
}

class RunningService {
public:
    explicit RunningService(const TempHome& home, const QProcessEnvironment& extra = {})
        : home_(home), extra_(extra)
    {
    }
    ~RunningService() { stop(); }

    // Starts on `port` and waits until the start-up log lines are written.
    void start(int port)
    {
        port_ = port;
        home_.writeFile("PrtIni.ini", "[PrtIni]\r\nPort=" + QByteArray::number(port) + "\r\n");
        QProcessEnvironment env = home_.environment();
        for (const QString& key : extra_.keys())
            env.insert(key, extra_.value(key));
        process_.setProcessEnvironment(env);
        process_.start(programPath("vantorel"), {"--home", home_.path(), "--headless"});
        process_.waitForStarted();
        waitFor([this] { return log().contains("监听端口状态="); });
    }

    // Starts on a free port; retries when another test took it meanwhile.
    bool startOnFreePort()
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            start(freePort());
            if (log().contains("监听端口状态=True") &&
                waitFor([this] { return printscu(port_, {"--echo", "--no-printer", "--sessions", "0"}).exitCode == 0; }))
                return true;
            stop();
            QFile::remove(logPath());
        }
        return false;
    }

    // SIGTERM, then the exit code (-1 when it did not end normally).
    int stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return exitCode_;
        process_.terminate();
        if (!process_.waitForFinished(30000)) {
            process_.kill();
            process_.waitForFinished();
            return exitCode_ = -1;
        }
        stderr_ = process_.readAllStandardError().toStdString();
        return exitCode_ = process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

    bool running() const { return process_.state() == QProcess::Running; }
    int port() const { return port_; }
    const std::string& errorOutput() const { return stderr_; }

    QString logPath() const
    {
        QDirIterator it(home_.path() + "/LOG", {"*.log"}, QDir::Files);
        return it.hasNext() ? it.next() : QString();
    }

    // The run log, GBK on disk, as text.
    QString log() const
    {
        const QString path = logPath();
        QFile file(path);
        if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
            return {};
        QStringDecoder gbk("GBK");
        return gbk(file.readAll());
    }

    bool waitForLog(const QString& text, int timeoutMs = 30000) const
    {
        return waitFor([&] { return log().contains(text); }, timeoutMs);
    }

private:
    const TempHome& home_;
    QProcessEnvironment extra_;
    QProcess process_;
    int port_ = 0;
    int exitCode_ = -1;
    std::string stderr_;
};

}  // namespace vantorel::testing
