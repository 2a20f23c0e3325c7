#pragma once

// Starts the real vantorel program headless on a free loopback port with a
// temporary home, and drives it with the real vantorel-printscu.

#include "support/free_port.h"
#include "support/program_runner.h"

namespace vantorel::testing {

inline ProgramResult printscu(int port, QStringList args, int timeoutMs = 120000)
{
    args << "127.0.0.1" << QString::number(port);
    return runProgram(programPath("vantorel-printscu"), args, QProcessEnvironment::systemEnvironment(),
                      timeoutMs);
}

class RunningService {
public:
    explicit RunningService(const TempHome& home, const QProcessEnvironment& extra = {})
        : home_(home), extra_(extra), process_(home)
    {}

    // Starts on `port` and waits until the start-up log lines are written.
    void start(int port)
    {
        port_ = port;
        writePortIni(home_, port);
        QProcessEnvironment env = home_.environment();
        for (const QString& key : extra_.keys())
            env.insert(key, extra_.value(key));
        process_.start({"--headless"}, env);
        waitForLog("监听端口状态=");
    }

    // Starts on a free port; retries when another test took it meanwhile.
    bool startOnFreePort()
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            start(freePort());
            if (log().contains("监听端口状态=True") && process_.waitUntilAnswering(port_, 30000))
                return true;
            stop();
            QDir(home_.path() + "/LOG").removeRecursively();
        }
        return false;
    }

    // SIGTERM, then the exit code (-1 when it did not end normally).
    int stop() { return process_.stop(); }
    // Waits for the program to end by itself: its exit code, -1 when it did not.
    int waitForEnd(int timeoutMs = 20000) { return process_.waitForEnd(timeoutMs); }

    bool running() const { return process_.running(); }
    int port() const { return port_; }
    std::string errorOutput() { return process_.errorOutput().toStdString(); }

    // The run log, GBK on disk, as text.
    QString log() const { return process_.log(); }
    bool waitForLog(const QString& text, int timeoutMs = 30000) const
    {
        return process_.waitForLog(text, timeoutMs);
    }

private:
    const TempHome& home_;
    QProcessEnvironment extra_;
    VantorelProcess process_;
    int port_ = 0;
};

}  // namespace vantorel::testing
