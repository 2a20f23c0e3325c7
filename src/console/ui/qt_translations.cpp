#include "console/ui/qt_translations.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QLibraryInfo>

namespace vantorel::console::ui {

QString QtChineseTranslation::translationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QtChineseTranslation::QtChineseTranslation(const QString& folder)
    : fileName_(folder + QStringLiteral("/qtbase_zh_CN.qm"))
{
    installed_ = translator_.load(QStringLiteral("qtbase_zh_CN"), folder) &&
        QCoreApplication::installTranslator(&translator_);
}

QtChineseTranslation::~QtChineseTranslation()
{
    if (installed_)
        QCoreApplication::removeTranslator(&translator_);
}

QFont withFontStyleName(QFont font)
{
    const QString family = font.family();
    const bool bold = font.weight() >= QFont::DemiBold;
    for (const QString& style : QFontDatabase::styles(family)) {
        if (QFontDatabase::bold(family, style) == bold &&
            QFontDatabase::italic(family, style) == font.italic()) {
            font.setStyleName(style);
            break;
        }
    }
    return font;
}

}  // namespace vantorel::console::ui
