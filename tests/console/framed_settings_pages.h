#pragma once

#include "console/ui/pages/settings_pages.h"

#include <QStringList>

#include <memory>

namespace vantorel::console::ui {

// For the window's tests: the frame of the settings pages, a titled page for
// each entry, the skin list of the appearance page and the film-management
// dates, without the pages' own controls.
class FramedSettingsPages final : public SettingsPages {
public:
    explicit FramedSettingsPages(QWidget* parent);

    QWidget* dicomPage() override { return dicom_; }
    QWidget* printPage() override { return print_; }
    QWidget* appearancePage() override { return appearance_; }
    QWidget* runSettingsPage() override { return runSettings_; }
    QWidget* filmManagementPage() override { return filmManagement_; }

    void setHeaderEditorEnabled(bool) override {}
    void setSkinFolder(const QString& folder) override;
    void showLayoutSettings(const settings::Settings&) override {}
    void setFilmDates(const QDate& date) override;
    void showAutoRun(bool) override {}
    void showFilmSaving(bool) override {}
    void showServiceSettings(const settings::Settings&) override {}
    void showPrinters(const settings::Settings&) override {}

    QStringList skinFiles() const;
    QDate filmDateFrom() const;
    QDate filmDateTo() const;

private:
    QWidget* dicom_;
    QWidget* print_;
    QWidget* appearance_;
    QWidget* runSettings_;
    QWidget* filmManagement_;
};

// The framed pages for a window under test; the window takes their widgets.
inline std::unique_ptr<SettingsPages> framedPages()
{
    return std::make_unique<FramedSettingsPages>(nullptr);
}

}  // namespace vantorel::console::ui
