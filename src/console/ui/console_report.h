#pragma once

#include <QString>
#include <QStringList>

namespace vantorel::console::ui {

class MainWindow;

// The console's visible state as "name=value" lines (title, visibility,
// navigation entries, current page, the nine status panels, logo, last film),
// for automated checks of the running program.
QStringList describeConsole(const MainWindow& window);

// Writes describeConsole() to `path` (UTF-8), replacing the file as a whole.
bool writeConsoleReport(const MainWindow& window, const QString& path);

}  // namespace vantorel::console::ui
