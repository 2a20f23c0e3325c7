#pragma once

// The real vantorel program as a running print server for end-to-end tests:
// a fresh home with GBK INI files, a free loopback port, no window system.
// The server is ready once a C-ECHO is answered; it stops by SIGTERM.

#include "program_runner.h"
#include "support/pdf_pages.h"

#include <QHostAddress>
#include <QProcess>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTcpServer>

#include <algorithm>
#include <string>
#include <vector>

namespace vantorel::testing {

inline QByteArray gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

inline int freeTcpPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    return server.serverPort();
}

inline bool answersEcho(int port)
{
    QProcess echo;
    echo.start("echoscu", {"-to", "5", "-aec", "ZQ", "127.0.0.1", QString::number(port)});
    return echo.waitForFinished(10000) && echo.exitStatus() == QProcess::NormalExit &&
           echo.exitCode() == 0;
}

// The messages of the run log (all days), without their time stamps.
inline std::vector<std::string> runLogMessages(const TempHome& home)
{
    std::vector<std::string> messages;
    const QDir folder(home.path() + "/LOG");
    for (const QString& name : folder.entryList({"*.log"}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QStringDecoder decoder("GBK");
        const QString text = decoder.decode(file.readAll());
        for (const QString& line : text.split("\r\n", Qt::SkipEmptyParts)) {
            const int at = line.indexOf("]    ");
            messages.push_back((at < 0 ? line : line.mid(at + 5)).toStdString());
        }
    }
    return messages;
}

inline int countOf(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class PrintServer {
public:
    // Writes "Port" into PrtIni.ini below `home` (lines in `prtIni` come first).
    PrintServer(const TempHome& home, const QString& prtIni,
                QProcessEnvironment environment = {})
        : home_(home), port_(freeTcpPort()),
          environment_(environment.isEmpty() ? home.environment() : environment)
    {
        home_.writeFile("PrtIni.ini",
                        gbk("[PrtIni]\r\n" + prtIni + "Port=" + QString::number(port_) + "\r\n"));
    }

    ~PrintServer() { stop(); }

    bool start()
    {
        process_.setProcessEnvironment(environment_);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(programPath("vantorel"), {"--home", home_.path(), "--headless"});
        if (!process_.waitForStarted(30000))
            return false;
        return waitFor([this] { return process_.state() != QProcess::Running || answersEcho(port_); },
                       60000) &&
               process_.state() == QProcess::Running;
    }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(30000)) {
            process_.kill();
            process_.waitForFinished(10000);
        }
    }

    // One association of the modality simulator against this server.
    ProgramResult print(const QStringList& options) const
    {
        QStringList args = options;
        args << "127.0.0.1" << QString::number(port_);
        return runProgram(programPath("vantorel-printscu"), args, environment_, 120000);
    }

    int port() const { return port_; }
    qint64 pid() const { return process_.processId(); }

private:
    const TempHome& home_;
    int port_;
    QProcessEnvironment environment_;
    QProcess process_;
};

}  // namespace vantorel::testing
