// `vantorel --show-settings` reads the hand-written GBK INI files of a home
// folder exactly as start-up does.

#include "support/program_runner.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <fstream>
#include <map>
#include <sstream>

namespace vantorel::testing {
namespace {

std::map<std::string, std::string> showSettings(const TempHome& home, ProgramResult* raw = nullptr)
{
    ProgramResult result =
        runProgram(programPath("vantorel"), {"--home", home.path(), "--show-settings"}, home.environment());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::map<std::string, std::string> fields;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    if (raw)
        *raw = result;
    return fields;
}

struct Expected {
    const char* field;
    const char* value;
};

void expectFields(const std::map<std::string, std::string>& fields, const Expected* begin,
                  const Expected* end)
{
    for (const Expected* e = begin; e != end; ++e) {
        auto it = fields.find(e->field);
        ASSERT_NE(it, fields.end()) << "missing field " << e->field;
        EXPECT_EQ(it->second, e->value) << e->field;
    }
}

TEST(ShowSettings, EmptyHomeGivesTheDefaultsAndReportsTheMissingPrinterList)
{
    TempHome home;
    ProgramResult raw;
    const auto fields = showSettings(home, &raw);
    const Expected expected[] = {
        {"aeTitle", "ZQ"},         {"listenPort", "10000"},
        {"forceConvert", "0"},     {"blackBase", "1"},
        {"printHeader", "1"},      {"paperBinIndex", "0"},
        {"templateMode", "0"},     {"lutEnabled", "0"},
        {"otherPaper", "A4"},      {"routeByDevice", "0"},
        {"routePaperIndex0", "0"}, {"marginLeft", "1"},
        {"marginTop", "1"},        {"marginRight", "250"},
        {"marginBottom", "250"},   {"fujiCr", "1"},
        {"autoRun", "1"},          {"skinEnabled", "1"},
        {"skinFile", "1.she"},     {"startVisible", "1"},
        {"routePrinters0", ""},    {"windowTitle", "Vantorel V4.1"},
        {"htjcs", "1000"},         {"crosswidth", "500"},
        {"printCount", "0"},
    };
    expectFields(fields, std::begin(expected), std::end(expected));
    EXPECT_EQ(fields.at("exportFolder"), home.path().toStdString() + "/images");
    EXPECT_EQ(fields.at("connectString"),
              "DRIVER={MySQL ODBC 5.2 ANSI Driver};SERVER=127.0.0.1;DATABASE=dbprt;UID=root;PWD=;");

    // Nobody is there to close a message box: the message goes to standard
    // error (and no run log is written for a look at the settings).
    EXPECT_NE(raw.err.find("配置文件未找到，打印机设置无效："), std::string::npos) << raw.err;
    EXPECT_NE(raw.err.find("/PrtLst/PrtLst.ini"), std::string::npos) << raw.err;
}

TEST(ShowSettings, HandWrittenGbkFilesAreReadAsStartUpReadsThem)
{
    TempHome home;
    // PrtIni.ini in GBK: 打印黑底胶片=0, 启用胶片格式文件=yes, 设备源=1,
    // 打印左边距=-150 (out of range, skipped), 打印下边距=100.
    home.writeFile("PrtIni.ini",
                   "[PrtIni]\r\n"
                   "AE=  MYAE  \r\n"
                   "port=11112\r\n"
                   "PrtBC=2\r\n"
                   "\xB4\xF2\xD3\xA1\xBA\xDA\xB5\xD7\xBD\xBA\xC6\xAC=0\r\n"
                   "\xC6\xF4\xD3\xC3\xBD\xBA\xC6\xAC\xB8\xF1\xCA\xBD\xCE\xC4\xBC\xFE=yes\r\n"
                   "\xC9\xE8\xB1\xB8\xD4\xB4=1\r\n"
                   "FilmSize_3=4\r\n"
                   "FilmSize_4=10\r\n"
                   "\xB4\xF2\xD3\xA1\xD7\xF3\xB1\xDF\xBE\xE0=-150\r\n"
                   "\xB4\xF2\xD3\xA1\xCF\xC2\xB1\xDF\xBE\xE0=100\r\n"
                   "Skin=2.she\r\n");
    home.writeFile("PrtLst/PrtLst.ini", "[PrtLst3]\n0=FilmFile\n1=\n2=Other\n");
    // about.ini: 程序窗口_文字=胶片服务器
    home.writeFile("About/about.ini",
                   "[About]\r\n1=Line one\r\n"
                   "\xB3\xCC\xD0\xF2\xB4\xB0\xBF\xDA\x5F\xCE\xC4\xD7\xD6="
                   "\xBD\xBA\xC6\xAC\xB7\xFE\xCE\xF1\xC6\xF7\r\n");
    // Hospital.ini: [Hospital] 医院名称=第一人民医院, [Parameter] 医院名称打印区高度=1200
    home.writeFile("医院名称/Hospital.ini",
                   "[Hospital]\r\n"
                   "\xD2\xBD\xD4\xBA\xC3\xFB\xB3\xC6=\xB5\xDA\xD2\xBB\xC8\xCB\xC3\xF1\xD2\xBD\xD4\xBA\r\n"
                   "[Parameter]\r\n"
                   "\xD2\xBD\xD4\xBA\xC3\xFB\xB3\xC6\xB4\xF2\xD3\xA1\xC7\xF8\xB8\xDF\xB6\xC8=1200\r\n");

    ProgramResult raw;
    const auto fields = showSettings(home, &raw);
    const Expected expected[] = {
        {"aeTitle", "MYAE"},       {"listenPort", "11112"},     {"forceConvert", "1"},
        {"blackBase", "0"},        {"templateMode", "0"},       {"routeByDevice", "1"},
        {"routePaperIndex2", "4"}, {"routePaperIndex3", "-1"},  {"marginLeft", "0"},
        {"marginBottom", "100"},   {"skinFile", "2.she"},       {"routePrinters3", "FilmFile,Other"},
        {"routePrinters0", ""},    {"aboutLines0", "Line one"}, {"windowTitle", "胶片服务器"},
        {"hname", "第一人民医院"}, {"htjcs", "1200"},
    };
    expectFields(fields, std::begin(expected), std::end(expected));
    EXPECT_EQ(raw.err.find("配置文件未找到"), std::string::npos) << raw.err;
}

TEST(ShowSettings, BadArgumentsAreRefusedWithUsage)
{
    TempHome home;
    const ProgramResult result = runProgram(programPath("vantorel"), {"--frobnicate"}, home.environment());
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("Usage: vantorel"), std::string::npos);
}

TEST(ShowSettings, WritesNothingIntoTheHome)
{
    TempHome home;
    showSettings(home);
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/LOG"));
}

TEST(HomeFolder, OneThatIsNoFolderEndsTheProgramWithStatusTwoAndWhy)
{
    TempHome home;
    const QString file = home.path() + "/not-a-folder";
    {
        std::ofstream(file.toStdString()) << "x";
    }
    struct Case {
        QString home;
        const char* option;
        const char* reason;
    };
    const Case cases[] = {
        {home.path() + "/missing", "--headless", "No such file or directory"},
        {file, "--headless", "not a folder"},
        {home.path() + "/missing", "--show-settings", "No such file or directory"},
    };
    for (const Case& c : cases) {
        const ProgramResult result =
            runProgram(programPath("vantorel"), {"--home", c.home, c.option}, home.environment());
        EXPECT_EQ(result.exitCode, 2) << c.home.toStdString();
        EXPECT_NE(result.err.find("vantorel: home folder " + c.home.toStdString() + ": " + c.reason),
                  std::string::npos)
            << result.err;
        EXPECT_FALSE(QFileInfo::exists(c.home + "/LOG"));
    }
}

// `vantorel --set-password`: two equal lines store a salted hash, anything
// else stores nothing.
TEST(SetPassword, TwoEqualEntriesStoreAHashAndOthersNothing)
{
    TempHome home;
    const auto run = [&](const QByteArray& input) {
        QProcess program;
        program.setProcessEnvironment(home.environment());
        program.start(programPath("vantorel"), {"--home", home.path(), "--set-password"});
        program.waitForStarted(10000);
        program.write(input);
        program.closeWriteChannel();
        program.waitForFinished(30000);
        return program.exitCode();
    };
    EXPECT_EQ(run("one\ntwo\n"), 1);
    EXPECT_EQ(run("\n\n"), 1);
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/PrtIni.ini"));

    EXPECT_EQ(run("Röntgen 2026\nRöntgen 2026\n"), 0);
    const QString ini = QString::fromUtf8(home.readFile("PrtIni.ini"));
    EXPECT_TRUE(ini.contains(
        QRegularExpression("SettingsPasswordHash=pbkdf2-sha256\\$100000\\$[0-9a-f]{32}\\$[0-9a-f]{64}")))
        << ini.toStdString();
    EXPECT_FALSE(ini.contains("Röntgen"));
    const auto fields = showSettings(home);
    EXPECT_EQ(fields.at("settingsPassword"), "own");
}

}  // namespace
}  // namespace vantorel::testing
