#pragma once

#include "settings/settings_model.h"
#include "base/fwd.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::settings {

class SettingsStore;
// The per-user film counter (a platform value, see platform/print_count_settings.h).
class PrintCountStore {
public:
    virtual ~PrintCountStore() = default;
    virtual std::int32_t read() const = 0;    // 0 when never written
    virtual void write(std::int32_t count) = 0;
};

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
// then has no printers.
Settings loadSettings(const SettingsStore& store,
                      const std::vector<std::string>& installedPrinters,
                      const PrintCountStore& printCount,
                      base::OperatorMessages& messages);

// One (field, value) pair per settings-model field, in declaration order, with
// the field names used on the command line. Arrays give one pair per row,
// numbered from 0: routePaperIndex0 ... 7, routeDeviceIp0 ... 7, routePrinters0
// ... 7 (printers joined with ","), aboutLines0 ... 7 (about.ini keys "1" ...
// "8"); the header fields use their own names (hleft, ..., htjcs, crosswidth,
// yyname); installedPrinters is joined with ",". Flags print as "1"/"0", an
// index that chooses nothing as "-1".
std::vector<std::pair<std::string, std::string>> describeSettings(const Settings& settings);

}  // namespace vantorel::settings
