#pragma once

#include "console/clock.h"
#include "console/settings_model.h"
#include "console/ui/deferred_operator_messages.h"
#include "console/ui/startup_sequence.h"

#include <QString>

#include <string>
#include <vector>

class QApplication;

namespace vantorel::console {
class OperatorMessages;
class PrintCountStore;
class RunLog;
class SettingsStore;
}  // namespace vantorel::console

namespace vantorel::console::ui {

class MainWindow;
class StartupServices;

// What start-up works with; everything is owned by the composition root.
struct StartupContext {
    QString homeFolder;
    const SettingsStore& store;
    const PrintCountStore& printCount;
    std::vector<std::string> installedPrinters;
    const Clock& clock;
    RunLog& log;
    OperatorMessages& messages;  // message boxes, or the run log when headless
    StartupServices& services;
    QApplication& application;
    bool windowSystem = true;  // false: headless, the window is never shown
};

// Start-up of the console, in its fixed order of steps: settings and header
// icon, pages and navigation, skin, window, status bar, printers, listening,
// print objects, Printer object, FilmLut, logo, and last the messages about
// the settings, so that no message waiting for the operator keeps
// modalities out.
class ConsoleStartup {
public:
    ConsoleStartup(StartupContext context, Settings& settings, MainWindow& window);

    std::vector<StartupStep> steps();
    StartupOutcome run();

private:
    void readHeaderSettings();  // step 1 (reads the whole settings model)
    void applyHeaderPrinting(); // 2
    void showFirstPage();       // 3
    void applySkin();           // 8
    void showWindow();          // 10
    void showServiceSettings(); // 11
    void showPrintCount();      // 12
    void readPrinters();        // 14
    void startListening();      // 16
    void showLogo();            // 20

    StartupContext context_;
    Settings& settings_;
    MainWindow& window_;
    DeferredOperatorMessages deferred_;
};

}  // namespace vantorel::console::ui
