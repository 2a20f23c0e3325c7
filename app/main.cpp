// The composition root: parses the command line, builds each object once, in
// the order they depend on each other, and hands references down.

#include "command_line.h"
#include "console_automation.h"
#include "console_print_observer.h"
#include "quit_on_signal.h"
#include "run_log_retention_timer.h"
#include "service_startup.h"
#include "set_password.h"
#include "settings_page_services.h"
#include "version_text.h"

#include "archive/sql/odbc_film_record_store.h"
#include "base/journal_run_log.h"
#include "base/operator_messages.h"
#include "base/run_log.h"
#include "console/ui/console_report.h"
#include "console/ui/console_startup.h"
#include "console/ui/listen_retry.h"
#include "console/ui/main_window.h"
#include "console/ui/message_box_operator_messages.h"
#include "console/ui/qt_translations.h"
#include "console/ui/status_panels.h"
#include "direct_composition/qt/header_picture_files.h"
#include "direct_composition/qt/qt_printer_surface.h"
#include "print_job/print_job_driver.h"
#include "print_service/dcmtk/print_service_runtime.h"
#include "print_service/film_parameters.h"
#include "print_service/print_object_store.h"
#include "settings/installed_printers.h"
#include "settings/platform/print_count_settings.h"
#include "settings/print_count.h"
#include "settings/settings_loader.h"
#include "settings/settings_store.h"
#include "template_composition/qt/report_template_composition.h"
#include "template_composition/qt/saved_film_reprint.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <sys/stat.h>
#include <systemd/sd-daemon.h>
#include <unistd.h>

namespace {

using namespace vantorel;

// --help, --version and a command line that is not understood are answered
// without starting; nothing when the program is to start.
std::optional<int> answerWithoutStarting(const app::CommandLine& line)
{
    if (!line.error.empty()) {
        std::cerr << "vantorel: " << line.error << "\n" << app::usageText();
        return 2;
    }
    if (line.help)
        std::cout << app::usageText();
    if (line.version)
        std::cout << app::versionText();
    return (line.help || line.version) ? std::optional<int>(0) : std::nullopt;
}

bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Before the application object: without a window system Qt must not try to
// open a display. Returns whether the program runs headless by choice.
bool choosePlatform(const app::CommandLine& line)
{
    const bool headless = line.headless || line.showSettings || !haveDisplay();
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland;offscreen");
    return headless;
}

// After it: a display that could not be opened falls back to headless.
bool platformIsHeadless()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen") ||
        QGuiApplication::platformName() == QLatin1String("minimal");
}

