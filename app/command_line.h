#pragma once

#include <string>
#include <vector>

namespace vantorel::app {

struct CommandLine {
    std::string home;           // empty: the executable's folder
    bool headless = false;      // no window system at all
    bool showSettings = false;  // print the effective settings and exit
    bool help = false;
    bool version = false;      // print the versions and exit
    bool setPassword = false;  // ask for a new settings password, store its hash, exit
    std::string error;         // non-empty when the arguments are not understood
};

CommandLine parseCommandLine(const std::vector<std::string>& args);
// The options and the environment variables the program reads, for --help.
std::string usageText();

}  // namespace vantorel::app
