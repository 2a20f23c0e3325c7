#pragma once

#include "console/settings_model.h"

#include <functional>
#include <string>
#include <vector>

namespace vantorel::console {

// When a field acts on the running system (see Settings).
enum class SettingActs {
    Live,     // read by the running system each time it is needed
    StartUp,  // copied once at start-up; a saved edit acts at the next start
    Shown,    // stored and shown only
};

// One INI key with its literal default and the field it fills. `apply` takes the
// text as read (trimmed, cut) and converts it as the field's "read as" rule says;
// a value that cannot be applied leaves the field unchanged.
struct SettingKey {
    std::string file;     // "\PrtIni.ini", ...
    std::string section;
    std::string key;
    std::string def;
    SettingActs acts;
    std::function<void(Settings&, const std::string&)> apply;
};

// Every INI key that has a field, in the order start-up reads them. The default
// export folder is <homeFolder>/images. The printer pools of "\PrtLst\PrtLst.ini"
// (several keys per field) are not in the list; see settings_loader.h.
std::vector<SettingKey> settingKeys(const std::string& homeFolder);

// The entry for file/section/key (names compared as the INI files compare
// them), or nullptr.
const SettingKey* findSettingKey(const std::vector<SettingKey>& keys, const std::string& file,
                                 const std::string& section, const std::string& key);

}  // namespace vantorel::console
