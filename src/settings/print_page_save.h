#pragma once

#include "settings/fwd.h"
#include "settings/installed_printers.h"
#include "settings/settings_model.h"

#include <array>
#include <string>

namespace vantorel::settings {

// What the print settings page shows at the moment its save button is pressed.
struct PrintPageValues {
    bool lutChecked = false;                          // "打印胶片时启用LUT"
    bool useBinChecked = false;                       // "指定进纸器"
    std::string binText;                              // the paper bin choice's text
    bool routeByDevice = false;                       // "根据发送设备指定打印机"
    std::array<std::string, routeCount> deviceIps{};  // IP entries of rows 0 ... 7, as typed
    bool blackBase = false;                           // "打印黑底胶片"
    std::string otherPaperText;                       // other-size paper choice's text
    bool printHeader = false;                         // "打印医院名称"
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;
    std::array<int, routeCount> routePaperIndex{-1, -1, -1, -1, -1, -1, -1, -1};  // -1: none
    int otherPrinterIndex = -1;                                                   // -1: none
    bool templateMode = false;                                                    // "用户自定义格式"
};

// The print page's save, keys in this order: "启用LUT"; "启用进纸器" and, only
// when the bin is chosen, "进纸器"; "设备源" and, only in device mode, the eight
// keys of "\IP\IP.ini"; "打印黑底胶片", "其它规格胶片对应打印胶片规格", "打印医院名称";
// the four margins; "FilmSize_1" ... "FilmSize_8"; "Printer_9";
// "启用胶片格式文件". Then the header band height `htjcs` is taken again from
// "\医院名称\Hospital.ini" when headers are printed, 0 otherwise. Start-up
// fields ("启用LUT", the other-size paper) keep their working values; the
// other printer's position counts only within `installedPrinters`.
void savePrintPage(SettingsStore& store, Settings& settings, const InstalledPrinters& installedPrinters,
                   const PrintPageValues& values);

}  // namespace vantorel::settings
