#pragma once

#include "settings/header_settings.h"

#include <array>
#include <string>
#include <vector>

namespace vantorel::settings {

inline constexpr int routeCount = 8;

// Paper codes that the routing rows' "FilmSize_n" indexes refer to.
const std::vector<std::string>& paperCodeList();   // "A3", "A4", "810", ... "自定义4"
const std::vector<std::string>& paperBinList();    // "1" ... "26"
const std::vector<std::string>& otherPaperList();  // "A3", "A4"

// The settings of the run, grouped into one view per reader. Each subsystem
// takes the const view (or views) of what it reads, so a caller holding the
// whole Settings passes it unchanged; only the settings pages, start-up's
// loader and the settings writers change fields (settings_writer.h,
// print_page_save.h), and the few subsystems that change a setting themselves
// take a reference to that one field (the listening port's `listenPort`, the
// hospital-name editor's HeaderSettings).
//
// Live fields are read by the running system each time they are needed;
// start-up fields were copied once at start-up and a page edit only changes
// the stored key. Defaults below are the state before anything is read (the
// initial state a skipped value keeps). Run-time values that are not stored
// in the INI files live apart: the film count in PrintCount (print_count.h),
// the installed printers in InstalledPrinters (installed_printers.h).

// What the DICOM print service reads: the Printer object's AE title and
// variant, the port it listens on and the colour conversion of received
// images.
struct ServiceSettings {
    // "\PrtIni.ini" [PrtIni]
    std::string aeTitle = "ZQ";        // start-up
    std::string listenPort = "10000";  // live, held as text
    bool forceConvert = false;         // live; "PrtBC" other than "0"
    bool fujiCr = true;                // start-up; "富士CR" == "1"
};

// What picks a film's printer and paper: the routing mode and its eight rows,
// the route for films of other sizes, and the paper bin (shown only).
struct RoutingSettings {
    // "\PrtIni.ini" [PrtIni]
    bool routeByDevice = false;  // live; "设备源" 1
    // "FilmSize_1" ... "FilmSize_8": live, -1: none
    std::array<int, routeCount> routePaperIndex{-1, -1, -1, -1, -1, -1, -1, -1};
    int otherPrinterIndex = -1;     // live; position in the installed printers, -1: none
    std::string otherPaper = "A4";  // start-up; "A3" or "A4"
    int useBin = 1;                 // stored and shown only
    int paperBinIndex = -1;         // index into paperBinList(), -1: none chosen

    // "\IP\IP.ini" [IP] keys "1" ... "8"
    std::array<std::string, routeCount> routeDeviceIp{};  // live

    // "\PrtLst\PrtLst.ini" [PrtLst0] ... [PrtLst7] keys "0" ... "7"
    std::array<std::vector<std::string>, routeCount> routePrinters{};  // live
};

// What film composition reads on both roads: the road, the base, the header
// band and its values, the LUT and magnification of the pictures, the
// margins, and film saving (the template road's TIFF export).
struct CompositionSettings {
    // "\PrtIni.ini" [PrtIni]
    bool templateMode = false;                      // live; "启用胶片格式文件" == "1"
    int blackBase = 1;                              // live; number, non-zero is on
    int printHeader = 1;                            // live; number, non-zero is on
    std::string lutEnabled = "0";                   // start-up; checked when "1", applied when not "0"
    std::string magnificationType = "BILINEAR";     // live; for images whose print job names none
    std::string filmImageCompression = "lossless";  // live; how film PDFs keep pictures: "lossless" or "jpeg"
    int marginLeft = 0;                             // live, mm, -100 ... 100
    int marginTop = 0;                              // live, mm, -100 ... 100
    int marginRight = 0;                            // stored and shown only, -3000 ... 3000
    int marginBottom = 0;                           // live, 0 ... 250
    bool saveFilms = false;                         // live; the run page's box, starts as "SaveFilm" holds
    std::string exportFolder;                       // start-up; default <home>/images

    // "\医院名称\Hospital.ini"
    HeaderSettings header;
};

// What the film archive reads: the database it lists and records films in.
struct ArchiveSettings {
    // "\PrtIni.ini" [PrtIni]
    std::string connectString;  // start-up; "ConnectString"
};

// What only the console (and the run log's retention) reads: its password,
// start-up switches, look and window texts.
struct ConsoleSettings {
    // "\PrtIni.ini" [PrtIni]
    std::string settingsPasswordHash;  // live; "SettingsPasswordHash": the settings password's hash, empty:
                                       // the fixed one
    int logKeepDays = 90;              // start-up; "LogKeepDays", 1 ... 32767: run logs kept this many days
    bool autoRun = true;               // "Chk_AutoRun" == "1"
    bool saveFilmAtStart = false;      // "SaveFilm" == "1": offer the film-management page
    bool skinEnabled = true;           // start-up; "Chk_Skin" == "1"
    std::string skinFile = "1.she";    // start-up
    bool startVisible = true;          // start-up; "FrmVisiable" == "1"

    // "\About\about.ini" [About]
    std::array<std::string, 8> aboutLines{};  // keys "1" ... "8"
    std::string windowTitle = "Vantorel V4.1";
};

// Every stored setting of the run, owned by the composition root (app/main.cpp)
// and filled by start-up (loadSettings). An aggregate of its views: a field is
// reached as settings.field whichever view holds it.
struct Settings : ServiceSettings, RoutingSettings, CompositionSettings, ArchiveSettings, ConsoleSettings {};

}  // namespace vantorel::settings
