#pragma once

#include <QLabel>
#include <QString>

namespace vantorel::console::ui {

// The heading at the top of every settings page (styled by the skins).
QLabel* pageHeading(const QString& text, QWidget* parent);

// The frame of the film-management page: its heading and the two dates
// ("filmDateFrom", "filmDateTo") that start-up sets. The archive's own page
// (same object names) takes its place in the program.
QWidget* filmManagementFrame(QWidget* parent = nullptr);

}  // namespace vantorel::console::ui
