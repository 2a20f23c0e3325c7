#include "settings/platform/print_count_settings.h"

#include "base/number_rules.h"

#include <QSettings>
#include <QString>

namespace vantorel::settings {

namespace {

const char* const organisation = "Zelquora";
const char* const group = "胶片";
const char* const key = "打印计数";

}  // namespace

std::int32_t PrintCountSettings::read() const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(organisation));
    settings.beginGroup(QString::fromUtf8(group));
    const QString text = settings.value(QString::fromUtf8(key), QStringLiteral("0")).toString();
    // A value that is not a 32-bit number leaves the count at 0.
    return base::wholeNumberAsInt32(text.toStdString()).value_or(0);
}

void PrintCountSettings::write(std::int32_t count)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(organisation));
    settings.beginGroup(QString::fromUtf8(group));
    settings.setValue(QString::fromUtf8(key), QString::number(count));
    settings.endGroup();
    settings.sync();
}

}  // namespace vantorel::settings
