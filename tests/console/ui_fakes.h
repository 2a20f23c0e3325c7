#pragma once

// Fakes for the console widget tests: messages and services that record what
// start-up asked of them into one shared list, so the order can be checked.

#include "base/operator_messages.h"
#include "console/ui/startup_services.h"
#include "settings/print_count.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantorel::testing {

using Events = std::vector<std::string>;

struct ShownMessage {
    std::string text;
    std::string title;
    base::MessageIcon icon;
};

class RecordingMessages final : public base::OperatorMessages {
public:
    explicit RecordingMessages(Events* events = nullptr) : events_(events) {}
    void show(const std::string& text, const std::string& title, base::MessageIcon icon) override
    {
        shown.push_back({text, title, icon});
        if (events_)
            events_->push_back("message:" + title);
        if (onShow)
            onShow();
    }
    std::vector<ShownMessage> shown;
    std::function<void()> onShow;

private:
    Events* events_;
};

class FixedPrintCount final : public settings::PrintCountStore {
public:
    explicit FixedPrintCount(std::int32_t count = 0) : count_(count) {}
    std::int32_t read() const override { return count_; }
    void write(std::int32_t count) override { count_ = count; }

private:
    std::int32_t count_;
};

class RecordingServices final : public console::ui::StartupServices {
public:
    explicit RecordingServices(Events& events) : events_(events) {}

    void switchOffViewerTools() override { record("viewer tools"); }
    void setReportPage(const console::ui::ReportPageSetup& page) override
    {
        reportPage = page;
        record("report page");
    }
    bool startListening() override
    {
        record("listen");
        return listenSucceeds;
    }
    void createPrintObjectStore() override { record("print objects"); }
    void buildPrinterObject(const settings::ServiceSettings& settings) override
    {
        printerAeTitle = settings.aeTitle;
        record("printer object");
    }
    void buildFilmLut() override { record("film lut"); }

    bool listenSucceeds = true;
    std::string failingStep;  // this call throws
    console::ui::ReportPageSetup reportPage;
    std::string printerAeTitle;

private:
    void record(const std::string& call)
    {
        events_.push_back(call);
        if (call == failingStep)
            throw std::runtime_error("broken " + call);
    }
    Events& events_;
};

// A fresh home folder per test.
class TestHome {
public:
    QString path() const { return dir_.path(); }
    std::string pathText() const { return dir_.path().toStdString(); }

    void writeBytes(const QString& relativePath, const QByteArray& bytes) const
    {
        const QString full = dir_.path() + "/" + relativePath;
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

private:
    QTemporaryDir dir_;
};

}  // namespace vantorel::testing
