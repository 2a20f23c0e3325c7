#include "settings/settings_store.h"

#include "base/ini_document.h"
#include "base/ini_file.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace vantorel::settings {

namespace fs = std::filesystem;

namespace {

// "\PrtLst\PrtLst.ini" -> {"PrtLst", "PrtLst.ini"}; both separators accepted.
std::vector<std::string> pathParts(const std::string& file)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char c : file) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

// The entry of `folder` named `name`: exactly, else the first entry whose name
// differs only in ASCII case (Windows file names ignore case; files copied from
// a Windows installation may be spelled "About.ini"), else `name` as given.
fs::path resolveEntry(const fs::path& folder, const std::string& name)
{
    std::error_code error;
    const fs::path exact = folder / name;
    if (fs::exists(exact, error))
        return exact;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (base::equalsIgnoringAsciiCase(it->path().filename().string(), name))
            return it->path();
    return exact;
}

}  // namespace

SettingsStore::SettingsStore(std::string homeFolder) : home_(std::move(homeFolder)) {}

std::string SettingsStore::pathOf(const std::string& file) const
{
    fs::path path(home_);
    for (const std::string& part : pathParts(file))
        path = resolveEntry(path, part);
    return path.string();
}

std::string SettingsStore::readSetting(const std::string& section, const std::string& key,
                                       const std::string& def, const std::string& file) const
{
    return base::IniFile(pathOf(file)).read(section, key, def);
}

bool SettingsStore::writeSetting(const std::string& section, const std::string& key, const std::string& value,
                                 const std::string& file)
{
    std::string reason;
    const bool written = base::IniFile(pathOf(file)).write(section, key, value, reason);
    if (!written && writeFailure_.empty())
        writeFailure_ = pathOf(file) + "：" + reason;
    return written;
}

std::string SettingsStore::takeWriteFailure()
{
    std::string failure;
    failure.swap(writeFailure_);
    return failure;
}

bool SettingsStore::fileExists(const std::string& file) const
{
    return base::IniFile(pathOf(file)).exists();
}

}  // namespace vantorel::settings
