#include "settings/settings_writer.h"

#include "settings/settings_loader.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

namespace vantorel::settings {
namespace {

using testing::readBytes;
using testing::RecordingMessages;
using testing::Sandbox;
using testing::writeBytes;

struct Home {
    Sandbox box;
    SettingsStore store{box.path()};
    RecordingMessages messages;
    InstalledPrinters printers{"Laser"};
    Settings settings = load();

    Settings load() { return loadSettings(store, printers, messages); }
};

TEST(SettingsWriter, TenPrintersSavedComeBackAsEight)
{
    Home home;
    writeBytes(home.store.pathOf(files::prtLst), "");
    std::vector<std::string> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back("printer" + std::to_string(i));
    ASSERT_TRUE(saveRoutePrinters(home.store, home.settings, 3, ten));
    EXPECT_EQ(home.settings.routePrinters[3], ten);
    EXPECT_EQ(home.store.readSetting("PrtLst3", "9", "", files::prtLst), "printer9");

    const Settings restarted = home.load();
    EXPECT_EQ(restarted.routePrinters[3], std::vector<std::string>(ten.begin(), ten.begin() + 8));
}

TEST(SettingsWriter, SavingARowClearsItsEightKeysFirst)
{
    Home home;
    ASSERT_TRUE(saveRoutePrinters(home.store, home.settings, 5, {"a", "b", "c", "d"}));
    ASSERT_TRUE(saveRoutePrinters(home.store, home.settings, 5, {"x"}));
    EXPECT_EQ(home.load().routePrinters[5], std::vector<std::string>{"x"});
    ASSERT_TRUE(saveRoutePrinters(home.store, home.settings, 5, {}));
    EXPECT_TRUE(home.load().routePrinters[5].empty());
    EXPECT_EQ(readBytes(home.store.pathOf(files::prtLst)),
              "[PrtLst5]\r\n0=\r\n1=\r\n2=\r\n3=\r\n4=\r\n5=\r\n6=\r\n7=\r\n");
    EXPECT_FALSE(saveRoutePrinters(home.store, home.settings, 8, {"x"}));
}

TEST(SettingsWriter, LiveFieldsFollowAndStartUpFieldsWait)
{
    struct Case {
        const char* key;
        const char* value;
        const char* field;
        std::string fieldAfter;
    };
    const Case cases[] = {
        {"Port", " 11112 ", "listenPort", "11112"},  // live
        {"port", "11112", "listenPort", "11112"},    // key named in other case
        {"打印左边距", "-20", "marginLeft", "-20"},  // live
        {"打印左边距", "500", "marginLeft", "1"},    // cannot be applied: unchanged
        {"进纸器", "3", "paperBinIndex", "2"},       // shown only
        {"AE", "NEWAE", "aeTitle", "ZQ"},            // start-up: acts at the next start
        {"启用LUT", "1", "lutEnabled", "0"},         // start-up
        {"Chk_Skin", "0", "skinEnabled", "1"},       // start-up
    };
    for (const auto& c : cases) {
        Home home;
        ASSERT_TRUE(
            saveSetting(home.store, home.settings, home.printers, files::prtIni, "PrtIni", c.key, c.value))
            << c.key;
        std::string now;
        for (const auto& [field, value] : describeSettings(home.settings))
            if (field == c.field)
                now = value;
        EXPECT_EQ(now, c.fieldAfter) << c.key << " = " << c.value;
        EXPECT_EQ(home.store.readSetting("PrtIni", c.key, "?", files::prtIni),
                  std::string(c.value) == " 11112 " ? "11112" : c.value)
            << c.key;
    }
}

TEST(SettingsWriter, SavedSettingInAMissingFolderIsNotLost)
{
    Home home;
    ASSERT_TRUE(saveSetting(home.store, home.settings, home.printers, files::ip, "IP", "1", "192.168.0.7"));
    ASSERT_TRUE(saveSetting(home.store, home.settings, home.printers, files::hospital, "Hospital", "医院名称",
                            "人民医院"));
    EXPECT_EQ(home.settings.routeDeviceIp[0], "192.168.0.7");
    const Settings restarted = home.load();
    EXPECT_EQ(restarted.routeDeviceIp[0], "192.168.0.7");
    EXPECT_EQ(restarted.header.hname, "人民医院");
}

TEST(SettingsWriter, KeyWithoutFieldIsOnlyWritten)
{
    Home home;
    const Settings before = home.settings;
    ASSERT_TRUE(
        saveSetting(home.store, home.settings, home.printers, files::prtIni, "PrtIni", "Unknown", "1"));
    EXPECT_EQ(describeSettings(home.settings), describeSettings(before));
    EXPECT_EQ(home.store.readSetting("PrtIni", "Unknown", "", files::prtIni), "1");
}

}  // namespace
}  // namespace vantorel::settings
