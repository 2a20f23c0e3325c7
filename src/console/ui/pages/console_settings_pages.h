#pragma once

#include "console/ui/pages/page_services.h"
#include "console/ui/pages/settings_pages.h"

#include <memory>

namespace vantorel::console {
class PortControl;
}  // namespace vantorel::console

namespace vantorel::console::ui {

class AccessGate;
class AppearancePage;
class DicomPage;
class PrintPage;
class RunPage;
class StatusPanels;

// The settings pages of the console: DICOM, print, appearance and run
// settings, the three locked ones tied together by the password, and the
// film-management page.
class ConsoleSettingsPages final : public SettingsPages {
public:
    struct Services {
        PortControl& portControl;
        HeaderEditorOpener& headerEditor;
        PurgeTimer& purgeTimer;
        SkinApplier& skins;
        ReportPageControl& reportPage;
        DesktopLauncher& desktop;
        TemplateDesignerOpener& templateDesigner;
        QString executablePath;
        QString applicationTitle;
        // The archive's film-management page, taken over by the pages; the
        // frame alone when there is none.
        QWidget* filmManagementPage = nullptr;
    };
    ConsoleSettingsPages(const PageContext& context, const Services& services);
    ~ConsoleSettingsPages() override;

    QWidget* dicomPage() override;
    QWidget* printPage() override;
    QWidget* appearancePage() override;
    QWidget* runSettingsPage() override;
    QWidget* filmManagementPage() override { return filmManagement_; }

    void setHeaderEditorEnabled(bool enabled) override;
    void setSkinFolder(const QString& folder) override;
    void showLayoutSettings(const settings::Settings& settings) override;
    void setFilmDates(const QDate& date) override;
    void showAutoRun(bool on) override;
    void showFilmSaving(bool on) override;
    void showServiceSettings(const settings::Settings& settings) override;
    void showPrinters(const settings::Settings& settings) override;

    // After a DICOM page save, panels 4 and 5 of the status bar follow it.
    void followListenStatus(StatusPanels& panels);

    DicomPage& dicom() const { return *dicom_; }
    PrintPage& print() const { return *print_; }
    AppearancePage& appearance() const { return *appearance_; }
    RunPage& run() const { return *run_; }
    const AccessGate& accessGate() const { return *gate_; }

private:
    DicomPage* dicom_;
    PrintPage* print_;
    AppearancePage* appearance_;
    RunPage* run_;
    QWidget* filmManagement_;
    std::unique_ptr<AccessGate> gate_;
};

}  // namespace vantorel::console::ui
