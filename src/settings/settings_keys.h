#pragma once

#include "settings/installed_printers.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"

#include <functional>
#include <string>
#include <vector>

namespace vantorel::settings {

// The keys that start-up reads and the pages (or the hospital-name editor, or
// --set-password) write: each key's text is here once.
namespace keys {
inline constexpr KeyName aeTitle{files::prtIni, "PrtIni", "AE"};
inline constexpr KeyName listenPort{files::prtIni, "PrtIni", "Port"};
inline constexpr KeyName forceGrey{files::prtIni, "PrtIni", "PrtBC"};
inline constexpr KeyName autoRun{files::prtIni, "PrtIni", "Chk_AutoRun"};
inline constexpr KeyName saveFilm{files::prtIni, "PrtIni", "SaveFilm"};
inline constexpr KeyName skin{files::prtIni, "PrtIni", "Skin"};
inline constexpr KeyName skinEnabled{files::prtIni, "PrtIni", "Chk_Skin"};
inline constexpr KeyName settingsPasswordHash{files::prtIni, "PrtIni", "SettingsPasswordHash"};
inline constexpr KeyName routeByDevice{files::prtIni, "PrtIni", "设备源"};
inline constexpr KeyName lutEnabled{files::prtIni, "PrtIni", "启用LUT"};
inline constexpr KeyName useBin{files::prtIni, "PrtIni", "启用进纸器"};
inline constexpr KeyName paperBin{files::prtIni, "PrtIni", "进纸器"};
inline constexpr KeyName blackBase{files::prtIni, "PrtIni", "打印黑底胶片"};
inline constexpr KeyName otherPaper{files::prtIni, "PrtIni", "其它规格胶片对应打印胶片规格"};
inline constexpr KeyName printHeader{files::prtIni, "PrtIni", "打印医院名称"};
inline constexpr KeyName marginLeft{files::prtIni, "PrtIni", "打印左边距"};
inline constexpr KeyName marginTop{files::prtIni, "PrtIni", "打印上边距"};
inline constexpr KeyName marginRight{files::prtIni, "PrtIni", "打印右边距"};
inline constexpr KeyName marginBottom{files::prtIni, "PrtIni", "打印下边距"};
inline constexpr KeyName otherPrinter{files::prtIni, "PrtIni", "Printer_9"};
inline constexpr KeyName templateMode{files::prtIni, "PrtIni", "启用胶片格式文件"};
inline constexpr KeyName hospitalName{files::hospital, "Hospital", "医院名称"};
inline constexpr KeyName headerLeft{files::hospital, "Hospital", "左起始点"};
inline constexpr KeyName headerTop{files::hospital, "Hospital", "上起始点"};
inline constexpr KeyName headerColour{files::hospital, "Hospital", "颜色"};
inline constexpr KeyName headerFont{files::hospital, "Hospital", "字体"};
inline constexpr KeyName headerPointSize{files::hospital, "Hospital", "字号"};
inline constexpr KeyName headerBold{files::hospital, "Hospital", "粗体"};
inline constexpr KeyName customHeaderName{files::hospital, "自定义图片", "图片医院名称"};
inline constexpr KeyName headerBandHeight{files::hospital, "Parameter", "医院名称打印区高度"};
}  // namespace keys

// The paper of routing row `row` (0-based): key "FilmSize_<row + 1>" of
// [PrtIni]; its sending device: key "<row + 1>" of [IP] in "\IP\IP.ini".
KeyName routePaperKey(int row);
KeyName routeDeviceKey(int row);

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
    std::string file;  // "\PrtIni.ini", ...
    std::string section;
    std::string key;
    std::string def;
    SettingActs acts;
    std::function<void(Settings&, const std::string&)> apply;
};

// Every INI key that has a field, in the order start-up reads them. The default
// export folder is <homeFolder>/images; "Printer_9" applies only a position
// in `installedPrinters`. The printer pools of "\PrtLst\PrtLst.ini"
// (several keys per field) are not in the list; see settings_loader.h.
std::vector<SettingKey> settingKeys(const std::string& homeFolder,
                                    const InstalledPrinters& installedPrinters);

// The entry for file/section/key (names compared as the INI files compare
// them), or nullptr.
const SettingKey* findSettingKey(const std::vector<SettingKey>& keys, const std::string& file,
                                 const std::string& section, const std::string& key);

}  // namespace vantorel::settings
