#pragma once

// Runs the real vantorel program for end-to-end tests: a fresh temporary home
// folder per test, per-user settings kept inside it, and no window system.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

namespace vantorel::testing {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

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

private:
    QTemporaryDir dir_;
};

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

}  // namespace vantorel::testing
