#pragma once

#include <QLabel>
#include <QString>

namespace vantorel::console::ui {

// The heading at the top of every settings page (styled by the skins).
QLabel* pageHeading(const QString& text, QWidget* parent);

}  // namespace vantorel::console::ui
