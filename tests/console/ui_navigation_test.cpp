#include "console/ui/navigation.h"

#include <gtest/gtest.h>

namespace vantorel::console::ui {
namespace {

TEST(UiNavigation, EntriesAreMatchedByTextAndEverythingElseShowsTheAboutPage)
{
    struct Case {
        QString text;
        PageKey page;
    };
    const Case cases[] = {
        {"胶片预览", PageKey::FilmPreview},
        {"DICOM设置", PageKey::Dicom},
        {"打印设置", PageKey::Print},
        {"胶片管理", PageKey::FilmManagement},
        {"运行日志", PageKey::RunLog},
        {"界面设置", PageKey::Appearance},
        {"运行设置", PageKey::RunSettings},
        {"关于", PageKey::About},
        {"", PageKey::About},
        {"dicom设置", PageKey::About},
        {"运行日志 ", PageKey::About},
        {"帮助", PageKey::About},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pageForEntry(c.text), c.page) << c.text.toStdString();
}

TEST(UiNavigation, FilmManagementIsOfferedOnlyWhenFilmSavingWasOn)
{
    const QStringList seven = firstNavigationEntries() + laterNavigationEntries(false);
    EXPECT_EQ(seven,
              (QStringList{"胶片预览", "DICOM设置", "打印设置", "界面设置", "运行设置", "运行日志", "关于"}));
    const QStringList eight = firstNavigationEntries() + laterNavigationEntries(true);
    EXPECT_EQ(eight,
              (QStringList{"胶片预览", "DICOM设置", "打印设置", "界面设置", "运行设置", "胶片管理",
                           "运行日志", "关于"}));
}

}  // namespace
}  // namespace vantorel::console::ui
