#include "console/ui/skin.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace vantorel::console::ui {

QString skinPath(const QString& homeFolder, const QString& skinFile)
{
    return homeFolder + QStringLiteral("/Skin/") + skinFile.trimmed();
}

bool applySkin(QApplication& application, const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString sheet = QString::fromUtf8(file.readAll());
    if (sheet.trimmed().isEmpty())
        return false;
    application.setStyleSheet(sheet);
    return true;
}

}  // namespace vantorel::console::ui
