#include "command_line.h"

#include "print_service/dcmtk/association_server.h"

namespace vantorel::app {

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--home") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                line.error = "--home needs a folder";
                return line;
            }
            line.home = args[++i];
        } else if (arg.rfind("--home=", 0) == 0) {
            line.home = arg.substr(7);
        } else if (arg == "--headless") {
            line.headless = true;
        } else if (arg == "--show-settings") {
            line.showSettings = true;
        } else if (arg == "--set-password") {
            line.setPassword = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else {
            line.error = "unknown argument: " + arg;
            return line;
        }
    }
    return line;
}

std::string usageText()
{
    const print_service::ServerLimits limits;
    const auto byDefault = [](auto value) { return " (" + std::to_string(value) + ")\n"; };
    return "Usage: vantorel [--home DIR] [--headless] [--show-settings] [--set-password] [--version]\n"
           "  --home DIR       home folder with PrtIni.ini, LOG/, Skin/, ...\n"
           "                   (default: the folder of the executable)\n"
           "  --headless       run without any window; messages go to the run log\n"
           "                   and to standard error\n"
           "  --show-settings  print the effective settings, one field=value per\n"
           "                   line, and exit\n"
           "  --set-password   ask twice for a new password of the settings pages,\n"
           "                   store its salted hash in PrtIni.ini, and exit\n"
           "  --version        print the versions of the program, DCMTK and Qt\n"
           "  --help, -h       print this text\n"
           "\n"
           "Environment (service limits; default in parentheses):\n"
           "  VANTOREL_MAX_ASSOCIATIONS   associations open at once" +
        byDefault(limits.maxAssociations) +
        "  VANTOREL_MAX_PENDING        connections still sending their request" +
        byDefault(limits.maxPending) +
        "  VANTOREL_ACSE_TIMEOUT       seconds for a whole association request" +
        byDefault(limits.acseTimeoutSeconds) +
        "  VANTOREL_DIMSE_TIMEOUT      seconds between parts of a message" +
        byDefault(limits.dimseTimeoutSeconds) +
        "  VANTOREL_IDLE_TIMEOUT       seconds of silence on an association" +
        byDefault(limits.idleTimeoutSeconds) +
        "  VANTOREL_MAX_DATASET_BYTES  bytes of one received data set" + byDefault(limits.maxDataSetBytes) +
        "  VANTOREL_MAX_OBJECTS        print objects stored at once" + byDefault(limits.maxObjects) +
        "  VANTOREL_MAX_PIXEL_BYTES    pixel data held for all associations" +
        byDefault(limits.maxPixelBytes) +
        "Environment (the platform and automated checks):\n"
        "  DISPLAY, WAYLAND_DISPLAY    the display; without either the program runs headless\n"
        "  QT_QPA_PLATFORM             Qt's window system (offscreen when headless)\n"
        "  XDG_CONFIG_HOME, HOME       where the film count and the autostart entry are kept\n"
        "  NOTIFY_SOCKET               set by systemd: READY=1 once the DICOM port is open\n"
        "  VANTOREL_CONSOLE_REPORT     file that receives the console's state\n"
        "  VANTOREL_CONSOLE_COMMANDS   when set, commands on standard input drive the window\n";
}

}  // namespace vantorel::app
