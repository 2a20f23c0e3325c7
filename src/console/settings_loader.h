#pragma once

#include "console/settings_model.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::console {

class SettingsStore;
class OperatorMessages;

// The per-user film counter (a platform value, see platform/print_count_settings.h).
class PrintCountStore {
public:
    virtual ~PrintCountStore() = default;
    virtual std::int32_t read() const = 0;    // 0 when never written
    virtual void write(std::int32_t count) = 0;
};

// Reads every setting, with its default, exactly as start-up does and in
// start-up's order. A value that cannot be applied leaves the field as it was.
// A missing "\PrtLst\PrtLst.ini" is reported through `messages` and every row
// then has no printers.
Settings loadSettings(const SettingsStore& store,
                      const std::vector<std::string>& installedPrinters,
                      const PrintCountStore& printCount,
                      OperatorMessages& messages);

// One (field, value) pair per settings-model field, in declaration order, with
// the field names used on the command line ("aeTitle", "routePrinters0", ...).
std::vector<std::pair<std::string, std::string>> describeSettings(const Settings& settings);

}  // namespace vantorel::console
