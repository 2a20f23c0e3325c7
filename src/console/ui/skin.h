#pragma once

#include <QString>

class QApplication;

namespace vantorel::console::ui {

// Window skins: a "*.she" file in the folder Skin of the home folder holds a
// Qt style sheet (UTF-8) that is applied to the whole application.
QString skinPath(const QString& homeFolder, const QString& skinFile);  // <home>/Skin/<file>

// Applies the skin; false, with the look left as it was, when the file is
// missing, unreadable or empty.
bool applySkin(QApplication& application, const QString& path);

}  // namespace vantorel::console::ui
