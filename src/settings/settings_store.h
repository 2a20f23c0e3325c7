#pragma once

#include <string>

namespace vantorel::settings {

// The INI files of the home folder, named as the program has always named them:
// a path below the home folder with backslashes, e.g. "\PrtLst\PrtLst.ini".
namespace files {
inline constexpr const char* prtIni = "\\PrtIni.ini";
inline constexpr const char* prtLst = "\\PrtLst\\PrtLst.ini";
inline constexpr const char* ip = "\\IP\\IP.ini";
inline constexpr const char* about = "\\About\\about.ini";
inline constexpr const char* hospital = "\\医院名称\\Hospital.ini";
}  // namespace files

// Where a setting is kept: its file, section and key. Keys that are both read
// and written are named once, in namespace keys (settings_keys.h).
struct KeyName {
    const char* file;
    const char* section;
    const char* key;
};

// Key-by-key access to the INI files below the home folder, with the behaviour
// of the Windows profile functions (see ini_file.h). Strings are UTF-8.
class SettingsStore {
public:
    explicit SettingsStore(std::string homeFolder);

    // The stored value, or `def` when the file, section or key is missing;
    // blanks trimmed, cut to 254 characters. Never fails.
    std::string readSetting(const std::string& section, const std::string& key, const std::string& def,
                            const std::string& file) const;

    // Creates the file (and its folder), section and key as needed; the value is
    // written as given. Returns false when the file cannot be written; the
    // first such failure since the last takeWriteFailure() is kept.
    [[nodiscard]] bool writeSetting(const std::string& section, const std::string& key,
                                    const std::string& value, const std::string& file);
    [[nodiscard]] bool writeSetting(const KeyName& name, const std::string& value)
    {
        return writeSetting(name.section, name.key, value, name.file);
    }
    std::string readSetting(const KeyName& name, const std::string& def) const
    {
        return readSetting(name.section, name.key, def, name.file);
    }

    // "<file>：<the system's reason>" of the first write that failed since the
    // last call (empty: none), for the one message of a page's save.
    [[nodiscard]] std::string takeWriteFailure();

    bool fileExists(const std::string& file) const;
    std::string pathOf(const std::string& file) const;  // "\PrtLst\PrtLst.ini" -> <home>/PrtLst/PrtLst.ini
    const std::string& homeFolder() const { return home_; }

private:
    std::string home_;
    std::string writeFailure_;
};

}  // namespace vantorel::settings
