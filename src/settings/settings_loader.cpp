#include "settings/settings_loader.h"

#include "base/operator_messages.h"
#include "base/text.h"
#include "settings/print_count.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace vantorel::settings {

namespace {

std::string printerSection(int row)
{
    return "PrtLst" + std::to_string(row);
}

// Keys "0" ... "7" of the row's section in order, empty values skipped.
std::vector<std::string> readRoutePrinters(const SettingsStore& store, int row)
{
    std::vector<std::string> printers;
    for (int key = 0; key < printerKeysPerRow; ++key) {
        std::string name = store.readSetting(printerSection(row), std::to_string(key), "", files::prtLst);
        if (!name.empty())
            printers.push_back(std::move(name));
    }
    return printers;
}

bool isPrintHeaderKey(const SettingKey& key)
{
    return key.file == keys::printHeader.file && key.section == keys::printHeader.section &&
        key.key == keys::printHeader.key;
}

std::string flag(bool on)
{
    return on ? "1" : "0";
}

std::string commaJoined(const std::vector<std::string>& items)
{
    return base::joined(items, ",");
}

}  // namespace

std::string routePrinterSection(int row)
{
    return printerSection(row);
}

bool printerListAvailable(const SettingsStore& store, base::OperatorMessages& messages)
{
    if (store.fileExists(files::prtLst))
        return true;
    messages.show("配置文件未找到，打印机设置无效：" + store.pathOf(files::prtLst), "打印机设置无效",
                  base::MessageIcon::Information);
    return false;
}

Settings loadSettings(const SettingsStore& store, const InstalledPrinters& installedPrinters,
                      base::OperatorMessages& messages)
{
    Settings settings;
    for (const SettingKey& key : settingKeys(store.homeFolder(), installedPrinters)) {
        key.apply(settings, store.readSetting(key.section, key.key, key.def, key.file));
        if (isPrintHeaderKey(key) && settings.printHeader == 0)
            settings.header.htjcs = 0;
    }
    if (printerListAvailable(store, messages)) {
        for (int row = 0; row < routeCount; ++row)
            settings.routePrinters[static_cast<std::size_t>(row)] = readRoutePrinters(store, row);
    }
    return settings;
}

std::vector<std::pair<std::string, std::string>> describeSettings(const Settings& s)
{
    std::vector<std::pair<std::string, std::string>> out;
    const auto add = [&out](std::string field, std::string value) {
        out.emplace_back(std::move(field), std::move(value));
    };
    const auto addRows = [&add](const std::string& field, const auto& rows, const auto& text) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            add(field + std::to_string(i), text(rows[i]));
    };
    const auto number = [](int n) { return std::to_string(n); };
    const auto same = [](const std::string& t) { return t; };

    add("aeTitle", s.aeTitle);
    add("listenPort", s.listenPort);
    add("forceConvert", flag(s.forceConvert));
    add("blackBase", number(s.blackBase));
    add("printHeader", number(s.printHeader));
    add("useBin", number(s.useBin));
    add("paperBinIndex", number(s.paperBinIndex));
    add("templateMode", flag(s.templateMode));
    add("lutEnabled", s.lutEnabled);
    add("magnificationType", s.magnificationType);
    add("filmImageCompression", s.filmImageCompression);
    add("otherPaper", s.otherPaper);
    add("routeByDevice", flag(s.routeByDevice));
    addRows("routePaperIndex", s.routePaperIndex, number);
    add("otherPrinterIndex", number(s.otherPrinterIndex));
    add("marginLeft", number(s.marginLeft));
    add("marginTop", number(s.marginTop));
    add("marginRight", number(s.marginRight));
    add("marginBottom", number(s.marginBottom));
    add("fujiCr", flag(s.fujiCr));
    add("exportFolder", s.exportFolder);
    add("connectString", s.connectString);
    add("logKeepDays", number(s.logKeepDays));
    // Whether an own password is set; never the hash itself.
    add("settingsPassword", s.settingsPasswordHash.empty() ? "fixed" : "own");
    add("autoRun", flag(s.autoRun));
    add("saveFilmAtStart", flag(s.saveFilmAtStart));
    add("saveFilms", flag(s.saveFilms));
    add("skinEnabled", flag(s.skinEnabled));
    add("skinFile", s.skinFile);
    add("startVisible", flag(s.startVisible));
    addRows("routeDeviceIp", s.routeDeviceIp, same);
    addRows("routePrinters", s.routePrinters, commaJoined);
    addRows("aboutLines", s.aboutLines, same);
    add("windowTitle", s.windowTitle);
    add("hleft", s.header.hleft);
    add("htop", s.header.htop);
    add("hname", s.header.hname);
    add("hys", s.header.hys);
    add("hzt", s.header.hzt);
    add("hzh", s.header.hzh);
    add("hct", s.header.hct);
    add("htjcs", number(s.header.htjcs));
    add("crosswidth", s.header.crosswidth);
    add("yyname", s.header.yyname);
    return out;
}

std::vector<std::pair<std::string, std::string>> describeRunValues(const PrintCount& printCount,
                                                                   const InstalledPrinters& installedPrinters)
{
    return {{"printCount", std::to_string(printCount.value())},
            {"installedPrinters", commaJoined(installedPrinters)}};
}

}  // namespace vantorel::settings
