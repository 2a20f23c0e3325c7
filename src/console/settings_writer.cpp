#include "console/settings_writer.h"

#include "console/ini_file.h"
#include "console/settings_keys.h"
#include "console/settings_loader.h"
#include "console/settings_store.h"

namespace vantorel::console {

bool saveSetting(SettingsStore& store, Settings& settings, const std::string& file,
                 const std::string& section, const std::string& key, const std::string& value)
{
    const bool written = store.writeSetting(section, key, value, file);
    const auto keys = settingKeys(store.homeFolder());
    const SettingKey* setting = findSettingKey(keys, file, section, key);
    if (setting && setting->acts != SettingActs::StartUp)
        setting->apply(settings, profileText(value));
    return written;
}

bool saveRoutePrinters(SettingsStore& store, Settings& settings, int row,
                       const std::vector<std::string>& printers)
{
    if (row < 0 || row >= routeCount)
        return false;
    settings.routePrinters[static_cast<std::size_t>(row)] = printers;
    const std::string section = routePrinterSection(row);
    bool written = true;
    for (int key = 0; key < printerKeysPerRow; ++key)
        written = store.writeSetting(section, std::to_string(key), "", files::prtLst) && written;
    for (std::size_t i = 0; i < printers.size(); ++i)
        written = store.writeSetting(section, std::to_string(i), printers[i], files::prtLst) && written;
    return written;
}

}  // namespace vantorel::console
