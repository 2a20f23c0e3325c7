#pragma once

// A cups-pdf queue of a test's own, made with lpadmin the way scripts/services
// makes the shared ones, under a unique name, writing into its own folder
// below /tmp. It is removed with its settings file and folder when the object
// goes, also when the test fails; the shared queues are never touched.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QUuid>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::testing {

class CupsTestQueue {
public:
    CupsTestQueue()
        : name_("VT" + QUuid::createUuid().toString(QUuid::Id128).left(10)),
          folder_("/tmp/vantorel-pdf-test/" + name_),
          settings_("/etc/cups/cups-pdf-" + name_ + ".conf")
    {
        if (!QFile::exists(ppd)) {
            problem_ = "the cups-pdf driver is not installed";
            return;
        }
        QDir().mkpath(folder_);
        ::chmod("/tmp/vantorel-pdf-test", 01777);
        ::chmod(folder_.toLocal8Bit().constData(), 01777);
        const QString conf = QString("Out %1\nAnonDirName %1\nLabel 1\nGrp lp\n").arg(folder_);
        if (!asRoot("tee", {settings_}, conf.toUtf8())) {
            problem_ = "cannot write " + settings_.toStdString() + ": " + output_;
            return;
        }
        if (!asRoot("lpadmin", {"-p", name_, "-E", "-v", "cups-pdf:/" + name_, "-P", ppd})) {
            problem_ = "lpadmin cannot make a queue: " + output_;
            return;
        }
        made_ = true;
    }

    ~CupsTestQueue()
    {
        if (made_)
            asRoot("lpadmin", {"-x", name_});
        asRoot("rm", {"-f", settings_});
        QDir(folder_).removeRecursively();
    }

    CupsTestQueue(const CupsTestQueue&) = delete;
    CupsTestQueue& operator=(const CupsTestQueue&) = delete;

    // Empty when the queue was made; else why not (the test then skips).
    const std::string& problem() const { return problem_; }
    const QString& name() const { return name_; }
    const QString& folder() const { return folder_; }

    // cupsreject / cupsaccept / cupsdisable / cupsenable with a reason.
    bool reject(const QString& reason) { return asRoot("cupsreject", {"-r", reason, name_}); }
    bool accept() { return asRoot("cupsaccept", {name_}); }
    bool disable(const QString& reason) { return asRoot("cupsdisable", {"-r", reason, name_}); }
    bool enable() { return asRoot("cupsenable", {name_}); }

    const std::string& lastOutput() const { return output_; }

private:
    static constexpr const char* ppd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

    bool asRoot(const QString& program, QStringList args, const QByteArray& input = {})
    {
        QString command = program;
        if (::geteuid() != 0) {
            args.prepend(program);
            args.prepend("-n");
            command = "sudo";
        }
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(command, args);
        if (!process.waitForStarted(10000)) {
            output_ = command.toStdString() + " does not start";
            return false;
        }
        process.write(input);
        process.closeWriteChannel();
        const bool finished = process.waitForFinished(30000);
        output_ = process.readAll().trimmed().toStdString();
        return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QString name_;
    QString folder_;
    QString settings_;
    bool made_ = false;
    std::string problem_;
    std::string output_;
};

}  // namespace vantorel::testing
