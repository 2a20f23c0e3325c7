#pragma once

#include "settings/settings_model.h"

#include <QDate>
#include <QString>

class QWidget;

namespace vantorel::console::ui {

// The settings pages (DICOM, print, appearance, run settings, film management)
// as start-up sees them: one page widget each, and what each start-up step
// shows on them. The pages' own controls live behind this interface.
class SettingsPages {
public:
    virtual ~SettingsPages() = default;

    virtual QWidget* dicomPage() = 0;
    virtual QWidget* printPage() = 0;
    virtual QWidget* appearancePage() = 0;
    virtual QWidget* runSettingsPage() = 0;
    virtual QWidget* filmManagementPage() = 0;

    // The print page's button for the hospital-name editor.
    virtual void setHeaderEditorEnabled(bool enabled) = 0;
    // The appearance page lists the "*.she" files of this folder.
    virtual void setSkinFolder(const QString& folder) = 0;
    // Conversion choice, paper bin and the enabled layout panel.
    virtual void showLayoutSettings(const settings::Settings& settings) = 0;
    // Both dates of the film-management page.
    virtual void setFilmDates(const QDate& date) = 0;
    virtual void showAutoRun(bool on) = 0;
    // The run page's film-saving box, which also switches the purge timer.
    virtual void showFilmSaving(bool on) = 0;
    // AE title, port, paper codes, device IPs and margins ("mm" after left/top).
    virtual void showServiceSettings(const settings::Settings& settings) = 0;
    // Installed printers, each row's pool and the printer for other sizes.
    virtual void showPrinters(const settings::Settings& settings) = 0;
};

}  // namespace vantorel::console::ui
