#include "settings/settings_loader.h"

#include "base/gbk.h"
#include "settings/print_count.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

#include <map>

namespace vantorel::settings {
namespace {

using testing::FakePrintCount;
using testing::RecordingMessages;
using testing::Sandbox;
using testing::writeBytes;

using Fields = std::vector<std::pair<std::string, std::string>>;

std::map<std::string, std::string> fieldMap(const Settings& settings)
{
    std::map<std::string, std::string> map;
    for (const auto& [field, value] : describeSettings(settings))
        map[field] = value;
    return map;
}

// Loads settings from a sandbox home folder.
struct Home {
    Sandbox box;
    SettingsStore store{box.path()};
    RecordingMessages messages;
    FakePrintCount printCountStore;
    InstalledPrinters printers{"Laser", "FilmFile"};

    void write(const std::string& file, const std::string& gbkText)
    {
        writeBytes(store.pathOf(file), gbkText);
    }
    Settings load() { return loadSettings(store, printers, messages); }

    // What --show-settings prints: the loaded settings, then the run-time
    // values, the film count as start-up reads it from its store.
    Fields shown()
    {
        Fields fields = describeSettings(load());
        PrintCount printCount(printCountStore);
        printCount.readStored();
        const Fields runValues = describeRunValues(printCount, printers);
        fields.insert(fields.end(), runValues.begin(), runValues.end());
        return fields;
    }
};

TEST(SettingsLoader, NoIniFilesGiveTheDefaults)
{
    Home home;
    const Fields expected = {
        {"aeTitle", "ZQ"},
        {"listenPort", "10000"},
        {"forceConvert", "0"},
        {"blackBase", "1"},
        {"printHeader", "1"},
        {"useBin", "1"},
        {"paperBinIndex", "0"},
        {"templateMode", "0"},
        {"lutEnabled", "0"},
        {"magnificationType", "BILINEAR"},
        {"filmImageCompression", "lossless"},
        {"otherPaper", "A4"},
        {"routeByDevice", "0"},
        {"routePaperIndex0", "0"},
        {"routePaperIndex1", "0"},
        {"routePaperIndex2", "0"},
        {"routePaperIndex3", "0"},
        {"routePaperIndex4", "0"},
        {"routePaperIndex5", "0"},
        {"routePaperIndex6", "0"},
        {"routePaperIndex7", "0"},
        {"otherPrinterIndex", "0"},
        {"marginLeft", "1"},
        {"marginTop", "1"},
        {"marginRight", "250"},
        {"marginBottom", "250"},
        {"fujiCr", "1"},
        {"exportFolder", home.box.path() + "/images"},
        {"connectString",
         "DRIVER={MySQL ODBC 5.2 ANSI Driver};SERVER=127.0.0.1;DATABASE=dbprt;UID=root;PWD=;"},
        {"logKeepDays", "90"},
        {"settingsPassword", "fixed"},
        {"autoRun", "1"},
        {"saveFilmAtStart", "0"},
        {"saveFilms", "0"},
        {"skinEnabled", "1"},
        {"skinFile", "1.she"},
        {"startVisible", "1"},
        {"routeDeviceIp0", ""},
        {"routeDeviceIp1", ""},
        {"routeDeviceIp2", ""},
        {"routeDeviceIp3", ""},
        {"routeDeviceIp4", ""},
        {"routeDeviceIp5", ""},
        {"routeDeviceIp6", ""},
        {"routeDeviceIp7", ""},
        {"routePrinters0", ""},
        {"routePrinters1", ""},
        {"routePrinters2", ""},
        {"routePrinters3", ""},
        {"routePrinters4", ""},
        {"routePrinters5", ""},
        {"routePrinters6", ""},
        {"routePrinters7", ""},
        {"aboutLines0", ""},
        {"aboutLines1", ""},
        {"aboutLines2", ""},
        {"aboutLines3", ""},
        {"aboutLines4", ""},
        {"aboutLines5", ""},
        {"aboutLines6", ""},
        {"aboutLines7", ""},
        {"windowTitle", "Vantorel V4.1"},
        {"hleft", "0"},
        {"htop", "0"},
        {"hname", "0"},
        {"hys", "0"},
        {"hzt", "0"},
        {"hzh", "0"},
        {"hct", "0"},
        {"htjcs", "1000"},
        {"crosswidth", "500"},
        {"yyname", "0"},
        {"printCount", "0"},
        {"installedPrinters", "Laser,FilmFile"},
    };
    EXPECT_EQ(home.shown(), expected);
    // Nothing is written by reading.
    EXPECT_FALSE(home.store.fileExists(files::prtIni));
}

TEST(SettingsLoader, MissingPrinterListIsReportedOnce)
{
    Home home;
    home.write(files::prtIni, "[PrtIni]\r\nAE=CT1\r\n");
    const Settings settings = home.load();
    ASSERT_EQ(home.messages.shown.size(), 1u);
    EXPECT_EQ(home.messages.shown[0].text,
              "配置文件未找到，打印机设置无效：" + home.box.path() + "/PrtLst/PrtLst.ini");
    EXPECT_EQ(home.messages.shown[0].title, "打印机设置无效");
    EXPECT_EQ(home.messages.shown[0].icon, base::MessageIcon::Information);
    for (const auto& row : settings.routePrinters)
        EXPECT_TRUE(row.empty());
    EXPECT_EQ(settings.aeTitle, "CT1");  // start-up went on
}

TEST(SettingsLoader, PrinterRowsSkipEmptyKeysAndHoldAtMostEight)
{
    Home home;
    // PrtLst3: "0" and "2" hold printers, "1" is empty. PrtLst5: ten keys.
    home.write(
        files::prtLst,
        "[PrtLst3]\r\n0=Laser\r\n1=\r\n2=\xbd\xba\xc6\xac\r\n"  // 胶片
        "[PrtLst5]\r\n0=p0\r\n1=p1\r\n2=p2\r\n3=p3\r\n4=p4\r\n5=p5\r\n6=p6\r\n7=p7\r\n8=p8\r\n9=p9\r\n");
    const Settings settings = home.load();
    EXPECT_TRUE(home.messages.shown.empty());
    EXPECT_EQ(settings.routePrinters[3], (std::vector<std::string>{"Laser", "胶片"}));
    EXPECT_EQ(settings.routePrinters[5],
              (std::vector<std::string>{"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7"}));
    EXPECT_TRUE(settings.routePrinters[0].empty());
}

// One stored value and the field it must give (or keep) after loading.
struct ValueCase {
    const char* file;
    const char* section;
    const char* key;
    const char* value;  // UTF-8; written to the file as GBK
    const char* field;
    std::string expected;
};

TEST(SettingsLoader, ConvertsOrSkipsEachStoredValue)
{
    const char* ini = files::prtIni;
    const char* hospital = files::hospital;
    const ValueCase cases[] = {
        {ini, "PrtIni", "启用胶片格式文件", "1", "templateMode", "1"},
        {ini, "PrtIni", "启用胶片格式文件", "yes", "templateMode", "0"},
        {ini, "PrtIni", "启用胶片格式文件", "01", "templateMode", "0"},
        {ini, "PrtIni", "启用胶片格式文件", " 1\t", "templateMode", "1"},
        {ini, "PrtIni", "PrtBC", "2", "forceConvert", "1"},
        {ini, "PrtIni", "PrtBC", "1", "forceConvert", "1"},
        {ini, "PrtIni", "PrtBC", "0", "forceConvert", "0"},
        {ini, "PrtIni", "Port", "  104  ", "listenPort", "104"},
        {ini, "PrtIni", "AE", "\t CT_1 ", "aeTitle", "CT_1"},
        {ini, "PrtIni", "设备源", "1", "routeByDevice", "1"},
        {ini, "PrtIni", "设备源", "2", "routeByDevice", "0"},  // skipped: film size
        {ini, "PrtIni", "设备源", "x", "routeByDevice", "0"},
        {ini, "PrtIni", "打印左边距", "-100", "marginLeft", "-100"},
        {ini, "PrtIni", "打印左边距", "101", "marginLeft", "0"},  // skipped: initial value
        {ini, "PrtIni", "打印左边距", "7mm", "marginLeft", "7"},
        {ini, "PrtIni", "打印上边距", "2.5", "marginTop", "2"},
        {ini, "PrtIni", "打印上边距", "3.5", "marginTop", "4"},
        {ini, "PrtIni", "打印右边距", "3001", "marginRight", "0"},
        {ini, "PrtIni", "打印右边距", "-3000", "marginRight", "-3000"},
        {ini, "PrtIni", "打印下边距", "251", "marginBottom", "0"},
        {ini, "PrtIni", "打印下边距", "5040", "marginBottom", "0"},
        {ini, "PrtIni", "FilmSize_1", "9", "routePaperIndex0", "9"},
        {ini, "PrtIni", "FilmSize_1", "10", "routePaperIndex0", "-1"},  // skipped: none chosen
        {ini, "PrtIni", "FilmSize_8", "-1", "routePaperIndex7", "-1"},
        {ini, "PrtIni", "进纸器", "26", "paperBinIndex", "25"},
        {ini, "PrtIni", "进纸器", "27", "paperBinIndex", "-1"},
        {ini, "PrtIni", "进纸器", "01", "paperBinIndex", "-1"},
        {ini, "PrtIni", "Printer_9", "1", "otherPrinterIndex", "1"},
        {ini, "PrtIni", "Printer_9", "2", "otherPrinterIndex", "-1"},  // beyond the two printers
        {ini, "PrtIni", "Printer_9", "-1", "otherPrinterIndex", "-1"},
        {ini, "PrtIni", "其它规格胶片对应打印胶片规格", "A3", "otherPaper", "A3"},
        {ini, "PrtIni", "其它规格胶片对应打印胶片规格", "a3", "otherPaper", "A4"},
        {ini, "PrtIni", "启用LUT", "2", "lutEnabled", "2"},
        {ini, "PrtIni", "富士CR", "0", "fujiCr", "0"},
        {ini, "PrtIni", "FrmVisiable", "yes", "startVisible", "0"},
        {ini, "PrtIni", "Chk_AutoRun", "0", "autoRun", "0"},
        {ini, "PrtIni", "SaveFilm", "1", "saveFilmAtStart", "1"},
        {ini, "PrtIni", "SaveFilm", "1", "saveFilms", "1"},  // film saving starts as saved
        {ini, "PrtIni", "SaveFilm", "yes", "saveFilms", "0"},
        {ini, "PrtIni", "Skin", "", "skinFile", ""},
        {ini, "PrtIni", "胶片导出路径", "/srv/films", "exportFolder", "/srv/films"},
        {ini, "PrtIni", "打印黑底胶片", "0", "blackBase", "0"},
        {ini, "PrtIni", "打印医院名称", "0", "printHeader", "0"},
        {ini, "PrtIni", "打印医院名称", "0", "htjcs", "0"},
        {files::ip, "IP", "8", "10.1.1.8", "routeDeviceIp7", "10.1.1.8"},
        {files::about, "About", "1", "第一行", "aboutLines0", "第一行"},
        {files::about, "About", "程序窗口_文字", "胶片打印", "windowTitle", "胶片打印"},
        {hospital, "Hospital", "医院名称", "人民医院", "hname", "人民医院"},
        {hospital, "Hospital", "颜色", "255abc", "hys", "255"},
        {hospital, "Parameter", "医院名称打印区高度", " 5040 ", "htjcs", "5040"},
        {hospital, "Parameter", "医院名称打印区高度", "2.5", "htjcs", "2"},
        {hospital, "Parameter", "医院名称打印区高度", "abc", "htjcs", "1000"},  // skipped
        {hospital, "Cross", "医院图标打印宽度和高度", "12.5", "crosswidth", "12.5"},
        {hospital, "自定义图片", "图片医院名称", "1", "yyname", "1"},
    };
    for (const auto& c : cases) {
        Home home;
        home.write(c.file,
                   base::utf8ToGbk(std::string("[") + c.section + "]\r\n" + c.key + "=" + c.value + "\r\n"));
        const auto fields = fieldMap(home.load());
        ASSERT_TRUE(fields.count(c.field)) << c.field;
        EXPECT_EQ(fields.at(c.field), c.expected)
            << c.section << " / " << c.key << " = \"" << c.value << "\" -> " << c.field;
    }
}

TEST(SettingsLoader, HeaderBandHeightStaysWhenHeadersArePrinted)
{
    Home home;
    home.write(files::hospital, base::utf8ToGbk("[Parameter]\r\n医院名称打印区高度=800\r\n"));
    home.write(files::prtIni, base::utf8ToGbk("[PrtIni]\r\n打印医院名称=1\r\n"));
    EXPECT_EQ(home.load().header.htjcs, 800);
}

TEST(SettingsLoader, LongValuesAreCutTo254Characters)
{
    Home home;
    std::string title;
    for (int i = 0; i < 300; ++i)
        title += "标";
    home.write(files::about, base::utf8ToGbk("[About]\r\n程序窗口_文字=" + title + "\r\n"));
    const Settings settings = home.load();
    EXPECT_EQ(base::utf8Length(settings.windowTitle), 254u);
    EXPECT_EQ(settings.windowTitle, base::utf8Left(title, 254));
}

TEST(SettingsLoader, PrintCountComesFromItsStore)
{
    Home home;
    home.printCountStore.write(4711);
    const Fields shown = home.shown();
    EXPECT_EQ(shown[shown.size() - 2], (std::pair<std::string, std::string>{"printCount", "4711"}));
}

TEST(SettingsLoader, FileNamesIgnoreCaseLikeWindows)
{
    Home home;
    writeBytes(home.box.file("about/About.INI"), "[ABOUT]\r\n3=line three\r\n");
    EXPECT_EQ(home.load().aboutLines[2], "line three");
}

}  // namespace
}  // namespace vantorel::settings
