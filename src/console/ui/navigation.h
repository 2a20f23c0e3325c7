#pragma once

#include <QString>
#include <QStringList>

namespace vantorel::console::ui {

// The pages of the main window; exactly one is visible at a time.
enum class PageKey {
    FilmPreview,
    Dicom,
    Print,
    FilmManagement,
    RunLog,
    Appearance,
    RunSettings,
    About,
};

namespace entries {
inline const QString filmPreview = QStringLiteral("胶片预览");
inline const QString dicom = QStringLiteral("DICOM设置");
inline const QString print = QStringLiteral("打印设置");
inline const QString filmManagement = QStringLiteral("胶片管理");
inline const QString runLog = QStringLiteral("运行日志");
inline const QString appearance = QStringLiteral("界面设置");
inline const QString runSettings = QStringLiteral("运行设置");
inline const QString about = QStringLiteral("关于");
}  // namespace entries

// The entries that start-up adds first ("胶片预览", "DICOM设置", "打印设置").
QStringList firstNavigationEntries();

// The entries added after the layout settings are read; "胶片管理" is offered
// (before "运行日志") only when film saving was on at the last save of the run page.
QStringList laterNavigationEntries(bool offerFilmManagement);

// Navigation matches entries by their text; any other text shows the about page.
PageKey pageForEntry(const QString& entryText);

}  // namespace vantorel::console::ui
