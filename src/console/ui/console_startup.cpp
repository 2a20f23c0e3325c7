#include "console/ui/console_startup.h"

#include "base/operator_messages.h"
#include "base/result.h"
#include "base/run_log.h"
#include "console/ui/local_address.h"
#include "console/ui/main_window.h"
#include "console/ui/pages/about_page.h"
#include "console/ui/pages/settings_pages.h"
#include "console/ui/skin.h"
#include "console/ui/startup_services.h"
#include "console/ui/status_panels.h"
#include "settings/print_count.h"
#include "settings/settings_loader.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QPixmap>

namespace vantorel::console::ui {

ConsoleStartup::ConsoleStartup(StartupContext context, settings::Settings& settings, MainWindow& window)
    : context_(std::move(context)), settings_(settings), window_(window)
{}

StartupOutcome ConsoleStartup::run()
{
    return runStartupSteps(steps(), &context_.log);
}

std::vector<StartupStep> ConsoleStartup::steps()
{
    SettingsPages& pages = window_.settingsPages();
    StartupServices& services = context_.services;
    return {
        {"header settings", [this] { readHeaderSettings(); }},
        {"header printing", [this] { applyHeaderPrinting(); }},
        {"first page", [this] { showFirstPage(); }},
        {"first entries", [this] { window_.addNavigationEntries(firstNavigationEntries()); }},
        {"layout settings", [this, &pages] { pages.showLayoutSettings(settings_); }},
        {"more entries",
         [this] { window_.addNavigationEntries(laterNavigationEntries(settings_.saveFilmAtStart)); }},
        {"film dates",
         [this, &pages] {
             const base::LocalDateTime now = context_.clock.now();
             pages.setFilmDates(QDate(now.year, now.month, now.day));
         }},
        {"skin", [this] { applySkin(); }},
        {"viewer tools", [&services] { services.switchOffViewerTools(); }},
        {"window", [this] { showWindow(); }},
        {"service settings", [this] { showServiceSettings(); }},
        {"print count", [this] { showPrintCount(); }},
        // The working values of this step (other paper, routing choice,
        // Printer variant, LUT) were read with the rest of the settings in
        // the first step; nothing of them is shown.
        {"working values", [] {}},
        {"printers", [this] { readPrinters(); }},
        {"report page", [&services] { services.setReportPage(ReportPageSetup{}); }},
        {"listen", [this] { startListening(); }},
        {"print objects", [&services] { services.createPrintObjectStore(); }},
        {"printer object", [this, &services] { services.buildPrinterObject(settings_); }},
        {"film lut", [&services] { services.buildFilmLut(); }},
        {"logo", [this] { showLogo(); }},
        // Last: a message box waits for the operator, and modalities are
        // already served meanwhile (its event loop handles their requests).
        {"start-up messages", [this] { deferred_.release(context_.messages); }},
    };
}

void ConsoleStartup::readHeaderSettings()
{
    // Every setting is read here in start-up's order; the messages about
    // them (a missing printer list) wait until the service listens and its
    // print objects are built, the last step.
    // The header icon "\医院名称\cross.bmp" is read by the header pictures of
    // film composition, which the program builds before start-up.
    settings_ = settings::loadSettings(context_.store, context_.installedPrinters, deferred_);
    context_.printCount.readStored();
}

void ConsoleStartup::applyHeaderPrinting()
{
    window_.settingsPages().setHeaderEditorEnabled(settings_.printHeader != 0);
    if (settings_.printHeader == 0)
        settings_.header.htjcs = 0;
}

void ConsoleStartup::showFirstPage()
{
    window_.showPage(PageKey::FilmPreview);
    window_.settingsPages().setSkinFolder(context_.homeFolder + QStringLiteral("/Skin"));
}

void ConsoleStartup::applySkin()
{
    window_.settingsPages().showAutoRun(settings_.autoRun);
    // Film saving as it was saved; the purge timer runs from here when on.
    window_.settingsPages().showFilmSaving(settings_.saveFilms);
    if (!settings_.skinEnabled)
        return;
    // A missing skin file leaves the standard look, without a message.
    ui::applySkin(context_.application,
                  skinPath(context_.homeFolder, QString::fromStdString(settings_.skinFile)));
}

void ConsoleStartup::showWindow()
{
    if (settings_.startVisible && context_.windowSystem)
        window_.show();
}

void ConsoleStartup::showServiceSettings()
{
    window_.statusPanels().setListenPort(QString::fromStdString(settings_.listenPort));
    window_.aboutPage().setLines(settings_.aboutLines);
    window_.setWindowTitle(QString::fromStdString(settings_.windowTitle));
    window_.settingsPages().showServiceSettings(settings_);
}

void ConsoleStartup::showPrintCount()
{
    StatusPanels& panels = window_.statusPanels();
    panels.setLocalAddress(localIpAddress());
    panels.setPrintCount(0);
    panels.setPrintCount(context_.printCount.value());
}

void ConsoleStartup::readPrinters()
{
    window_.settingsPages().showPrinters(settings_);
}

void ConsoleStartup::startListening()
{
    bool listening = false;
    try {
        listening = context_.services.startListening();
    } catch (...) {
        // A listener that cannot even be set up is a listening failure too.
        context_.log.write("DICOM listener not set up: " + base::currentExceptionReason());
    }
    window_.statusPanels().setListening(listening);
}

void ConsoleStartup::showLogo()
{
    const QString path = context_.homeFolder + QStringLiteral("/logo.jpg");
    if (!QFileInfo(path).isFile())
        return;
    const QPixmap logo(path);
    if (!logo.isNull())
        window_.setLogo(logo);
}

}  // namespace vantorel::console::ui
