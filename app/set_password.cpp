#include "set_password.h"

#include "settings/settings_keys.h"
#include "settings/settings_password.h"
#include "settings/settings_store.h"

#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace vantorel::app {

namespace {

// One line from standard input, not echoed when it is a terminal.
bool readSecret(const char* prompt, std::string& line)
{
    const bool terminal = ::isatty(STDIN_FILENO) != 0;
    termios saved{};
    if (terminal) {
        std::cerr << prompt << std::flush;
        ::tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << "\n";
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return read;
}

}  // namespace

int setSettingsPassword(const std::string& home)
{
    std::string first, second;
    if (!readSecret("New settings password: ", first) || !readSecret("Again: ", second)) {
        std::cerr << "vantorel: no password given, nothing changed\n";
        return 1;
    }
    if (first.empty()) {
        std::cerr << "vantorel: the password is empty, nothing changed\n";
        return 1;
    }
    if (first != second) {
        std::cerr << "vantorel: the two passwords differ, nothing changed\n";
        return 1;
    }
    const std::string hash = settings::hashSettingsPassword(first);
    settings::SettingsStore store(home);
    if (hash.empty() || !store.writeSetting(settings::keys::settingsPasswordHash, hash)) {
        std::cerr << "vantorel: settings password not stored: " << store.takeWriteFailure() << "\n";
        return 1;
    }
    std::cout << "Settings password stored in " << store.pathOf(settings::files::prtIni)
              << "; only it unlocks the settings pages now.\n";
    return 0;
}

}  // namespace vantorel::app
