#include "settings/settings_keys.h"

#include "base/ini_document.h"
#include "base/number_rules.h"
#include "settings/settings_store.h"

#include <algorithm>
#include <array>

namespace vantorel::settings {

namespace {

using Apply = std::function<void(Settings&, const std::string&)>;

const char* const connectStringDefault =
    "DRIVER={MySQL ODBC 5.2 ANSI Driver};SERVER=127.0.0.1;DATABASE=dbprt;UID=root;PWD=;";

Apply asText(std::string Settings::*field)
{
    return [field](Settings& s, const std::string& v) { s.*field = v; };
}

// "compared with a text": exact, case-sensitive equality.
Apply equalTo(bool Settings::*field, std::string text)
{
    return [field, text](Settings& s, const std::string& v) { s.*field = v == text; };
}

// "number" into a 16-bit field, optionally limited to a range.
Apply asNumber(int Settings::*field, int low = -32768, int high = 32767)
{
    return [field, low, high](Settings& s, const std::string& v) {
        const auto n = base::numberAsInt16(v);
        if (n && *n >= low && *n <= high)
            s.*field = *n;
    };
}

Apply routePaper(int row)
{
    return [row](Settings& s, const std::string& v) {
        const auto n = base::numberAsInt16(v);
        if (n && *n >= 0 && *n < static_cast<int>(paperCodeList().size()))
            s.routePaperIndex[static_cast<std::size_t>(row)] = *n;
    };
}

Apply otherPrinter(std::size_t installedCount)
{
    return [installedCount](Settings& s, const std::string& v) {
        const auto n = base::numberAsInt16(v);
        if (n && *n >= 0 && *n < static_cast<int>(installedCount))
            s.otherPrinterIndex = *n;
    };
}

Apply paperBin()
{
    return [](Settings& s, const std::string& v) {
        const auto& bins = paperBinList();
        const auto it = std::find(bins.begin(), bins.end(), v);
        if (it != bins.end())
            s.paperBinIndex = static_cast<int>(it - bins.begin());
    };
}

Apply routeByDevice()
{
    return [](Settings& s, const std::string& v) {
        const auto n = base::wholeNumber(v);
        if (n && (*n == 0 || *n == 1))
            s.routeByDevice = *n == 1;
    };
}

// "number", held as its decimal text.
Apply numberHeldAsText(std::string HeaderSettings::*field)
{
    return [field](Settings& s, const std::string& v) {
        s.header.*field = base::numberText(base::leadingNumber(v));
    };
}

Apply headerText(std::string HeaderSettings::*field)
{
    return [field](Settings& s, const std::string& v) { s.header.*field = v; };
}

class KeyList {
public:
    void add(const char* file, const char* section, std::string key, std::string def, SettingActs acts,
             Apply apply)
    {
        keys.push_back({file, section, std::move(key), std::move(def), acts, std::move(apply)});
    }
    void add(const KeyName& name, std::string def, SettingActs acts, Apply apply)
    {
        add(name.file, name.section, name.key, std::move(def), acts, std::move(apply));
    }
    std::vector<SettingKey> keys;
};

void addHeaderKeys(KeyList& list)
{
    const char* f = files::hospital;
    const auto live = SettingActs::Live;
    list.add(keys::headerLeft, "0", live, headerText(&HeaderSettings::hleft));
    list.add(keys::headerTop, "0", live, headerText(&HeaderSettings::htop));
    list.add(keys::hospitalName, "0", live, headerText(&HeaderSettings::hname));
    list.add(keys::headerColour, "0", live, numberHeldAsText(&HeaderSettings::hys));
    list.add(keys::headerFont, "0", live, headerText(&HeaderSettings::hzt));
    list.add(keys::headerPointSize, "0", live, headerText(&HeaderSettings::hzh));
    list.add(keys::headerBold, "0", live, headerText(&HeaderSettings::hct));
    list.add(keys::headerBandHeight, "1000", SettingActs::StartUp, [](Settings& s, const std::string& v) {
        if (const auto n = base::wholeNumber(v))
            s.header.htjcs = *n;
    });
    list.add(f, "Cross", "医院图标打印宽度和高度", "500", SettingActs::StartUp,
             numberHeldAsText(&HeaderSettings::crosswidth));
    list.add(keys::customHeaderName, "0", live, headerText(&HeaderSettings::yyname));
}

// Start-up steps 2 to 10: layout, page and window switches.
void addSwitchKeys(KeyList& list)
{
    const char* f = files::prtIni;
    const char* s = "PrtIni";
    list.add(keys::blackBase, "1", SettingActs::Live, asNumber(&Settings::blackBase));
    list.add(keys::printHeader, "1", SettingActs::Live, asNumber(&Settings::printHeader));
    list.add(keys::forceGrey, "0", SettingActs::Live,
             [](Settings& st, const std::string& v) { st.forceConvert = v != "0"; });
    list.add(keys::useBin, "1", SettingActs::Shown, asNumber(&Settings::useBin));
    list.add(keys::paperBin, "1", SettingActs::Shown, paperBin());
    list.add(keys::templateMode, "0", SettingActs::Live, equalTo(&Settings::templateMode, "1"));
    // Film saving starts as it was saved: the page is offered and the run
    // page's box (film saving, the monthly purge) starts checked.
    list.add(keys::saveFilm, "0", SettingActs::StartUp, [](Settings& st, const std::string& v) {
        st.saveFilmAtStart = v == "1";
        st.saveFilms = st.saveFilmAtStart;
    });
    list.add(keys::autoRun, "1", SettingActs::Shown, equalTo(&Settings::autoRun, "1"));
    list.add(keys::skinEnabled, "1", SettingActs::StartUp, equalTo(&Settings::skinEnabled, "1"));
    list.add(keys::skin, "1.she", SettingActs::StartUp, asText(&Settings::skinFile));
    list.add(f, s, "FrmVisiable", "1", SettingActs::StartUp, equalTo(&Settings::startVisible, "1"));
}

// Start-up step 11: service, routing rows, about lines, database, margins.
void addServiceKeys(KeyList& list, const std::string& homeFolder)
{
    const char* f = files::prtIni;
    const char* s = "PrtIni";
    list.add(keys::aeTitle, "ZQ", SettingActs::StartUp, asText(&Settings::aeTitle));
    list.add(keys::listenPort, "10000", SettingActs::Live, asText(&Settings::listenPort));
    list.add(f, s, "胶片导出路径", homeFolder + "/images", SettingActs::StartUp,
             asText(&Settings::exportFolder));
    for (int row = 0; row < routeCount; ++row)
        list.add(routePaperKey(row), "0", SettingActs::Live, routePaper(row));
    for (int row = 0; row < routeCount; ++row)
        list.add(routeDeviceKey(row), "", SettingActs::Live, [row](Settings& st, const std::string& v) {
            st.routeDeviceIp[static_cast<std::size_t>(row)] = v;
        });
    for (std::size_t line = 0; line < 8; ++line)
        list.add(files::about, "About", std::to_string(line + 1), "", SettingActs::StartUp,
                 [line](Settings& st, const std::string& v) { st.aboutLines[line] = v; });
    list.add(files::about, "About", "程序窗口_文字", "Vantorel V4.1", SettingActs::StartUp,
             asText(&Settings::windowTitle));
    list.add(f, s, "ConnectString", connectStringDefault, SettingActs::StartUp,
             asText(&Settings::connectString));
    // Anything but a whole number of at least one day keeps the default.
    list.add(keys::settingsPasswordHash, "", SettingActs::Live, asText(&Settings::settingsPasswordHash));
    list.add(f, s, "LogKeepDays", "90", SettingActs::StartUp, asNumber(&Settings::logKeepDays, 1, 32767));
    list.add(keys::marginLeft, "1", SettingActs::Live, asNumber(&Settings::marginLeft, -100, 100));
    list.add(keys::marginTop, "1", SettingActs::Live, asNumber(&Settings::marginTop, -100, 100));
    list.add(keys::marginRight, "250", SettingActs::Shown, asNumber(&Settings::marginRight, -3000, 3000));
    list.add(keys::marginBottom, "250", SettingActs::Live, asNumber(&Settings::marginBottom, 0, 250));
}

// Start-up steps 13 and 14 (the printer pools apart).
void addPrinterKeys(KeyList& list, const InstalledPrinters& installedPrinters)
{
    const char* f = files::prtIni;
    const char* s = "PrtIni";
    list.add(keys::otherPaper, "A4", SettingActs::StartUp,
             [](Settings& st, const std::string& v) { st.otherPaper = v == "A3" ? "A3" : "A4"; });
    list.add(keys::routeByDevice, "0", SettingActs::Live, routeByDevice());
    list.add(f, s, "富士CR", "1", SettingActs::StartUp, equalTo(&Settings::fujiCr, "1"));
    list.add(keys::lutEnabled, "0", SettingActs::StartUp, asText(&Settings::lutEnabled));
    list.add(f, s, "MagnificationType", "BILINEAR", SettingActs::Live, asText(&Settings::magnificationType));
    list.add(f, s, "FilmImageCompression", "lossless", SettingActs::Live,
             asText(&Settings::filmImageCompression));
    list.add(keys::otherPrinter, "0", SettingActs::Live, otherPrinter(installedPrinters.size()));
}

}  // namespace

KeyName routePaperKey(int row)
{
    static const std::array<std::string, routeCount> names = [] {
        std::array<std::string, routeCount> made;
        for (int i = 0; i < routeCount; ++i)
            made[static_cast<std::size_t>(i)] = "FilmSize_" + std::to_string(i + 1);
        return made;
    }();
    return {files::prtIni, "PrtIni", names.at(static_cast<std::size_t>(row)).c_str()};
}

KeyName routeDeviceKey(int row)
{
    static const std::array<std::string, routeCount> names = [] {
        std::array<std::string, routeCount> made;
        for (int i = 0; i < routeCount; ++i)
            made[static_cast<std::size_t>(i)] = std::to_string(i + 1);
        return made;
    }();
    return {files::ip, "IP", names.at(static_cast<std::size_t>(row)).c_str()};
}

std::vector<SettingKey> settingKeys(const std::string& homeFolder, const InstalledPrinters& installedPrinters)
{
    KeyList list;
    addHeaderKeys(list);
    addSwitchKeys(list);
    addServiceKeys(list, homeFolder);
    addPrinterKeys(list, installedPrinters);
    return std::move(list.keys);
}

const SettingKey* findSettingKey(const std::vector<SettingKey>& keys, const std::string& file,
                                 const std::string& section, const std::string& key)
{
    for (const SettingKey& k : keys)
        if (base::equalsIgnoringAsciiCase(k.file, file) &&
            base::equalsIgnoringAsciiCase(k.section, section) &&
            base::equalsIgnoringAsciiCase(k.key, base::trimBlanks(key)))
            return &k;
    return nullptr;
}

}  // namespace vantorel::settings
