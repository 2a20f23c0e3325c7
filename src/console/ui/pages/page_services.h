#pragma once

#include "base/fwd.h"
#include "console/ui/startup_services.h"
#include "settings/fwd.h"
#include "settings/installed_printers.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QTimer;
class QWidget;

namespace vantorel::console::ui {

// What every settings page works with; all owned by the composition root.
// The pages edit the settings: they show and change the whole model and write
// it through the store (settings_writer.h, print_page_save.h).
struct PageContext {
    QString homeFolder;
    settings::SettingsStore& store;
    settings::Settings& settings;
    const settings::InstalledPrinters& installedPrinters;
    base::OperatorMessages& messages;
};

// One press of a page's "保存设置": when a settings write fails (a read-only
// or root-owned file, a full disk), the operator is told once, when the
// save is over, "设置未能保存：<file>：<reason>"; the page keeps what was typed.
class SaveReport {
public:
    explicit SaveReport(PageContext& context);
    ~SaveReport();
    SaveReport(const SaveReport&) = delete;
    SaveReport& operator=(const SaveReport&) = delete;

private:
    PageContext& context_;
};

// Opens the hospital-name editor as a window owned by `owner`, without
// blocking it.
class HeaderEditorOpener {
public:
    virtual ~HeaderEditorOpener() = default;
    virtual void open(QWidget* owner) = 0;
};

// Opens the film template designer as a window owned by `owner`, without
// blocking it (films go on printing while it is open).
class TemplateDesignerOpener {
public:
    virtual ~TemplateDesignerOpener() = default;
    virtual void open(QWidget* owner) = 0;
};

// The one-minute timer of the monthly purge, switched by the run page.
class PurgeTimer {
public:
    virtual ~PurgeTimer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool running() const = 0;
};

// Applies a skin file at once (the appearance page's list).
class SkinApplier {
public:
    virtual ~SkinApplier() = default;
    virtual void apply(const QString& path) = 0;
};

// The report engine's page that template composition prints on.
class ReportPageControl {
public:
    virtual ~ReportPageControl() = default;
    virtual void setReportPage(const ReportPageSetup& page) = 0;
};

// Desktop services: open a document with the desktop's opener, start a
// program without waiting for it. Failures are silent (false).
class DesktopLauncher {
public:
    virtual ~DesktopLauncher() = default;
    virtual bool openDocument(const QString& path) = 0;
    virtual bool startProgram(const QString& path) = 0;
};

// The real ones.

class SystemDesktopLauncher final : public DesktopLauncher {
public:
    bool openDocument(const QString& path) override;
    bool startProgram(const QString& path) override;
};

// A QTimer of one minute; each tick calls `onTick` (the purge, once built).
class MinutePurgeTimer final : public PurgeTimer {
public:
    MinutePurgeTimer();
    ~MinutePurgeTimer() override;
    void start() override;
    void stop() override;
    bool running() const override;
    std::function<void()> onTick;

private:
    std::unique_ptr<QTimer> timer_;
};

// Skins as the program applies them (a Qt style sheet for the application).
class ApplicationSkinApplier final : public SkinApplier {
public:
    void apply(const QString& path) override;
};

}  // namespace vantorel::console::ui
