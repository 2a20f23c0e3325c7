#pragma once

// Collaborators of the settings pages that belong to other parts of the
// program, recorded so the tests can see what a page asked of them.

#include "console/port_control.h"
#include "console/ui/pages/page_services.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace vantorel::testing {

class RecordingPortControl final : public console::PortControl {
public:
    bool changePort(const std::string& typedPort,
                    const std::function<void(const std::string&)>& storePort) override
    {
        calls.push_back(typedPort);
        const std::string port = QString::fromStdString(typedPort).trimmed().toStdString();
        if (port == current)
            return false;
        current = port;
        storePort(port);
        return true;
    }
    bool listening() const override { return true; }
    bool retrying() const override { return false; }
    bool retryListening() override { return true; }

    std::string current = "10000";
    std::vector<std::string> calls;
};

class RecordingHeaderEditor final : public console::ui::HeaderEditorOpener {
public:
    void open(QWidget* owner) override { owners.push_back(owner); }
    std::vector<QWidget*> owners;
};

class RecordingDesigner final : public console::ui::TemplateDesignerOpener {
public:
    void open(QWidget* owner) override { owners.push_back(owner); }
    std::vector<QWidget*> owners;
};

class RecordingPurgeTimer final : public console::ui::PurgeTimer {
public:
    void start() override
    {
        on = true;
        ++starts;
    }
    void stop() override
    {
        on = false;
        ++stops;
    }
    bool running() const override { return on; }
    bool on = false;
    int starts = 0;
    int stops = 0;
};

class RecordingSkins final : public console::ui::SkinApplier {
public:
    void apply(const QString& path) override { applied << path; }
    QStringList applied;
};

class RecordingReportPage final : public console::ui::ReportPageControl {
public:
    void setReportPage(const console::ui::ReportPageSetup& page) override { pages.push_back(page); }
    std::vector<console::ui::ReportPageSetup> pages;
};

class RecordingDesktop final : public console::ui::DesktopLauncher {
public:
    bool openDocument(const QString& path) override
    {
        documents << path;
        return true;
    }
    bool startProgram(const QString& path) override
    {
        programs << path;
        return true;
    }
    QStringList documents;
    QStringList programs;
};

}  // namespace vantorel::testing