std::string homeFolder(const app::CommandLine& line)
{
    if (line.home.empty())
        return QCoreApplication::applicationDirPath().toStdString();
    return QDir::cleanPath(QFileInfo(QString::fromStdString(line.home)).absoluteFilePath()).toStdString();
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

// Why `home` cannot be the home folder: it must be a folder, and one the
// program can write into when it serves. Nothing when it can.
std::optional<std::string> homeProblem(const std::string& home, bool writing)
{
    struct stat info {};
    if (::stat(home.c_str(), &info) != 0)
        return std::string(std::strerror(errno));
    if (!S_ISDIR(info.st_mode))
        return std::string("not a folder");
    if (writing && ::access(home.c_str(), W_OK | X_OK) != 0)
        return std::string(std::strerror(errno));
    return std::nullopt;
}

// A run log that keeps nothing: showing the settings writes no file.
class NoRunLog final : public base::RunLog {
public:
    bool write(const std::string&) override { return true; }
};

int showSettings(const std::string& home)
{
    NoRunLog runLog;
    base::LoggedOperatorMessages messages(runLog, std::cerr);
    settings::SettingsStore store(home);
    settings::PrintCountSettings printCountStore;
    settings::PrintCount printCount(printCountStore);
    const settings::InstalledPrinters installedPrinters =
        direct_composition::QtPrinterSurface::installedPrinters();
    const settings::Settings settings = settings::loadSettings(store, installedPrinters, messages);
    printCount.readStored();
    // The settings, then the run-time values, as one list of fields.
    for (const auto& [field, value] : settings::describeSettings(settings))
        std::cout << field << '=' << value << '\n';
    for (const auto& [field, value] : settings::describeRunValues(printCount, installedPrinters))
        std::cout << field << '=' << value << '\n';
    return 0;
}

// What the whole program shares: the home folder, the clock, the run log, the
// operator's messages, the settings that start-up loads, and the run-time
// values beside them: the film count and the installed printers.
struct Basics {
    const std::string& home;
    const base::Clock& clock;
    base::RunLog& runLog;
    base::OperatorMessages& messages;
    settings::Settings& settings;
    settings::PrintCount& printCount;
    const settings::InstalledPrinters& installedPrinters;
};

// The print service and everything an N-ACTION reaches: the printers with the
// built-in FilmFile printer, the header pictures (cross.bmp is read once,
// here), the template road (the run's one report, its printer, the TIFF
// export and the film archive), the print job driver and the DICOM service,
// whose events are handled on this thread once start-up has run.
struct PrintServer {
    PrintServer(const Basics& b, app::ConsolePrintObserver& console)
        : printerSurface(b.home, &b.runLog),
          headerPictures(b.home),
          filmDatabase(b.settings.connectString, b.clock),
          filmRecords(filmDatabase, b.clock, {b.home + "/LOG/archive-spool"},
                      {[&runLog = b.runLog, &console](const std::string& line) {
                           // The run log is the main thread's.
                           QMetaObject::invokeMethod(
                               &console, [&runLog, line] { runLog.write(line); }, Qt::QueuedConnection);
                       },
                       [&console](std::size_t waiting) { console.archiveWaitingChanged(waiting); }}),
          templateComposition(
              {b.settings, b.settings, b.installedPrinters, b.home, b.clock, b.runLog, filmRecords,
               [&console](const direct_composition::FilmPage& page) { console.filmComposed(page); }}),
          printJob({printObjects, b.settings, b.settings, b.printCount, printerSurface, headerPictures,
                    templateComposition, b.runLog, b.messages, b.home, console}),
          // The listening port changes the one setting it keeps, the port.
          service(printObjects, filmParameters, b.settings, b.settings, b.settings.listenPort, printJob,
                  b.runLog, b.messages, print_service::limitsFromEnvironment()),
          startup(service, printObjects, templateComposition.report())
    {
        // FilmImageCompression is live: read afresh for every film.
        printerSurface.setImageCompression([&settings = b.settings] {
            auto compression = direct_composition::FilmImageCompression::Lossless;
            // A keyword it does not know leaves the pictures lossless.
            (void)direct_composition::filmImageCompressionOf(settings.filmImageCompression, compression);
            return compression;
        });
    }

    print_service::PrintObjectStore printObjects;
    print_service::FilmParameters filmParameters;
    direct_composition::QtPrinterSurface printerSurface;
    direct_composition::HeaderPictureFiles headerPictures;
    archive::OdbcFilmRecordStore filmDatabase;  // a new database connection per row
    archive::ArchiveWriter filmRecords;         // its own thread; a spool while the database is away
    template_composition::ReportTemplateComposition templateComposition;
    print_job::PrintJobDriver printJob;
    print_service::PrintServiceRuntime service;
    app::ServiceStartup startup;
};

// The window follows printing and the DICOM page; closing it ends the program.
void connectWindow(console::ui::MainWindow& window, console::ui::ConsoleSettingsPages& pages,
                   const app::ConsolePrintObserver& printing)
{
    pages.followListenStatus(window.statusPanels());
    QObject::connect(&window, &console::ui::MainWindow::closed, [] { endAtOnce(); });
    QObject::connect(&printing, &app::ConsolePrintObserver::countShown, &window,
                     &console::ui::MainWindow::setPrintCount);
    QObject::connect(&printing, &app::ConsolePrintObserver::filmShown, &window,
                     &console::ui::MainWindow::showFilm);
    QObject::connect(&printing, &app::ConsolePrintObserver::archiveWaitingShown, &window,
                     [&window](qint64 waiting) { window.statusPanels().setArchiveWaiting(waiting); });
    QObject::connect(
        &printing, &app::ConsolePrintObserver::filmSavingProblemShown, &window,
        [&window](const QString& problem) { window.statusPanels().setFilmSavingProblem(problem); });
    QObject::connect(&printing, &app::ConsolePrintObserver::printerProblemShown, &window,
                     [&window](const QString& problem) { window.statusPanels().setPrinterProblem(problem); });
}

// For automated checks: the console's state after start-up and after every
// film, in the file VANTOREL_CONSOLE_REPORT names, and commands on standard
// input with VANTOREL_CONSOLE_COMMANDS.
std::unique_ptr<app::ConsoleAutomation> startAutomation(const console::ui::MainWindow& window,
                                                        const app::ConsolePrintObserver& printing)
{
    const QString report = qEnvironmentVariable("VANTOREL_CONSOLE_REPORT");
    if (!report.isEmpty()) {
        QObject::connect(&printing, &app::ConsolePrintObserver::changed, &window,
                         [&window, report] { console::ui::writeConsoleReport(window, report); });
        console::ui::writeConsoleReport(window, report);
    }
    if (qEnvironmentVariableIsEmpty("VANTOREL_CONSOLE_COMMANDS"))
        return nullptr;
    return std::make_unique<app::ConsoleAutomation>();
}

}  // namespace

