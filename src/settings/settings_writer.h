#pragma once

#include "settings/installed_printers.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"

#include <string>
#include <vector>

namespace vantorel::settings {

// Saving from the settings pages: each call writes what a page's save writes
// for one field and brings the field in line with it.

// Writes `value` under file/section/key. The matching field then takes the
// value as start-up would read it, when the field acts live or is only shown;
// a start-up field keeps its working value until the next start, and a value
// that cannot be applied leaves the field as it was ("Printer_9" takes only a
// position in `installedPrinters`). A key without a field is only written.
// Returns the write's outcome; a page's save ignores it because the store
// keeps the first failed write, which the page reports when its save ends
// (SettingsStore::takeWriteFailure).
[[nodiscard]] bool saveSetting(SettingsStore& store, Settings& settings,
                               const InstalledPrinters& installedPrinters, const std::string& file,
                               const std::string& section, const std::string& key, const std::string& value);
[[nodiscard]] inline bool saveSetting(SettingsStore& store, Settings& settings,
                                      const InstalledPrinters& installedPrinters, const KeyName& name,
                                      const std::string& value)
{
    return saveSetting(store, settings, installedPrinters, name.file, name.section, name.key, value);
}

// A routing row's assignment: the row's pool becomes `printers`; in section
// "PrtLst<row>" keys "0" ... "7" are emptied, then the printers are written to
// keys "0", "1", ... in order (keys "8" and up too when there are more than
// eight; a restart reads the first eight). False when the row is not 0 ... 7 or
// a write failed.
[[nodiscard]] bool saveRoutePrinters(SettingsStore& store, Settings& settings, int row,
                                     const std::vector<std::string>& printers);

}  // namespace vantorel::settings
