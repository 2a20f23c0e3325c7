#pragma once

#include "base/clock.h"
#include "base/fwd.h"
#include "console/ui/deferred_operator_messages.h"
#include "console/ui/startup_sequence.h"
#include "settings/fwd.h"
#include "settings/installed_printers.h"
#include "settings/settings_model.h"

#include <QString>

#include <string>
#include <vector>

class QApplication;

namespace vantorel::console::ui {

class MainWindow;
class StartupServices;

// What start-up works with; everything is owned by the composition root.
struct StartupContext {
    QString homeFolder;
    const settings::SettingsStore& store;
    settings::PrintCount& printCount;                      // read from its store in step 1
    const settings::InstalledPrinters& installedPrinters;  // read by the composition root
    const base::Clock& clock;
    base::RunLog& log;
    base::OperatorMessages& messages;  // message boxes, or the run log when headless
    StartupServices& services;
    QApplication& application;
    bool windowSystem = true;  // false: headless, the window is never shown
};

// Start-up of the console, in its fixed order of steps: settings and header
// icon, pages and navigation, skin, window, status bar, printers, listening,
// print objects, Printer object, FilmLut, logo, and last the messages about
// the settings, so that no message waiting for the operator keeps
// modalities out. Start-up loads the whole settings model (step 1), so it
// takes the composition root's Settings to fill.
class ConsoleStartup {
public:
    ConsoleStartup(StartupContext context, settings::Settings& settings, MainWindow& window);

    std::vector<StartupStep> steps();
    StartupOutcome run();

private:
    void readHeaderSettings();   // step 1 (reads the whole settings model)
    void applyHeaderPrinting();  // 2
    void showFirstPage();        // 3
    void applySkin();            // 8
    void showWindow();           // 10
    void showServiceSettings();  // 11
    void showPrintCount();       // 12
    void readPrinters();         // 14
    void startListening();       // 16
    void showLogo();             // 20

    StartupContext context_;
    settings::Settings& settings_;
    MainWindow& window_;
    DeferredOperatorMessages deferred_;
};

}  // namespace vantorel::console::ui
