// The composition root: parses the command line, builds each object once and
// hands references down.

#include "command_line.h"
#include "console_automation.h"
#include "console_print_observer.h"
#include "quit_on_signal.h"
#include "service_startup.h"
#include "settings_page_services.h"
#include "version_text.h"

#include "console/journal_run_log.h"
#include "console/operator_messages.h"
#include "console/platform/print_count_settings.h"
#include "console/run_log.h"
#include "console/settings_loader.h"
#include "console/settings_store.h"
#include "console/ui/console_report.h"
#include "console/ui/console_startup.h"
#include "console/ui/main_window.h"
#include "archive/sql/odbc_film_record_store.h"
#include "console/ui/message_box_operator_messages.h"
#include "direct_composition/qt/header_picture_files.h"
#include "direct_composition/qt/qt_printer_surface.h"
#include "print_job/print_job_driver.h"
#include "print_job/template_road.h"
#include "print_service/dcmtk/print_service_runtime.h"
#include "print_service/film_parameters.h"
#include "print_service/print_object_store.h"
#include "template_composition/qt/report_template_composition.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace {

using namespace vantorel;

std::string homeFolder(const app::CommandLine& line)
{
    if (line.home.empty())
        return QCoreApplication::applicationDirPath().toStdString();
    return QDir::cleanPath(QFileInfo(QString::fromStdString(line.home)).absoluteFilePath())
        .toStdString();
}

bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The program ends at once, as closing the window does: nothing is saved
// (every setting and the print count are written when they change), open
// associations are dropped.
[[noreturn]] void endAtOnce()
{
    std::cout.flush();
    std::cerr.flush();
    _exit(0);
}

int showSettings(const std::string& home, console::RunLog& runLog)
{
    console::LoggedOperatorMessages messages(runLog, std::cerr);
    console::SettingsStore store(home);
    console::PrintCountSettings printCount;
    const console::Settings settings =
        console::loadSettings(store, direct_composition::QtPrinterSurface::installedPrinters(),
                              printCount, messages);
    for (const auto& [field, value] : console::describeSettings(settings))
        std::cout << field << '=' << value << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const app::CommandLine line = app::parseCommandLine(args);
    if (!line.error.empty()) {
        std::cerr << "vantorel: " << line.error << "\n" << app::usageText();
        return 2;
    }
    if (line.help) {
        std::cout << app::usageText();
        return 0;
    }
    if (line.version) {
        std::cout << app::versionText();
        return 0;
    }

    // Without a window system Qt must not try to open a display; a display
    // that cannot be opened falls back to running headless.
    bool headless = line.headless || line.showSettings || !haveDisplay();
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland;offscreen");
    QApplication application(argc, argv);
    headless = headless || QGuiApplication::platformName() == QLatin1String("offscreen") ||
               QGuiApplication::platformName() == QLatin1String("minimal");
    // A message box closed while the main window is hidden must not end the
    // program; only closing the main window does.
    application.setQuitOnLastWindowClosed(false);
    // SIGTERM (a service manager) and SIGINT (a terminal) end the program
    // through the event loop, so the network threads are stopped in order.
    app::QuitOnSignal quitOnSignal({SIGTERM, SIGINT});

    const std::string home = homeFolder(line);
    console::SystemClock clock;
    console::FileRunLog fileRunLog(home, clock);
    if (line.showSettings)
        return showSettings(home, fileRunLog);
    // Unattended, every run log line also goes to standard error, for the
    // service manager's journal; operator messages print their own line there.
    console::JournalRunLog journalRunLog(fileRunLog, std::cerr);
    console::RunLog& runLog = headless ? static_cast<console::RunLog&>(journalRunLog) : fileRunLog;

    console::SettingsStore store(home);
    console::PrintCountSettings printCount;
    console::Settings settings;

    // Unattended, a message goes to the run log and standard error; with a
    // window system it is a modal message box.
    console::LoggedOperatorMessages loggedMessages(fileRunLog, std::cerr);
    console::ui::MessageBoxOperatorMessages boxMessages;
    console::OperatorMessages& messages =
        headless ? static_cast<console::OperatorMessages&>(loggedMessages) : boxMessages;

    const QString homeText = QString::fromStdString(home);
    // The settings pages are views of `settings`; they write through `store`.
    app::SettingsPageServices pageServices(clock, runLog);
    auto pages = pageServices.makePages({homeText, store, settings, messages});
    console::ui::ConsoleSettingsPages& settingsPages = *pages;
    console::ui::MainWindow window(homeText, clock, messages, std::move(pages));
    settingsPages.followListenStatus(window.statusPanels());
    boxMessages.setParentWindow(&window);
    QObject::connect(&window, &console::ui::MainWindow::closed, [] { endAtOnce(); });
    app::ConsolePrintObserver printObserver(window);

    // Printing: the printers with the built-in FilmFile printer, the header
    // pictures (cross.bmp is read once, here) and the print job driver that
    // every N-ACTION calls; the console shows its count and its films.
    direct_composition::QtPrinterSurface printerSurface(home, &runLog);
    direct_composition::HeaderPictureFiles headerPictures(home);
    // The template road: the run's one report, its printer, the TIFF export
    // and the film archive, a new database connection per film.
    archive::OdbcFilmRecordStore filmRecords(settings.connectString, clock);
    template_composition::ReportTemplateComposition templateComposition(
        {settings, home, clock, runLog, filmRecords,
         [&printObserver](const direct_composition::FilmPage& page) { printObserver.filmComposed(page); }});

    // The print service; start-up below starts it listening and builds the
    // Printer object, and DICOM events are handled on this thread after that.
    print_service::PrintObjectStore printObjects;
    print_service::FilmParameters filmParameters;
    print_job::PrintJobDriver printJob({printObjects, filmParameters, settings, printCount,
                                        printerSurface, headerPictures, templateComposition,
                                        runLog, messages, home, &printObserver});
    print_service::PrintServiceRuntime printService(printObjects, filmParameters, settings, printJob,
                                                    runLog, messages,
                                                    print_service::limitsFromEnvironment());
    app::ServiceStartup service(printService, printObjects, templateComposition.report());
    pageServices.attach(printService.listener(), service);

    console::ui::StartupContext context{homeText,
                                        store,
                                        printCount,
                                        direct_composition::QtPrinterSurface::installedPrinters(),
                                        clock,
                                        runLog,
                                        messages,
                                        service,
                                        application,
                                        !headless};
    console::ui::ConsoleStartup(context, settings, window).run();

    // For automated checks: the console's state after start-up and after
    // every film, in the file the environment names.
    const QString report = qEnvironmentVariable("VANTOREL_CONSOLE_REPORT");
    if (!report.isEmpty()) {
        printObserver.onChanged = [&window, report] { console::ui::writeConsoleReport(window, report); };
        console::ui::writeConsoleReport(window, report);
    }
    // For automated checks of the window: commands on standard input.
    std::unique_ptr<app::ConsoleAutomation> automation;
    if (!qEnvironmentVariableIsEmpty("VANTOREL_CONSOLE_COMMANDS"))
        automation = std::make_unique<app::ConsoleAutomation>();

    // A signal during start-up (while a message box waited) ends the program
    // here; otherwise the event loop runs until a signal or the window's close.
    const int exitCode = quitOnSignal.signalled() ? 0 : application.exec();
    printService.stop();
    return exitCode;
}
