#pragma once

// A private X server for end-to-end tests of the window: Xvfb on a display
// number it picks itself, the X tools to look at it (xwininfo, import), and
// closing a window the way a window manager's close button does.

#include "support/wait_for.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include <optional>

namespace vantorel::testing {

class XSession {
public:
    XSession()
    {
        // -displayfd: Xvfb takes a free display number and writes it once ready.
        server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        if (!server_.waitForStarted(10000))
            return;
        QByteArray number;
        waitFor([&] {
            server_.waitForReadyRead(100);
            number += server_.readAllStandardOutput();
            return number.contains('\n') || server_.state() != QProcess::Running;
        });
        if (number.trimmed().isEmpty())
            return;
        display_ = ":" + QString::fromLatin1(number.trimmed());
    }
    ~XSession()
    {
        server_.terminate();
        if (!server_.waitForFinished(5000)) {
            server_.kill();
            server_.waitForFinished();
        }
    }
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ok() const { return !display_.isEmpty(); }
    const QString& display() const { return display_; }

    // Output of an X tool run against this display.
    QString tool(const QString& program, const QStringList& args) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display_);
        process.setProcessEnvironment(env);
        process.start(program, args);
        process.waitForFinished(20000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QString windowTree() const { return tool("xwininfo", {"-root", "-tree"}); }

    // The id of the top-level window with exactly this title, if any.
    std::optional<QString> windowWithTitle(const QString& title) const
    {
        const QRegularExpression line("^\\s*(0x[0-9a-f]+) \"" + QRegularExpression::escape(title) + "\":",
                                      QRegularExpression::MultilineOption);
        const auto match = line.match(windowTree());
        if (!match.hasMatch())
            return std::nullopt;
        return match.captured(1);
    }

    bool isViewable(const QString& windowId) const
    {
        return tool("xwininfo", {"-id", windowId}).contains("Map State: IsViewable");
    }

    bool viewableWindowWithTitle(const QString& title) const
    {
        const auto id = windowWithTitle(title);
        return id && isViewable(*id);
    }

    // The whole screen, saved to `path` (PNG) and loaded back.
    QImage screenshot(const QString& path) const
    {
        tool("import", {"-window", "root", path});
        return QImage(path);
    }

    // Asks the window to close, as a window manager's close button does.
    bool closeWindow(const QString& windowId) const;

private:
    QProcess server_;
    QString display_;
};

}  // namespace vantorel::testing
