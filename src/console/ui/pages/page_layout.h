#pragma once

#include <QLabel>
#include <QString>

namespace vantorel::console::ui {

// The heading at the top of every settings page (styled by the skins).
QLabel* pageHeading(const QString& text, QWidget* parent);

// The frame of the film-management page: its heading and the two dates
// ("filmDateFrom", "filmDateTo") that start-up sets; the archive browser fills
// the rest.
QWidget* filmManagementFrame(QWidget* parent = nullptr);

}  // namespace vantorel::console::ui
