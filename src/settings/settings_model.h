#pragma once

#include "settings/header_settings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantorel::settings {

inline constexpr int routeCount = 8;

// Paper codes that the routing rows' "FilmSize_n" indexes refer to.
const std::vector<std::string>& paperCodeList();  // "A3", "A4", "810", ... "自定义4"
const std::vector<std::string>& paperBinList();   // "1" ... "26"
const std::vector<std::string>& otherPaperList(); // "A3", "A4"

// The in-memory owner of every setting for the run. Live fields are read by the
// print path each time they are needed; start-up fields were copied once at
// start-up and a page edit only changes the stored key. Defaults below are the
// state before anything is read (the initial state a skipped value keeps).
struct Settings {
    // "\PrtIni.ini" [PrtIni]
    std::string aeTitle = "ZQ";            // start-up
    std::string listenPort = "10000";      // live, held as text
    bool forceConvert = false;             // live; "PrtBC" other than "0"
    int blackBase = 1;                     // live; number, non-zero is on
    int printHeader = 1;                   // live; number, non-zero is on
    int useBin = 1;                        // stored and shown only
    int paperBinIndex = -1;                // index into paperBinList(), -1: none chosen
    bool templateMode = false;             // live; "启用胶片格式文件" == "1"
    std::string lutEnabled = "0";          // start-up; checked when "1", applied when not "0"
    std::string magnificationType = "BILINEAR";  // live; for images whose print job names none
    std::string filmImageCompression = "lossless";  // live; how film PDFs keep pictures: "lossless" or "jpeg"
    std::string otherPaper = "A4";         // start-up; "A3" or "A4"
    bool routeByDevice = false;            // live; "设备源" 1
    std::array<int, routeCount> routePaperIndex{-1, -1, -1, -1, -1, -1, -1, -1};  // live, -1: none
    int otherPrinterIndex = -1;            // live; position in the installed printers, -1: none
    int marginLeft = 0;                    // live, mm, -100 ... 100
    int marginTop = 0;                     // live, mm, -100 ... 100
    int marginRight = 0;                   // stored and shown only, -3000 ... 3000
    int marginBottom = 0;                  // live, 0 ... 250
    bool fujiCr = true;                    // start-up; "富士CR" == "1"
    std::string exportFolder;              // start-up; default <home>/images
    std::string connectString;             // start-up
    std::string settingsPasswordHash;      // live; "SettingsPasswordHash": the settings password's hash, empty: the fixed one
    int logKeepDays = 90;                  // start-up; "LogKeepDays", 1 ... 32767: run logs kept this many days
    bool autoRun = true;                   // "Chk_AutoRun" == "1"
    bool saveFilmAtStart = false;          // "SaveFilm" == "1": offer the film-management page
    bool saveFilms = false;                // live; the run page's box, starts as "SaveFilm" holds
    bool skinEnabled = true;               // start-up; "Chk_Skin" == "1"
    std::string skinFile = "1.she";        // start-up
    bool startVisible = true;              // start-up; "FrmVisiable" == "1"

    // "\IP\IP.ini" [IP] keys "1" ... "8"
    std::array<std::string, routeCount> routeDeviceIp{};  // live

    // "\PrtLst\PrtLst.ini" [PrtLst0] ... [PrtLst7] keys "0" ... "7"
    std::array<std::vector<std::string>, routeCount> routePrinters{};  // live

    // "\About\about.ini" [About]
    std::array<std::string, 8> aboutLines{};  // keys "1" ... "8"
    std::string windowTitle = "Vantorel V4.1";

    // "\医院名称\Hospital.ini"
    HeaderSettings header;

    // Films printed so far (per-user settings, organisation "Zelquora").
    std::int32_t printCount = 0;

    // The installed printers, in the platform's order, read once at start-up.
    std::vector<std::string> installedPrinters;
};

}  // namespace vantorel::settings
