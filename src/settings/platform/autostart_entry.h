#pragma once

#include <string>

namespace vantorel::settings {

// Start with the desktop session: an XDG autostart entry "MySoftware.desktop"
// in $XDG_CONFIG_HOME/autostart (default ~/.config/autostart) that starts the
// running executable. Failures are silent, as the run page expects.
class AutostartEntry {
public:
    static std::string path();
    static void set(const std::string& executablePath, const std::string& homeFolder);
    static void remove();
    static bool exists();
};

}  // namespace vantorel::settings
