#include "console/print_page_save.h"

#include "console/settings_conversions.h"
#include "console/settings_store.h"
#include "console/settings_writer.h"
#include "console/text.h"

namespace vantorel::console {

namespace {

const char* flag(bool on) { return on ? "1" : "0"; }

class PrtIniWriter {
public:
    PrtIniWriter(SettingsStore& store, Settings& settings) : store_(store), settings_(settings) {}
    void operator()(const std::string& key, const std::string& value)
    {
        saveSetting(store_, settings_, files::prtIni, "PrtIni", key, value);
    }

private:
    SettingsStore& store_;
    Settings& settings_;
};

void saveRouting(SettingsStore& store, Settings& settings, const PrintPageValues& values,
                 PrtIniWriter& write)
{
    if (!values.routeByDevice) {
        write("设备源", "0");
        return;
    }
    write("设备源", "1");
    for (int row = 0; row < routeCount; ++row)
        saveSetting(store, settings, files::ip, "IP", std::to_string(row + 1),
                    values.deviceIps[static_cast<std::size_t>(row)]);
}

void recomputeHeaderBand(const SettingsStore& store, Settings& settings, bool printHeader)
{
    if (!printHeader) {
        settings.header.htjcs = 0;
        return;
    }
    const std::string height =
        store.readSetting("Parameter", "医院名称打印区高度", "1000", files::hospital);
    // A height that is not a whole number leaves the band as it was.
    if (const auto n = wholeNumber(height))
        settings.header.htjcs = *n;
}

}  // namespace

void savePrintPage(SettingsStore& store, Settings& settings, const PrintPageValues& values)
{
    PrtIniWriter write(store, settings);
    write("启用LUT", flag(values.lutChecked));
    if (values.useBinChecked) {
        write("启用进纸器", "1");
        write("进纸器", trimSpaces(values.binText));
    } else {
        write("启用进纸器", "0");
    }
    saveRouting(store, settings, values, write);
    write("打印黑底胶片", flag(values.blackBase));
    write("其它规格胶片对应打印胶片规格", values.otherPaperText);
    write("打印医院名称", flag(values.printHeader));
    write("打印左边距", std::to_string(values.marginLeft));
    write("打印上边距", std::to_string(values.marginTop));
    write("打印右边距", std::to_string(values.marginRight));
    write("打印下边距", std::to_string(values.marginBottom));
    for (int row = 0; row < routeCount; ++row)
        write("FilmSize_" + std::to_string(row + 1),
              std::to_string(values.routePaperIndex[static_cast<std::size_t>(row)]));
    write("Printer_9", std::to_string(values.otherPrinterIndex));
    write("启用胶片格式文件", flag(values.templateMode));
    recomputeHeaderBand(store, settings, values.printHeader);
}

}  // namespace vantorel::console
