#pragma once

// The real vantorel program as a running print server for end-to-end tests
// and benchmarks: a fresh home with GBK INI files, a free loopback port, no
// window system. The server is ready once a C-ECHO is answered; it stops by
// SIGTERM.

#include "support/free_port.h"
#include "support/pdf_pages.h"
#include "support/program_runner.h"

namespace vantorel::testing {

class PrintServer {
public:
    // Writes "Port" into PrtIni.ini below `home` (lines in `prtIni` come first).
    PrintServer(const TempHome& home, const QString& prtIni, QProcessEnvironment environment = {})
        : home_(home),
          port_(freePort()),
          environment_(environment.isEmpty() ? home.environment() : environment),
          process_(home)
    {
        writePortIni(home_, port_, prtIni);
    }

    bool start()
    {
        return process_.start({"--headless"}, environment_, true) && process_.waitUntilAnswering(port_);
    }

    void stop() { process_.stop(); }

    // One association of the modality simulator against this server.
    ProgramResult print(const QStringList& options) const
    {
        QStringList args = options;
        args << "127.0.0.1" << QString::number(port_);
        return runProgram(programPath("vantorel-printscu"), args, environment_, 120000);
    }

    int port() const { return port_; }
    qint64 pid() const { return process_.pid(); }

private:
    const TempHome& home_;
    int port_;
    QProcessEnvironment environment_;
    VantorelProcess process_;
};

}  // namespace vantorel::testing
