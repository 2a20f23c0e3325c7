#include "settings/settings_writer.h"

#include "base/ini_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_loader.h"
#include "settings/settings_store.h"

namespace vantorel::settings {

bool saveSetting(SettingsStore& store, Settings& settings, const InstalledPrinters& installedPrinters,
                 const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value)
{
    const bool written = store.writeSetting(section, key, value, file);
    const auto keys = settingKeys(store.homeFolder(), installedPrinters);
    const SettingKey* setting = findSettingKey(keys, file, section, key);
    if (setting && setting->acts != SettingActs::StartUp)
        setting->apply(settings, base::profileText(value));
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

}  // namespace vantorel::settings
