#include "settings/platform/autostart_entry.h"
#include "settings/platform/print_count_settings.h"

#include "support/sandbox.h"

#include <QSettings>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace vantorel::settings {
namespace {

using testing::readBytes;
using testing::Sandbox;

// Per-user settings go to a folder of this test run. Qt fixes the per-user
// settings folder at the first QSettings use, so this is set up once, before
// any test runs.
class UserConfigFolder final : public ::testing::Environment {
public:
    void SetUp() override
    {
        box_ = std::make_unique<Sandbox>();
        setenv("XDG_CONFIG_HOME", box_->path().c_str(), 1);
    }
    void TearDown() override { box_.reset(); }
    static std::string path() { return std::getenv("XDG_CONFIG_HOME"); }

private:
    std::unique_ptr<Sandbox> box_;
};

[[maybe_unused]] ::testing::Environment* const userConfigFolder =
    ::testing::AddGlobalTestEnvironment(new UserConfigFolder);

class PrintCountSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::remove(UserConfigFolder::path() + "/Zelquora.conf"); }
};

TEST_F(PrintCountSettingsTest, NeverWrittenReadsZero)
{
    EXPECT_EQ(PrintCountSettings().read(), 0);
}

TEST_F(PrintCountSettingsTest, RoundTripsThroughTheUserSettings)
{
    for (const std::int32_t count : {1, 4711, 2147483647, -5}) {
        PrintCountSettings().write(count);
        EXPECT_EQ(PrintCountSettings().read(), count) << count;
    }
    // Kept under the organisation's name in the test's own folder, as decimal text.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Zelquora");
    EXPECT_EQ(settings.fileName().toStdString(), UserConfigFolder::path() + "/Zelquora.conf");
    settings.beginGroup(QString::fromUtf8("胶片"));
    EXPECT_EQ(settings.value(QString::fromUtf8("打印计数")).toString().toStdString(), "-5");
}

TEST_F(PrintCountSettingsTest, ValueThatIsNoNumberReadsZero)
{
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Zelquora");
        settings.beginGroup(QString::fromUtf8("胶片"));
        settings.setValue(QString::fromUtf8("打印计数"), "12 films");
    }
    EXPECT_EQ(PrintCountSettings().read(), 0);
}

TEST(AutostartEntry, StartsTheExecutableAndNamesAnOtherHome)
{
    EXPECT_EQ(AutostartEntry::path(), UserConfigFolder::path() + "/autostart/MySoftware.desktop");
    Sandbox box;
    const std::string program = box.file("bin dir/vantorel");
    std::filesystem::create_directories(box.file("bin dir"));

    struct Case {
        std::string home;
        std::string exec;
    };
    const Case cases[] = {
        {box.file("bin dir"), "Exec=\"" + program + "\"\n"},
        {box.file("bin dir/"), "Exec=\"" + program + "\"\n"},
        {box.file("home $1%"), "Exec=\"" + program + "\" --home \"" + box.path() + "/home \\\\$1%%\"\n"},
    };
    for (const auto& c : cases) {
        AutostartEntry::set(program, c.home);
        ASSERT_TRUE(AutostartEntry::exists()) << c.home;
        const std::string text = readBytes(AutostartEntry::path());
        EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
        EXPECT_NE(text.find("Type=Application\n"), std::string::npos);
        EXPECT_NE(text.find(c.exec), std::string::npos) << text;
    }
    AutostartEntry::remove();
    EXPECT_FALSE(AutostartEntry::exists());
    AutostartEntry::remove();  // removing what is not there is fine
}

}  // namespace
}  // namespace vantorel::settings
