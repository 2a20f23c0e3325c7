#include "settings/platform/autostart_entry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vantorel::settings {

namespace fs = std::filesystem;

namespace {

std::string configFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg && fs::path(xdg).is_absolute())
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config";
}

// One argument of an Exec line, quoted as the desktop entry format wants it:
// inside double quotes '"', '`', '$' and '\' take a backslash; then the value's
// own escaping doubles every backslash, and '%' is written "%%".
std::string execArgument(const std::string& argument)
{
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '%')
            value += "%%";
        else if (c == '\n')
            value += "\\n";
        else
            value += c;
    }
    return value;
}

bool sameFolder(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    const fs::path left = fs::weakly_canonical(a, error);
    if (error)
        return a == b;
    const fs::path right = fs::weakly_canonical(b, error);
    if (error)
        return a == b;
    return left == right;
}

}  // namespace

std::string AutostartEntry::path()
{
    return configFolder() + "/autostart/MySoftware.desktop";
}

void AutostartEntry::set(const std::string& executablePath, const std::string& homeFolder)
{
    std::string exec = execArgument(executablePath);
    if (!sameFolder(fs::path(executablePath).parent_path(), homeFolder))
        exec += " --home " + execArgument(homeFolder);

    std::error_code error;
    fs::create_directories(fs::path(path()).parent_path(), error);
    std::ofstream out(path(), std::ios::binary | std::ios::trunc);
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << "Name=MySoftware\n"
        << "Exec=" << exec << "\n"
        << "Terminal=false\n"
        << "X-GNOME-Autostart-enabled=true\n";
}

void AutostartEntry::remove()
{
    std::error_code error;
    fs::remove(path(), error);
}

bool AutostartEntry::exists()
{
    std::error_code error;
    return fs::is_regular_file(path(), error);
}

}  // namespace vantorel::settings
