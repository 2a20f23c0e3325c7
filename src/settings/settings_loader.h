#pragma once

#include "base/fwd.h"
#include "settings/fwd.h"
#include "settings/installed_printers.h"
#include "settings/settings_model.h"

#include <string>
#include <utility>
#include <vector>

namespace vantorel::settings {

// A routing row's printer pool is read from keys "0" ... "7" of section
// "PrtLst<row>" of "\PrtLst\PrtLst.ini", so a row holds at most eight printers
// after a restart.
inline constexpr int printerKeysPerRow = 8;
std::string routePrinterSection(int row);  // "PrtLst3"

// True when "\PrtLst\PrtLst.ini" exists; otherwise tells the operator that the
// printer settings are void ("配置文件未找到，打印机设置无效：" + full path) and
// returns false. Start-up and each row's assignment button check this.
bool printerListAvailable(const SettingsStore& store, base::OperatorMessages& messages);

// Reads every setting, with its default, exactly as start-up does and in
// start-up's order. A value that cannot be applied leaves the field as it was.
// A missing "\PrtLst\PrtLst.ini" is reported through `messages` and every row
// then has no printers. "Printer_9" keeps a position in `installedPrinters`
// only.
Settings loadSettings(const SettingsStore& store, const InstalledPrinters& installedPrinters,
                      base::OperatorMessages& messages);

// One (field, value) pair per settings-model field, in declaration order, with
// the field names used on the command line. Arrays give one pair per row,
// numbered from 0: routePaperIndex0 ... 7, routeDeviceIp0 ... 7, routePrinters0
// ... 7 (printers joined with ","), aboutLines0 ... 7 (about.ini keys "1" ...
// "8"); the header fields use their own names (hleft, ..., htjcs, crosswidth,
// yyname). Flags print as "1"/"0", an index that chooses nothing as "-1".
std::vector<std::pair<std::string, std::string>> describeSettings(const Settings& settings);

// The run-time values --show-settings prints after the settings, in this
// order: printCount, installedPrinters (joined with ",").
std::vector<std::pair<std::string, std::string>>
describeRunValues(const PrintCount& printCount, const InstalledPrinters& installedPrinters);

}  // namespace vantorel::settings
