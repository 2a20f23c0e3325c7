#include "settings/print_page_save.h"

#include "base/number_rules.h"
#include "base/text.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "settings/settings_writer.h"

namespace vantorel::settings {

namespace {

const char* flag(bool on)
{
    return on ? "1" : "0";
}

class PrtIniWriter {
public:
    PrtIniWriter(SettingsStore& store, Settings& settings, const InstalledPrinters& installedPrinters)
        : store_(store), settings_(settings), installedPrinters_(installedPrinters)
    {}
    void operator()(const KeyName& key, const std::string& value)
    {
        // A failed write is kept by the store and reported when the save ends.
        (void)saveSetting(store_, settings_, installedPrinters_, key, value);
    }

private:
    SettingsStore& store_;
    Settings& settings_;
    const InstalledPrinters& installedPrinters_;
};

void saveRouting(const PrintPageValues& values, PrtIniWriter& write)
{
    if (!values.routeByDevice) {
        write(keys::routeByDevice, "0");
        return;
    }
    write(keys::routeByDevice, "1");
    for (int row = 0; row < routeCount; ++row)
        write(routeDeviceKey(row), values.deviceIps[static_cast<std::size_t>(row)]);
}

void recomputeHeaderBand(const SettingsStore& store, Settings& settings, bool printHeader)
{
    if (!printHeader) {
        settings.header.htjcs = 0;
        return;
    }
    const std::string height = store.readSetting(keys::headerBandHeight, "1000");
    // A height that is not a whole number leaves the band as it was.
    if (const auto n = base::wholeNumber(height))
        settings.header.htjcs = *n;
}

}  // namespace

void savePrintPage(SettingsStore& store, Settings& settings, const InstalledPrinters& installedPrinters,
                   const PrintPageValues& values)
{
    PrtIniWriter write(store, settings, installedPrinters);
    write(keys::lutEnabled, flag(values.lutChecked));
    if (values.useBinChecked) {
        write(keys::useBin, "1");
        write(keys::paperBin, base::trimSpaces(values.binText));
    } else {
        write(keys::useBin, "0");
    }
    saveRouting(values, write);
    write(keys::blackBase, flag(values.blackBase));
    write(keys::otherPaper, values.otherPaperText);
    write(keys::printHeader, flag(values.printHeader));
    write(keys::marginLeft, std::to_string(values.marginLeft));
    write(keys::marginTop, std::to_string(values.marginTop));
    write(keys::marginRight, std::to_string(values.marginRight));
    write(keys::marginBottom, std::to_string(values.marginBottom));
    for (int row = 0; row < routeCount; ++row)
        write(routePaperKey(row), std::to_string(values.routePaperIndex[static_cast<std::size_t>(row)]));
    write(keys::otherPrinter, std::to_string(values.otherPrinterIndex));
    write(keys::templateMode, flag(values.templateMode));
    recomputeHeaderBand(store, settings, values.printHeader);
}

}  // namespace vantorel::settings
