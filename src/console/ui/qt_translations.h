#pragma once

#include <QFont>
#include <QString>
#include <QTranslator>

namespace vantorel::console::ui {

// Qt's own texts in Chinese: the standard buttons of message boxes (是, 否,
// 确定, 取消), the font and colour dialogs, the file dialogs and context
// menus. Every text of our own is Chinese already, so Qt's are loaded
// whatever locale the process runs in (a service often runs in C.UTF-8).
// The translation is installed while this object lives.
class QtChineseTranslation {
public:
    // Loads qtbase_zh_CN from `folder` (default: Qt's translations folder).
    explicit QtChineseTranslation(const QString& folder = translationsFolder());
    ~QtChineseTranslation();
    QtChineseTranslation(const QtChineseTranslation&) = delete;
    QtChineseTranslation& operator=(const QtChineseTranslation&) = delete;

    // False when the file could not be read (Qt's texts stay English).
    bool installed() const { return installed_; }
    // The file looked for, for a line saying it is missing.
    QString fileName() const { return fileName_; }

    static QString translationsFolder();

private:
    QTranslator translator_;
    QString fileName_;
    bool installed_ = false;
};

// `font` with the name of its family's style that has its weight and slant
// ("Bold"), for a font dialog to start from. The dialog finds a font's style
// by name; a font without one is named from its weight in the translated
// words ("粗体 (Bold)"), which no family's style is called, and the dialog
// would start on the regular style, dropping bold. Unchanged when the family
// has no such style.
QFont withFontStyleName(QFont font);

}  // namespace vantorel::console::ui
