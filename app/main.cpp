// The composition root: parses the command line, builds each object once and
// hands references down.

#include "command_line.h"
#include "quit_on_signal.h"

#include "console/operator_messages.h"
#include "console/platform/print_count_settings.h"
#include "console/run_log.h"
#include "console/settings_loader.h"
#include "console/settings_store.h"
#include "direct_composition/qt/header_picture_files.h"
#include "direct_composition/qt/qt_printer_surface.h"
#include "print_job/print_job_driver.h"
#include "print_job/template_road.h"
#include "print_service/dcmtk/print_service_runtime.h"
#include "print_service/film_parameters.h"
#include "print_service/print_object_store.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinterInfo>

#include <csignal>
#include <cstdlib>
#include <iostream>

namespace {

using namespace vantorel;

// The installed printers in the platform's order, then the built-in "FilmFile".
std::vector<std::string> installedPrinters()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    names.push_back("FilmFile");
    return names;
}

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

    // Without a window system Qt must not try to open a display.
    const bool headless = line.headless || line.showSettings || !haveDisplay();
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const std::string home = homeFolder(line);
    console::SystemClock clock;
    console::FileRunLog runLog(home, clock);
    console::LoggedOperatorMessages messages(runLog, std::cerr);
    console::SettingsStore store(home);
    console::PrintCountSettings printCount;

    console::Settings settings =
        console::loadSettings(store, installedPrinters(), printCount, messages);

    if (line.showSettings) {
        for (const auto& [field, value] : console::describeSettings(settings))
            std::cout << field << '=' << value << '\n';
        return 0;
    }

    // Printing: the printers with the built-in FilmFile printer, the header
    // pictures (cross.bmp is read once, here) and the print job driver that
    // every N-ACTION calls.
    direct_composition::QtPrinterSurface printerSurface(home, &runLog);
    direct_composition::HeaderPictureFiles headerPictures(home);
    print_job::NoTemplateComposition templateComposition(runLog);

    // The print service: listens, then builds the Printer object; DICOM events
    // are handled on this thread from here on.
    print_service::PrintObjectStore printObjects;
    print_service::FilmParameters filmParameters;
    print_job::PrintJobDriver printJob({printObjects, filmParameters, settings, printCount,
                                        printerSurface, headerPictures, templateComposition,
                                        runLog, messages, home});
    print_service::PrintServiceRuntime printService(printObjects, filmParameters, settings, printJob,
                                                    runLog, messages,
                                                    print_service::limitsFromEnvironment());
    app::QuitOnSignal quitOnSignal({SIGTERM, SIGINT});
    printService.start();

    const int exitCode = application.exec();
    printService.stop();
    return exitCode;
}
