#include "command_line.h"

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

const char* usageText()
{
    return "Usage: vantorel [--home DIR] [--headless] [--show-settings] [--set-password] [--version]\n"
           "  --home DIR       home folder with PrtIni.ini, LOG/, Skin/, ...\n"
           "                   (default: the folder of the executable)\n"
           "  --headless       run without any window; messages go to the run log\n"
           "                   and to standard error\n"
           "  --show-settings  print the effective settings, one field=value per\n"
           "                   line, and exit\n"
           "  --set-password   ask twice for a new password of the settings pages,\n"
           "                   store its salted hash in PrtIni.ini, and exit\n"
           "  --version        print the versions of the program, DCMTK and Qt\n";
}

}  // namespace vantorel::app