int main(int argc, char** argv)
{
    const app::CommandLine line = app::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const std::optional<int> answered = answerWithoutStarting(line))
        return *answered;
    const bool headlessByChoice = choosePlatform(line);
    QApplication application(argc, argv);
    // Qt's own buttons and dialogs speak Chinese, as every text of ours does.
    const console::ui::QtChineseTranslation qtChinese;
    const bool headless = headlessByChoice || platformIsHeadless();
    // A message box closed while the main window is hidden must not end the
    // program; only closing the main window does.
    application.setQuitOnLastWindowClosed(false);
    // SIGTERM (a service manager) and SIGINT (a terminal) end the program
    // through the event loop, so the network threads are stopped in order.
    app::QuitOnSignal quitOnSignal({SIGTERM, SIGINT});

    const std::string home = homeFolder(line);
    if (const auto problem = homeProblem(home, !line.showSettings)) {
        std::cerr << "vantorel: home folder " << home << ": " << *problem << "\n";
        return 2;
    }
    if (line.showSettings)
        return showSettings(home);
    if (line.setPassword)
        return app::setSettingsPassword(home);
    base::SystemClock clock;
    base::FileRunLog fileRunLog(home, clock);
    // Unattended, every run log line also goes to standard error (the service
    // manager's journal), and a message goes to the run log and standard error
    // instead of a modal message box.
    base::JournalRunLog journalRunLog(fileRunLog, std::cerr);
    base::RunLog& runLog = headless ? static_cast<base::RunLog&>(journalRunLog) : fileRunLog;
    if (!qtChinese.installed())
        runLog.write("Qt的中文翻译无法读取：" + qtChinese.fileName().toStdString());
    base::LoggedOperatorMessages loggedMessages(fileRunLog, std::cerr);
    console::ui::MessageBoxOperatorMessages boxMessages;
    base::OperatorMessages& messages =
        headless ? static_cast<base::OperatorMessages&>(loggedMessages) : boxMessages;

    settings::SettingsStore store(home);
    settings::PrintCountSettings printCountStore;
    settings::PrintCount printCount(printCountStore);  // read from its store by start-up
    const settings::InstalledPrinters installedPrinters =
        direct_composition::QtPrinterSurface::installedPrinters();
    settings::Settings settings;
    app::ConsolePrintObserver printing;
    PrintServer server({home, clock, runLog, messages, settings, printCount, installedPrinters}, printing);

    // The settings pages are views of `settings`; they write through `store`.
    const QString homeText = QString::fromStdString(home);
    template_composition::SavedFilmReprint reprint(settings, installedPrinters, home, runLog,
                                                   [&server] { server.printJob.countReprintedFilm(); });
    app::SettingsPageServices pageServices(clock, runLog, server.service.listeningPort(), server.startup,
                                           reprint);
    auto pages = pageServices.makePages({homeText, store, settings, installedPrinters, messages});
    console::ui::ConsoleSettingsPages& settingsPages = *pages;
    console::ui::MainWindow window(homeText, clock, messages, std::move(pages));
    connectWindow(window, settingsPages, printing);
    boxMessages.setParentWindow(&window);

    console::ui::StartupContext context{homeText, store,    printCount,     installedPrinters, clock,
                                        runLog,   messages, server.startup, application,       !headless};
    console::ui::ConsoleStartup(context, settings, window).run();
    // With the connection string loaded, rows (and a spool left by an
    // earlier run) go to the archive.
    server.filmRecords.start();
    const app::RunLogRetentionTimer logRetention(home, settings.logKeepDays, clock, runLog);
    if (headless && !server.service.listeningPort().listening() && !quitOnSignal.signalled()) {
        // An unattended service that cannot listen is of no use: it ends, and
        // its service manager starts it again later.
        runLog.write("监听端口" + settings.listenPort + "无法打开，程序退出。");
        server.service.stop();
        return 1;
    }
    // A service manager waiting for the service (Type=notify) hears that it
    // serves; without one (no NOTIFY_SOCKET) this does nothing.
    if (server.service.listeningPort().listening())
        sd_notify(0, "READY=1");
    // With the window, a port that another program holds is tried again.
    console::ui::ListenRetry listenRetry(pageServices, window.statusPanels(), runLog,
                                         QString::fromStdString(settings.listenPort));
    listenRetry.start();
    const auto automation = startAutomation(window, printing);

    // A signal during start-up (while a message box waited) ends the program
    // here; otherwise the event loop runs until a signal or the window's close.
    const int exitCode = quitOnSignal.signalled() ? 0 : application.exec();
    server.service.stop();
    return exitCode;
}
